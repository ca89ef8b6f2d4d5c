// The grid's own file: a header of counts, the column widths, then one line per cell that is
// not empty ("column,row,text" with line breaks encoded); and the stream form, which has no
// widths and counts from the save range. Also the progress every long format reports.

#include <chrono>
#include <climits>
#include <cmath>

#include "grid/model/Cgutil.h"
#include "grid/model/GridFiles.h"
#include "grid/model/StoredNumbers.h"
#include "platform/core/AnsiString.h"
#include "platform/core/Streams.h"

namespace {

// Let the window process its messages after this many rows at most.
constexpr int64_t kRowsBetweenMessages = 256;

// The runtime's reading of a number with an error position: leading blanks, a sign, "$" or
// "0x" for hexadecimal, then the digits up to the first that is not one; saturates.
int LeadingNumber(std::string_view s)
{
    size_t i = s.find_first_not_of(' ');
    if (i == std::string_view::npos)
        return 0;
    bool negative = false;
    if (s[i] == '-' || s[i] == '+')
        negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    int64_t value = 0;
    for (; i < s.size(); ++i) {
        const int d = DigitValue(s[i]);
        if (d < 0 || d >= base)
            break;
        value = std::min<int64_t>(value * base + d, int64_t{INT_MAX} + 1);
    }
    return static_cast<int>(std::clamp<int64_t>(negative ? -value : value, INT_MIN, INT_MAX));
}

void AddLine(AnsiString& Out, std::string_view Line)
{
    Out += Line;
    Out += "\r\n";
}

// Counts the header gives, checked against what the grid can hold before anything changes.
void CheckCounts(int64_t Cols, int64_t Rows, std::string_view FileName)
{
    if (Cols <= 0 || Rows <= 0 || Cols * Rows > TCustomGridData::kMaxCells)
        throw ECellGridError(CorruptFileMessage(FileName));
}

}  // namespace

void TFileProgress::Step(int64_t Done, int64_t Total)
{
    if (FReport) {
        const int p = static_cast<int>(
            std::nearbyint(static_cast<double>(Done) * 100.0 / static_cast<double>(std::max<int64_t>(Total, 1))));
        if (p != FLast) {
            FLast = p;
            FReport(p);
        }
    }
    if (FProcessMessages && ++FSinceMessages >= kRowsBetweenMessages) {
        FSinceMessages = 0;
        FProcessMessages();
    }
}

AnsiString CorruptFileMessage(std::string_view FileName)
{
    return "File contains no data or corrupt file " + AnsiString(FileName);
}

AnsiString TooLargeFileMessage(std::string_view FileName) { return "File too large " + AnsiString(FileName); }

AnsiString GridFileText(const TCellModel& Grid, const TGridFileSettings& Settings, TFileProgress& Progress)
{
    const int hidden = Settings.SaveIncludesHidden ? Grid.HiddenColCount() : 0;
    AnsiString out;
    AddLine(out, std::to_string(Grid.GetSaveColCount() + hidden) + "," + std::to_string(Grid.GetSaveRowCount()));
    for (int c = Grid.GetSaveStartCol(); c <= Grid.GetSaveEndCol() + hidden; ++c)
        AddLine(out, "cw " + std::to_string(c) + "," + std::to_string(Grid.ColWidths(c)));
    // Cell lines run over the hidden columns whatever the switch says.
    const int lastCol = Grid.GetSaveEndCol() + Grid.HiddenColCount();
    for (int r = Grid.GetSaveStartRow(); r <= Grid.GetSaveEndRow(); ++r) {
        for (int c = Grid.GetSaveStartCol(); c <= lastCol; ++c) {
            const AnsiString& text = Grid.Cells(c, r);
            if (!text.empty())
                AddLine(out, std::to_string(c) + "," + std::to_string(r) + "," + LfToFile(text));
        }
        Progress.Step(r, Grid.GetSaveRowCount() - 1);
    }
    return out;
}

void LoadGridFileText(TCellModel& Grid, std::string_view Bytes, std::string_view FileName,
                      const TGridFileSettings& Settings, TFileProgress& Progress)
{
    const int fc = Grid.SaveIncludesFixed ? 0 : Grid.FixedCols();
    const int fr = Grid.SaveIncludesFixed ? 0 : Grid.FixedRows();
    size_t at = 0;
    const std::string_view header = TakeLine(Bytes, at);
    if (!header.empty()) {
        const size_t comma = header.find(',');
        const int64_t cols = int64_t{LeadingNumber(header.substr(0, comma))} + fc;
        const int64_t rows =
            int64_t{comma == std::string_view::npos ? 0 : LeadingNumber(header.substr(comma + 1))} + fr;
        CheckCounts(cols, rows, FileName);
        Grid.SetColCountEx(static_cast<int>(cols));
        Grid.SetRowCountEx(static_cast<int>(rows));
    }
    if (Grid.ColCount() == 0 || Grid.RowCount() == 0)
        throw ECellGridError(CorruptFileMessage(FileName));
    while (at < Bytes.size()) {
        const std::string_view line = TakeLine(Bytes, at);
        if (line.substr(0, 2) == "cw") {
            const size_t comma = line.find(',');
            const std::string_view index = comma == std::string_view::npos || comma < 3
                ? line.substr(std::min<size_t>(3, line.size()))
                : line.substr(3, comma - 3);
            const int c = LeadingNumber(index);
            const int w = comma == std::string_view::npos ? 0 : LeadingNumber(line.substr(comma + 1, 255));
            if (const std::optional<int> width = StoredColWidth(w); c >= 0 && c < Grid.ColCount() && width)
                Grid.SetColWidths(c, *width);
            continue;
        }
        // A cell line needs its two indexes; anything else (a blank line, junk) is skipped.
        const size_t first = line.find(',');
        if (first == std::string_view::npos || line.find(',', first + 1) == std::string_view::npos)
            continue;
        AnsiString rest(line);
        const int c = LeadingNumber(GetToken(rest, ","));
        const int r = LeadingNumber(GetToken(rest, ","));
        if (c >= 0 && c < Grid.ColCount() && r >= 0 && r < Grid.RowCount())
            Grid.SetCells(c, r, FileToLf(rest, Settings.Multilinecells));
        Progress.Step(r, Grid.RowCount() - 1);
    }
}

AnsiString GridStreamText(const TCellModel& Grid)
{
    AnsiString out;
    AddLine(out, std::to_string(Grid.GetSaveColCount()) + "," + std::to_string(Grid.GetSaveRowCount()));
    for (int r = Grid.GetSaveStartRow(); r <= Grid.GetSaveEndRow(); ++r)
        for (int c = Grid.GetSaveStartCol(); c <= Grid.GetSaveEndCol(); ++c) {
            const AnsiString& text = Grid.Cells(c, r);
            if (!text.empty())
                AddLine(out,
                        std::to_string(c - Grid.GetSaveStartCol()) + "," + std::to_string(r - Grid.GetSaveStartRow()) +
                            "," + LfToFile(text));
        }
    return out;
}

void LoadGridStream(TCellModel& Grid, TStream& Stream, bool Multilinecells)
{
    const int64_t left = Stream.Size() - Stream.Position();
    if (left <= 0)
        return;
    std::string bytes(static_cast<size_t>(left), '\0');
    Stream.ReadBuffer(bytes.data(), left);
    // Lines end at CR; the LF after it is skipped, a lone LF stays inside the line.
    size_t at = 0;
    const auto nextLine = [&]() {
        const size_t end = std::min(bytes.find('\r', at), bytes.size());
        std::string line = bytes.substr(at, end - at);
        at = end + 1;
        if (at < bytes.size() && bytes[at] == '\n')
            ++at;
        return line;
    };
    const int startCol = Grid.GetSaveStartCol(), startRow = Grid.GetSaveStartRow();
    const AnsiString header = nextLine();
    if (!header.empty()) {
        const size_t comma = header.find(',');
        const int64_t cols = int64_t{StrToInt(header.substr(0, comma))} + startCol;
        const int64_t rows =
            int64_t{comma == AnsiString::npos ? StrToInt("") : StrToInt(header.substr(comma + 1))} + startRow;
        if (cols < 0 || rows < 0 || cols * rows > TCustomGridData::kMaxCells)
            throw ECellGridError(CorruptFileMessage(""));
        Grid.SetColCountEx(static_cast<int>(cols));
        Grid.SetRowCountEx(static_cast<int>(rows));
    }
    while (at < bytes.size()) {
        AnsiString rest = nextLine();
        const int64_t c = int64_t{StrToInt(GetToken(rest, ","))} + startCol;
        const int64_t r = int64_t{StrToInt(GetToken(rest, ","))} + startRow;
        if (c >= 0 && c < Grid.ColCount() && r >= 0 && r < Grid.RowCount())
            Grid.SetCells(static_cast<int>(c), static_cast<int>(r), FileToLf(rest, Multilinecells));
    }
}
