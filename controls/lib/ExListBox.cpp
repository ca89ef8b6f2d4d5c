#include "controls/lib/ExListBox.h"

#include <algorithm>

#include "platform/core/ScrollBarModel.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/DrawText.h"

namespace {

// While it lives, items that leave the list keep their data (the list puts them back).
class TKeepData {
public:
    explicit TKeepData(int& Count) : FCount(++Count) {}
    ~TKeepData() { --FCount; }
    TKeepData(const TKeepData&) = delete;
    TKeepData& operator=(const TKeepData&) = delete;

private:
    int& FCount;
};

}  // namespace

// --- TExListBoxStrings

TExListBoxStrings::TExListBoxStrings(TExCustomListBox* ListBox)
    : TItemStrings(ListBox, kListBoxItemMessages), FListBox(ListBox)
{}

AnsiString TExListBoxStrings::Get(int index) const { return CutListItemText(TItemStrings::Get(index)); }

TObject* TExListBoxStrings::GetObject(int index) const
{
    if (index < 0 || index >= GetCount())
        ListIndexError(index);
    const intptr_t data = FListBox->GetItemData(index);
    // Data -1 is what the list answers for a bad index.
    if (data == -1)
        ListIndexError(index);
    return reinterpret_cast<TObject*>(data);
}

void TExListBoxStrings::PutObject(int index, TObject* object)
{
    FListBox->SetItemData(index, reinterpret_cast<intptr_t>(object));
}

void TExListBoxStrings::Relocate(int from, int to, const AnsiString& s, LRESULT data)
{
    // The slot empties and fills again: the item's data is not freed on the way.
    const TKeepData keep(FListBox->FKeepData);
    Delete(from);
    Insert(to, s);
    FListBox->SetRawItemData(to, data);
}

void TExListBoxStrings::Put(int index, const AnsiString& s)
{
    if (index < 0 || index >= GetCount())
        ListIndexError(index);
    Relocate(index, index, s, FListBox->RawItemData(index));
}

void TExListBoxStrings::Exchange(int index1, int index2)
{
    if (index1 < 0 || index1 >= GetCount())
        ListIndexError(index1);
    if (index2 < 0 || index2 >= GetCount())
        ListIndexError(index2);
    const AnsiString s1 = TItemStrings::Get(index1), s2 = TItemStrings::Get(index2);
    const intptr_t d1 = FListBox->RawItemData(index1), d2 = FListBox->RawItemData(index2);
    Relocate(index1, index1, s2, d2);
    Relocate(index2, index2, s1, d1);
}

void TExListBoxStrings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    if (curIndex < 0 || curIndex >= GetCount())
        ListIndexError(curIndex);
    Relocate(curIndex, newIndex, TItemStrings::Get(curIndex), FListBox->RawItemData(curIndex));
}

// --- TExCustomListBox

TExCustomListBox::TExCustomListBox(TComponent* AOwner) : TRangeListBox(AOwner)
{
    ReplaceItems(std::make_unique<TExListBoxStrings>(this));
    SetColor(clWindow);
    RegisterExListHandlers();
    RegisterDragHandlers();
}

void TExCustomListBox::RegisterExListHandlers()
{
    RegisterHandler(CN_DRAWITEM, [this](TMessage& m) {
        auto* dis = reinterpret_cast<TDrawItemStruct*>(m.LParam);
        TCanvas* c = dis->Canvas;
        c->SetFont(Font());
        c->Brush()->SetColor(Color());
        if (dis->ItemID >= 0 && (dis->ItemState & odSelected)) {
            if (FGraySelection && !Focused()) {
                c->Brush()->SetColor(clBtnFace);
                if (c->Font()->Color() == clBtnFace)
                    c->Font()->SetColor(clBtnText);
            } else {
                c->Brush()->SetColor(clHighlight);
                c->Font()->SetColor(clHighlightText);
            }
        }
        if (dis->ItemID >= 0)
            DrawItem(dis->ItemID, dis->Rect, dis->ItemState);
        else
            c->FillRect(dis->Rect);
        if (dis->ItemState & odFocused)
            c->DrawFocusRect(dis->Rect);
    });
    RegisterHandler(WM_DESTROY, [this](TMessage& m) {
        auto saved = std::make_unique<TSavedItems>();
        const int count = Items()->Count();
        for (int i = 0; i < count; ++i) {
            // The whole text, past the limit that reading an item has.
            AnsiString text(static_cast<size_t>(std::max<LRESULT>(Perform(LB_GETTEXTLEN, static_cast<WPARAM>(i)), 0)),
                            '\0');
            Perform(LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
            saved->Items.emplace_back(std::move(text), RawItemData(i));
        }
        saved->TopIndex = TopIndex();
        saved->ItemIndex = ItemIndex();
        FSaved = std::move(saved);
        Inherited(m);
    });
}

void TExCustomListBox::WidgetCreated()
{
    TRangeListBox::WidgetCreated();
    WatchDrags();
    if (!FSaved)
        return;
    const std::unique_ptr<TSavedItems> saved = std::move(FSaved);
    {
        // The items go in again with their data, which stays theirs.
        const TKeepData keep(FKeepData);
        Perform(LB_RESETCONTENT);
        for (size_t i = 0; i < saved->Items.size(); ++i) {
            const int index = static_cast<int>(i);
            Perform(LB_INSERTSTRING, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(saved->Items[i].first.c_str()));
            SetRawItemData(index, saved->Items[i].second);
        }
    }
    SetTopIndex(saved->TopIndex);
    SetItemIndex(saved->ItemIndex);
}

void TExCustomListBox::Resize()
{
    TRangeListBox::Resize();
    if (Columns() > 0)
        SetColumns(Columns());
}

void TExCustomListBox::RangeSwitched()
{
    Perform(WM_HSCROLL, SB_TOP);
    if (RangeActive())
        ResetHorizontalExtent();
    else
        SetHorizontalExtent();
}

void TExCustomListBox::SetAutoScroll(bool Value)
{
    if (Value == FAutoScroll)
        return;
    FAutoScroll = Value;
    RangeSwitched();
}

void TExCustomListBox::SetOnGetItemWidth(TGetItemWidthEvent Value)
{
    FOnGetItemWidth = std::move(Value);
    RangeSwitched();
}

void TExCustomListBox::SetOnDrawItem(TDrawItemEvent Value)
{
    OnDrawItem = std::move(Value);
    RangeSwitched();
}

void TExCustomListBox::SetGraySelection(bool Value)
{
    if (Value == FGraySelection)
        return;
    FGraySelection = Value;
    if (!Focused())
        Invalidate();
}

void TExCustomListBox::DoEnter()
{
    TRangeListBox::DoEnter();
    if (FGraySelection)
        Invalidate();
}

void TExCustomListBox::DoExit()
{
    TRangeListBox::DoExit();
    if (FGraySelection)
        Invalidate();
}

void TExCustomListBox::SetSorted(bool Value)
{
    if (Value == Sorted())
        return;
    if (!Value) {
        TCustomListBox::SetSorted(false);
        return;
    }
    // Every item goes in again in order, its data with it.
    std::vector<std::pair<AnsiString, intptr_t>> items;
    for (int i = 0; i < Items()->Count(); ++i)
        items.emplace_back(Items()->Strings(i), RawItemData(i));
    const TKeepData keep(FKeepData);
    Perform(LB_RESETCONTENT);
    TCustomListBox::SetSorted(true);
    for (auto& [text, data] : items) {
        const LRESULT index = Perform(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index >= 0)
            SetRawItemData(static_cast<int>(index), data);
    }
}

int TExCustomListBox::GetItemWidth(int Index)
{
    if (Style() != lbStandard && FOnGetItemWidth) {
        int width = 0;
        FOnGetItemWidth(this, Index, width);
        return width;
    }
    return TRangeListBox::GetItemWidth(Index);
}

intptr_t TExCustomListBox::RawItemData(int Index)
{
    return static_cast<intptr_t>(Perform(LB_GETITEMDATA, static_cast<WPARAM>(Index)));
}

void TExCustomListBox::SetRawItemData(int Index, intptr_t Data)
{
    Perform(LB_SETITEMDATA, static_cast<WPARAM>(Index), static_cast<LPARAM>(Data));
}

intptr_t TExCustomListBox::GetItemData(int Index) { return RawItemData(Index); }

void TExCustomListBox::SetItemData(int Index, intptr_t Data) { SetRawItemData(Index, Data); }

int TExCustomListBox::GetItemHeight()
{
    if (HandleAllocated() && Style() == lbStandard && Items()->Count() > 0) {
        const TRect r = ItemRect(0);
        if (r.Height() > 0)
            return r.Height();
    }
    return ItemHeight();
}

void TExCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State)
{
    if (OnDrawItem)
        OnDrawItem(this, Index, Rect, State);
    else
        DrawItemText(Index, Rect);
}

void TExCustomListBox::DrawItemText(int Index, TRect Rect)
{
    TCanvas* c = Canvas();
    c->FillRect(Rect);
    if (Index < 0 || Index >= Items()->Count())
        return;
    const int top = std::max(Rect.Top, (Rect.Top + Rect.Bottom - c->TextHeight("Wy")) / 2);
    TRect text{Rect.Left + 2, top, Rect.Right, Rect.Bottom};
    c->Brush()->SetStyle(bsClear);
    const AnsiString item = Items()->Strings(Index);
    if (TabWidth() > 0) {
        // The tab stops the range is measured with.
        TabbedTextPieces(
            item, ListTabStopPixels(TabWidth(), c->TextWidth("0")), [c](std::string_view s) { return c->TextWidth(s); },
            [c, &text](std::string_view piece, int x) { c->TextOut(text.Left + x, text.Top, AnsiString(piece)); });
    } else {
        DrawText(c, item, text, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
    c->Brush()->SetStyle(bsSolid);
}
