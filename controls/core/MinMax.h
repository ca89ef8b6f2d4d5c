#pragma once
// Exchanging two values, and the larger or smaller of two values or the largest or smallest of
// an array. The array routines keep the first of equal extremes, which matters when values of
// different kinds compare equal. An empty array has no extreme: the routines then return the
// value-initialised result (0, or an empty value) instead of reading past the array.

#include <cstdint>
#include <span>

#include "platform/core/DateTime.h"
#include "platform/core/Variant.h"

void SwapInt(int32_t& a, int32_t& b);
void SwapLong(int32_t& a, int32_t& b);
void SwapInt64(int64_t& a, int64_t& b);

int32_t Max(int32_t a, int32_t b);
int32_t Min(int32_t a, int32_t b);

int32_t MaxInteger(std::span<const int32_t> values);
int32_t MinInteger(std::span<const int32_t> values);
int64_t MaxInt64(std::span<const int64_t> values);
int64_t MinInt64(std::span<const int64_t> values);
long double MaxFloat(std::span<const long double> values);
long double MinFloat(std::span<const long double> values);
TDateTime MaxDateTime(std::span<const TDateTime> values);
TDateTime MinDateTime(std::span<const TDateTime> values);

// Walks the values from the first to the last and keeps the running result unless a value lies
// strictly beyond it (`beyond(value, result)` true).
template <class T, class Beyond>
T ExtremeOf(std::span<const T> values, Beyond beyond)
{
    if (values.empty())
        return T{};
    T result = values.front();
    for (const T& v : values)
        if (beyond(v, result))
            result = v;
    return result;
}

// The largest / smallest of variants by the variant comparison (a number and a text that reads
// as that number compare equal). Values that do not compare (empty or null beside anything
// else) never replace the running result.
Variant MaxOf(std::span<const Variant> values);
Variant MinOf(std::span<const Variant> values);
