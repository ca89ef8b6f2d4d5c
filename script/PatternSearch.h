#pragma once
// The searches that place a pattern's pieces on a line. Each takes an optional memo of the same
// search on the line when it was shorter (script/PatternMemo.h) and then resumes where that one
// stopped; without one it searches from where it is told.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script/PatternMemo.h"

struct TLineView {
    std::string_view Text;
    const uint8_t* Starts = nullptr;  // 1 where a byte begins a character
    uint64_t* Steps = nullptr;        // counts the bytes looked at, when given

    void Count(size_t n) const
    {
        if (Steps)
            *Steps += n;
    }
};

// The first occurrence of text at or after from that begins a character; with digitAfter, the
// first one directly followed by a digit. npos when there is none.
size_t FindLiteralAt(const TLineView& line, std::string_view text, size_t from, bool digitAfter, TSpanMemo* memo);
// The first byte at or after from that is not a digit (digits) or is one (!digits), or the
// line's end: the end of a run of digits, or the first digit.
size_t SkipDigits(const TLineView& line, size_t from, bool digits, TSpanMemo* memo);
// The last word-ending byte after lower and before end, or npos.
size_t LastEnderBetween(const TLineView& line, size_t lower, size_t end, TEnderMemo* memo);
