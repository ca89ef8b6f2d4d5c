// The selected cells as text (TAB between cells, CR LF after each row) and the repaint of a
// rectangle of cells.

#include "grid/control/CellGrid.h"
#include "grid/control/CgRichEdit.h"
#include "grid/model/Cgutil.h"

AnsiString TCellGrid::SelectedText()
{
    const TGridRect s = Selection();
    int first = s.Left, last = s.Right;
    if (Options().Contains(goRowSelect) && OleEntireRows) {
        first = 0;
        last = ColCount() - 1;
    }
    first = std::max(first, 0);
    last = std::min(last, ColCount() - 1);
    AnsiString text;
    TRichDocument rich;
    for (int row : SelectedTextRows()) {
        for (int c = first; c <= last; ++c) {
            AnsiString cell = Cells(RemapCol(c), row);
            // Rich text is a text that starts as rich text does, not one holding "{\" anywhere.
            if (TextType(cell, EnableHTML) == 2) {
                rich.LoadFromBytes(cell);
                cell = rich.PlainText();
            }
            if (ClipboardCSVLines && LinesInText(cell, Multilinecells) > 1)
                LineFeedsToCSV(cell);
            text += cell;
            if (c < last)
                text += '\t';
        }
        text += "\r\n";
    }
    return text;
}

void TCellGrid::RepaintRect(const TRect& R)
{
    const TRect a = CellRect(R.Left, R.Top), b = CellRect(R.Right, R.Bottom);
    if (a.IsEmpty() || b.IsEmpty()) {
        InvalidateGrid();
        return;
    }
    TRect area{};
    UnionRect(area, a, b);
    InvalidateRect(area);
}
