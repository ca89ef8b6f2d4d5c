#pragma once
// The framework's list box on Qt's list widget. Every item operation of Items is its LB_*
// message through WndProc (texts as NUL-terminated cp949), so a derived control can intercept
// any of them; the control's own handlers are the list window's behaviour. Items are always
// drawn through CN_DRAWITEM (OnDrawItem for owner-drawn styles, else the text) and measured
// through CN_MEASUREITEM. A selection made in code raises no event; one made by the user runs
// Click.

#include <memory>

#include "platform/core/Strings.h"
#include "platform/gui/StdCtrls.h"

class QListWidget;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// A list index out of range, as the framework reports it.
[[noreturn]] void ListIndexError(int index);

class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* v) { FItems->Assign(v); }
    int ItemIndex();
    void SetItemIndex(int v);
    int TopIndex();
    void SetTopIndex(int v);
    bool Selected(int index);
    void SetSelected(int index, bool v);
    int SelCount() { return static_cast<int>(Perform(LB_GETSELCOUNT)); }
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool v);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool v);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool v);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle v);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int v);
    int Columns() const { return FColumns; }
    void SetColumns(int v);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int v) { FTabWidth = std::max(v, 0); }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool v) { FIntegralHeight = v; }
    TCanvas* Canvas();
    void Clear() { FItems->Clear(); }
    // The item at a client point, or -1 (Existing) / the item count when there is none.
    int ItemAtPos(TPoint Pos, bool Existing);
    TRect ItemRect(int Index);
    // The items are painted again too.
    void Invalidate() override;

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    // A subclass's own item list in place of the standard one; its operations still go through
    // the list messages.
    void ReplaceItems(std::unique_ptr<TStrings> Value) { FItems = std::move(Value); }
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);
    QListWidget* List();

private:
    void RegisterListHandlers();
    void ApplyLook();
    int SortedIndexOf(const AnsiString& s);

    std::unique_ptr<TStrings> FItems;
    std::unique_ptr<TCanvas> FCanvas;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FSorted = false;
    TListBoxStyle FStyle = lbStandard;
    int FItemHeight = 16;
    int FColumns = 0;
    int FTabWidth = 0;
    int FHorizontalExtent = 0;
    TBorderStyle FBorderStyle = bsSingle;
    bool FIntegralHeight = false;
    int FInCode = 0;  // selection changes made by the control itself
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
};

void RegisterListBoxClasses();
