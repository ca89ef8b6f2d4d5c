#pragma once
// The rules by which the grid's sorting compares two cell texts, apart from the grid: the style
// the automatic rule resolves to, the numeric reading with a column's prefix and suffix, the
// two short-date readers, and the case-insensitive byte order. CellModelSort.cpp applies them.

#include <string_view>

#include "grid/model/CellGridTypes.h"
#include "platform/core/AnsiString.h"
#include "platform/core/DateTime.h"

// ssNumeric for a text IsType reads as a number (an empty one too); ssDate for a text with a
// "/" at its second or third byte, between two digits; otherwise ssAlphabetic.
TSortStyle AutoSortStyle(std::string_view Text);

// The number of a numeric cell: the first occurrence of Prefix and then of Suffix taken out
// (never from the middle of a two-byte character), every thousands separator too when
// Financial, the locale's decimal separator read as '.'. False when the rest is no number;
// an empty cell reads 0.
bool SortNumber(std::string_view Text, std::string_view Prefix, std::string_view Suffix, bool Financial,
                long double& Value);

// Two numbers separated by the first of '-', '/' or '.' the text holds, and the year after the
// next such separator: day, month, year when DayFirst, else month, day, year. Years 0 to 25
// are 2000 to 2025, others get 1900 added, all in 16 bits. 0 for a text without the two
// separators; raises EConvertError for numbers that are no date.
TDateTime SortShortDate(std::string_view Text, bool DayFirst);

// The framework's date and time reading of the locale; 0 for a text that is none.
TDateTime SortLocaleDate(std::string_view Text);

// 1, 0 or -1 for a value and another.
template <class T>
int CompareValues(const T& A, const T& B)
{
    return A > B ? 1 : A == B ? 0 : -1;
}
// The sign of a comparison result.
inline int Sign(int R) { return R > 0 ? 1 : R < 0 ? -1 : 0; }
