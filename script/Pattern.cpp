// Compiling trigger patterns into pieces and placing the pieces on a line.

#include "script/Pattern.h"

#include <cstring>

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

// The first occurrence of text at or after from that starts on a character, or npos.
size_t FindLiteral(std::string_view line, const uint8_t* starts, std::string_view text, size_t from)
{
    while (from <= line.size()) {
        const size_t at = line.find(text, from);
        if (at == std::string_view::npos || starts[at])
            return at;
        from = at + 1;
    }
    return std::string_view::npos;
}

size_t FindDigit(std::string_view line, size_t from)
{
    while (from < line.size() && !IsAsciiDigit(line[from]))
        ++from;
    return from;
}

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

bool MatchPattern(const TCompiledPattern& pattern, std::string_view line, const uint8_t* starts, TMatchResult& result)
{
    result.Count = 0;
    if (!pattern.Valid)
        return false;
    // The literal that must be there is the cheapest way to reject a line.
    const std::string_view key = pattern.Pieces[static_cast<size_t>(pattern.KeyPiece)].Text;
    if (FindLiteral(line, starts, key, 0) == std::string_view::npos)
        return false;
    if (!pattern.FirstChar.empty() && line.substr(0, pattern.FirstChar.size()) != pattern.FirstChar)
        return false;

    const size_t n = pattern.Pieces.size();
    std::array<size_t, TCompiledPattern::MaxPieces> place{};
    size_t p = 0;
    for (size_t k = 0; k < n; ++k) {
        const TPatternPiece& piece = pattern.Pieces[k];
        const TPatternPiece* next = k + 1 < n ? &pattern.Pieces[k + 1] : nullptr;
        switch (piece.Kind) {
        case TPatternPiece::Literal: {
            const size_t len = piece.Text.size();
            size_t at = FindLiteral(line, starts, piece.Text, p);
            if (next && next->Kind == TPatternPiece::Digits) {
                while (at != std::string_view::npos && !(at + len < line.size() && IsAsciiDigit(line[at + len])))
                    at = FindLiteral(line, starts, piece.Text, at + 1);
            }
            if (at == std::string_view::npos)
                return false;
            place[k] = at;
            p = at + len;
            break;
        }
        case TPatternPiece::Word: {
            size_t end;
            if (next && next->Kind == TPatternPiece::Digits) {
                end = FindDigit(line, p);
            } else if (next && next->Kind == TPatternPiece::Literal) {
                end = FindLiteral(line, starts, next->Text, p);
                if (end == std::string_view::npos)
                    return false;
            } else {
                place[k] = p;
                break;
            }
            if (end == p)
                return false;
            size_t start = p;
            for (size_t q = end - 1; q > p; --q) {
                if (IsWordEnder(line[q])) {
                    start = q + 1;
                    break;
                }
            }
            place[k] = start;
            break;
        }
        case TPatternPiece::Digits:
            place[k] = FindDigit(line, p);
            p = place[k];
            while (p < line.size() && IsAsciiDigit(line[p]))
                ++p;
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
        const size_t end = k + 1 < n ? place[k + 1] : line.size();
        size_t length = CutCapture(line, starts, begin, end - begin);
        if (piece.Kind == TPatternPiece::Digits) {
            size_t d = 0;
            while (d < length && IsAsciiDigit(line[begin + d]))
                ++d;
            length = d;
        } else if (piece.Kind == TPatternPiece::Word) {
            if (length == 0)
                return false;
            for (size_t q = 1; q < length; ++q)
                if (IsWordEnder(line[begin + q]))
                    return false;
        }
        result.Captures[static_cast<size_t>(result.Count++)] = {piece.Kind, begin, length};
    }

    if (pattern.Anchored && pattern.Pieces[0].Kind != TPatternPiece::Literal && n > 1) {
        const TCaptureSpan& first = result.Captures[0];
        if (line.compare(0, first.Length, line.substr(first.Begin, first.Length)) != 0)
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
