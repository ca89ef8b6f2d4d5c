#include "grid/model/GridClipboardText.h"

#include "controls/core/StrUtils.h"
#include "grid/model/Cgutil.h"
#include "grid/model/GridFiles.h"
#include "platform/core/DateFormat.h"
#include "platform/core/FloatFormat.h"
#include "platform/core/FormatSettings.h"

namespace {

// Writes Text() into the selection's cells, columns outer and rows inner, then Advance(); the
// value advances for every cell, only editable cells are written. Advance raises to end the
// fill after the cell it follows.
template <class Text, class Advance>
void FillSeries(TCellModel& Grid, const TGridRect& Selection, const TCellEditable& Editable, Text text, Advance advance)
{
    for (int c = Selection.Left; c <= Selection.Right; ++c)
        for (int r = Selection.Top; r <= Selection.Bottom; ++r) {
            if (Editable(c, r))
                Grid.SetCells(Grid.RemapCol(c), r, text());
            advance();
        }
}

bool HoldsChar(std::string_view s, char c) { return c != '\0' && s.find(c) != std::string_view::npos; }

}  // namespace

AnsiString ClipboardText(const TGridRect& Rect, const std::function<AnsiString(int, int)>& Piece)
{
    AnsiString out;
    for (int r = Rect.Top; r <= Rect.Bottom; ++r) {
        for (int c = Rect.Left; c <= Rect.Right; ++c) {
            if (c > Rect.Left)
                out += '\t';
            out += Piece(c, r);
        }
        out += "\r\n";
    }
    return out;
}

AnsiString CSVLinesPiece(const AnsiString& Text) { return "\"" + ReplaceStr(Text, "\r\n", "\n") + "\""; }

TPoint PasteSize(std::string_view Text)
{
    TPoint size{0, 0};
    int cells = 1;
    for (const char c : Text) {
        if (c == '\t') {
            ++cells;
        } else if (c == '\r') {
            size.x = std::max(size.x, cells);
            cells = 1;
            ++size.y;
        }
    }
    size.x = std::max(size.x, cells);
    return size;
}

AnsiString PasteLineEnds(std::string_view Text, bool ClipboardCSVLines)
{
    if (Text.find('\r') != std::string_view::npos || Text.find('\n') == std::string_view::npos)
        return AnsiString(Text);
    AnsiString out;
    bool quoted = false;
    for (const char c : Text) {
        if (c == '"' && ClipboardCSVLines)
            quoted = !quoted;
        if (c == '\n' && !quoted)
            out += '\r';
        out += c;
    }
    return out;
}

int PasteText(TCellModel& Grid, int ACol, int ARow, std::string_view Text, const TPasteSettings& Settings,
              const TCellEditable& Editable, TGridRect& Pasted)
{
    Pasted = TGridRect{ACol, ARow, ACol, ARow};
    if (ACol < 0 || ARow < 0)
        return 0;
    int count = 0;
    int col = ACol, row = ARow;
    // One piece into the current cell, then on to the next column. A column that would be one
    // past the last grows the grid first when it may, so no piece is stored out of sight (or in
    // a hidden column's place).
    const auto put = [&](const AnsiString& piece) {
        if (col >= Grid.ColCount() && Settings.AllowClipboardColGrow)
            Grid.SetColCount(col + 1);
        if (col < Grid.ColCount() && row < Grid.RowCount() && (Settings.AllowClipboardAlways || Editable(col, row)))
            Grid.SetCells(Grid.RemapCol(col), row, piece);
        ++count;
        ++col;
        Pasted.Right = std::max(Pasted.Right, col);
    };
    size_t at = 0;
    while (at < Text.size()) {
        const size_t cr = Text.find('\r', at);
        const bool endedByCr = cr != std::string_view::npos;
        std::string_view line = Text.substr(at, (endedByCr ? cr : Text.size()) - at);
        // A quoted piece of several lines loses its quotes and takes CR LF again; the last piece
        // of a line too, so a copied multi-line cell comes back whatever its column.
        const auto unquoted = [&](std::string_view text) {
            AnsiString piece(text);
            if (Settings.ClipboardCSVLines && HoldsChar(piece, '\n')) {
                if (!piece.empty() && piece.front() == '"')
                    piece.erase(0, 1);
                const size_t quote = piece.find('"');
                if (quote != AnsiString::npos && quote + 1 == piece.size())
                    piece.pop_back();
                piece = LoneLfToCrLf(piece);
            }
            return piece;
        };
        for (size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t')) {
            put(unquoted(line.substr(0, tab)));
            line.remove_prefix(tab + 1);
        }
        if (endedByCr || !line.empty()) {
            put(unquoted(line));
        } else {
            ++col;
            if (col > Grid.ColCount() && Settings.AllowClipboardColGrow)
                Grid.SetColCount(col);
            Pasted.Right = std::max(Pasted.Right, col);
        }
        at = endedByCr ? cr + 1 : Text.size();
        if (at < Text.size() && Text[at] == '\n')
            ++at;
        col = ACol;
        ++row;
        if (Grid.RowCount() == row && endedByCr && Settings.AllowClipboardRowGrow)
            Grid.SetRowCount(row + 1);
        Pasted.Bottom = std::max(Pasted.Bottom, row);
    }
    Pasted.Right -= 1;
    Pasted.Bottom -= 1;
    return count;
}

void SmartFill(TCellModel& Grid, const TGridRect& Selection, int Pieces, const TCellEditable& Editable)
{
    const bool oneCell = Selection.Left == Selection.Right && Selection.Top == Selection.Bottom;
    if (Selection.Left < 0 || Selection.Top < 0 || Selection.Right >= Grid.ColCount() ||
        Selection.Bottom >= Grid.RowCount())
        return;
    const AnsiString first = Grid.Cells(Grid.RemapCol(Selection.Left), Selection.Top);
    if (Pieces == 1 && !oneCell) {
        FillSeries(
            Grid, Selection, Editable, [&] { return first; }, [] {});
        return;
    }
    const bool oneColumn = Selection.Left == Selection.Right, oneRow = Selection.Top == Selection.Bottom;
    if (Pieces != 2 || !(oneColumn || oneRow))
        return;
    // The row choice wins for a single cell: the second value is the one to the right.
    const int secondCol = oneRow ? Selection.Left + 1 : Selection.Left;
    const int secondRow = oneRow ? Selection.Top : Selection.Top + 1;
    if (secondCol >= Grid.ColCount() || secondRow >= Grid.RowCount())
        return;
    const AnsiString second = Grid.Cells(Grid.RemapCol(secondCol), secondRow);
    const TFormatSettings& fs = FormatSettings();
    try {
        const auto dateOrTime = [&](const AnsiString& s) {
            return HoldsChar(s, fs.DateSeparator) || HoldsChar(s, fs.TimeSeparator);
        };
        if (dateOrTime(first) && dateOrTime(second)) {
            const TDateTime d1 = StrToDateTime(first), d2 = StrToDateTime(second);
            uint16_t y1, m1, dd1, y2, m2, dd2;
            DecodeDate(d1, y1, m1, dd1);
            DecodeDate(d2, y2, m2, dd2);
            const AnsiString format = HoldsChar(first, fs.DateSeparator) ? fs.ShortDateFormat : fs.LongTimeFormat;
            TDateTime d = d1;
            FillSeries(
                Grid, Selection, Editable, [&] { return FormatDateTime(format, d); },
                [&] { d = NextSeriesDate(d, y2 - y1, m2 - m1, dd2 - dd1, d2 - d1); });
        } else if (HoldsChar(first, fs.DecimalSeparator) || HoldsChar(second, fs.DecimalSeparator)) {
            const double f1 = StrToFloat(first), f2 = StrToFloat(second);
            double f = f1;
            FillSeries(
                Grid, Selection, Editable, [&] { return FloatToStrF(f, ffGeneral, 15, 0); }, [&] { f += f2 - f1; });
        } else {
            int v1 = 0, v2 = 0;
            if (!TryStrToInt(first, v1) || !TryStrToInt(second, v2))
                return;
            int64_t v = v1;
            FillSeries(
                Grid, Selection, Editable, [&] { return IntToStr(static_cast<int32_t>(v)); },
                [&] { v += int64_t{v2} - v1; });
        }
    } catch (const EConvertError&) {
        // A value that does not convert (or a day that does not exist) ends the fill here.
    }
}
