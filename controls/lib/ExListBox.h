#pragma once
// The library's list box: owner drawing with a grey selection while it lacks the focus
// (GraySelection), the automatic horizontal range of the text list box (AutoScroll, widths from
// OnGetItemWidth for owner-drawn items), item data through overridable GetItemData and
// SetItemData, and item texts read within the 4095-byte limit. The check list box builds on it.

#include <functional>
#include <memory>

#include "controls/lib/RangeListBox.h"
#include "platform/gui/ItemStrings.h"

class TExCustomListBox;

using TGetItemWidthEvent = std::function<void(TWinControl* Control, int Index, int& Width)>;

// The Items of a TExCustomListBox: every operation a list message. Objects are the list box's
// item data; moving, exchanging and replacing items carry their data along.
class TExListBoxStrings : public TItemStrings {
public:
    explicit TExListBoxStrings(TExCustomListBox* ListBox);
    void Exchange(int index1, int index2) override;
    void Move(int curIndex, int newIndex) override;

protected:
    // At most kMaxListItemText bytes, cut on a whole character.
    AnsiString Get(int index) const override;
    // The list box's GetItemData; -1 (the list's error) raises the list index error.
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void Put(int index, const AnsiString& s) override;

private:
    // The item at from goes and one with this text and data stands at to; the data moves
    // along instead of being freed.
    void Relocate(int from, int to, const AnsiString& s, LRESULT data);

    TExCustomListBox* FListBox;
};

class TExCustomListBox : public TRangeListBox {
public:
    explicit TExCustomListBox(TComponent* AOwner);

    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value);
    bool GraySelection() const { return FGraySelection; }
    void SetGraySelection(bool Value);
    // Hides the platform's setter: sorting carries each item's data along.
    void SetSorted(bool Value);
    TGetItemWidthEvent OnGetItemWidth() const { return FOnGetItemWidth; }
    void SetOnGetItemWidth(TGetItemWidthEvent Value);
    void SetOnDrawItem(TDrawItemEvent Value);

    // OnGetItemWidth for an owner-drawn list that has it, else the text's width.
    int GetItemWidth(int Index) override;
    // The item's data: the list's own by default.
    virtual intptr_t GetItemData(int Index);
    virtual void SetItemData(int Index, intptr_t Data);
    // The data slot itself, whatever GetItemData makes of it.
    intptr_t RawItemData(int Index);
    void SetRawItemData(int Index, intptr_t Data);
    // ItemHeight, or for a standard list the height of item 0.
    int GetItemHeight();

protected:
    bool RangeActive() const override { return FAutoScroll && Columns() == 0; }
    // OnDrawItem when set; else DrawItemText.
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    // The rectangle filled and the item's text 2 pixels in, centred on the height of "Wy".
    void DrawItemText(int Index, TRect Rect);
    // A data slot being emptied or reused without its data going (moves and sorting): a
    // subclass keeps what the slot points to.
    bool KeepingData() const { return FKeepData > 0; }
    void DoEnter() override;
    void DoExit() override;

private:
    void RegisterExListHandlers();
    // Scrolls fully left and measures the range again (or sets it to 0).
    void RangeSwitched();

    bool FAutoScroll = true;
    bool FGraySelection = false;
    int FKeepData = 0;
    TGetItemWidthEvent FOnGetItemWidth;
    friend class TExListBoxStrings;
};
