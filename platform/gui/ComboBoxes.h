#pragma once
// The framework's combo box on Qt's combo box: an edit with a drop-down list (csDropDown), the
// list always shown (csSimple, here a drop-down that can be typed into), a list only
// (csDropDownList), and owner-drawn lists. Items go through CB_* messages like the list box's
// LB_*; changing Style makes the widget again (WidgetCreated runs again, so a derived combo can
// fill its list there). A selection made in code raises no event; the user's raises OnChange
// (edit text) and OnClick (list choice).

#include <memory>

#include "platform/core/Strings.h"
#include "platform/gui/ListBoxes.h"

class QComboBox;

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* v) { FItems->Assign(v); }
    int ItemIndex();
    void SetItemIndex(int v);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle v);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int v);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int v);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v) { FMaxLength = std::max(v, 0); }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool v) { FSorted = v; }
    bool DroppedDown();
    void SetDroppedDown(bool v);
    TCanvas* Canvas();
    void Clear();

    TNotifyEvent OnChange, OnDropDown, OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    void DestroyWnd() override;
    virtual void Change();
    virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
    // Whether DrawItem draws the items; the owner-draw styles by default, and a subclass may
    // draw the items of a drop-down or list style too.
    virtual bool OwnerDrawn() const { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }
    QComboBox* Combo();

private:
    void RegisterComboHandlers();
    void EditTextChanged();

    std::unique_ptr<TStrings> FItems;
    std::unique_ptr<TCanvas> FCanvas;
    TComboBoxStyle FStyle = csDropDown;
    int FItemHeight = 16;
    int FDropDownCount = 8;
    int FMaxLength = 0;
    bool FSorted = false;
    int FInCode = 0;
    // Kept across a new widget.
    std::vector<std::pair<AnsiString, intptr_t>> FSaved;
    int FSavedIndex = -1;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
};

void RegisterComboBoxClasses();
