// Fixed-width text (each column cut or padded to a width, no separators) both ways, and the
// aligned text export that pads every column to its longest line and spreads multi-line cells
// over continuation lines. Widths count bytes, which are the columns a cp949 text takes on a
// fixed-pitch screen (a Hangul character is two of each); no cut falls inside a pair.

#include <algorithm>

#include "grid/model/Cgutil.h"
#include "grid/model/GridFiles.h"

namespace {

// The byte offset of the character boundary at or after Offset.
size_t BoundaryAtOrAfter(std::string_view s, size_t Offset)
{
    size_t i = 0;
    while (i < s.size() && i < Offset)
        i += static_cast<size_t>(CharLengthAt(s, i));
    return std::min(i, s.size());
}

// The text cut to exactly Width bytes: padded with blanks, or cut on a character boundary and
// then padded.
AnsiString FitWidth(std::string_view Text, int Width)
{
    const size_t width = static_cast<size_t>(std::max(Width, 0));
    AnsiString out(Text.substr(0, width));
    if (Text.size() > width && BoundaryAtOrAfter(Text, width) != width)
        out.pop_back();
    out.append(width - out.size(), ' ');
    return out;
}

// Blanks and control characters off both ends.
std::string_view TrimControls(std::string_view s)
{
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

// The physical lines of a text (CR LF, CR or LF ends one; nothing after the last end).
std::vector<std::string_view> TextLines(std::string_view Bytes)
{
    std::vector<std::string_view> lines;
    size_t at = 0;
    while (at < Bytes.size()) {
        const size_t end = std::min(Bytes.find_first_of("\r\n", at), Bytes.size());
        lines.push_back(Bytes.substr(at, end - at));
        at = end;
        if (at < Bytes.size())
            at += Bytes[at] == '\r' && at + 1 < Bytes.size() && Bytes[at + 1] == '\n' ? 2 : 1;
    }
    return lines;
}

// The first line of a cell text.
AnsiString FirstLine(const AnsiString& Text)
{
    AnsiString copy = Text;
    return GetNextLine(copy, false);
}

}  // namespace

int MaxCharsInCol(const TCellModel& Grid, int ACol, bool Multiline)
{
    const int real = Grid.RemapCol(ACol);
    size_t longest = 0;
    for (int r = 0; r < Grid.RowCount(); ++r) {
        AnsiString text = Grid.Cells(real, r);
        while (!text.empty()) {
            longest = std::max(longest, GetNextLine(text, Multiline).size());
            if (!Multiline)
                break;
        }
    }
    return static_cast<int>(longest);
}

AnsiString FixedText(const TCellModel& Grid, std::vector<int>& Widths, bool Multiline)
{
    const int first = Grid.GetSaveStartCol();
    for (int c = first + static_cast<int>(Widths.size()); c <= Grid.GetSaveEndCol(); ++c)
        Widths.push_back(MaxCharsInCol(Grid, c, Multiline) + 1);
    AnsiString out;
    for (int r = Grid.GetSaveStartRow(); r <= Grid.GetSaveEndRow(); ++r) {
        // The column measured is the column written; a cell gives its first line only, as a
        // line break would end the file's line.
        for (int c = first; c <= Grid.GetSaveEndCol(); ++c)
            out += FitWidth(FirstLine(Grid.Cells(Grid.RemapCol(c), r)), Widths[static_cast<size_t>(c - first)]);
        out += "\r\n";
    }
    return out;
}

void LoadFixedText(TCellModel& Grid, std::string_view Bytes, std::string_view FileName,
                   const std::vector<int>& Positions)
{
    if (Positions.size() < 2)
        return;
    const std::vector<std::string_view> lines = TextLines(Bytes);
    const int fields = static_cast<int>(Positions.size()) - 1;
    const int startRow = Grid.GetSaveStartRow(), startCol = Grid.GetSaveStartCol();
    const int64_t rows = std::max<int64_t>(Grid.RowCount(), startRow + static_cast<int64_t>(lines.size()));
    const int64_t cols = int64_t{Grid.FixedCols()} + fields;
    if (rows > INT32_MAX || cols * rows > TCustomGridData::kMaxCells)
        throw ECellGridError(CorruptFileMessage(FileName));
    Grid.SetColCount(static_cast<int>(cols));
    if (lines.empty())
        return;
    Grid.SetRowCount(static_cast<int>(rows));
    int r = startRow;
    for (const std::string_view line : lines) {
        for (int i = 1; i <= fields; ++i) {
            const int64_t from = int64_t{Positions[static_cast<size_t>(i - 1)]} - 1;
            const int64_t to = from + Positions[static_cast<size_t>(i)] - Positions[static_cast<size_t>(i - 1)];
            const size_t begin = BoundaryAtOrAfter(line, static_cast<size_t>(std::clamp<int64_t>(from, 0, INT32_MAX)));
            const size_t end = BoundaryAtOrAfter(line, static_cast<size_t>(std::clamp<int64_t>(to, 0, INT32_MAX)));
            const std::string_view field = end > begin ? line.substr(begin, end - begin) : std::string_view();
            Grid.SetCells(startCol + i - 1, r, AnsiString(TrimControls(field)));
        }
        ++r;
    }
}

AnsiString ASCIIText(const TCellModel& Grid, bool Multiline, const TCellAlignment& Alignment)
{
    const int cols = Grid.ColCount();
    std::vector<size_t> width(static_cast<size_t>(cols)), start(static_cast<size_t>(cols));
    for (int c = 0; c < cols; ++c) {
        width[static_cast<size_t>(c)] = static_cast<size_t>(MaxCharsInCol(Grid, c, Multiline));
        if (c > 0)
            start[static_cast<size_t>(c)] = start[static_cast<size_t>(c - 1)] + width[static_cast<size_t>(c - 1)] + 1;
    }
    // Centred text takes as many blanks each side as reach the width (one more than it when the
    // room is odd), all at once.
    const auto align = [](std::string_view s, TAlignment how, size_t w) {
        const size_t room = w > s.size() ? w - s.size() : 0;
        const size_t before = how == taRightJustify ? room : how == taCenter ? (room + 1) / 2 : 0;
        const size_t after = how == taCenter ? before : 0;
        AnsiString out;
        out.reserve(before + s.size() + after);
        out.append(before, ' ');
        out += s;
        out.append(after, ' ');
        return out;
    };
    AnsiString out;
    for (int r = 0; r < Grid.RowCount(); ++r) {
        AnsiString main;
        std::vector<AnsiString> more;
        for (int c = 0; c < cols; ++c) {
            const size_t w = width[static_cast<size_t>(c)];
            const TAlignment how = Alignment ? Alignment(c, r) : taLeftJustify;
            AnsiString s = Grid.Cells(Grid.RemapCol(c), r);
            const size_t crlf = s.find("\r\n");
            if (crlf != AnsiString::npos && Multiline) {
                // The further lines, walked in place: a cell of many lines is not copied per line.
                std::string_view rest = std::string_view(s).substr(crlf + 2);
                for (size_t k = 0;; ++k) {
                    const size_t next = rest.find("\r\n");
                    const std::string_view part = rest.substr(0, next);
                    if (k >= more.size())
                        more.emplace_back();
                    AnsiString& line = more[k];
                    if (line.size() < start[static_cast<size_t>(c)])
                        line.append(start[static_cast<size_t>(c)] - line.size(), ' ');
                    line += align(part, how, w);
                    if (next == std::string_view::npos || next + 2 >= rest.size())
                        break;
                    rest = rest.substr(next + 2);
                }
                s.resize(crlf);
            } else if (crlf != AnsiString::npos) {
                s.resize(crlf);
            }
            s = align(s, how, w);
            main += s;
            if (s.size() <= w)
                main.append(w - s.size() + 1, ' ');
        }
        out += main + "\r\n";
        for (const AnsiString& line : more)
            out += line + "\r\n";
    }
    return out;
}
