// Resumable searches for placing pattern pieces on a line.

#include "script/PatternSearch.h"

#include <algorithm>

#include "script/Pattern.h"

namespace {

constexpr size_t npos = std::string_view::npos;

// Where a search from p may begin: past what the memo has already searched when it covers p.
// Otherwise the memo starts over at p.
size_t Resume(TSpanMemo* memo, size_t p)
{
    if (!memo)
        return p;
    if (memo->From != npos && memo->From <= p && p <= memo->Upto)
        return memo->Upto;
    memo->From = p;
    memo->Upto = p;
    return p;
}

void Reach(TSpanMemo* memo, size_t upto)
{
    if (memo)
        memo->Upto = upto;
}

}  // namespace

size_t FindLiteralAt(const TLineView& line, std::string_view text, size_t from, bool digitAfter, TSpanMemo* memo)
{
    const std::string_view s = line.Text;
    const size_t n = s.size();
    const size_t len = text.size();
    from = Resume(memo, from);
    for (;;) {
        const size_t at = from <= n ? s.find(text, from) : npos;
        if (at == npos) {
            line.Count(n > from ? n - from : 0);
            // An occurrence that would begin later does not fit yet; it may once more bytes come.
            Reach(memo, std::max(from, n + 1 > len ? n + 1 - len : 0));
            return npos;
        }
        line.Count(at - from + 1);
        if (line.Starts[at] && digitAfter && at + len >= n) {
            Reach(memo, at);  // the byte that decides has not come yet
            return npos;
        }
        if (!line.Starts[at] || (digitAfter && !IsAsciiDigit(s[at + len]))) {
            from = at + 1;
            continue;
        }
        Reach(memo, at);
        return at;
    }
}

size_t SkipDigits(const TLineView& line, size_t from, bool digits, TSpanMemo* memo)
{
    const std::string_view s = line.Text;
    size_t at = Resume(memo, from);
    const size_t begin = at;
    while (at < s.size() && IsAsciiDigit(s[at]) == digits)
        ++at;
    line.Count(at - begin);
    Reach(memo, at);
    return at;
}

size_t LastEnderBetween(const TLineView& line, size_t lower, size_t end, TEnderMemo* memo)
{
    const std::string_view s = line.Text;
    if (!memo || end < memo->End) {
        for (size_t q = end; q > lower + 1;) {
            --q;
            line.Count(1);
            if (IsWordEnder(s[q]))
                return q;
        }
        return npos;
    }
    // Only the bytes the memo has not seen yet; before them its last ender stands.
    size_t last = memo->Last;
    for (size_t q = end; q > memo->End;) {
        --q;
        line.Count(1);
        if (IsWordEnder(s[q])) {
            last = q;
            break;
        }
    }
    memo->End = end;
    memo->Last = last;
    return last != npos && last > lower ? last : npos;
}
