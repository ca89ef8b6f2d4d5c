// CSV: one line per row of the save range, fields joined by the delimiter. A field holding the
// delimiter, a double quote or a line break is quoted with its quotes doubled (line breaks
// inside as LF), so every text comes back as it went out; the "~"/"^" style writes line breaks
// as "~" and empty cells as "^" instead. The reader splits records at line ends outside quotes
// only and walks the text by characters, so a Hangul pair is never cut.

#include <algorithm>

#include "controls/core/StrUtils.h"
#include "grid/model/Cgutil.h"
#include "grid/model/GridFiles.h"

namespace {

constexpr char kQuote = '"';
// The separators detection tries, in order.
constexpr char kCandidates[] = {',', ';', '#', '\t', '|'};

// A lead byte followed by a byte that can end a pair (trail bytes start at 0x41).
bool PairAt(std::string_view s, size_t i)
{
    return i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i])) &&
        static_cast<unsigned char>(s[i + 1]) >= 0x41;
}

bool HoldsChar(std::string_view s, char c)
{
    for (size_t i = 0; i < s.size(); i += PairAt(s, i) ? 2 : 1)
        if (s[i] == c)
            return true;
    return false;
}

// The records of a CSV text, one field at a time. With no delimiter every line is one field.
class TCsvReader {
public:
    // Delimiter is a byte value, or -1 for none.
    TCsvReader(std::string_view Bytes, int Delimiter) : FBytes(Bytes), FDelimiter(Delimiter) {}

    bool AtEnd() const { return FAt >= FBytes.size(); }
    // The next record: its number of fields in Count, and with Fields its fields too (counting
    // alone keeps nothing); false at the end.
    bool Next(std::vector<AnsiString>* Fields, size_t& Count)
    {
        Count = 0;
        if (Fields)
            Fields->clear();
        if (AtEnd())
            return false;
        for (;;) {
            const bool quoted = FBytes[FAt] == kQuote;
            AnsiString field;
            AnsiString* into = Fields ? &field : nullptr;
            const bool any = quoted ? Quoted(into) : Plain(into);
            const auto add = [&] {
                ++Count;
                if (Fields)
                    Fields->push_back(std::move(field));
            };
            if (AtDelimiter()) {
                add();
                ++FAt;
                // A delimiter that ends the line leaves no empty field after it.
                if (AtLineEnd()) {
                    SkipLineEnd();
                    return true;
                }
                continue;
            }
            if (quoted || any)
                add();
            SkipLineEnd();
            return true;
        }
    }

private:
    bool AtDelimiter() const { return !AtEnd() && static_cast<unsigned char>(FBytes[FAt]) == FDelimiter; }
    bool AtLineEnd() const { return AtEnd() || FBytes[FAt] == '\r' || FBytes[FAt] == '\n'; }
    void SkipLineEnd()
    {
        if (FAt < FBytes.size() && FBytes[FAt] == '\r')
            ++FAt;
        if (FAt < FBytes.size() && FBytes[FAt] == '\n')
            ++FAt;
    }
    // Up to the delimiter or the line end, added to Into when given; whether there was any.
    bool Plain(AnsiString* Into)
    {
        const size_t start = FAt;
        while (!AtLineEnd() && !AtDelimiter())
            FAt += PairAt(FBytes, FAt) ? 2 : 1;
        if (Into)
            Into->append(FBytes.substr(start, FAt - start));
        return FAt > start;
    }
    // From an opening quote to its closing one, doubled quotes undoubled, line breaks kept;
    // what follows the closing quote up to the delimiter is kept too. A quote never closed
    // takes the rest of its own line as it stands, so it cannot swallow the file.
    bool Quoted(AnsiString* Into)
    {
        const size_t open = FAt++;
        for (;;) {
            if (AtEnd()) {
                FAt = open + 1;
                if (Into)
                    Into->clear();
                return Plain(Into);
            }
            if (FBytes[FAt] == kQuote) {
                if (FAt + 1 < FBytes.size() && FBytes[FAt + 1] == kQuote) {
                    if (Into)
                        *Into += kQuote;
                    FAt += 2;
                    continue;
                }
                ++FAt;
                break;
            }
            const size_t length = PairAt(FBytes, FAt) ? 2 : 1;
            if (Into)
                Into->append(FBytes.substr(FAt, length));
            FAt += length;
        }
        Plain(Into);
        return true;
    }

    std::string_view FBytes;
    int FDelimiter;
    size_t FAt = 0;
};

// The next line of a CSV text with what lies inside quotes blanked out as 'x': line ends
// inside quotes do not end it, and delimiters inside quotes are not counted.
AnsiString MaskedLine(std::string_view Bytes, size_t& At)
{
    const size_t start = At;
    for (bool quotesCount : {true, false}) {
        AnsiString line;
        bool inQuotes = false;
        for (At = start; At < Bytes.size(); ++At) {
            const char c = Bytes[At];
            if (c == kQuote) {
                inQuotes = quotesCount && !inQuotes;
                line += 'x';
            } else if (!inQuotes && (c == '\r' || c == '\n')) {
                At += c == '\r' && At + 1 < Bytes.size() && Bytes[At + 1] == '\n' ? 2 : 1;
                return line;
            } else {
                line += inQuotes ? 'x' : c;
            }
        }
        // A quote never closed does not hide the line ends after it, as the reader does.
        if (!inQuotes)
            return line;
    }
    return {};
}

}  // namespace

// In-memory line breaks are CR LF: a lone LF read from a file becomes one.
AnsiString LoneLfToCrLf(std::string_view s)
{
    if (s.find('\n') == std::string_view::npos)
        return AnsiString(s);
    AnsiString out;
    out.reserve(s.size() + 8);
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r'))
            out += '\r';
        out += s[i];
    }
    return out;
}

AnsiString CSVField(std::string_view Text, char Delimiter, bool JavaStyle)
{
    if (Text.empty())
        return JavaStyle ? "^" : "\"\"";
    AnsiString s(Text);
    if (JavaStyle) {
        // Line breaks as "~" whatever Multilinecells says: a raw one would end the record.
        LineFeedsToJava(s);
        return s;
    }
    if (!HoldsChar(s, Delimiter) && !HoldsChar(s, kQuote) && !HoldsChar(s, '\r') && !HoldsChar(s, '\n'))
        return s;
    s = ReplaceStr(s, "\r\n", "\n");
    AnsiString out = "\"";
    for (size_t i = 0; i < s.size(); ++i) {
        out += s[i];
        if (s[i] == kQuote)
            out += kQuote;
    }
    out += '"';
    return out;
}

AnsiString CSVText(const TCellModel& Grid, const TGridFileSettings& Settings, TFileProgress& Progress)
{
    const int hidden = Settings.SaveIncludesHidden ? Grid.HiddenColCount() : 0;
    const char delimiter = Settings.CSVDelimiter ? Settings.CSVDelimiter : ',';
    AnsiString out;
    for (int r = Grid.GetSaveStartRow(); r <= Grid.GetSaveEndRow(); ++r) {
        for (int c = Grid.GetSaveStartCol(); c <= Grid.GetSaveEndCol() + hidden; ++c) {
            if (c > Grid.GetSaveStartCol())
                out += delimiter;
            AnsiString text = Grid.Cells(Settings.SaveIncludesHidden ? c : Grid.RemapCol(c), r);
            if (Settings.OemConvert)
                StringToOem(text);
            out += CSVField(text, delimiter, Settings.CSVJavaStyle);
        }
        out += "\r\n";
        Progress.Step(r, Grid.RowCount() - 1);
    }
    return out;
}

char DetectCSVDelimiter(std::string_view Bytes)
{
    size_t at = 0;
    const AnsiString first = MaskedLine(Bytes, at);
    const AnsiString second = at < Bytes.size() ? MaskedLine(Bytes, at) : AnsiString();
    char found = '\0';
    int best = 0;
    for (const char candidate : kCandidates) {
        const int a = NumSingleChar(candidate, first);
        if (a == NumSingleChar(candidate, second) && a > best) {
            found = candidate;
            best = a;
        }
    }
    return found;
}

void LoadCSVText(TCellModel& Grid, std::string_view Bytes, std::string_view FileName, bool Insert,
                 const TGridFileSettings& Settings, TFileProgress& Progress)
{
    const int fc = Grid.SaveIncludesFixed ? 0 : Grid.FixedCols();
    int fr = Grid.SaveIncludesFixed ? 0 : Grid.FixedRows();
    int t = 0;
    if (Insert) {
        fr = 0;
        t = Grid.RowCount();
    }
    AnsiString oemBytes;
    if (Settings.OemConvert) {
        oemBytes = AnsiString(Bytes);
        OemToString(oemBytes);
        Bytes = oemBytes;
    }
    const char delimiter = Settings.CSVDelimiter ? Settings.CSVDelimiter : DetectCSVDelimiter(Bytes);
    const int separator = delimiter ? static_cast<unsigned char>(delimiter) : -1;
    // Count the records first, keeping none of their fields: the rows are sized once, and a file
    // the grid cannot hold raises as soon as it passes the limit, before anything changes.
    const int64_t firstRow = int64_t{t} + fr;
    int64_t n = 0;
    int64_t cols = Grid.ColCount();
    {
        TCsvReader counter(Bytes, separator);
        size_t fields = 0;
        while (counter.Next(nullptr, fields)) {
            ++n;
            cols = std::max<int64_t>(cols, fc + static_cast<int64_t>(fields));
            const int64_t rows = firstRow + n;
            if (rows > INT32_MAX || cols > INT32_MAX || cols * rows > TCustomGridData::kMaxCells)
                throw ECellGridError(CorruptFileMessage(FileName));
        }
    }
    Grid.SetRowCount(static_cast<int>(firstRow + n));
    if (cols > Grid.ColCount())
        Grid.SetColCount(static_cast<int>(cols));
    TCsvReader reader(Bytes, separator);
    std::vector<AnsiString> record;
    size_t count = 0;
    for (int64_t k = 0; k < n && reader.Next(&record, count); ++k, ++t) {
        for (size_t j = 0; j < record.size(); ++j) {
            AnsiString& text = record[j];
            if (Settings.CSVJavaStyle)
                JavaToLineFeeds(text);
            else
                text = LoneLfToCrLf(text);
            Grid.SetCells(fc + static_cast<int>(j), t + fr, text);
        }
        Progress.Step(k + 1, n);
    }
}
