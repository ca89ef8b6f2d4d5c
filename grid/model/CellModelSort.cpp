// The comparisons of sorting: one cell of a row with the cell of another row in the same
// column, by the column's sort style, and whole rows from a column on or by the sort-index
// list. Reading a cell never raises: a cell outside the grid reads as an empty text, so a sort
// column or index entry beyond the columns compares equal everywhere and moves nothing.

#include "grid/model/CellModel.h"
#include "grid/model/HtmlTags.h"
#include "grid/model/SortRules.h"

namespace {

constexpr int kColumnBits = 0x7FFFFFFF;

// Fires a handler of a comparison; when the handler freed the grid, the sort ends at once.
template <class Fire>
void FireInSort(const TCellModel& Grid, Fire fire)
{
    const TAliveToken alive = Grid.GridAliveToken();
    fire();
    if (!*alive)
        throw TCellModel::EGridFreedInSort{};
}

// A date value, or 0 when the reader raises (a day or month that does not exist).
template <class Read>
TDateTime DateOrZero(Read read)
{
    try {
        return read();
    } catch (const Exception&) {
        return 0;
    }
}

}  // namespace

int TCellModel::AnsiCompare(const AnsiString& S1, const AnsiString& S2, bool IgnoreCase)
{
    return IgnoreCase ? CompareText(S1, S2) : S1.compare(S2);
}

int TCellModel::Compare(int ACol, int ARow1, int ARow2)
{
    TSortStyle style = SortAutoFormat ? ssAutomatic : ssAlphabetic;
    AnsiString prefix, suffix;
    if (OnGetFormat)
        FireInSort(*this, [&] { GetColFormat(ACol, style, prefix, suffix); });
    else
        GetColFormat(ACol, style, prefix, suffix);
    const AnsiString& s1 = Cells(ACol, ARow1);
    const AnsiString& s2 = Cells(ACol, ARow2);
    // The automatic rule looks at the first row's cell only.
    if (style == ssAutomatic)
        style = AutoSortStyle(s1);
    switch (style) {
    case ssAutomatic:
    case ssAlphabetic:
    case ssAlphaCase: return Sign(s1.compare(s2));
    case ssAlphaNoCase: return Sign(CompareText(s1, s2));
    case ssAnsiAlphaCase: return Sign(AnsiCompare(s1, s2, false));
    case ssAnsiAlphaNoCase: return Sign(AnsiCompare(s1, s2, true));
    case ssNumeric:
    case ssFinancial: {
        long double v1 = 0, v2 = 0;
        const bool financial = style == ssFinancial;
        // A cell that is no number equals every other.
        if (!SortNumber(s1, prefix, suffix, financial, v1) || !SortNumber(s2, prefix, suffix, financial, v2))
            return 0;
        return CompareValues(v1, v2);
    }
    case ssDate: return CompareValues(SortLocaleDate(s1), SortLocaleDate(s2));
    case ssShortDateUS:
    case ssShortDateEU: {
        const bool dayFirst = style == ssShortDateEU;
        return CompareValues(DateOrZero([&] { return SortShortDate(s1, dayFirst); }),
                             DateOrZero([&] { return SortShortDate(s2, dayFirst); }));
    }
    case ssCustom: {
        int res = 0;
        // Copies: the handler may change the cells it is given.
        if (OnCustomCompare)
            FireInSort(*this, [&] { OnCustomCompare(Sender(), AnsiString(s1), AnsiString(s2), res); });
        return Sign(res);
    }
    case ssRaw: {
        int res = 0;
        if (OnRawCompare)
            FireInSort(*this, [&] { OnRawCompare(Sender(), ACol, ARow1, ARow2, res); });
        return Sign(res);
    }
    case ssHTML: return Sign(StripHtmlTags(s1).compare(StripHtmlTags(s2)));
    case ssImages: return CompareValues(GetCellImageIdx(ACol, ARow1), GetCellImageIdx(ACol, ARow2));
    }
    return 0;
}

int TCellModel::CompareLine(int ACol, int ARow1, int ARow2)
{
    int r = Compare(ACol, ARow1, ARow2);
    while (r == 0 && SortFull && ACol < ColCount() - 1)
        r = Compare(++ACol, ARow1, ARow2);
    return r;
}

int TCellModel::CompareLineIndexed(int AIdx, int ARow1, int ARow2)
{
    const int count = FSortIndexes->Count();
    for (int idx = std::max(AIdx, 0); idx < count; ++idx) {
        const auto entry = static_cast<uint32_t>(FSortIndexes->GetInteger(idx));
        const int r = Compare(static_cast<int>(entry & kColumnBits), ARow1, ARow2);
        if (r != 0 || !SortFull || idx >= count - 1)
            return entry & TSortIndexList::kDescending ? -r : r;
    }
    return 0;
}

bool TCellModel::SortLine(int ACol, int ARow1, int ARow2)
{
    FSortSign = SortDirection == sdAscending ? 1 : -1;
    for (const int last = AllCols() - 1;; ++ACol) {
        const int r = Compare(ACol, ARow1, ARow2);
        if (r == FSortSign) {
            SortSwapRows(ARow1, ARow2);
            return true;
        }
        if (r != 0 || ACol >= last)
            return false;
    }
}
