// The list box's drag of its selected items. In automatic mode the window's left press is looked
// at before the window handles it: on an item already selected of a multiple-selection list (no
// Shift, or Ctrl) the drag starts at once and the selection stays; any other press selects as
// usual and, unless Shift or Ctrl is held with multiple selection, leaves a drag waiting for the
// pointer to move, which starts it before the window sees the move. The drag runs on the
// platform's drag and drop with the items' text; the list that takes the drop (OnDragOver
// accepting, then OnDragDrop) is told the source list and becomes the target of OnEndDrag. A drag
// nobody took gives the list the click the press would have been.

#include "controls/lib/ExListBox.h"
#include "platform/gui/Controls.h"

namespace {

// The drag of list items running now (there is one pointer: at most one).
struct TListDragRun {
    TExCustomListBox* Source = nullptr;
    TAliveToken SourceAlive;
    TExCustomListBox* Target = nullptr;
    TAliveToken TargetAlive;
    TPoint DropPoint;
};
TListDragRun* gListDrag = nullptr;

TExCustomListBox* DragSource()
{
    return gListDrag && gListDrag->SourceAlive && *gListDrag->SourceAlive ? gListDrag->Source : nullptr;
}

}  // namespace

// A list as the target of list-item drags: the drag's text is only what other programs see.
class TListDropTarget : public TDropTarget {
public:
    explicit TListDropTarget(TExCustomListBox& List) : FList(List) {}

protected:
    void DragPrepare() override
    {
        AcceptText = DragSource() != nullptr && FList.OnDragOver != nullptr;
        AcceptFiles = false;
        AcceptCols = false;
        FInside = false;
    }
    void DragMouseMove(TPoint Point, bool& Allow, TDropFormats) override
    {
        if (!Allow)
            return;
        const TDragState state = FInside ? dsDragMove : dsDragEnter;
        FInside = true;
        FLast = Point;
        bool accept = true;
        if (FList.OnDragOver)
            FList.OnDragOver(&FList, DragSource(), Point.x, Point.y, state, accept);
        Allow = accept;
    }
    void DragMouseLeave() override
    {
        if (!FInside)
            return;
        FInside = false;
        bool accept = false;
        if (FList.OnDragOver)
            FList.OnDragOver(&FList, DragSource(), FLast.x, FLast.y, dsDragLeave, accept);
    }
    void DropText(TPoint Point, const AnsiString&) override
    {
        FInside = false;
        TExCustomListBox* source = DragSource();
        if (!source)
            return;
        gListDrag->Target = &FList;
        gListDrag->TargetAlive = FList.AliveToken();
        gListDrag->DropPoint = Point;
        if (FList.OnDragDrop)
            FList.OnDragDrop(&FList, source, Point.x, Point.y);
    }

private:
    TExCustomListBox& FList;
    bool FInside = false;  // the drag's enter has been reported
    TPoint FLast;
};

TExCustomListBox::~TExCustomListBox()
{
    // The window's filters call into this list: they go before the list does.
    if (HandleAllocated()) {
        SetDragInput(this, nullptr);
        RegisterDropTarget(this, nullptr);
    }
}

TDropTarget* TExCustomListBox::DragTarget()
{
    if (!FDropTarget)
        FDropTarget = std::make_unique<TListDropTarget>(*this);
    return FDropTarget.get();
}

void TExCustomListBox::WatchDrags()
{
    RegisterDropTarget(this, DragTarget());
    SetDragInput(this,
                 [this](TDragInput Input, TPoint Point, TShiftState Shift) { return DragInput(Input, Point, Shift); });
}

void TExCustomListBox::RegisterDragHandlers()
{
    RegisterHandler(WM_LBUTTONDOWN, [this](TMessage& m) {
        TAliveToken alive = AliveToken();
        FDrag.Waiting = false;
        Inherited(m);
        if (!*alive || FDragMode != dmAutomatic || FDrag.Clicking > 0)
            return;
        // A press on a selected item that drags at once never comes here.
        const TShiftState shift = KeysToShiftState(m.WParam);
        if (ListPressDrag(MultiSelect(), shift.Contains(ssShift), shift.Contains(ssCtrl), false) == lpdAfterPress) {
            FDrag.Waiting = true;
            FDrag.Press = TPoint{LParamX(m.LParam), LParamY(m.LParam)};
        }
    });
    RegisterHandler(WM_LBUTTONUP, [this](TMessage& m) {
        FDrag.Waiting = false;
        Inherited(m);
    });
}

bool TExCustomListBox::DragInput(TDragInput Input, TPoint Point, TShiftState Shift)
{
    if (Input == diMove) {
        if (!FDrag.Waiting || !ListDragBegins(FDrag.Press.x, FDrag.Press.y, Point.x, Point.y))
            return false;
        RunDrag();
        return true;
    }
    if (FDragMode != dmAutomatic || FDrag.Clicking > 0 || FDrag.Running)
        return false;
    const int index = ItemAtPos(Point, true);
    const bool selected = index >= 0 && Selected(index);
    if (ListPressDrag(MultiSelect(), Shift.Contains(ssShift), Shift.Contains(ssCtrl), selected) != lpdAtOnce)
        return false;
    BeginDrag(true);
    return true;
}

void TExCustomListBox::BeginDrag(bool Immediate)
{
    if (FDrag.Running)
        return;
    if (Immediate) {
        RunDrag();
        return;
    }
    FDrag.Waiting = true;
    FDrag.Press = ScreenToClient(GetCursorPos());
}

AnsiString TExCustomListBox::SelectedText()
{
    AnsiString text;
    bool first = true;
    const int count = Items()->Count();
    const int current = MultiSelect() ? -1 : ItemIndex();
    for (int i = 0; i < count; ++i) {
        if (MultiSelect() ? Perform(LB_GETSEL, static_cast<WPARAM>(i)) <= 0 : i != current)
            continue;
        if (!first)
            text += "\r\n";
        text += Items()->Strings(i);
        first = false;
    }
    return text;
}

int TExCustomListBox::DoDragDrop(const AnsiString& Text, int& Effect)
{
    TDropSource source;
    return StartTextDoDragDrop(this, source, Text, AnsiString(), DROPEFFECT_COPY | DROPEFFECT_MOVE, Effect);
}

void TExCustomListBox::RunDrag()
{
    FDrag.Waiting = false;
    TAliveToken alive = AliveToken();
    if (OnStartDrag) {
        OnStartDrag(this);
        if (!*alive)
            return;
    }
    TListDragRun run;
    run.Source = this;
    run.SourceAlive = alive;
    // The run is known while the drag lasts, whatever happens to the list meanwhile.
    struct TRunning {
        TListDragRun* Outer = gListDrag;
        TExCustomListBox* List;
        TAliveToken Alive;
        TRunning(TListDragRun* Run, TExCustomListBox* L, TAliveToken A) : List(L), Alive(std::move(A))
        {
            gListDrag = Run;
            List->FDrag.Running = true;
        }
        ~TRunning()
        {
            gListDrag = Outer;
            if (*Alive)
                List->FDrag.Running = false;
        }
    };
    int result = DRAGDROP_S_CANCEL;
    {
        TRunning running(&run, this, alive);
        int effect = DROPEFFECT_NONE;
        result = DoDragDrop(SelectedText(), effect);
    }
    if (!*alive)
        return;
    TExCustomListBox* target = run.Target && *run.TargetAlive ? run.Target : nullptr;
    if (result == DRAGDROP_S_CANCEL) {
        DragCanceled();
        if (!*alive)
            return;
    }
    if (OnEndDrag)
        OnEndDrag(this, target, target ? run.DropPoint.x : 0, target ? run.DropPoint.y : 0);
}

void TExCustomListBox::DragCanceled()
{
    if (!HandleAllocated())
        return;
    TAliveToken alive = AliveToken();
    ++FDrag.Clicking;
    ClickAfterDrag(this, GetCursorPos());
    if (*alive)
        --FDrag.Clicking;
}
