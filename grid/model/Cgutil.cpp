#include "grid/model/Cgutil.h"

#include <algorithm>
#include <utility>

#include "controls/core/StrUtils.h"
#include "platform/core/FormatSettings.h"

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';

// Calls f(i, length) for each character of s (i 0-based).
template <class F>
void EachChar(std::string_view s, F f)
{
    for (size_t i = 0; i < s.size(); i += static_cast<size_t>(CharLengthAt(s, i)))
        f(i, static_cast<size_t>(CharLengthAt(s, i)));
}

bool Contains(std::string_view s, char c) { return s.find(c) != std::string_view::npos; }

}  // namespace

AnsiString GetToken(AnsiString& S, std::string_view Separator)
{
    const int p = AnsiPos(Separator, S);
    if (p == 0 || Separator.empty())
        return {};
    AnsiString token = S.substr(0, static_cast<size_t>(p - 1));
    S.erase(0, static_cast<size_t>(p - 1) + Separator.size());
    return token;
}

int VarPos(std::string_view Sub, std::string_view S, int& P)
{
    P = AnsiPos(Sub, S);
    return P;
}

char FirstChar(std::string_view Charset, std::string_view S)
{
    char found = '\0';
    EachChar(S, [&](size_t i, size_t) {
        if (found == '\0' && Contains(Charset, S[i]))
            found = S[i];
    });
    return found;
}

int SinglePos(char Ch, std::string_view S)
{
    for (size_t i = 0; i < S.size(); i += static_cast<size_t>(CharLengthAt(S, i))) {
        if (S[i] != Ch || CharLengthAt(S, i) != 1)
            continue;
        if (i + 1 == S.size())
            return static_cast<int>(i + 1);
        // One of a doubled pair is escaped.
        if (S[i + 1] == Ch || (i > 0 && S[i - 1] == Ch))
            continue;
        return static_cast<int>(i + 1);
    }
    return 0;
}

int NumSingleChar(char Ch, std::string_view S)
{
    int count = 0;
    for (int p = SinglePos(Ch, S); p != 0; p = SinglePos(Ch, S)) {
        ++count;
        S.remove_prefix(static_cast<size_t>(p));
    }
    return count;
}

AnsiString DoubleToSingleChar(char Ch, std::string_view S)
{
    if (S.empty() || !Contains(S, Ch))
        return AnsiString(S);
    const size_t first = static_cast<size_t>(CharLengthAt(S, 0));
    AnsiString out(S.substr(0, first));
    EachChar(S.substr(first), [&](size_t i, size_t len) {
        const std::string_view c = S.substr(first + i, len);
        if (!(len == 1 && c[0] == Ch && out.size() > first && out.back() == Ch))
            out += c;
    });
    return out;
}

AnsiString UpStr(std::string_view S) { return UpperCase(S); }

void StringToPassword(AnsiString& S, char Ch)
{
    size_t chars = 0;
    EachChar(S, [&](size_t, size_t) { ++chars; });
    S.assign(chars, Ch);
}

void StringToOem(AnsiString& S) { S = StrToOem(S); }
void OemToString(AnsiString& S) { S = OemToAnsiStr(S); }

bool NameToCell(std::string_view Name, TPoint& Cell)
{
    const AnsiString upper = UpperCase(Name);
    if (upper.size() < 4 || upper[0] != 'R')
        return false;
    const size_t c = upper.find('C', 1);
    int row = 0, col = 0;
    if (c == AnsiString::npos || !TryStrToInt(std::string_view(upper).substr(1, c - 1), row) ||
        !TryStrToInt(std::string_view(upper).substr(c + 1), col))
        return false;
    Cell = {col, row};
    return true;
}

AnsiString RectString(const TRect& Rect)
{
    return Format("[%d:%d][%d:%d]", Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
}

uint8_t TextType(std::string_view S, bool HtmlEnabled)
{
    if (S.size() <= 1)
        return 0;
    if (S[0] == '=')
        return 3;
    if (S.substr(0, 2) == "{\\")
        return 2;
    if (HtmlEnabled && (AnsiPos("</", S) || AnsiPos("<B", S) || AnsiPos("<I", S)))
        return 1;
    return 0;
}

uint8_t IsType(std::string_view S)
{
    const char thousand = FormatSettings().ThousandSeparator;
    const char decimal = FormatSettings().DecimalSeparator;
    bool integer = true, number = true;
    int minus = 0, decimals = 0;
    int lastThousand = -1;
    for (size_t i = 0; i < S.size(); ++i) {
        const char c = S[i];
        const bool digit = c >= '0' && c <= '9';
        if (c == '-') {
            ++minus;
            // A minus sign leads a number; anywhere else the text is no number.
            if (i != 0)
                integer = number = false;
        } else if (!digit) {
            integer = false;
            if (c == decimal) {
                ++decimals;
            } else if (c == thousand) {
                if (i == 0 || (lastThousand >= 0 && static_cast<int>(i) - lastThousand < 3))
                    number = false;
                lastThousand = static_cast<int>(i);
            } else {
                number = false;
            }
        }
    }
    if (minus >= 2 || decimals >= 2)
        return 2;
    return integer ? 0 : number ? 1 : 2;
}

AnsiString RemoveSeps(std::string_view S)
{
    const TFormatSettings& fs = FormatSettings();
    AnsiString out;
    for (char c : S) {
        if (c == fs.ThousandSeparator)
            continue;
        out += c == fs.DecimalSeparator ? '.' : c;
    }
    return out;
}

AnsiString FixDecimalSeparator(std::string_view S)
{
    AnsiString out(S);
    const size_t comma = out.find(',');
    if (FormatSettings().DecimalSeparator == ',' && comma != AnsiString::npos)
        out[comma] = '.';
    return out;
}

TDateTime GetNextDate(TDateTime D, uint16_t Years, uint16_t Months, uint16_t Days, TDateTime Step)
{
    return NextSeriesDate(D, Years, Months, Days, Step);
}

TDateTime NextSeriesDate(TDateTime D, int Years, int Months, int Days, TDateTime Step)
{
    uint16_t y = 0, m = 0, d = 0;
    DecodeDate(D, y, m, d);
    if (Days != 0 && Years == 0 && Months == 0)
        return D + Days;
    if (Years != 0 && Months == 0 && Days == 0)
        return EncodeDate(y + Years, m, d);
    if (Months != 0 && Years == 0 && Days == 0) {
        int month = m + Months, year = y;
        if (month <= 0) {
            month += 12;
            --year;
        } else if (month > 12) {
            month -= 12;
            ++year;
        }
        return EncodeDate(year, month, d);
    }
    return D + Step;
}

AnsiString HTMLColor(int32_t Color)
{
    return Format("%.2X%.2X%.2X", Color & 0xFF, (Color >> 8) & 0xFF, (Color >> 16) & 0xFF);
}

bool IsURL(std::string_view S) { return AnsiPos("://", S) != 0 || AnsiPos("mailto:", S) != 0; }

void StripURLProtocol(AnsiString& S)
{
    if (const int p = AnsiPos("://", S))
        S.erase(0, static_cast<size_t>(p) + 2);
    else if (const int m = AnsiPos("mailto:", S))
        S.erase(0, static_cast<size_t>(m) + 6);
}

AnsiString HTMLLineBreaks(std::string_view S) { return ReplaceStr(S, "\r", "<br>"); }

AnsiString CLFToLF(std::string_view S) { return ReplaceStr(S, "\\n", "\r"); }

AnsiString LFToCLF(std::string_view S) { return ReplaceStr(DelChars(S, LF), "\r", "\\n"); }

void LineFeedsToCSV(AnsiString& S) { S = "\"" + ReplaceStr(S, "\r\n", "\n") + "\""; }

void CSVToLineFeeds(AnsiString& S)
{
    if (Contains(S, LF))
        S = ReplaceStr(S, "\n", "\r\n");
}

void LineFeedsToJava(AnsiString& S) { S = ReplaceStr(DelChars(S, LF), "\r", "~"); }

void JavaToLineFeeds(AnsiString& S) { S = ReplaceStr(S, "~", "\r\n"); }

AnsiString LineFeedsToXLS(std::string_view S) { return DelChars(S, CR); }

AnsiString LfToFile(std::string_view S)
{
    // A lone LF is encoded too, so that no line break of a cell ever breaks the file's line.
    if (!Contains(S, CR) && !Contains(S, LF))
        return AnsiString(S);
    AnsiString out(S);
    std::replace(out.begin(), out.end(), CR, '\t');
    std::replace(out.begin(), out.end(), LF, '\b');
    return out;
}

AnsiString FileToLf(std::string_view S, bool Multiline)
{
    AnsiString out(S);
    if (Contains(out, '\b')) {
        std::replace(out.begin(), out.end(), '\t', CR);
        std::replace(out.begin(), out.end(), '\b', LF);
    }
    return Multiline ? out : GetNextLine(out, false);
}

AnsiString GetNextLine(AnsiString& S, bool Multiline)
{
    const size_t cr = S.find(CR);
    if (cr == AnsiString::npos)
        return std::exchange(S, AnsiString());
    AnsiString line = S.substr(0, cr);
    S.erase(0, cr + (cr + 1 < S.size() && S[cr + 1] == LF ? 2 : 1));
    if (!Multiline)
        S.clear();
    return line;
}

int LinesInText(std::string_view S, bool Multiline)
{
    return Multiline ? 1 + static_cast<int>(std::count(S.begin(), S.end(), CR)) : 1;
}
