// The order the sorts leave rows in, where the partition sort's own way shows: rows that tie,
// blanks, texts that are no number (which equal everything), the automatic rule decided by
// one row, impossible dates, handlers. The expected rows are those the row-by-row partition
// sort gave; a second test holds every sort to the plain partition algorithm on random grids
// full of ties. The sort by a column leaves the two rows its scans stopped at in place when
// they tie; the sort by the index list exchanges them all the same.

#include <algorithm>
#include <numeric>
#include <random>

#include "tests/grid/model/GridModelSupport.h"

namespace {

void Style(TCellModel& g, TSortStyle style, const char* prefix = "", const char* suffix = "")
{
    g.OnGetFormat = [=](TObject*, int, TSortStyle& s, AnsiString& p, AnsiString& x) {
        s = style;
        p = prefix;
        x = suffix;
    };
}

// Column 1 the key, column 2 the row's id; only the key counts (SortFull off).
void ByKey(TCellModel& g, TSortStyle style, const char* prefix = "", const char* suffix = "")
{
    Style(g, style, prefix, suffix);
    g.SortFull = false;
    g.SetSortColumn(1);
    g.QSort();
}

}  // namespace

class SortOrder : public KoreanSlashDates, public ::testing::WithParamInterface<TGridScenario> {};

// Rows are written with '~' between them, since dates and tags hold '/'.
TEST_P(SortOrder, StaysAsThePartitionSortLeftIt)
{
    TCellModel g;
    Play(g, GetParam(), '~');
}

const TGridScenario kOrders[] = {
    {"TiesAscending", "h|k|i~1|b|1~2|a|2~3|b|3~4|c|4~5|a|5~6|b|6~7|a|7~8|c|8~9|b|9~10|a|10",
     [](TCellModel& g) { ByKey(g, ssAlphabetic); },
     "h|k|i~10|a|10~2|a|2~5|a|5~7|a|7~3|b|3~6|b|6~1|b|1~9|b|9~8|c|8~4|c|4"},
    {"BlanksAndLettersAmongNumbers", "h|k|i~1|5|1~2||2~3|x|3~4|-3|4~5||5~6|10|6~7|x|7~8|0|8~9|2.5|9~10||10~11|5|11",
     [](TCellModel& g) { ByKey(g, ssNumeric); },
     "h|k|i~4|-3|4~1|5|1~3|x|3~2||2~5||5~10||10~7|x|7~8|0|8~9|2.5|9~11|5|11~6|10|6"},
    {"PrefixSuffixAndFinancial", "h|k|i~1|$1,200 kg|1~2|$99 kg|2~3|kg|3~4|$1,200 kg|4~5|$-5 kg|5~6|$|6~7|7|7",
     [](TCellModel& g) { ByKey(g, ssFinancial, "$", " kg"); },
     "h|k|i~5|$-5 kg|5~7|7|7~3|kg|3~2|$99 kg|2~4|$1,200 kg|4~6|$|6~1|$1,200 kg|1"},
    {"AutomaticDecidedByOneRow",
     "h|k|i~1|10|1~2|abc|2~3|9|3~4|12/5/99|4~5||5~6|1/1/00|6~7|b|7~8|-2|8~9|11/6/99|9~10|a|10~11|9|11",
     [](TCellModel& g) { ByKey(g, ssAutomatic); },
     "h|k|i~8|-2|8~5||5~3|9|3~11|9|11~1|10|1~2|abc|2~4|12/5/99|4~7|b|7~9|11/6/99|9~10|a|10~6|1/1/00|6"},
    {"ShortDatesImpossibleAndBlank",
     "h|k|i~1|03/04/01|1~2|31/02/99|2~3||3~4|02/04/01|4~5|1-1-2000|5~6|x|6~7|03/04/01|7~8|29/02/00|8~9|1.2.3|9",
     [](TCellModel& g) { ByKey(g, ssShortDateEU); },
     "h|k|i~6|x|6~2|31/02/99|2~3||3~8|29/02/00|8~4|02/04/01|4~1|03/04/01|1~7|03/04/01|7~9|1.2.3|9~5|1-1-2000|5"},
    {"LocaleDates", "h|k|i~1|02/01/24|1~2|x|2~3|31/12/23|3~4||4~5|02/01/24|5~6|01/01/24 10:00|6",
     [](TCellModel& g) { ByKey(g, ssDate); },
     "h|k|i~4||4~2|x|2~3|31/12/23|3~6|01/01/24 10:00|6~5|02/01/24|5~1|02/01/24|1"},
    {"IndexTiesWithoutSortFull", "h|k|t|i~1|b|2|1~2|a|1|2~3|b|1|3~4|a|1|4~5|b|2|5~6|a|2|6~7|b|1|7",
     [](TCellModel& g) {
         Style(g, ssAlphabetic);
         g.SortFull = false;
         g.SortIndexes()->AddIndex(2, false);
         g.SortIndexes()->AddIndex(1, true);
         g.QSortIndexed();
     },
     "h|k|t|i~6|a|2|6~5|b|2|5~1|b|2|1~7|b|1|7~2|a|1|2~3|b|1|3~4|a|1|4"},
    {"CustomHandlerTies", "h|k|i~1|ccc|1~2|a|2~3|bb|3~4|dd|4~5|e|5~6|fff|6",
     [](TCellModel& g) {
         Style(g, ssCustom);
         g.OnCustomCompare = [](TObject*, AnsiString a, AnsiString b, int& res) {
             res = static_cast<int>(a.size()) - static_cast<int>(b.size());
         };
         g.SortFull = false;
         g.SetSortColumn(1);
         g.QSort();
     },
     "h|k|i~5|e|5~2|a|2~3|bb|3~4|dd|4~1|ccc|1~6|fff|6"},
    {"RawHandlerReadsTheRowsItIsGiven", "h|k|i~1|3|1~2|1|2~3|2|3~4|1|4~5|3|5",
     [](TCellModel& g) {
         Style(g, ssRaw);
         g.OnRawCompare = [&g](TObject*, int col, int r1, int r2, int& res) {
             res = g.Cells(col, r1).compare(g.Cells(col, r2));
         };
         g.SortFull = false;
         g.SetSortColumn(1);
         g.QSort();
     },
     "h|k|i~4|1|4~2|1|2~3|2|3~1|3|1~5|3|5"},
    {"FootersHiddenColumnsAndColumn0", "#|k|i|x~1|b|1|p~2|a|2|q~3|b|3|r~4|a|4|s~f|z|9|t",
     [](TCellModel& g) {
         g.HideColumn(3);
         g.SetFixedFooters(1);
         g.SortNormalCellsOnly = true;
         ByKey(g, ssAlphabetic);
     },
     "#|k|i|x~1|a|4|s~2|a|2|q~3|b|3|r~4|b|1|p~f|z|9|t"},
    {"GroupsWithTies", "h|t|k|g~1|p|b|x~2|r|a|y~3|u|b|x~4|s|a|y~5|v|a|x~6|w|b|y",
     [](TCellModel& g) {
         g.Group(3);
         g.SortFull = false;
         g.SetSortColumn(2);
         g.QSortGroup();
     },
     "h|t|k~||x~5|v|a~3|u|b~1|p|b~||y~2|r|a~4|s|a~6|w|b"},
};
INSTANTIATE_TEST_SUITE_P(Model, SortOrder, ::testing::ValuesIn(kOrders),
                         [](const auto& row) { return std::string(row.param.name); });

namespace {

// Column 1 the index sort's only entry; the other columns tell the rows apart.
void ByIndexOn1(TCellModel& g, bool ascending, bool full)
{
    g.SortFull = full;
    g.SortIndexes()->AddIndex(1, ascending);
    g.QSortIndexed();
}

}  // namespace

class IndexedTies : public ::testing::TestWithParam<TGridScenario> {};

// The index sort exchanged only the rows that compared unequal, so tied rows never moved.
TEST_P(IndexedTies, RegressionIndexedSortKeptTiedRowsInPlace)
{
    TCellModel g;
    Play(g, GetParam(), '~');
}

const TGridScenario kIndexedTies[] = {
    {"ThreeTiedRowsTurnAround", "h|k|t~1|a|t1~2|a|t2~3|a|t3", [](TCellModel& g) { ByIndexOn1(g, true, false); },
     "h|k|t~3|a|t3~2|a|t2~1|a|t1"},
    {"TwoTiedRowsChangePlaces", "h|k|t~1|a|t1~2|a|t2", [](TCellModel& g) { ByIndexOn1(g, false, false); },
     "h|k|t~2|a|t2~1|a|t1"},
    {"RowsEqualInEveryColumnToo", "h|k~1|a~2|a~3|a~4|a", [](TCellModel& g) { ByIndexOn1(g, true, true); },
     "h|k~3|a~4|a~1|a~2|a"},
    {"TiesAmongUnequalRows", "h|k|t~1|b|t1~2|a|t2~3|b|t3~4|a|t4~5|b|t5",
     [](TCellModel& g) { ByIndexOn1(g, true, false); }, "h|k|t~4|a|t4~2|a|t2~5|b|t5~1|b|t1~3|b|t3"},
    // The sort by a column leaves the same tied rows where they were.
    {"ByColumnKeepsThem", "h|k|t~1|a|t1~2|a|t2~3|a|t3", [](TCellModel& g) { ByKey(g, ssAlphabetic); },
     "h|k|t~1|a|t1~2|a|t2~3|a|t3"},
};
INSTANTIATE_TEST_SUITE_P(Model, IndexedTies, ::testing::ValuesIn(kIndexedTies),
                         [](const auto& row) { return std::string(row.param.name); });

namespace {

// The partition sort written plainly, on a list of rows read from the unsorted grid: the
// pivot is the row standing at the middle when its range is taken; Compare is 1 when the first
// row belongs after the second.
void PartitionSort(std::vector<int>& rows, int L, int R, bool swapTies, const std::function<int(int, int)>& Compare)
{
    int i = L, j = R;
    const int pivot = rows[static_cast<size_t>((L + R) >> 1)];
    const auto at = [&](int k) { return rows[static_cast<size_t>(k)]; };
    do {
        while (Compare(pivot, at(i)) == 1 && i < R)
            ++i;
        while (Compare(at(j), pivot) == 1 && j > L)
            --j;
        if (i <= j) {
            if (i != j && (swapTies || Compare(at(i), at(j)) != 0))
                std::swap(rows[static_cast<size_t>(i)], rows[static_cast<size_t>(j)]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (L < j)
        PartitionSort(rows, L, j, swapTies, Compare);
    if (i < R)
        PartitionSort(rows, i, R, swapTies, Compare);
}

}  // namespace

// Seeded random grids whose keys tie often and mix blanks, letters, numbers and dates: every
// sort leaves the rows as the plain partition sort does with the same comparisons.
TEST_F(KoreanLocale, SortOrderFollowsThePartitionSortOnRandomTies)
{
    const TSortStyle styles[] = {ssAlphabetic,  ssNumeric, ssAutomatic, ssShortDateEU,
                                 ssAlphaNoCase, ssHTML,    ssFinancial};
    const char* const words[] = {"",         "x",        "10",     "9", "-2", "2.5",      "1,000",
                                 "03-04-01", "31-02-99", "1/2/03", "a", "B",  "<B>a</B>", "b"};
    for (unsigned seed = 0; seed < 200; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        TCellModel g;
        const int rows = 2 + pick(70);
        g.SetColCount(4);
        g.SetRowCount(rows + 1);
        const TSortStyle style = styles[seed % 7];
        g.OnGetFormat = [style](TObject*, int col, TSortStyle& s, AnsiString&, AnsiString&) {
            s = col == 3 ? ssNumeric : style;
        };
        g.SortFull = pick(2);
        g.SortDirection = pick(2) ? sdAscending : sdDescending;
        for (int r = 1; r <= rows; ++r) {
            g.SetCells(1, r, words[pick(std::size(words))]);
            g.SetCells(2, r, words[pick(5)]);
            g.SetCells(3, r, std::to_string(r));
        }
        const bool indexed = seed % 3 == 0;
        g.SortIndexes()->AddIndex(1, pick(2));
        g.SortIndexes()->AddIndex(2, pick(2));
        std::vector<int> expect(static_cast<size_t>(rows));
        std::iota(expect.begin(), expect.end(), 1);
        const int sign = g.SortDirection == sdAscending ? 1 : -1;
        PartitionSort(expect, 0, rows - 1, indexed, [&](int a, int b) {
            return indexed ? g.CompareLineIndexed(0, a, b) : g.CompareLine(1, a, b) * sign;
        });
        if (indexed) {
            g.QSortIndexed();
        } else {
            g.SetSortColumn(1);
            g.QSort();
        }
        for (int r = 1; r <= rows; ++r)
            ASSERT_EQ(g.Cells(3, r), std::to_string(expect[static_cast<size_t>(r - 1)])) << r;
    }
}

// A range reaching past the rows raises before any row moves: a row put where none can stand
// would be lost.
TEST(SortOrder, ARangePastTheRowsRaisesAndKeepsEveryRow)
{
    TCellModel g;
    Fill(g, "h|k~1|c~2|a~3|b", '~');
    EXPECT_THROW(g.QuickSort(1, 1, 9), EInvalidGridOperation);
    EXPECT_EQ(Dump(g, '~'), "h|k~1|c~2|a~3|b");
    EXPECT_EQ(g.RowCount(), 4);
}
