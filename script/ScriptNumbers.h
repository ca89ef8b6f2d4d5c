#pragma once
// Integer helpers of the script engine: 32-bit values that wrap instead of overflowing, and the
// decimal reader that scripts use for every number they take from a text.

#include <cstdint>
#include <string_view>

// Blanks as the command language skips them: space, FF, LF, CR, TAB, VT.
inline bool IsScriptBlank(char c) { return c == ' ' || c == '\f' || c == '\n' || c == '\r' || c == '\t' || c == '\v'; }

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Leading blanks, an optional sign, then digits up to the first other character; a text without
// digits reads as 0. Values beyond 32 bits saturate.
int32_t ReadInt(std::string_view text);

inline int32_t WrapAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t WrapSub(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t WrapMul(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
inline int32_t WrapNeg(int32_t a) { return WrapSub(0, a); }
// Truncating division; INT_MIN / -1 gives INT_MIN. The caller handles a zero divisor.
inline int32_t WrapDiv(int32_t a, int32_t b)
{
    if (b == -1)
        return WrapNeg(a);
    return a / b;
}

// A double cut toward zero to 32 bits; out-of-range values saturate, NaN gives 0.
int32_t SaturateToInt(double value);
