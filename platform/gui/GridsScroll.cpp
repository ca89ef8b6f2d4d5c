// The base grid's window scroll bars: shown while the rows (columns) do not all fit, their
// position on the logical range 0 .. kScrollRange standing for the first scrollable row
// (column) in view, and the scroll messages that move it.

#include <algorithm>
#include <cmath>

#include "platform/gui/Grids.h"
#include "platform/gui/WindowScrollBars.h"

namespace {

// a * b / c rounded to the nearest integer; 0 when c is 0.
int MulDivRound(int a, int b, int c)
{
    if (c == 0)
        return 0;
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

}  // namespace

void TCustomGrid::SetScrollBars(TScrollStyle Value)
{
    if (Value == FScrollBars)
        return;
    FScrollBars = Value;
    UpdateScrollRange();
}

bool TCustomGrid::HasScrollBar(int Bar) const
{
    return FScrollBars == ssBoth || (Bar == SB_VERT ? FScrollBars == ssVertical : FScrollBars == ssHorizontal);
}

int TCustomGrid::ScrollPosOf(int First, int Fixed, int MaxFirst)
{
    if (MaxFirst <= Fixed)
        return 0;
    return std::clamp(MulDivRound(First - Fixed, kScrollRange, MaxFirst - Fixed), 0, kScrollRange);
}

int TCustomGrid::FirstOfScrollPos(int Pos, int Fixed, int MaxFirst)
{
    if (MaxFirst <= Fixed)
        return Fixed;
    return Fixed + MulDivRound(std::clamp(Pos, 0, kScrollRange), MaxFirst - Fixed, kScrollRange);
}

void TCustomGrid::UpdateScrollRange()
{
    if (!HandleAllocated() || FInScrollUpdate)
        return;
    FInScrollUpdate = true;
    // A bar shown takes room from the client, which may make the other bar needed: settle.
    for (int round = 0; round < 3; ++round) {
        SetViewSize(ClientWidth(), ClientHeight());
        const bool shown[2] = {HasScrollBar(SB_HORZ) && MaxLeftCol() > TCustomGridData::FixedCols(),
                               HasScrollBar(SB_VERT) && MaxTopRow() > TCustomGridData::FixedRows()};
        if (shown[SB_HORZ] == FBarShown[SB_HORZ] && shown[SB_VERT] == FBarShown[SB_VERT])
            break;
        for (int bar : {SB_HORZ, SB_VERT}) {
            if (shown[bar] == FBarShown[bar])
                continue;
            FBarShown[bar] = shown[bar];
            if (shown[bar]) {
                TScrollInfo info;
                info.fMask = SIF_RANGE;
                info.nMin = 0;
                info.nMax = kScrollRange;
                SetScrollInfo(this, bar, info, true);
                FBarPos[bar] = -1;
            }
            ShowScrollBar(this, bar, shown[bar]);
        }
    }
    SetViewSize(ClientWidth(), ClientHeight());
    // Moving the view back in range tells TopLeftChanged, whose handler may free the grid.
    const TAliveToken alive = AliveToken();
    if (TopRow() > MaxTopRow())
        SetTopRow(MaxTopRow());
    if (*alive && LeftCol() > MaxLeftCol())
        SetLeftCol(MaxLeftCol());
    if (!*alive)
        return;
    const int pos[2] = {ScrollPosOf(LeftCol(), TCustomGridData::FixedCols(), MaxLeftCol()),
                        ScrollPosOf(TopRow(), TCustomGridData::FixedRows(), MaxTopRow())};
    for (int bar : {SB_HORZ, SB_VERT})
        if (FBarShown[bar] && pos[bar] != FBarPos[bar]) {
            FBarPos[bar] = pos[bar];
            SetScrollPos(this, bar, pos[bar], true);
        }
    FInScrollUpdate = false;
}

void TCustomGrid::Scroll(int bar, unsigned code, int pos)
{
    const bool vert = bar == SB_VERT;
    const int fixed = vert ? TCustomGridData::FixedRows() : TCustomGridData::FixedCols();
    const int first = vert ? TopRow() : LeftCol();
    const int last = vert ? MaxTopRow() : MaxLeftCol();
    const int page = std::max(1, vert ? VisibleRowCount() : VisibleColCount());
    int next = first;
    switch (code) {
    case SB_LINEUP: next = first - 1; break;
    case SB_LINEDOWN: next = first + 1; break;
    case SB_PAGEUP: next = first - page; break;
    case SB_PAGEDOWN: next = first + page; break;
    case SB_THUMBPOSITION: next = FirstOfScrollPos(pos, fixed, last); break;
    case SB_THUMBTRACK:
        if (!Options().Contains(goThumbTracking))
            return;
        next = FirstOfScrollPos(pos, fixed, last);
        break;
    case SB_TOP: next = fixed; break;
    case SB_BOTTOM: next = last; break;
    default: return;
    }
    next = std::clamp(next, fixed, std::max(fixed, last));
    const TAliveToken alive = AliveToken();
    if (vert)
        SetTopRow(next);
    else
        SetLeftCol(next);
    if (!*alive)
        return;
    // The bar goes where the first row or column now stands, also when it did not move.
    FBarPos[bar] = -1;
    UpdateScrollRange();
}

void TCustomGrid::WMVScroll(TMessage& Msg)
{
    Scroll(SB_VERT, static_cast<unsigned>(Msg.WParam & 0xFFFF), static_cast<int>((Msg.WParam >> 16) & 0xFFFF));
}

void TCustomGrid::WMHScroll(TMessage& Msg)
{
    Scroll(SB_HORZ, static_cast<unsigned>(Msg.WParam & 0xFFFF), static_cast<int>((Msg.WParam >> 16) & 0xFFFF));
}
