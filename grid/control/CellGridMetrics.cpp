// Cell text metrics: line counts of the grid, a row and a column's longest line, point sizes as
// print font heights and back, where rotated text starts in a cell, and the room a cell's text
// needs on a printed page.

#include <algorithm>
#include <cmath>

#include "grid/control/CellGrid.h"
#include "grid/control/CgRichEdit.h"
#include "grid/control/HtmlRender.h"
#include "grid/model/Cgutil.h"
#include "grid/model/StoredNumbers.h"
#include "grid/model/TextPlacement.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/MapMode.h"

namespace {

// The box HTML text is measured in for printing.
constexpr int kPrintHtmlBox = 1000;
constexpr double kPi = 3.14159265358979323846;

// The width of a line on the canvas, measured piece by piece no further than Limit: no printed
// column is wider, so a huge line costs what a page can hold, not what the line holds.
int64_t LineWidthUpTo(TCanvas* Canvas, std::string_view Line, int64_t Limit)
{
    constexpr size_t kPiece = 4096;
    if (Line.size() <= kPiece)
        return Canvas->TextWidth(Line);
    int64_t width = 0;
    for (size_t at = 0; at < Line.size() && width < Limit;) {
        size_t end = at;
        while (end < Line.size() && end - at < kPiece)
            end += static_cast<size_t>(CharLengthAt(Line, end));
        end = std::min(end, Line.size());
        width += Canvas->TextWidth(Line.substr(at, end - at));
        at = end;
    }
    return width;
}

}  // namespace

int TCellGrid::MaxLinesInGrid()
{
    if (ColCount() == 0 || RowCount() == 0 || !Multilinecells)
        return 1;
    int most = 1;
    for (int c = 0; c < ColCount(); ++c) {
        const int real = RemapCol(c);
        for (int r = 0; r < RowCount(); ++r)
            most = std::max(most, LinesInText(Cells(real, r), true));
    }
    return most;
}

int TCellGrid::MaxLinesInRow(int ARow)
{
    if (ColCount() == 0 || !Multilinecells)
        return 1;
    int most = 1;
    for (int c = 0; c < ColCount(); ++c)
        most = std::max(most, LinesInText(Cells(RemapCol(c), ARow), true));
    return most;
}

int TCellGrid::MaxCharsInCol(int ACol)
{
    const int real = RemapCol(ACol);
    size_t longest = 0;
    for (int r = 0; r < RowCount(); ++r) {
        AnsiString text = Cells(real, r);
        do
            longest = std::max(longest, GetNextLine(text, Multilinecells).size());
        while (!text.empty());
    }
    return static_cast<int>(longest);
}

int TCellGrid::MapFontHeight(int Size) const
{
    // Cut to a font height: a huge size, or a huge fit-to-page factor, gives the tallest font.
    const double height = std::trunc(Size * 254.0 / 72 * PrintScale);
    return -static_cast<int>(std::isfinite(height) ? std::clamp(height, -double{kMaxFontHeight}, double{kMaxFontHeight})
                                                   : 0);
}

int TCellGrid::MapFontSize(int Height) const { return static_cast<int>(std::trunc(Height * 72.0 / 254)); }

void TCellGrid::CalcTextPos(TRect& R, int Angle, const AnsiString& S, TAlignment Alignment)
{
    TCanvas* c = Canvas();
    TFont kept;
    kept.Assign(c->Font());
    c->Font()->Assign(Font());
    const TSize extent = c->TextExtent(S);
    c->Font()->Assign(&kept);
    const int w = extent.cx, h = extent.cy;
    R.Right -= 2;
    R.Bottom -= 2;
    const TPoint start = TurnedTextStart(R, w, h, Angle, Alignment, VAlignment());
    R.Left = start.x + 2;
    R.Top = start.y + 2;
}

TPoint TCellGrid::GetPrintTextSize(TCanvas* Canvas, int ACol, int ARow, int PrintColWidth)
{
    AnsiString text = Cells(ACol, ARow);
    const uint8_t kind = TextType(text, EnableHTML);
    TFont kept;
    kept.Assign(Canvas->Font());
    TPoint size{};
    if (kind == 1) {
        const int mode = SetMapMode(Canvas, MM_TEXT);
        Canvas->Font()->SetSize(PrintSettings()->Font()->Size());
        AnsiString anchor, plain;
        int width = 0, height = 0;
        PaintHtmlText(Canvas, text, TRect{0, 0, kPrintHtmlBox, kPrintHtmlBox}, GridImages(), 0, 0, false, true, true,
                      false, false, 1.0, URLColor(), anchor, plain, width, height);
        SetMapMode(Canvas, mode);
        TPoint extent{width, height};
        DPtoLP(Canvas, &extent, 1);
        size = {extent.x, -extent.y};
        Canvas->Font()->Assign(&kept);
        return size;
    }
    if (kind == 2) {
        RichEdit()->LoadFromBytes(text);
        text = RichEdit()->PlainText();
    } else if (kind == 3) {
        text = CalcCell(ACol, ARow);
    }
    TFont font;
    font.Assign(PrintSettings()->Font());
    TBrush brush;
    GetCellPrintColor(ACol, ARow, TGridDrawState{}, &brush, &font);
    const int points = font.Size();
    Canvas->Font()->Assign(&font);
    Canvas->Font()->SetHeight(MapFontHeight(points));
    int angle = 0;
    const bool rotated = IsRotated(ACol, ARow, angle);
    if (rotated)
        Canvas->Font()->SetOrientation(-10 * angle);
    TPoint graphic{};
    if (PrintSettings()->PrintGraphics) {
        GetCellGraphicSize(ACol, ARow, graphic);
        graphic = {static_cast<int>(std::lround(graphic.x * 254.0 / 96)),
                   static_cast<int>(std::lround(graphic.y * 254.0 / 96))};
    }
    if (WordWrap() && PrintSettings()->NoAutoSize) {
        TRect box{0, 0, PrintColWidth, 0};
        DrawText(Canvas, text, box, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | VAlignFlag());
        size = {PrintColWidth, std::abs(box.Height())};
    } else {
        // Sums in 64 bits, cut to what a page holds: a text of a million lines stays measurable.
        int64_t lines = 0, widest = 0;
        do {
            AnsiString line = GetNextLine(text, Multilinecells);
            if (URLShow() && !URLFull())
                StripURLProtocol(line);
            widest = std::max(widest, LineWidthUpTo(Canvas, line, kMaxPageLength) + graphic.x);
            ++lines;
        } while (!text.empty());
        size.x = static_cast<int>(std::min<int64_t>(widest, kMaxPageLength));
        size.y =
            static_cast<int>(std::min<int64_t>(std::abs(int64_t{Canvas->TextHeight("gh")}) * lines, kMaxPageLength));
    }
    if (rotated) {
        const double a = angle * kPi / 180;
        const int w = size.x, h = size.y;
        size.x = std::abs(static_cast<int>(std::trunc(w * std::cos(a)))) +
            std::abs(static_cast<int>(std::trunc(h * std::sin(a))));
        size.y = std::abs(static_cast<int>(std::trunc(w * std::sin(a)))) +
            std::abs(static_cast<int>(std::trunc(h * std::cos(a))));
    }
    size.y = std::max(size.y, graphic.y);
    size.x = std::max(size.x, graphic.x);
    Canvas->Font()->Assign(&kept);
    return size;
}
