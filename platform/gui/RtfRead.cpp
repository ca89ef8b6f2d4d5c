// Reading rich text into a Qt text document: one pass over the bytes with a stack of group
// states, text gathered as cp949 bytes and UTF-16 units and inserted a run at a time, all inside
// one edit of the document. Outside an edit, Qt places the cursor after every insert in the laid
// out paragraph, laying out a document that has a layout again at each run: a text of many runs
// would cost the square of its runs.

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "platform/core/Cp949.h"
#include "platform/gui/FontAlias.h"
#include "platform/gui/RtfCodec.h"

namespace {

enum TDestination { dText, dFontTable, dColorTable, dSkip };

// Everything a group keeps and a closing brace restores.
struct TGroupState {
    TDestination Dest = dText;
    bool Bold = false, Italic = false, Underline = false, Strike = false;
    int Font = -1;
    int HalfPoints = 24;
    int Color = 0, Highlight = 0;  // colour table indexes, 0 automatic
    int Script = 0;                // 1 superscript, -1 subscript
    int Offset = 0;                // raised (> 0) or lowered baseline, half-points
    int SkipAfterUnicode = 1;      // \uc
};

// Groups whose first control word names one of these hold no text to show.
constexpr std::array<std::string_view, 24> kSkippedDestinations = {
    "info",         "stylesheet", "pict",      "header",
    "headerl",      "headerr",    "headerf",   "footer",
    "footerl",      "footerr",    "footerf",   "footnote",
    "object",       "fldinst",    "listtable", "listoverridetable",
    "rsidtbl",      "generator",  "themedata", "colorschememapping",
    "latentstyles", "datastore",  "xmlnstbl",  "filetbl",
};

class TRtfReader {
public:
    explicit TRtfReader(QTextDocument& doc) : FCursor(&doc) { FCursor.beginEditBlock(); }
    ~TRtfReader() { FCursor.endEditBlock(); }
    TRtfReader(const TRtfReader&) = delete;
    TRtfReader& operator=(const TRtfReader&) = delete;
    bool Read(std::string_view s);

private:
    void Control(std::string_view word, bool hasParam, int param, bool groupStart);
    // A text byte; an escaped one (\'hh) never ends a table entry.
    void Byte(char c, bool escaped = false);
    void Unit(char16_t u);
    void Flush();
    void FlushBytes();
    QTextCharFormat Format() const;

    QTextCursor FCursor;
    std::vector<TGroupState> FStack{TGroupState{}};
    TGroupState& S() { return FStack.back(); }
    std::string FBytes;    // cp949 bytes not yet turned into text
    std::u16string FText;  // text of the current run
    TGroupState FRunState;
    int FSkip = 0;  // characters still to skip after \uN
    int FDefaultFont = 0;
    std::map<int, std::string> FFonts;
    int FFontEntry = -1;
    std::string FFontName;
    std::vector<QColor> FColors;
    int FRed = -1, FGreen = -1, FBlue = -1;
};

bool SameRun(const TGroupState& a, const TGroupState& b)
{
    return a.Bold == b.Bold && a.Italic == b.Italic && a.Underline == b.Underline && a.Strike == b.Strike &&
        a.Font == b.Font && a.HalfPoints == b.HalfPoints && a.Color == b.Color && a.Highlight == b.Highlight &&
        a.Script == b.Script && a.Offset == b.Offset;
}

QTextCharFormat TRtfReader::Format() const
{
    const TGroupState& r = FRunState;
    QTextCharFormat f;
    f.setFontWeight(r.Bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(r.Italic);
    f.setFontUnderline(r.Underline);
    f.setFontStrikeOut(r.Strike);
    f.setFontPointSize(r.HalfPoints / 2.0);
    const auto font = FFonts.find(r.Font >= 0 ? r.Font : FDefaultFont);
    if (font != FFonts.end()) {
        f.setFontFamilies(QStringList{QString::fromStdString(ResolveFontFamily(font->second))});
        f.setProperty(kRtfFontNameProperty,
                      QString::fromLatin1(font->second.data(), static_cast<qsizetype>(font->second.size())));
    }
    if (r.Color > 0 && r.Color < static_cast<int>(FColors.size()) && FColors[static_cast<size_t>(r.Color)].isValid())
        f.setForeground(FColors[static_cast<size_t>(r.Color)]);
    if (r.Highlight > 0 && r.Highlight < static_cast<int>(FColors.size()) &&
        FColors[static_cast<size_t>(r.Highlight)].isValid())
        f.setBackground(FColors[static_cast<size_t>(r.Highlight)]);
    if (r.Script > 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (r.Script < 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (r.Offset != 0) {
        f.setProperty(kRtfOffsetProperty, r.Offset);
        f.setBaselineOffset(100.0 * r.Offset / std::max(1, r.HalfPoints));
    }
    return f;
}

void TRtfReader::FlushBytes()
{
    if (FBytes.empty())
        return;
    if (S().Dest == dFontTable)
        FFontName += FBytes;
    else
        FText += Cp949ToUtf16(FBytes);
    FBytes.clear();
}

void TRtfReader::Flush()
{
    FlushBytes();
    if (!FText.empty())
        FCursor.insertText(QString::fromStdU16String(FText), Format());
    FText.clear();
}

void TRtfReader::Unit(char16_t u)
{
    FlushBytes();
    if (S().Dest != dText)
        return;
    if (!SameRun(FRunState, S()))
        Flush();
    FRunState = S();
    FText += u;
}

void TRtfReader::Byte(char c, bool escaped)
{
    if (FSkip > 0) {
        --FSkip;
        return;
    }
    switch (S().Dest) {
    case dText:
        if (!SameRun(FRunState, S()))
            Flush();
        FRunState = S();
        FBytes += c;
        break;
    case dFontTable:
        if (c == ';' && !escaped) {
            FlushBytes();
            if (FFontEntry >= 0)
                FFonts[FFontEntry] = FFontName;
            FFontName.clear();
        } else {
            FBytes += c;
        }
        break;
    case dColorTable:
        if (c == ';') {
            FColors.push_back(
                FRed < 0 && FGreen < 0 && FBlue < 0
                    ? QColor()
                    : QColor(std::clamp(FRed, 0, 255), std::clamp(FGreen, 0, 255), std::clamp(FBlue, 0, 255)));
            FRed = FGreen = FBlue = -1;
        }
        break;
    case dSkip: break;
    }
}

void TRtfReader::Control(std::string_view w, bool hasParam, int param, bool groupStart)
{
    TGroupState& s = S();
    if (groupStart) {
        if (w == "fonttbl") {
            s.Dest = dFontTable;
            return;
        }
        if (w == "colortbl") {
            s.Dest = dColorTable;
            return;
        }
        for (std::string_view d : kSkippedDestinations)
            if (w == d) {
                s.Dest = dSkip;
                return;
            }
    }
    if (s.Dest == dSkip)
        return;
    if (s.Dest == dFontTable) {
        if (w == "f")
            FFontEntry = param;
        return;
    }
    if (s.Dest == dColorTable) {
        if (w == "red")
            FRed = param;
        else if (w == "green")
            FGreen = param;
        else if (w == "blue")
            FBlue = param;
        return;
    }
    const bool on = !hasParam || param != 0;
    if (w == "par" || w == "sect") {
        Flush();
        FCursor.insertBlock();
    } else if (w == "line") {
        Unit(u'\u2028');
    } else if (w == "tab") {
        Unit(u'\t');
    } else if (w == "u") {
        Unit(static_cast<char16_t>(param));
        FSkip = s.SkipAfterUnicode;
    } else if (w == "uc") {
        s.SkipAfterUnicode = std::clamp(param, 0, 8);
    } else if (w == "plain") {
        const TDestination dest = s.Dest;
        const int uc = s.SkipAfterUnicode;
        s = TGroupState{};
        s.Dest = dest;
        s.SkipAfterUnicode = uc;
    } else if (w == "b") {
        s.Bold = on;
    } else if (w == "i") {
        s.Italic = on;
    } else if (w == "ul") {
        s.Underline = on;
    } else if (w == "ulnone") {
        s.Underline = false;
    } else if (w == "strike") {
        s.Strike = on;
    } else if (w == "fs") {
        s.HalfPoints = hasParam ? std::clamp(param, 2, 3276) : 24;
    } else if (w == "f") {
        s.Font = param;
    } else if (w == "deff") {
        FDefaultFont = param;
    } else if (w == "cf") {
        s.Color = param;
    } else if (w == "highlight" || w == "cb") {
        s.Highlight = param;
    } else if (w == "super") {
        s.Script = 1;
    } else if (w == "sub") {
        s.Script = -1;
    } else if (w == "nosupersub") {
        s.Script = 0;
    } else if (w == "up" || w == "dn") {
        const int v = std::clamp(hasParam ? param : 6, -3276, 3276);
        s.Offset = w == "up" ? v : -v;
    } else if (w == "emdash") {
        Unit(u'\u2014');
    } else if (w == "endash") {
        Unit(u'\u2013');
    } else if (w == "bullet") {
        Unit(u'\u2022');
    } else if (w == "lquote" || w == "rquote") {
        Unit(w == "lquote" ? u'\u2018' : u'\u2019');
    } else if (w == "ldblquote" || w == "rdblquote") {
        Unit(w == "ldblquote" ? u'\u201C' : u'\u201D');
    }
}

bool TRtfReader::Read(std::string_view s)
{
    size_t i = 0;
    bool groupStart = false;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '{') {
            if (static_cast<int>(FStack.size()) > kMaxRtfDepth)
                return false;
            FlushBytes();
            FStack.push_back(S());
            groupStart = true;
            ++i;
            continue;
        }
        if (c == '}') {
            FlushBytes();
            if (FStack.size() <= 2) {
                Flush();
                return FStack.size() == 2;  // the outermost group closes: the rest is not read
            }
            FStack.pop_back();
            groupStart = false;
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c != '\\') {
            if (FStack.size() < 2)
                return false;  // text outside every group
            Byte(c);
            groupStart = false;
            ++i;
            continue;
        }
        // A control word, or a control symbol.
        if (++i >= s.size())
            return false;
        const char n = s[i];
        if ((n >= 'a' && n <= 'z') || (n >= 'A' && n <= 'Z')) {
            const size_t start = i;
            while (i < s.size() && i - start < 32 && ((s[i] >= 'a' && s[i] <= 'z') || (s[i] >= 'A' && s[i] <= 'Z')))
                ++i;
            const std::string_view word = s.substr(start, i - start);
            bool negative = false, hasParam = false;
            long long param = 0;
            if (i < s.size() && s[i] == '-') {
                negative = true;
                ++i;
            }
            for (int digits = 0; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++digits)
                if (digits < 10) {
                    param = param * 10 + (s[i] - '0');
                    hasParam = true;
                }
            if (i < s.size() && s[i] == ' ')
                ++i;
            param = std::clamp<long long>(negative ? -param : param, -65535, 65535);
            if (word != "u")
                FlushBytes();
            Control(word, hasParam, static_cast<int>(param), groupStart);
            groupStart = false;
            continue;
        }
        ++i;
        groupStart = false;
        if (n == '\'') {
            if (i + 2 > s.size())
                return false;
            const int hi = HexDigitValue(s[i]), lo = HexDigitValue(s[i + 1]);
            i += 2;
            if (hi >= 0 && lo >= 0)
                Byte(static_cast<char>(hi * 16 + lo), true);
        } else if (n == '*') {
            S().Dest = dSkip;
        } else if (n == '\\' || n == '{' || n == '}') {
            Byte(n);
        } else if (n == '~') {
            Unit(u'\u00A0');
        } else if (n == '\r' || n == '\n') {
            Control("par", false, 0, false);
        }
    }
    return false;  // a group left open
}

}  // namespace

bool LooksLikeRtf(std::string_view bytes) { return bytes.substr(0, 5) == "{\\rtf"; }

bool ReadRtf(std::string_view bytes, QTextDocument& document)
{
    document.clear();
    if (!LooksLikeRtf(bytes))
        return false;
    bool read = false;
    {
        TRtfReader reader(document);
        read = reader.Read(bytes);
    }  // the edit ends before a broken text is cleared away
    if (!read)
        document.clear();
    return read;
}
