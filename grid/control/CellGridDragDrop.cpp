// The grid in drag and drop: as a drop target it takes text (pasted as the clipboard pastes),
// rich text into one cell, a column on its header (left to OnOleDropCol) and one CSV or
// spreadsheet file, showing arrow markers where the drop will land; as a drag source a press on
// the selection (or a header) waits for the move that starts a drag of the selected text or of
// the column, and a move removes what was dragged. The decisions are the platform's
// (platform/gui/DragDrop.h); the drag's picture is the drag button with the dragged cell's text.

#include <sys/stat.h>

#include <algorithm>

#include "grid/control/ArrowWindow.h"
#include "grid/control/CellGrid.h"
#include "platform/core/StoredPath.h"
#include "platform/gui/DragDrop.h"

namespace {

// A left arrow sits this far left of its cell; the column arrows this far above and below.
constexpr int kLeftArrowGap = 12;
constexpr int kDownArrowRise = 8;
constexpr int kArrowSize = 11;
// A press must move this far before it becomes a drag.
constexpr int kDragStartDistance = 3;

// A name with a control byte is no file the user meant: a NUL decoded from a dropped address
// would cut the name the file is opened by short of the name that was checked.
bool HasControlBytes(const AnsiString& Name)
{
    return std::any_of(Name.begin(), Name.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// A regular file, not a folder, device or pipe.
bool RegularFile(const AnsiString& FileName)
{
    struct stat info {};
    return stat(NativePath(FileName).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

AnsiString UpperAscii(AnsiString s)
{
    for (size_t i = 0; i < s.size(); i += static_cast<size_t>(CharLengthAt(s, i)))
        if (s[i] >= 'a' && s[i] <= 'z')
            s[i] = static_cast<char>(s[i] - 'a' + 'A');
    return s;
}

}  // namespace

// The grid as a drop target.
class TGridDropTarget : public TDropTarget {
public:
    explicit TGridDropTarget(TCellGrid& Grid) : FGrid(Grid) {}
    ~TGridDropTarget() override = default;

    // Arrow windows made on first use: down and up mark a column, left marks a row.
    TArrowWindow& Arrow(TArrowDirection Direction)
    {
        std::unique_ptr<TArrowWindow>& arrow = FArrows[Direction];
        if (!arrow) {
            arrow = std::make_unique<TArrowWindow>(nullptr, Direction);
            arrow->SetBounds(0, 0, kArrowSize, kArrowSize);
        }
        arrow->SetColor(FGrid.ArrowColor());
        return *arrow;
    }
    void HideArrows()
    {
        for (auto& arrow : FArrows)
            if (arrow)
                arrow->Hide();
    }
    bool ArrowShown(TArrowDirection Direction) const { return FArrows[Direction] && FArrows[Direction]->Visible(); }

protected:
    void DragPrepare() override
    {
        AcceptText = FGrid.OleAcceptText;
        AcceptFiles = FGrid.OleAcceptFiles;
        AcceptCols = FGrid.OleAcceptCols;
    }
    void DragMouseMove(TPoint Point, bool& Allow, TDropFormats Formats) override
    {
        const TGridCoord cell = FGrid.MouseToCell(Point.x, Point.y);
        const bool column = Formats.Contains(dfCol);
        if (!column && Allow) {
            if (cell.Y == 0 && FGrid.TopRow() > FGrid.FixedRows())
                FGrid.SetTopRow(FGrid.TopRow() - 1);
            else if (cell.Y >= 0 && cell.Y == FGrid.TopRow() + FGrid.VisibleRowCount() && cell.Y < FGrid.RowCount())
                FGrid.SetTopRow(FGrid.TopRow() + 1);
        }
        if (column) {
            if (!(cell.Y >= 0 && cell.Y < FGrid.FixedRows() && cell.X >= FGrid.FixedCols()))
                Allow = false;
        } else if (cell.Y < FGrid.FixedRows() && !(FGrid.RowCount() == 1 && FGrid.FixedRowAlways)) {
            Allow = false;
        }
        if (cell.X < 0 || cell.Y < 0)
            Allow = false;
        if (FGrid.OnOleDragOver)
            FGrid.OnOleDragOver(&FGrid, cell.Y, cell.X, Allow);
        if (!Allow) {
            HideArrows();
            return;
        }
        if (column) {
            const TRect r = FGrid.CellRect(cell.X, cell.Y);
            const TPoint top = FGrid.ClientToScreen(TPoint{r.Left, r.Top});
            const TPoint bottom = FGrid.ClientToScreen(TPoint{r.Left, r.Bottom});
            Arrow(arrDown).SetBounds(top.x, top.y - kDownArrowRise, kArrowSize, kArrowSize);
            Arrow(arrUp).SetBounds(bottom.x, bottom.y, kArrowSize, kArrowSize);
            Arrow(arrDown).Show();
            Arrow(arrUp).Show();
            return;
        }
        const int row = cell.Y == 0 && FGrid.FixedRowAlways ? 1 : cell.Y;
        const TRect r = FGrid.CellRect(FGrid.OleEntireRows ? 0 : cell.X, std::min(row, FGrid.RowCount() - 1));
        const TPoint at = FGrid.ClientToScreen(TPoint{r.Left, r.Top});
        Arrow(arrLeft).SetBounds(at.x - kLeftArrowGap, at.y, kArrowSize, kArrowSize);
        Arrow(arrLeft).Show();
    }
    void DragMouseLeave() override { HideArrows(); }

    void DropText(TPoint Point, const AnsiString& Dropped) override
    {
        const AnsiString text = TCellGrid::BeforeNul(Dropped);
        std::shared_ptr<bool> alive = FGrid.AliveToken();
        TGridCoord cell = FGrid.MouseToCell(Point.x, Point.y);
        const TPoint size = FGrid.PasteSize(text);
        const bool rowSelect = FGrid.Options().Contains(goRowSelect);
        if (rowSelect)
            cell.X = FGrid.OleEntireRows ? 0 : FGrid.FixedCols();
        bool allow = true;
        if (FGrid.OnOleDrop)
            FGrid.OnOleDrop(&FGrid, cell.Y, cell.X, text, allow);
        if (!*alive)
            return;
        if (allow && cell.X >= 0 && cell.Y >= 0) {
            if (FGrid.OleInsertRows && size.y > 0) {
                const int top = FGrid.TopRow();
                const bool scrolled = top > FGrid.FixedRows();
                FGrid.InsertRows(cell.Y, size.y);
                FGrid.SetTopRow(top + (scrolled ? 1 : 0));
            }
            if (FGrid.RowCount() == 1 && FGrid.FixedRowAlways && cell.Y == 0)
                cell.Y = 1;
            FGrid.PasteText(cell.X, cell.Y, text);
            if (!*alive)
                return;
            const int left = std::max(cell.X, FGrid.FixedCols());
            const int right = cell.X + size.x - 1 - (rowSelect ? FGrid.FixedCols() : 0);
            const int bottom = cell.Y + std::max(size.y, 1) - 1;
            FGrid.SetSelection(TGridRect{left, cell.Y, std::clamp(right, left, FGrid.ColCount() - 1),
                                         std::min(bottom, FGrid.RowCount() - 1)});
        }
        HideArrows();
    }
    void DropRTF(TPoint Point, const AnsiString& Dropped) override
    {
        const AnsiString rtf = TCellGrid::BeforeNul(Dropped);
        const TGridCoord cell = FGrid.MouseToCell(Point.x, Point.y);
        bool allow = true;
        if (FGrid.OnOleDrop)
            FGrid.OnOleDrop(&FGrid, cell.Y, cell.X, rtf, allow);
        if (allow && cell.X >= 0 && cell.Y >= 0)
            FGrid.SetCells(FGrid.RemapCol(cell.X), cell.Y, rtf);
        HideArrows();
    }
    void DropCol(TPoint Point, int Col) override
    {
        HideArrows();
        const TGridCoord cell = FGrid.MouseToCell(Point.x, Point.y);
        if (FGrid.OnOleDropCol)
            FGrid.OnOleDropCol(&FGrid, cell.Y, cell.X, Col);
    }
    void DropFiles(TPoint Point, const std::vector<AnsiString>& Files) override
    {
        HideArrows();
        if (Files.size() != 1 || HasControlBytes(Files[0]) || !RegularFile(Files[0]))
            return;
        const TGridCoord cell = FGrid.MouseToCell(Point.x, Point.y);
        const AnsiString name = UpperAscii(Files[0]);
        const bool csv = name.find(".CSV") != AnsiString::npos, xls = name.find(".XLS") != AnsiString::npos;
        if (!csv && !xls)
            return;
        bool allow = true;
        if (FGrid.OnOleDrop)
            FGrid.OnOleDrop(&FGrid, cell.Y, cell.X, Files[0], allow);
        if (!allow)
            return;
        if (xls)
            FGrid.LoadFromXLS(Files[0]);
        else
            FGrid.LoadFromCSV(Files[0]);
    }

private:
    TCellGrid& FGrid;
    std::array<std::unique_ptr<TArrowWindow>, 4> FArrows;
};

// The grid as a drag source: the effect of the drag as it goes.
class TGridDropSource : public TDropSource {
public:
    int LastEffect = DROPEFFECT_NONE;
    void CurrentEffect(int Effect) override
    {
        if (Effect == DROPEFFECT_MOVE || Effect == DROPEFFECT_COPY)
            LastEffect = Effect;
    }
};

void TCellGrid::SetOleDropTarget(bool Value)
{
    FOleDropTarget = Value;
    if (Value && !FDrop.Target)
        FDrop.Target = std::make_unique<TGridDropTarget>(*this);
    RegisterDropTarget(this, Value ? FDrop.Target.get() : nullptr);
}

void TCellGrid::SetOleDropRTF(bool Value)
{
    FOleDropRTF = Value;
    SetRTFAware(Value);
}

TDropTarget* TCellGrid::OleDropTargetObject()
{
    if (!FDrop.Target)
        FDrop.Target = std::make_unique<TGridDropTarget>(*this);
    return FDrop.Target.get();
}

bool TCellGrid::OleArrowShown(int Direction) const
{
    return FDrop.Target && Direction >= arrUp && Direction <= arrRight &&
        static_cast<TGridDropTarget*>(FDrop.Target.get())->ArrowShown(static_cast<TArrowDirection>(Direction));
}

bool TCellGrid::OleDragPress(int ACol, int ARow, int X)
{
    FDrop.Pending = false;
    if (!OleDropSource || Options().Contains(goEditing) || ACol < 0 || ARow < 0)
        return false;
    const TGridRect s = Selection();
    const bool selected = ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
    if (!selected && !(ARow < FixedRows() && !EnhRowColMove))
        return false;
    // Near a column border with sizing on, the press sizes the column instead.
    const TRect r = CellRect(ACol, ARow);
    if (Options().Contains(goColSizing) && (X - r.Left <= kDragStartDistance || r.Right - X <= kDragStartDistance))
        return false;
    FDrop.Pending = true;
    FDrop.PressCell = {ACol, ARow};
    std::shared_ptr<bool> alive = AliveToken();
    Click();
    if (*alive && OnClickCell)
        OnClickCell(this, ARow, ACol);
    return true;
}

bool TCellGrid::OleDragMove(TShiftState Shift, int X, int Y)
{
    if (!FDrop.Pending || !OleDropSource || GridState() == gsColSizing)
        return false;
    if (std::abs(X - FPressPoint.x) <= kDragStartDistance && std::abs(Y - FPressPoint.y) <= kDragStartDistance)
        return true;
    FDrop.Pending = false;
    std::shared_ptr<bool> alive = AliveToken();
    const TGridCoord cell = MouseToCell(X, Y);
    const int real = cell.X >= 0 ? RemapCol(cell.X) : -1;
    bool allow = true;
    if (OnOleDrag)
        OnOleDrag(this, cell.Y, real, real >= 0 && cell.Y >= 0 ? Cells(real, cell.Y) : AnsiString(), allow);
    if (!*alive)
        return true;
    if (!allow) {
        // As after an ordinary press: the held-back press selects now.
        TStringGrid::MouseDown(mbLeft, Shift, FPressPoint.x, FPressPoint.y);
        return true;
    }
    TGridDropSource source;
    if (OnOleDragStart)
        OnOleDragStart(this, cell.Y, real);
    if (!*alive)
        return true;
    const TGridCoord pressed = FDrop.PressCell;
    const AnsiString caption = Cells(RemapCol(pressed.X), pressed.Y);
    TBitmap picture;
    DragPicture(caption, ColWidths(pressed.X), RowHeights(pressed.Y), picture);
    int effect = DROPEFFECT_NONE;
    if (pressed.Y < FixedRows()) {
        const int result =
            StartColDoDragDrop(this, source, pressed.X, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect, &picture);
        if (*alive && result != DRAGDROP_S_CANCEL && OnOleDragStop)
            OnOleDragStop(this, effect);
        return true;
    }
    const TGridRect selection = Selection();
    const int result = StartTextDoDragDrop(this, source, SelectedText(), OleDropRTF() ? caption : AnsiString(),
                                           DROPEFFECT_COPY | DROPEFFECT_MOVE, effect, &picture);
    if (!*alive || result == DRAGDROP_S_CANCEL)
        return true;
    if (effect == DROPEFFECT_MOVE) {
        if (OleRemoveRows && Options().Contains(goRowSelect)) {
            if (MouseActions()->DisjunctRowSelect)
                RemoveSelectedRows();
            else
                RemoveRows(selection.Top, selection.Bottom - selection.Top + 1);
        } else {
            ClearRect(selection.Left, selection.Top, selection.Right, selection.Bottom);
        }
    }
    if (*alive && OnOleDragStop)
        OnOleDragStop(this, effect);
    return true;
}

void TCellGrid::OleDragRelease(TShiftState Shift, int X, int Y)
{
    if (!FDrop.Pending)
        return;
    FDrop.Pending = false;
    // The held-back press selects now: the cell, or its row's normal cells with goRowSelect.
    const TGridCoord cell = FDrop.PressCell;
    if (cell.X < FixedCols() || cell.Y < FixedRows() || cell.X >= ColCount() || cell.Y >= RowCount())
        return;
    if (Options().Contains(goRowSelect))
        SetSelection(TGridRect{FixedCols(), cell.Y, ColCount() - 1, cell.Y});
    else
        FocusCell(cell.X, cell.Y, true);
}

void TCellGrid::DragPicture(const AnsiString& Caption, int Width, int Height, TBitmap& Picture)
{
    Picture.SetSize(std::max(Width, 1), std::max(Height, 1));
    TCanvas* canvas = Picture.Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(TRect{0, 0, Picture.Width(), Picture.Height()});
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(0, 0, Picture.Width(), Picture.Height());
    canvas->Font()->Assign(Font());
    const int w = canvas->TextWidth(Caption), h = canvas->TextHeight(Caption);
    canvas->TextOut((Picture.Width() - w) / 2, (Picture.Height() - h) / 2, Caption);
}
