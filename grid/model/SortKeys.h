#pragma once
// What sorting compares, read once per sort. A column's rule (its style, prefix and suffix, as
// OnGetFormat answers) decides what a cell is compared by: its text, its number, its date, its
// text without tags, its images, or a handler's answer. CompareRows applies a rule to two rows
// through a reader of those keys; the grid's Compare reads them from the cells each time, and
// the sort reads them through TSortKeys, which works each key out once for the rows of its
// range. Both give the same answer for every pair, so a sort by keys moves the rows exactly as
// one that compares the cells again for every pair.

#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "grid/model/CellModel.h"
#include "grid/model/SortRules.h"

// A column's comparison rule for a sort.
struct TSortRule {
    TSortStyle Style = ssAlphabetic;
    AnsiString Prefix, Suffix;
};

// Two rows of a column compared by a rule: 1 when the first row's cell is the greater, 0 when
// they are equal, else -1. Keys reads the row's text, number and dates; the automatic rule is
// decided by the first row alone.
template <class Keys>
int CompareRows(const TSortRule& Rule, Keys& Key, int A, int B)
{
    const TSortStyle style = Rule.Style == ssAutomatic ? Key.AutoStyle(A) : Rule.Style;
    switch (style) {
    case ssAutomatic:
    case ssAlphabetic:
    case ssAlphaCase: return Key.TextOrder(A, B);
    case ssAlphaNoCase: return Sign(CompareText(Key.Text(A), Key.Text(B)));
    case ssAnsiAlphaCase: return Sign(Key.Ansi(A, B, false));
    case ssAnsiAlphaNoCase: return Sign(Key.Ansi(A, B, true));
    case ssNumeric:
    case ssFinancial: {
        // A cell that is no number equals every other.
        const std::optional<long double> a = Key.Number(A);
        const std::optional<long double> b = a ? Key.Number(B) : std::nullopt;
        return a && b ? CompareValues(*a, *b) : 0;
    }
    case ssDate: return CompareValues(Key.LocaleDate(A), Key.LocaleDate(B));
    case ssShortDateUS:
    case ssShortDateEU: return CompareValues(Key.ShortDate(A), Key.ShortDate(B));
    case ssCustom: return Sign(Key.Custom(A, B));
    case ssRaw: return Sign(Key.Raw(A, B));
    case ssHTML: return Sign(Key.Stripped(A).compare(Key.Stripped(B)));
    case ssImages: return CompareValues(Key.ImageIdx(A), Key.ImageIdx(B));
    }
    return 0;
}

// From column ACol on to the right while equal (when Full), up to LastCol.
template <class CompareCell>
int CompareLineBy(int ACol, int LastCol, bool Full, CompareCell Compare)
{
    int r = Compare(ACol);
    while (r == 0 && Full && ACol < LastCol)
        r = Compare(++ACol);
    return r;
}

// By the sort-index list from position AIdx on, each entry in its own direction.
template <class CompareCell>
int CompareIndexedBy(const TSortIndexList& List, int AIdx, bool Full, CompareCell Compare)
{
    constexpr uint32_t kColumnBits = 0x7FFFFFFF;
    const int count = List.Count();
    for (int idx = std::max(AIdx, 0); idx < count; ++idx) {
        const auto entry = static_cast<uint32_t>(List.GetInteger(idx));
        const int r = Compare(static_cast<int>(entry & kColumnBits));
        if (r != 0 || !Full || idx >= count - 1)
            return entry & TSortIndexList::kDescending ? -r : r;
    }
    return 0;
}

// The readers of a column's keys that go to the grid every time: the cell texts, and the
// handlers and collation that only the grid can answer.
class TSortCellReader {
public:
    TSortCellReader(TCellModel& Grid, int Col, TSortRule Rule) : FGrid(Grid), FCol(Col), FRule(std::move(Rule)) {}
    const TSortRule& Rule() const { return FRule; }
    const AnsiString& Text(int Row) const { return FGrid.Cells(FCol, Row); }
    // The byte order of two rows' texts.
    int TextOrder(int A, int B) const { return Sign(Text(A).compare(Text(B))); }
    int Ansi(int A, int B, bool IgnoreCase) { return FGrid.AnsiCompare(Text(A), Text(B), IgnoreCase); }
    int Custom(int A, int B);
    int Raw(int A, int B);
    intptr_t ImageIdx(int Row) const { return FGrid.GetCellImageIdx(FCol, Row); }

protected:
    TCellModel& FGrid;
    int FCol;
    TSortRule FRule;
};

// Every key worked out again at each call: what the grid's Compare reads.
class TSortLiveKeys : public TSortCellReader {
public:
    using TSortCellReader::TSortCellReader;
    TSortStyle AutoStyle(int Row) const { return AutoSortStyle(Text(Row)); }
    std::optional<long double> Number(int Row) const;
    TDateTime LocaleDate(int Row) const { return SortLocaleDate(Text(Row)); }
    TDateTime ShortDate(int Row) const;
    AnsiString Stripped(int Row) const;
};

// The keys of one column for the rows First to Last, each kind worked out for all of them the
// first time a comparison needs it.
class TSortKeyColumn : public TSortCellReader {
public:
    TSortKeyColumn(TCellModel& Grid, int Col, TSortRule Rule, int First, int Last);
    TSortStyle AutoStyle(int Row);
    int TextOrder(int A, int B);
    std::optional<long double> Number(int Row);
    TDateTime LocaleDate(int Row);
    TDateTime ShortDate(int Row);
    const AnsiString& Stripped(int Row);

private:
    size_t At(int Row) const { return static_cast<size_t>(Row - FFirst); }
    template <class Fill>
    void Once(bool& Done, Fill fill);
    int FFirst, FCount;
    // A text's first eight bytes as a number whose order is theirs (the rest zero), and the
    // text itself, copied: a handler that runs during the sort may change the cells.
    struct TTextKey {
        uint64_t Head = 0;
        size_t Size = 0;
    };
    bool FHaveTexts = false, FHaveAuto = false, FHaveNumbers = false, FHaveLocaleDates = false, FHaveShortDates = false,
         FHaveStripped = false;
    std::vector<TTextKey> FTextKeys;
    std::vector<AnsiString> FTexts;
    std::vector<TSortStyle> FAuto;
    std::vector<long double> FNumbers;
    std::vector<char> FIsNumber;
    std::vector<TDateTime> FLocaleDates, FShortDates;
    std::vector<AnsiString> FStripped;
};

// The keys of every column a sort of the rows First to Last reaches, each column's rule asked
// once (the first time a comparison reaches it). Rows are the rows as they stood when the keys
// were made; the comparisons equal the grid's for those rows.
class TSortKeys {
public:
    TSortKeys(TCellModel& Grid, int First, int Last) : FGrid(Grid), FFirst(First), FLast(Last) {}
    int Compare(int ACol, int A, int B)
    {
        TSortKeyColumn& column = Column(ACol);
        const TSortStyle style = column.Rule().Style;
        // A row equals itself by every rule but a handler's.
        if (A == B && style != ssCustom && style != ssRaw)
            return 0;
        return CompareRows(column.Rule(), column, A, B);
    }
    int CompareLine(int ACol, int A, int B);
    int CompareLineIndexed(int AIdx, int A, int B);

private:
    TSortKeyColumn& Column(int ACol)
    {
        if (ACol >= 0 && static_cast<size_t>(ACol) < FColumns.size() && FColumns[static_cast<size_t>(ACol)])
            return *FColumns[static_cast<size_t>(ACol)];
        return NewColumn(ACol);
    }
    TSortKeyColumn& NewColumn(int ACol);
    TCellModel& FGrid;
    int FFirst, FLast;
    // By column; the few columns past the stored ones (a sort column beyond the grid) apart.
    std::vector<std::unique_ptr<TSortKeyColumn>> FColumns;
    std::map<int, std::unique_ptr<TSortKeyColumn>> FFarColumns;
};

// The rule a column sorts by: ssAutomatic (with SortAutoFormat) or ssAlphabetic, then what
// OnGetFormat makes of it. A handler that frees the grid ends the sort (EGridFreedInSort).
TSortRule SortRuleOf(TCellModel& Grid, int ACol);

// Runs a handler of a comparison; when it freed the grid, raises EGridFreedInSort.
template <class Fire>
void FireInSort(const TCellModel& Grid, Fire fire)
{
    const TAliveToken alive = Grid.GridAliveToken();
    fire();
    if (!*alive)
        throw TCellModel::EGridFreedInSort{};
}
