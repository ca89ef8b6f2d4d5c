// The framework grid's keyboard: OnKeyDown, then the navigation that MoveCursor computes, the
// editor keys, and the dialog codes that keep arrows (and Tab with goTabs) in the grid.

#include "platform/core/VirtualKeys.h"
#include "platform/gui/Grids.h"

int TWheelNotches::Add(int Delta)
{
    // A turn the other way forgets the part of a notch gathered so far.
    if ((Delta > 0 && FRest < 0) || (Delta < 0 && FRest > 0))
        FRest = 0;
    FRest += Delta;
    const int notches = FRest / 120;
    FRest -= notches * 120;
    return notches;
}

void TCustomGrid::RegisterGridHandlers()
{
    RegisterHandler(WM_GETDLGCODE, [this](TMessage& m) {
        m.Result = DLGC_WANTARROWS;
        if (Options().Contains(goTabs))
            m.Result |= DLGC_WANTTAB;
        if (Options().Contains(goEditing))
            m.Result |= DLGC_WANTCHARS;
    });
    RegisterHandler(WM_LBUTTONDBLCLK, [this](TMessage& m) {
        std::shared_ptr<bool> alive = AliveToken();
        DblClick();
        if (*alive)
            Inherited(m);
    });
}

void TCustomGrid::MoveCurrentCell(int ACol, int ARow, bool MoveAnchor)
{
    const TGridCoord old{Col(), Row()};
    std::shared_ptr<bool> alive = AliveToken();
    if (!FocusCell(ACol, ARow, MoveAnchor) || !*alive)
        return;
    if (old != TGridCoord{Col(), Row()})
        Click();
}

void TCustomGrid::KeyDown(uint16_t& Key, TShiftState Shift)
{
    std::shared_ptr<bool> alive = AliveToken();
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0 || !*alive)
        return;
    if (Key == VK_F2 && Options().Contains(goEditing) && !FEditorMode) {
        ShowEditor();
        return;
    }
    const TGridCursorMove m = MoveCursor(CursorStateOf(*this), Key, Shift);
    if (!m.Handled)
        return;
    // Each scroll tells TopLeftChanged, whose handler may free the grid.
    if (m.TopRow >= 0)
        SetTopRow(m.TopRow);
    if (*alive && m.LeftCol >= 0)
        SetLeftCol(m.LeftCol);
    if (*alive)
        MoveCurrentCell(m.Col, m.Row, m.MoveAnchor);
}

void TCustomGrid::KeyPress(char& Key)
{
    std::shared_ptr<bool> alive = AliveToken();
    TCustomControl::KeyPress(Key);
    if (!*alive || Key == 0)
        return;
    const TGridOptions o = Options();
    // Enter opens and closes the editor (it stays open for good with goAlwaysShowEditor).
    if (Key == '\r' && o.Contains(goEditing) && !o.Contains(goAlwaysShowEditor)) {
        if (FEditorMode)
            HideEditor();
        else
            ShowEditor();
        Key = 0;
        return;
    }
    AnsiString typed;
    if (o.Contains(goEditing) && !FEditorMode && static_cast<unsigned char>(Key) >= ' ' && TakeTypedByte(Key, typed))
        ShowEditorChar(typed);
}
