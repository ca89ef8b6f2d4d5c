#pragma once
// The small stay-on-top window through which a user customises a speed bar: it lists the bar's
// sections and, for the chosen section, its items with their button pictures. Dragging an item
// from the list onto the bar shows it there; dragging a button off the bar hides it. While the
// window is open the bar is in editing mode. The window forgets its bar when the bar goes
// (change code 1) and never calls back into it.

#include <memory>

#include "controls/lib/SpeedBar.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Grids.h"

class TSpeedbarSetupWindow : public TForm {
public:
    explicit TSpeedbarSetupWindow(TComponent* AOwner);
    ~TSpeedbarSetupWindow() override;

    TSpeedBar* SpeedBar() const { return FBar; }
    // The old bar leaves editing mode, the new one enters it; the lists are filled again.
    void SetSpeedBar(TSpeedBar* Value);
    // The section shown (SectionList's row), -1 without sections.
    int CurrentSection() const;
    TSpeedItem* ItemAt(int Row) const;
    // Fills the lists and selects section row Index when there is one.
    void UpdateData(int Index);
    void UpdateListHeight();

    TBevel* Bevel1;
    TLabel* CategoriesLabel;
    TLabel* ButtonsLabel;
    TDrawGrid* SectionList;
    TDrawGrid* ButtonsList;
    TLabel* HintLabel;
    TButton* CloseBtn;
    TButton* HelpBtn;

protected:
    void DoShow() override;
    void DoClose(TCloseAction& Action) override;

private:
    void SetSection(int Section);
    void UpdateColumnWidths();
    void BarChanged(TMessage& Message);
    void DrawSection(int ARow, TRect Rect);
    void ButtonsMouseDown(TMouseButton Button, int X, int Y);
    void ButtonsMouseMove(int X, int Y);
    void ButtonsMouseUp(TMouseButton Button, int X, int Y);
    void EndDrag();
    bool UsableBar() const;

    TSpeedBar* FBar = nullptr;
    std::unique_ptr<TButtonImage> FImage;
    std::unique_ptr<TBtnControl> FDrag;
    bool FDragging = false;
    TSpeedItem* FDragItem = nullptr;
};

// The customise window of the bar: the one already open for it, else a new one; shown, not
// modal. Nothing for no bar.
void ShowSpeedbarSetupWindow(TSpeedBar* Speedbar, int HelpCtx);
// The open customise window attached to the bar, or null.
TSpeedbarSetupWindow* FindSpeedbarSetupWindow(TSpeedBar* Speedbar);
