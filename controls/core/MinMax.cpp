#include "controls/core/MinMax.h"

#include <utility>

namespace {

template <class T>
T Largest(std::span<const T> values)
{
    return ExtremeOf(values, [](const T& v, const T& r) { return v > r; });
}

template <class T>
T Smallest(std::span<const T> values)
{
    return ExtremeOf(values, [](const T& v, const T& r) { return v < r; });
}

}  // namespace

void SwapInt(int32_t& a, int32_t& b) { std::swap(a, b); }
void SwapLong(int32_t& a, int32_t& b) { std::swap(a, b); }
void SwapInt64(int64_t& a, int64_t& b) { std::swap(a, b); }

int32_t Max(int32_t a, int32_t b) { return a > b ? a : b; }
int32_t Min(int32_t a, int32_t b) { return a < b ? a : b; }

int32_t MaxInteger(std::span<const int32_t> values) { return Largest(values); }
int32_t MinInteger(std::span<const int32_t> values) { return Smallest(values); }
int64_t MaxInt64(std::span<const int64_t> values) { return Largest(values); }
int64_t MinInt64(std::span<const int64_t> values) { return Smallest(values); }
long double MaxFloat(std::span<const long double> values) { return Largest(values); }
long double MinFloat(std::span<const long double> values) { return Smallest(values); }
TDateTime MaxDateTime(std::span<const TDateTime> values) { return Largest(values); }
TDateTime MinDateTime(std::span<const TDateTime> values) { return Smallest(values); }

Variant MaxOf(std::span<const Variant> values)
{
    return ExtremeOf(values, [](const Variant& v, const Variant& r) { return VarCompare(v, r) == vrGreaterThan; });
}

Variant MinOf(std::span<const Variant> values)
{
    return ExtremeOf(values, [](const Variant& v, const Variant& r) { return VarCompare(v, r) == vrLessThan; });
}
