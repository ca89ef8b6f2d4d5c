#pragma once
// The common controls: progress bar, up-down, hot key, scroll bar, date and time picker, status
// bar, tool bar, control bar, page control with tab sheets.

#include <memory>
#include <vector>

#include "platform/core/DateTime.h"
#include "platform/core/TabLayout.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/DateTimePicker.h"
#include "platform/gui/ExtCtrls.h"

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* AOwner);
    int Min() const { return FMin; }
    void SetMin(int v);
    int Max() const { return FMax; }
    void SetMax(int v);
    int Position() const { return FPosition; }
    void SetPosition(int v);
    int Step() const { return FStep; }
    void SetStep(int v) { FStep = v; }
    void StepIt() { SetPosition(FPosition + FStep); }
    void StepBy(int delta) { SetPosition(FPosition + delta); }
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation v);

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;

private:
    void Apply();
    int FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
    TProgressBarOrientation FOrientation = pbHorizontal;
};

enum TUDBtnType { btNext, btPrev };
enum TUDOrientation { udVertical, udHorizontal };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// Two arrow buttons stepping Position. A press becomes the reflected CN_VSCROLL (or CN_HSCROLL)
// with SB_THUMBPOSITION and the new position, which sets it (OnChanging may refuse) and fires
// OnClick with the button.
class TCustomUpDown : public TCustomControl {
public:
    explicit TCustomUpDown(TComponent* AOwner);
    int Min() const { return FMin; }
    void SetMin(int v) { FMin = v; }
    int Max() const { return FMax; }
    void SetMax(int v) { FMax = v; }
    int Position() const { return FPosition; }
    void SetPosition(int v);
    int Increment() const { return FIncrement; }
    void SetIncrement(int v) { FIncrement = v; }
    bool Wrap() const { return FWrap; }
    void SetWrap(bool v) { FWrap = v; }
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation v);
    // Steps as a press on a button does.
    void Press(TUDBtnType button);

    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual bool CanChange();
    virtual void Click(TUDBtnType Button);

private:
    int FMin = 0, FMax = 100, FPosition = 0, FIncrement = 1;
    bool FWrap = false;
    TUDOrientation FOrientation = udVertical;
};

class TUpDown : public TCustomUpDown {
public:
    using TCustomUpDown::TCustomUpDown;
};

// Takes the next key with its modifiers as a shortcut and shows it as ShortCutToText does.
class THotKey : public TWinControl {
public:
    explicit THotKey(TComponent* AOwner);
    TShortCut HotKey() const { return FHotKey; }
    void SetHotKey(TShortCut v);
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override { Key = 0; }

private:
    TShortCut FHotKey = 0;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
using TScrollCode = unsigned;  // SB_LINEUP ... SB_ENDSCROLL
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner);
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind v);
    int Min() const { return FMin; }
    void SetMin(int v) { SetParams(FPosition, v, FMax); }
    int Max() const { return FMax; }
    void SetMax(int v) { SetParams(FPosition, FMin, v); }
    int Position() const { return FPosition; }
    void SetPosition(int v) { SetParams(v, FMin, FMax); }
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int v);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int v);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int v);
    void SetParams(int APosition, int AMin, int AMax);

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);

private:
    void Apply();
    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0, FMax = 100, FPosition = 0, FSmallChange = 1, FLargeChange = 1, FPageSize = 0;
    int FApplying = 0;
};

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusBar;

class TStatusPanel {
public:
    AnsiString Text;
    int Width = 50;
    TAlignment Alignment = taLeftJustify;
    TStatusPanelBevel Bevel = pbLowered;
    TStatusPanelStyle Style = psText;
};

using TDrawPanelEvent = std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

// Panels left to right (the last one takes the rest), or one simple text. Child controls may
// sit on it (a meter inside a panel).
class TStatusBar : public TCustomControl {
public:
    explicit TStatusBar(TComponent* AOwner);
    int PanelCount() const { return static_cast<int>(FPanels.size()); }
    TStatusPanel* Panels(int index) const;
    TStatusPanel* AddPanel();
    void ClearPanels();
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool v);
    const AnsiString& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const AnsiString& v);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool v);
    // The rectangle of a panel in client coordinates.
    TRect PanelRect(int index) const;
    // Repaints after panels were edited.
    void PanelsChanged() { Invalidate(); }
    TDrawPanelEvent OnDrawPanel;

protected:
    void Paint() override;

private:
    std::vector<std::unique_ptr<TStatusPanel>> FPanels;
    bool FSimplePanel = false;
    AnsiString FSimpleText;
    bool FSizeGrip = true;
};

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolBar;

class TToolButton : public TGraphicControl {
public:
    explicit TToolButton(TComponent* AOwner);
    TToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TToolButtonStyle v);
    bool Down() const { return FDown; }
    void SetDown(bool v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    bool Grouped() const { return FGrouped; }
    void SetGrouped(bool v) { FGrouped = v; }
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TToolButtonStyle FStyle = tbsButton;
    bool FDown = false;
    bool FPressed = false;
    int FImageIndex = -1;
    bool FGrouped = false;
};

// Lays its buttons (and any other child) left to right in rows of ButtonHeight.
class TToolBar : public TCustomControl {
public:
    explicit TToolBar(TComponent* AOwner);
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int v);
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int v);
    bool Flat() const { return FFlat; }
    void SetFlat(bool v);
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool v);
    int ButtonCount() const;
    TToolButton* Buttons(int index) const;
    void ArrangeButtons();

protected:
    void Paint() override;

private:
    int FButtonWidth = 23, FButtonHeight = 22;
    bool FFlat = false;
    bool FShowCaptions = false;
    bool FArranging = false;
};

// Bands of controls in rows, each with a grab bar at its left.
class TControlBar : public TCustomControl {
public:
    explicit TControlBar(TComponent* AOwner);
    static constexpr int kGrabWidth = 11;
    void ArrangeBands();

protected:
    void Paint() override;

private:
    bool FArranging = false;
};

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* v);
    int PageIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool v);

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// Pages with tabs along the top, on several rows when MultiLine; the active tab's row touches
// the page.
class TPageControl : public TCustomControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;
    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* v);
    int ActivePageIndex() const;
    void SetActivePageIndex(int v);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool v);
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int v);
    int RowCount();
    // The tab under a client point (visible tabs only), or -1.
    int TabAtPos(TPoint p);
    TRect TabRect(int index);
    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void AdjustClientRect(TRect& Rect) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void LayoutPages();
    std::vector<TTabPlace> Places();
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    bool FMultiLine = false;
    int FTabHeight = 20;
};

void RegisterComCtrlsClasses();
