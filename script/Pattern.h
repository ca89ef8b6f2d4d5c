#pragma once
// Trigger patterns: literal runs with the wildcards "%d" (digits), "%s" (a word) and "%*" (any
// text), optionally anchored with a leading '^'. A pattern is compiled once into pieces and then
// matched against host lines. Matching walks the line by characters: a literal never matches
// starting on the second byte of a Hangul pair.

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/core/AnsiString.h"

struct TPatternPiece {
    enum TKind : uint8_t { None = 0, Literal = 1, Digits = 2, Word = 3, AnyText = 4 };
    uint8_t Kind = None;
    AnsiString Text;  // the literal text
};

// How a pattern can come to match a growing line, used to skip partial-line tries.
enum class TWakeShape : uint8_t {
    Never,        // the pattern never matches
    EndsLiteral,  // ends in a literal, or in "%*" after a literal: only when that literal ends
    EndsWord,     // ends in "%s" after a literal: when the literal ends, or one byte later
    EndsDigits,   // ends in "%d" after a literal: when a digit follows the literal
    Always,       // any byte may make it match
};

struct TCompiledPattern {
    static constexpr size_t MaxLength = 999;  // longest pattern after expansion
    static constexpr int MaxPieces = 50;
    static constexpr int MaxCaptures = 10;
    static constexpr size_t MaxCaptureLength = 1024;

    AnsiString Source;   // the pattern text it was compiled from
    bool Valid = false;  // false: never matches (no literal, or beyond the limits)
    bool Anchored = false;
    AnsiString FirstChar;  // anchored on a literal: the line must begin with this character
    std::vector<TPatternPiece> Pieces;
    int CaptureCount = 0;
    int KeyPiece = -1;  // the longest literal: a line without it cannot match

    TWakeShape Wake = TWakeShape::Never;
    AnsiString WakeLiteral;  // the literal the wake shape refers to
};

TCompiledPattern CompilePattern(std::string_view pattern);

// True when the pattern holds nothing that variable or function expansion could change, so one
// compilation serves every line.
bool IsStaticPattern(std::string_view pattern);

// Which bytes of a line begin a character (1) and which are the second byte of a pair (0).
void ComputeCharStarts(std::string_view line, std::vector<uint8_t>& starts);

// One capture: its kind and where its text lies in the line.
struct TCaptureSpan {
    int32_t Kind = 0;
    size_t Begin = 0;
    size_t Length = 0;
};

struct TMatchResult {
    std::array<TCaptureSpan, TCompiledPattern::MaxCaptures> Captures;
    int Count = 0;
};

struct TMatchMemo;

// Matches a compiled pattern against a line whose character starts are given (starts has one
// entry per byte of line). With a memo of earlier tries of the same pattern on this line when it
// was shorter, the searches go on where those tries stopped; the result is the same.
bool MatchPattern(const TCompiledPattern& pattern, std::string_view line, const uint8_t* starts, TMatchResult& result,
                  TMatchMemo* memo = nullptr);
// The same for a line whose starts are not known yet.
bool MatchPattern(const TCompiledPattern& pattern, std::string_view line, TMatchResult& result);

// True when the literal lies in line just before byte end, starting on a character.
bool LiteralEndsAt(std::string_view line, const uint8_t* starts, size_t end, std::string_view literal);

// The characters that end a "%s" word.
bool IsWordEnder(char c);
inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Compiled patterns by their text, so that each text is compiled once.
class TPatternCache {
public:
    std::shared_ptr<const TCompiledPattern> Get(const AnsiString& pattern);
    // Drops the patterns nothing else holds; the cache never grows beyond limit entries.
    void Trim(size_t limit);
    size_t Size() const { return Patterns.size(); }

private:
    std::unordered_map<AnsiString, std::shared_ptr<const TCompiledPattern>> Patterns;
};
