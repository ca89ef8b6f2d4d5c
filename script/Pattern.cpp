// Compiling trigger patterns into pieces and placing the pieces on a line.

#include "script/Pattern.h"

#include <algorithm>
#include <cstring>

#include "script/PatternSearch.h"

namespace {

constexpr std::string_view WordEnders = " *!@#$%^&*()_++|+_[]{};':\"<>?,./\\\n\r";

struct TEnderTable {
    std::array<bool, 256> Is{};
    TEnderTable()
    {
        for (const char c : WordEnders)
            Is[static_cast<unsigned char>(c)] = true;
    }
};
const TEnderTable Enders;

// The length of a capture cut to the slot size, never between the two bytes of a pair.
size_t CutCapture(std::string_view line, const uint8_t* starts, size_t begin, size_t length)
{
    constexpr size_t max = TCompiledPattern::MaxCaptureLength;
    if (length <= max)
        return length;
    return starts[begin + max] ? max : max - 1;
}

}  // namespace

bool IsWordEnder(char c) { return Enders.Is[static_cast<unsigned char>(c)]; }

void ComputeCharStarts(std::string_view line, std::vector<uint8_t>& starts)
{
    starts.resize(line.size());
    bool trail = false;
    for (size_t i = 0; i < line.size(); ++i) {
        starts[i] = !trail;
        trail = !trail && IsLeadByte(static_cast<unsigned char>(line[i]));
    }
}

bool IsStaticPattern(std::string_view pattern)
{
    if (pattern.find("@(") != std::string_view::npos)
        return false;
    // Every function's name is lower-case letters followed by '('; any other text after a '%'
    // is left alone by the function expansion.
    for (size_t i = pattern.find('%'); i != std::string_view::npos; i = pattern.find('%', i + 1)) {
        size_t j = i + 1;
        while (j < pattern.size() && pattern[j] >= 'a' && pattern[j] <= 'z')
            ++j;
        if (j > i + 1 && j < pattern.size() && pattern[j] == '(')
            return false;
    }
    return true;
}

TCompiledPattern CompilePattern(std::string_view pattern)
{
    TCompiledPattern p;
    p.Source = AnsiString(pattern);
    if (pattern.size() > TCompiledPattern::MaxLength)
        return p;

    size_t i = 0;
    if (!pattern.empty() && pattern[0] == '^') {
        i = 1;
        // "^^" is a literal '^' at an unanchored start.
        p.Anchored = !(i < pattern.size() && pattern[i] == '^');
        if (p.Anchored && i < pattern.size() && pattern[i] != '%')
            p.FirstChar = AnsiString(pattern.substr(i, static_cast<size_t>(CharLengthAt(pattern, i))));
    }

    AnsiString literal;
    auto flush = [&] {
        if (!literal.empty()) {
            p.Pieces.push_back({TPatternPiece::Literal, std::move(literal)});
            literal.clear();
        }
    };
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            const char w = pattern[i + 1];
            const uint8_t kind = w == 'd' ? TPatternPiece::Digits
                : w == 's'                ? TPatternPiece::Word
                : w == '*'                ? TPatternPiece::AnyText
                                          : TPatternPiece::None;
            if (kind != TPatternPiece::None) {
                flush();
                p.Pieces.push_back({kind, {}});
                ++p.CaptureCount;
                i += 2;
                continue;
            }
        }
        literal += c;
        ++i;
    }
    flush();

    size_t longest = 0;
    for (size_t k = 0; k < p.Pieces.size(); ++k) {
        if (p.Pieces[k].Kind == TPatternPiece::Literal && p.Pieces[k].Text.size() > longest) {
            longest = p.Pieces[k].Text.size();
            p.KeyPiece = static_cast<int>(k);
        }
    }
    p.Valid = p.KeyPiece >= 0 && static_cast<int>(p.Pieces.size()) <= TCompiledPattern::MaxPieces &&
        p.CaptureCount <= TCompiledPattern::MaxCaptures;
    if (!p.Valid)
        return p;

    const size_t n = p.Pieces.size();
    const TPatternPiece& last = p.Pieces[n - 1];
    const TPatternPiece* before = n >= 2 ? &p.Pieces[n - 2] : nullptr;
    if (last.Kind == TPatternPiece::Literal) {
        p.Wake = TWakeShape::EndsLiteral;
        p.WakeLiteral = last.Text;
    } else if (before && before->Kind == TPatternPiece::Literal) {
        p.Wake = last.Kind == TPatternPiece::AnyText ? TWakeShape::EndsLiteral
            : last.Kind == TPatternPiece::Word       ? TWakeShape::EndsWord
                                                     : TWakeShape::EndsDigits;
        p.WakeLiteral = before->Text;
    } else {
        p.Wake = TWakeShape::Always;
    }
    return p;
}

bool LiteralEndsAt(std::string_view line, const uint8_t* starts, size_t end, std::string_view literal)
{
    const size_t n = literal.size();
    return n <= end && end <= line.size() && starts[end - n] &&
        std::memcmp(line.data() + end - n, literal.data(), n) == 0;
}

bool MatchPattern(const TCompiledPattern& pattern, std::string_view text, const uint8_t* starts, TMatchResult& result,
                  TMatchMemo* memo)
{
    result.Count = 0;
    if (!pattern.Valid)
        return false;
    const size_t n = pattern.Pieces.size();
    if (memo && (memo->Pieces.size() != n || text.size() < memo->Length))
        memo->Reset(n);
    if (memo)
        memo->Length = text.size();
    const TLineView line{text, starts, memo ? &memo->Steps : nullptr};
    TPieceMemo* memos = memo ? memo->Pieces.data() : nullptr;
    const auto at = [memos](size_t k) { return memos ? &memos[k] : nullptr; };

    // The literal that must be there is the cheapest way to reject a line.
    const std::string_view key = pattern.Pieces[static_cast<size_t>(pattern.KeyPiece)].Text;
    if (FindLiteralAt(line, key, 0, false, memo ? &memo->Key : nullptr) == std::string_view::npos)
        return false;
    if (!pattern.FirstChar.empty() && text.substr(0, pattern.FirstChar.size()) != pattern.FirstChar)
        return false;

    std::array<size_t, TCompiledPattern::MaxPieces> place{};
    std::array<size_t, TCompiledPattern::MaxPieces> runEnd{};  // where the digits of a "%d" end
    size_t p = 0;
    for (size_t k = 0; k < n; ++k) {
        const TPatternPiece& piece = pattern.Pieces[k];
        const TPatternPiece* next = k + 1 < n ? &pattern.Pieces[k + 1] : nullptr;
        TPieceMemo* m = at(k);
        switch (piece.Kind) {
        case TPatternPiece::Literal: {
            const bool digitAfter = next && next->Kind == TPatternPiece::Digits;
            const size_t found = FindLiteralAt(line, piece.Text, p, digitAfter, m ? &m->Search : nullptr);
            if (found == std::string_view::npos)
                return false;
            place[k] = found;
            p = found + piece.Text.size();
            break;
        }
        case TPatternPiece::Word: {
            size_t end;
            if (next && next->Kind == TPatternPiece::Digits) {
                end = SkipDigits(line, p, false, m ? &m->Search : nullptr);
            } else if (next && next->Kind == TPatternPiece::Literal) {
                end = FindLiteralAt(line, next->Text, p, false, m ? &m->Search : nullptr);
                if (end == std::string_view::npos)
                    return false;
            } else {
                place[k] = p;
                break;
            }
            if (end == p)
                return false;
            // The word starts after the last word-ending byte before its end.
            const size_t ender = LastEnderBetween(line, p, end, m ? &m->Start : nullptr);
            place[k] = ender == std::string_view::npos ? p : ender + 1;
            break;
        }
        case TPatternPiece::Digits:
            place[k] = SkipDigits(line, p, false, m ? &m->Search : nullptr);
            p = runEnd[k] = SkipDigits(line, place[k], true, m ? &m->Run : nullptr);
            break;
        default:  // "%*"
            place[k] = p;
            break;
        }
    }

    for (size_t k = 0; k + 1 < n; ++k)
        if (place[k] == place[k + 1])
            return false;

    for (size_t k = 0; k < n; ++k) {
        const TPatternPiece& piece = pattern.Pieces[k];
        if (piece.Kind == TPatternPiece::Literal)
            continue;
        const size_t begin = place[k];
        const size_t end = k + 1 < n ? place[k + 1] : text.size();
        size_t length = CutCapture(text, starts, begin, end - begin);
        if (piece.Kind == TPatternPiece::Digits) {
            length = std::min(length, runEnd[k] - begin);  // cut at its first non-digit
        } else if (piece.Kind == TPatternPiece::Word) {
            if (length == 0)
                return false;
            TPieceMemo* m = at(k);
            if (LastEnderBetween(line, begin, begin + length, m ? &m->Inside : nullptr) != std::string_view::npos)
                return false;
        }
        result.Captures[static_cast<size_t>(result.Count++)] = {piece.Kind, begin, length};
    }

    if (pattern.Anchored && pattern.Pieces[0].Kind != TPatternPiece::Literal && n > 1) {
        const TCaptureSpan& first = result.Captures[0];
        line.Count(first.Begin == 0 ? 0 : first.Length);
        if (first.Begin != 0 && text.compare(0, first.Length, text.substr(first.Begin, first.Length)) != 0)
            return false;
    }
    return true;
}

bool MatchPattern(const TCompiledPattern& pattern, std::string_view line, TMatchResult& result)
{
    std::vector<uint8_t> starts;
    ComputeCharStarts(line, starts);
    return MatchPattern(pattern, line, starts.data(), result);
}

std::shared_ptr<const TCompiledPattern> TPatternCache::Get(const AnsiString& pattern)
{
    auto found = Patterns.find(pattern);
    if (found != Patterns.end())
        return found->second;
    auto compiled = std::make_shared<const TCompiledPattern>(CompilePattern(pattern));
    Patterns.emplace(pattern, compiled);
    return compiled;
}

void TPatternCache::Trim(size_t limit)
{
    if (Patterns.size() <= limit)
        return;
    for (auto it = Patterns.begin(); it != Patterns.end();)
        it = it->second.use_count() == 1 ? Patterns.erase(it) : std::next(it);
    // Patterns made from expanded text can be new at every line: never keep too many.
    if (Patterns.size() > limit)
        Patterns.clear();
}
