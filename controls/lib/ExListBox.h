#pragma once
// The library's list box: owner drawing with a grey selection while it lacks the focus
// (GraySelection), the automatic horizontal range of the text list box (AutoScroll, widths from
// OnGetItemWidth for owner-drawn items), item data through overridable GetItemData and
// SetItemData, item texts read within the 4095-byte limit, and the automatic drag of the selected
// items on the platform's drag and drop (ExListBoxDrag.cpp: its start, its end, and the list as
// a target of such drags). The check list box builds on it.

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "controls/lib/RangeListBox.h"
#include "platform/gui/DragDrop.h"
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
    ~TExCustomListBox() override;

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

    // --- Dragging (ExListBoxDrag.cpp). Automatic: a left press starts a drag of the selected
    // items, at once on an item already selected of a multiple-selection list, else once the
    // pointer moves; Shift or Ctrl with multiple selection only select. The drag carries the
    // items' text (lines joined by CR LF) to other programs as well.
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode Value) { FDragMode = Value; }
    // A drag of the selected items, now or once the pointer has moved with the left button held.
    void BeginDrag(bool Immediate);
    // A drag from this list runs.
    bool Dragging() const { return FDrag.Running; }
    // What the list's window answers drags with: the list takes drags of list items when it has
    // OnDragOver, which decides where.
    TDropTarget* DragTarget();

    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;

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
    // A new window takes back the items, top index and item index the old one held.
    void WidgetCreated() override;
    // Columns keep their share of the new width.
    void Resize() override;
    // A drag that no target took: a click at the pointer, in place of the press the drag took.
    virtual void DragCanceled();
    // Runs the drag of Text on the platform's drag and drop: StartTextDoDragDrop's result.
    virtual int DoDragDrop(const AnsiString& Text, int& Effect);

private:
    void RegisterExListHandlers();
    void RegisterDragHandlers();
    // The window's input and drops go to the list (ExListBoxDrag.cpp).
    void WatchDrags();
    // The window's press or move before its own handling: true when it started a drag.
    bool DragInput(TDragInput Input, TPoint Point, TShiftState Shift);
    void RunDrag();
    AnsiString SelectedText();
    // Scrolls fully left and measures the range again (or sets it to 0).
    void RangeSwitched();

    bool FAutoScroll = true;
    bool FGraySelection = false;
    int FKeepData = 0;
    TGetItemWidthEvent FOnGetItemWidth;
    TDragMode FDragMode = dmManual;
    struct TDragRun {
        bool Waiting = false;  // a press waits for the pointer to move
        TPoint Press;
        bool Running = false;
        int Clicking = 0;  // the click after a cancelled drag is being delivered
    } FDrag;
    std::unique_ptr<TDropTarget> FDropTarget;
    // What the window held, from its WM_DESTROY until the new window has it.
    struct TSavedItems {
        std::vector<std::pair<AnsiString, intptr_t>> Items;
        int TopIndex = 0, ItemIndex = -1;
    };
    std::unique_ptr<TSavedItems> FSaved;
    friend class TExListBoxStrings;
};
