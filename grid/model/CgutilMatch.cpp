// The filter pattern matcher: conditions joined by operators, comparisons, and wildcards.

#include <algorithm>
#include <array>

#include "controls/core/StrUtils.h"
#include "grid/model/Cgutil.h"
#include "platform/core/FloatFormat.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/Wildcard.h"

namespace {

bool IsOperator(char c) { return c == '&' || c == ';' || c == '^'; }

// The pattern with its outer blanks gone and no blank beside an operator.
AnsiString TightenOperators(std::string_view pattern)
{
    const AnsiString trimmed = Trim(pattern);
    AnsiString out;
    for (size_t i = 0; i < trimmed.size(); ++i) {
        const char c = trimmed[i];
        if (c == ' ') {
            size_t next = i;
            while (next < trimmed.size() && trimmed[next] == ' ')
                ++next;
            const bool beforeOperator = next < trimmed.size() && IsOperator(trimmed[next]);
            const bool afterOperator = !out.empty() && IsOperator(out.back());
            if (beforeOperator || afterOperator) {
                i = next - 1;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// Three-way comparison of a cell text with an operand: as numbers when both are numbers, as
// dates when both are dates, else byte by byte.
int CompareOperand(std::string_view s, std::string_view operand)
{
    double a = 0, b = 0;
    if (TryStrToFloat(s, a) && TryStrToFloat(operand, b))
        return a < b ? -1 : a > b ? 1 : 0;
    TDateTime da = 0, db = 0;
    if (StrToDateByFormat(s, da) && StrToDateByFormat(operand, db))
        return da < db ? -1 : da > db ? 1 : 0;
    const int c = std::string_view(s).compare(operand);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// The operand after the operator at `at`: an optional "=" (returned in orEqual), blanks, then
// everything up to a blank, "&" or "|".
AnsiString OperandAfter(std::string_view pattern, size_t at, bool& orEqual)
{
    size_t i = at + 1;
    orEqual = i < pattern.size() && pattern[i] == '=';
    if (orEqual)
        ++i;
    while (i < pattern.size() && pattern[i] == ' ')
        ++i;
    size_t end = i;
    while (end < pattern.size() && pattern[end] != ' ' && pattern[end] != '&' && pattern[end] != '|')
        ++end;
    return AnsiString(pattern.substr(i, end - i));
}

}  // namespace

bool MatchStrEx(std::string_view Pattern, std::string_view S)
{
    AnsiString p = TightenOperators(Pattern);
    bool result = false;
    char previous = '\0';
    const auto combine = [&](bool part) {
        if (previous == '\0')
            result = part;
        else if (previous == '&')
            result = result && part;
        else
            result = result || part;
    };
    for (;;) {
        const auto op = std::find_if(p.begin(), p.end(), IsOperator);
        if (op == p.end())
            break;
        combine(MatchStr(std::string_view(p.data(), static_cast<size_t>(op - p.begin())), S));
        previous = *op;
        p.erase(p.begin(), op + 1);
    }
    combine(MatchStr(p, S));
    return result;
}

bool MatchStr(std::string_view Pattern, std::string_view S) { return Matches(Pattern, S); }

bool Matches(std::string_view Pattern, std::string_view S)
{
    bool hasGreater = false, hasLess = false;
    bool greater = true, less = true;
    const size_t gt = Pattern.find('>');
    const size_t lt = Pattern.find('<');
    if (gt != std::string_view::npos) {
        bool orEqual = false;
        const int c = CompareOperand(S, OperandAfter(Pattern, gt, orEqual));
        greater = c > 0 || (orEqual && c == 0);
        hasGreater = true;
    }
    if (lt != std::string_view::npos) {
        bool orEqual = false;
        const int c = CompareOperand(S, OperandAfter(Pattern, lt, orEqual));
        less = c < 0 || (orEqual && c == 0);
        hasLess = true;
    }
    const bool negated = Pattern.find('!') != std::string_view::npos;
    if (negated) {
        hasGreater = hasGreater || gt == std::string_view::npos;
        hasLess = hasLess || lt == std::string_view::npos;
    }
    const auto has = [&](char c) { return Pattern.find(c) != std::string_view::npos; };
    if (has('^') && (hasGreater || hasLess))
        return less || greater;
    if (has('&') && hasGreater && hasLess)
        return less && greater;
    if (gt != std::string_view::npos && greater)
        return true;
    if (lt != std::string_view::npos && less)
        return true;
    // "!" is never a trail byte, so dropping it cannot join the halves of a character.
    return WildcardMatch(S, DelChars(Pattern, '!'), false) != negated;
}

bool StrToDateByFormat(std::string_view S, TDateTime& D)
{
    const TFormatSettings& fs = FormatSettings();
    const AnsiString format = UpperCase(fs.ShortDateFormat);
    // Day, month and year in the order their letters first appear in the format.
    std::array<std::pair<size_t, int>, 3> order{{{format.find('D'), 0}, {format.find('M'), 1}, {format.find('Y'), 2}}};
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    const size_t first = S.find(fs.DateSeparator);
    const size_t second = first == std::string_view::npos ? first : S.find(fs.DateSeparator, first + 1);
    if (second == std::string_view::npos)
        return false;
    const std::array<std::string_view, 3> parts{S.substr(0, first), S.substr(first + 1, second - first - 1),
                                                S.substr(second + 1)};
    std::array<int, 3> value{};  // day, month, year
    for (size_t i = 0; i < 3; ++i)
        if (!TryStrToInt(parts[i], value[static_cast<size_t>(order[i].second)]))
            return false;
    if (value[0] >= 32 || value[1] >= 13)
        return false;
    return TryEncodeDate(value[2], value[1], value[0], D);
}
