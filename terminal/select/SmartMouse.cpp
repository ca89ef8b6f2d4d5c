#include "terminal/select/SmartMouse.h"

#include <cstring>
#include <optional>

#include "terminal/select/LineChars.h"

namespace {

// "'Y' 를", "엔터키", "엔터"
constexpr std::string_view kYesPrompt = "'Y' \xB8\xA6";
constexpr std::string_view kEnterKeyWord = "\xBF\xA3\xC5\xCD\xC5\xB0";
constexpr std::string_view kEnterWord = "\xBF\xA3\xC5\xCD";

TSmartItem Item(AnsiString text, int start, int end, bool link = false)
{
    TSmartItem item;
    item.Found = true;
    item.Text = std::move(text);
    item.StartCol = start;
    item.EndCol = end;
    item.IsLink = link;
    return item;
}

bool InSet(const TLineChars& s, int i, const char* set)
{
    return s.IsSingle(i) && s.Byte(i) != 0 && std::strchr(set, s.Byte(i)) != nullptr;
}

// A full-width digit "０".."９" (A3 B0 .. A3 B9) ending at byte i.
bool FullDigitEndsAt(const TLineChars& s, int i)
{
    return s.IsTrail(i) && s.Byte(i - 1) == 0xA3 && s.Byte(i) >= 0xB0 && s.Byte(i) <= 0xB9;
}

bool NumberChar(const TLineChars& s, int i) { return s.IsDigit(i) || s.IsUpper(i); }

// 1. A menu line: optional marks, then a number ended by a blank, '#' or ':'.
std::optional<TSmartItem> MenuLine(const TLineChars& s)
{
    const int n = s.Size();
    int i = 0;
    while (i < n && InSet(s, i, " &*DGRT"))
        ++i;
    if (!(i < n && (InSet(s, i, " #:") || s.IsDigit(i))))
        return std::nullopt;
    const int first = i;
    AnsiString digits;
    while (i < n) {
        if (s.IsDigit(i)) {
            digits += static_cast<char>(s.Byte(i++));
        } else if (digits.empty() && InSet(s, i, " #:")) {
            ++i;
        } else {
            break;
        }
    }
    if (digits.empty() || !(i < n && InSet(s, i, " #:")))
        return std::nullopt;
    return Item(digits, first, s.TrimEnd(first, n));
}

// Where a numbered item that starts after `from` stops: at the next item's number, a box or
// bracket character, ':', '|' or two blanks before '-'.
int ItemStop(const TLineChars& s, int from, bool fullWidth)
{
    const int n = s.Size();
    for (int j = from; j < n; j = s.CharEnd(j)) {
        if (s.Is(j, '.')) {
            if (!fullWidth && NumberChar(s, j - 1)) {
                int k = j - 1;
                while (k - 1 >= from && NumberChar(s, k - 1))
                    --k;
                return k;
            }
            if (fullWidth && s.IsTrail(j - 1)) {
                int k = j;
                while (k - 2 >= from && FullDigitEndsAt(s, k - 1))
                    k -= 2;
                return k;
            }
        }
        if (s.IsLead(j) && (s.Byte(j) == 0xA6 || s.Byte(j) == 0xAD))
            return j;
        if (s.Is(j, ':') || s.Is(j, '|'))
            return j;
        if (s.Is(j, ' ') && s.Is(j + 1, ' ') && s.Is(j + 2, '-'))
            return j;
    }
    return n;
}

// 2 and 3. A number before a full stop: "3." or "３.".
std::optional<TSmartItem> DottedNumber(const TLineChars& s, int p)
{
    for (int d = p; d >= 1; --d) {
        if (!s.Is(d, '.'))
            continue;
        if (NumberChar(s, d - 1)) {
            int start = d - 1;
            while (start - 1 >= 0 && NumberChar(s, start - 1))
                --start;
            const AnsiString text(s.Line().substr(static_cast<size_t>(start), static_cast<size_t>(d - start)));
            return Item(text, start, s.TrimEnd(start, ItemStop(s, d + 1, false)));
        }
        if (FullDigitEndsAt(s, d - 1)) {
            int start = d;
            AnsiString text;
            while (start - 2 >= 0 && FullDigitEndsAt(s, start - 1)) {
                text.insert(text.begin(), static_cast<char>('0' + (s.Byte(start - 1) - 0xB0)));
                start -= 2;
            }
            return Item(text, start, s.TrimEnd(start, ItemStop(s, d + 1, true)));
        }
    }
    return std::nullopt;
}

// 4. A number in brackets: "[12]".
std::optional<TSmartItem> BracketNumber(const TLineChars& s, int p)
{
    int k = p;
    while (k >= 1 && !(s.Is(k, ']') && (s.Is(k - 1, ' ') || s.IsDigit(k - 1))))
        --k;
    if (k < 1)
        return std::nullopt;
    int m = k - 1;
    while (m >= 0 && (s.IsDigit(m) || s.Is(m, ' ')))
        --m;
    if (m <= 0 || !s.Is(m, '['))
        return std::nullopt;
    AnsiString digits;
    for (int i = m + 1; i < k; ++i)
        if (s.IsDigit(i))
            digits += static_cast<char>(s.Byte(i));
    const int n = s.Size();
    int stop = n;
    for (int j = k + 1; j < n; j = s.CharEnd(j)) {
        if ((s.Is(j, '[') && (s.Is(j + 1, ' ') || s.IsDigit(j + 1))) || s.Is(j, '|') ||
            (s.IsLead(j) && (s.Byte(j) == 0xA6 || s.Byte(j) == 0xAD))) {
            stop = j;
            break;
        }
    }
    return Item(digits, m, s.TrimEnd(m, stop));
}

// 5. A web address, to the next blank.
std::optional<TSmartItem> WebAddress(const TLineChars& s)
{
    for (std::string_view mark : {std::string_view("http://"), std::string_view("www."), std::string_view("www2.")}) {
        const int at = s.Find(mark);
        if (at < 0)
            continue;
        int end = at;
        while (end < s.Size() && !s.Is(end, ' '))
            ++end;
        return Item(AnsiString(s.Line().substr(static_cast<size_t>(at), static_cast<size_t>(end - at))), at, end, true);
    }
    return std::nullopt;
}

// 6. A prompt word: "'Y' 를" answers Y, the Enter words answer a bare CR.
std::optional<TSmartItem> Prompt(const TLineChars& s)
{
    if (int at = s.Find(kYesPrompt); at >= 0)
        return Item("Y", at + 1, at + 2);
    for (std::string_view word : {std::string_view("[Enter]"), std::string_view("Enter"), std::string_view("ENTER"),
                                  kEnterKeyWord, kEnterWord}) {
        const int at = s.Find(word);
        if (at >= 0)
            return Item("", at, at + static_cast<int>(word.size()));
    }
    return std::nullopt;
}

// 7a. A Hangul word with its English command in parentheses: "북쪽(north)".
std::optional<TSmartItem> HangulWithCommand(const TLineChars& s, int p)
{
    auto high = [&](int i) { return i >= 0 && i < s.Size() && s.Byte(i) >= 0x80; };
    if (!high(p))
        return std::nullopt;
    int a = p, b = p;
    while (high(a - 1))
        --a;
    while (high(b))
        ++b;
    if (!s.Is(b, '('))
        return std::nullopt;
    int c = b + 1;
    while (s.IsLetter(c))
        ++c;
    if (c == b + 1 || !s.Is(c, ')'))
        return std::nullopt;
    return Item(AnsiString(s.Line().substr(static_cast<size_t>(b + 1), static_cast<size_t>(c - b - 1))), a, c + 1);
}

// 7b. An English word between delimiters: "(north)", "[look, get]".
std::optional<TSmartItem> BracketedWord(const TLineChars& s, int p)
{
    AnsiString left, right;
    int l = p;
    for (;; --l) {
        if (l < 0)
            return std::nullopt;
        if (s.IsLetter(l)) {
            left.insert(left.begin(), static_cast<char>(s.Byte(l)));
        } else if (!s.Is(l, ' ')) {
            if (!InSet(s, l, "(,./<[") || l == 0)
                return std::nullopt;
            break;
        }
    }
    int r = p + 1;
    for (;; ++r) {
        if (r >= s.Size())
            return std::nullopt;
        if (s.IsLetter(r)) {
            right += static_cast<char>(s.Byte(r));
        } else if (!s.Is(r, ' ')) {
            if (!InSet(s, r, "),./>]"))
                return std::nullopt;
            break;
        }
    }
    return Item(left + right, l + 1, r);
}

}  // namespace

TSmartItem SmartMouse(std::string_view line, int col)
{
    if (col < 1 || col > static_cast<int>(line.size()))
        return {};
    const TLineChars s(line);
    const int p = col - 1;
    if (auto item = MenuLine(s))
        return *item;
    if (auto item = DottedNumber(s, p))
        return *item;
    if (auto item = BracketNumber(s, p))
        return *item;
    if (auto item = WebAddress(s))
        return *item;
    if (auto item = Prompt(s))
        return *item;
    if (auto item = HangulWithCommand(s, p))
        return *item;
    if (auto item = BracketedWord(s, p))
        return *item;
    return {};
}

THoverRect SmartHoverRect(const TSmartItem& item, int row, int cellWidth, int cellHeight)
{
    return THoverRect{item.StartCol * cellWidth - 3, row * cellHeight - 3, item.EndCol * cellWidth + 3,
                      (row + 1) * cellHeight + 3};
}
