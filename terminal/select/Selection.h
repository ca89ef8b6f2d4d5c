#pragma once
// Block selections: a drag from one cell to another over the scroll-back, the text it selects
// (rows joined with CR LF) and the cells to highlight; and the rows marked by Ctrl+click.
// Columns are 0-based screen columns; rows are buffer line indexes.

#include <array>
#include <vector>

#include "platform/core/AnsiString.h"
#include "terminal/core/DataList.h"

struct TBlockSelection {
    int StartX = 0, StartY = 0, EndX = 0, EndY = 0;
    bool InProgress = false;  // a drag whose end differs from its start (shown until cancelled)
    AnsiString Text;          // the text of the finished selection

    void Begin(int x, int y)
    {
        StartX = EndX = x;
        StartY = EndY = y;
    }
    // Moves the end; InProgress tells whether anything is selected.
    void DragTo(int x, int y)
    {
        EndX = x;
        EndY = y;
        InProgress = EndX != StartX || EndY != StartY;
    }
    void Clear()
    {
        Text.clear();
        InProgress = false;
    }
};

// The selected text: on one row the characters from the smaller column up to (not including)
// the larger; over several rows the upper row from its column to its end (at most `columns`
// bytes), the rows between whole and the lower row up to its column, joined with CR LF. Rows are
// clamped to the buffer. A two-byte character cut by either end is taken whole.
AnsiString BlockCalcul(const TDataList& data, const TBlockSelection& sel, int columns);

// One band of cells to highlight on a screen row: columns From .. To - 1.
struct TCellSpan {
    int Row = 0;
    int From = 0;
    int To = 0;
    bool operator==(const TCellSpan&) const = default;
};
// The cells of a selection that are on screen (rows linePos .. linePos + pageSize), with the
// same ends as BlockCalcul; `columns` is the right edge.
std::vector<TCellSpan> BlockSpans(const TDataList& data, const TBlockSelection& sel, int linePos, int pageSize,
                                  int columns);

// Menu numbers marked with Ctrl+click, one text per screen row, and the pixel band they show in.
class TMultiSelect {
public:
    static constexpr int kRows = 101;
    static constexpr int kInitialLeft = 50;

    bool Active() const { return FActive; }
    const AnsiString& Marked(int row) const;
    // Marks an unmarked row with text, or unmarks a marked one (ending the multi-selection when
    // no row stays marked); the band widens to take in left .. right. Rows outside the table are
    // ignored (false).
    bool Toggle(int row, const AnsiString& text, int left, int right);
    void Cancel();
    int BandLeft() const { return FLeft; }
    int BandRight() const { return FRight; }

private:
    bool FActive = false;
    std::array<AnsiString, kRows> FRows;
    int FLeft = kInitialLeft;
    int FRight = 0;
};
