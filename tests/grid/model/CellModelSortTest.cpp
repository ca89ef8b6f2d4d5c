// Sorting the cell grid's rows: one table of comparisons per style family, the sorts on small
// grids written as text, the faults mended, and a differential test against std::stable_sort.

#include <algorithm>
#include <climits>
#include <numeric>
#include <random>

#include "tests/grid/model/GridModelSupport.h"

namespace {

// One comparison of two texts in column 1 under a style, prefix and suffix.
struct TCompareCase {
    const char* name;
    TSortStyle style;
    const char* prefix;
    const char* suffix;
    const char* first;
    const char* second;
    int want;
};
void PrintTo(const TCompareCase& c, std::ostream* os) { *os << c.name; }

int CompareTexts(TCellModel& g, const TCompareCase& c)
{
    g.SetCells(1, 1, c.first);
    g.SetCells(1, 2, c.second);
    g.OnGetFormat = [&c](TObject*, int, TSortStyle& style, AnsiString& prefix, AnsiString& suffix) {
        style = c.style;
        prefix = c.prefix;
        suffix = c.suffix;
    };
    return g.Compare(1, 1, 2);
}

}  // namespace

class SortCompare : public KoreanSlashDates, public ::testing::WithParamInterface<TCompareCase> {};
TEST_P(SortCompare, Compare)
{
    TCellModel g;
    EXPECT_EQ(CompareTexts(g, GetParam()), GetParam().want);
}

// Numbers: the column's prefix and suffix go, financial texts lose their thousands separators,
// a text that is no number equals everything, an empty cell is 0.
const TCompareCase kNumbers[] = {
    {"PrefixAndSuffixGo", ssNumeric, "$", " kg", "$10 kg", "$9 kg", 1},
    {"LettersEqualEverything", ssNumeric, "", "", "abc", "5", 0},
    {"EveryNumberEqualsLetters", ssNumeric, "", "", "5", "abc", 0},
    {"EmptyCountsZero", ssNumeric, "", "", "", "-1", 1},
    {"EmptyEqualsLetters", ssNumeric, "", "", "", "x", 0},
    {"ExponentsRead", ssNumeric, "", "", "1e3", "999", 1},
    {"ThousandsMakeNoNumber", ssNumeric, "", "", "1,200.50", "999", 0},
    {"FinancialDropsThousands", ssFinancial, "", "", "1,200.50", "999", 1},
    {"FinancialNegative", ssFinancial, "", "", "-1,000", "-999", -1},
    {"HangulSuffix", ssNumeric, "", "개", "10개", "9개", 1},
    {"SuffixNeverTakenFromAPair", ssNumeric, "", "c", "1똠", "2", 0},
    {"BlanksAfterMakeNoNumber", ssNumeric, "", "", "5 ", "4", 0},
};
INSTANTIATE_TEST_SUITE_P(Numbers, SortCompare, ::testing::ValuesIn(kNumbers),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(KoreanLocale, SortNumbersReadTheLocalesDecimalComma)
{
    FormatSettings().DecimalSeparator = ',';
    FormatSettings().ThousandSeparator = '.';
    TCellModel g;
    EXPECT_EQ(CompareTexts(g, {"", ssNumeric, "", "", "1,5", "1,25", 0}), 1);
    EXPECT_EQ(CompareTexts(g, {"", ssFinancial, "", "", "1.200,5", "999", 0}), 1);
}

// Dates: the two short-date readers and the locale's reading; what does not read is 0.
const TCompareCase kDates[] = {
    {"EuropeanDayFirst", ssShortDateEU, "", "", "03/04/01", "02/04/01", 1},
    {"EuropeanAgainstAmerican", ssShortDateEU, "", "", "03/04/01", "04/01/01", 1},
    {"AmericanMonthFirst", ssShortDateUS, "", "", "03/04/01", "04/01/01", -1},
    {"ImpossibleDateIsZero", ssShortDateEU, "", "", "31/02/99", "01/01/00", -1},
    {"ImpossibleEqualsNoDate", ssShortDateEU, "", "", "31/02/99", "", 0},
    {"YearsTo25AreThisCentury", ssShortDateEU, "", "", "01/01/25", "01/01/26", 1},
    {"FourDigitYearsKeepTheirOrder", ssShortDateEU, "", "", "01-01-2024", "01-01-1999", 1},
    // '-' is looked for first: the day would be "02/03", which is no number.
    {"DashIsTakenBeforeSlash", ssShortDateEU, "", "", "02/03-2000", "01/01/2000", -1},
    {"PointsSeparateToo", ssShortDateUS, "", "", "12.31.99", "1.1.00", -1},
    {"OneSeparatorIsNoDate", ssShortDateEU, "", "", "01/02", "", 0},
    {"LettersAreNoDate", ssShortDateUS, "", "", "ab/cd/ef", "", 0},
    {"LocaleDate", ssDate, "", "", "02/01/24", "31/12/23", 1},
    {"LocaleDateUnreadableIsZero", ssDate, "", "", "x", "01/01/24", -1},
};
INSTANTIATE_TEST_SUITE_P(Dates, SortCompare, ::testing::ValuesIn(kDates),
                         [](const auto& row) { return std::string(row.param.name); });

// Texts: bytes with and without case (single-byte letters only), tags stripped, handlers.
const TCompareCase kTexts[] = {
    {"AlphabeticUpperCaseFirst", ssAlphabetic, "", "", "ABC", "abc", -1},
    {"AlphaCaseIsBytes", ssAlphaCase, "", "", "b", "B", 1},
    {"AlphaNoCaseFoldsLetters", ssAlphaNoCase, "", "", "abc", "ABC", 0},
    {"AlphaNoCaseFoldsToUpperCase", ssAlphaNoCase, "", "", "a", "_", -1},
    {"RegressionAlphaNoCaseNeverFoldsATrailByte", ssAlphaNoCase, "", "", "\x8C\x63", "\x8C\x43", 1},
    {"AnsiWithoutCollationComparesBytes", ssAnsiAlphaNoCase, "", "", "abc", "ABD", -1},
    {"HtmlTagsStripped", ssHTML, "", "", "<B>b</B>", "a", 1},
    {"CustomWithoutHandlerEqual", ssCustom, "", "", "a", "b", 0},
    {"RawWithoutHandlerEqual", ssRaw, "", "", "a", "b", 0},
    {"AutomaticDatesFromTheFirstCell", ssAutomatic, "", "", "12/5/99", "11/6/99", -1},
    {"AutomaticLettersAlphabetic", ssAutomatic, "", "", "b", "a", 1},
    {"AutomaticNumbers", ssAutomatic, "", "", "10", "9", 1},
    {"AutomaticNegativeNumbers", ssAutomatic, "", "", "-12", "-120", 1},
    {"AutomaticDecidedByTheFirstRowOnly", ssAutomatic, "", "", "abc", "10", 1},
    {"AutomaticNumberAgainstLettersEqual", ssAutomatic, "", "", "10", "abc", 0},
    {"SlashNotBetweenDigitsIsText", ssAutomatic, "", "", "a/b", "a/a", 1},
};
INSTANTIATE_TEST_SUITE_P(Texts, SortCompare, ::testing::ValuesIn(kTexts),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SortCompare, HandlersDecideCustomAndRawAndOnlyTheirSignCounts)
{
    TCellModel g;
    Fill(g, "h|a/1|x/2|y");
    g.OnGetFormat = [](TObject*, int col, TSortStyle& style, AnsiString&, AnsiString&) {
        style = col == 1 ? ssCustom : ssRaw;
    };
    std::string seen;
    g.OnCustomCompare = [&](TObject*, AnsiString a, AnsiString b, int& res) {
        seen += a + b;
        res = -7;
    };
    g.OnRawCompare = [&](TObject*, int col, int r1, int r2, int& res) {
        seen += " " + std::to_string(col) + std::to_string(r1) + std::to_string(r2);
        res = 3;
    };
    EXPECT_EQ(g.Compare(1, 1, 2), -1);
    EXPECT_EQ(g.Compare(0, 2, 1), 1);
    EXPECT_EQ(seen, "xy 021");
}

TEST(SortCompare, ImagesCompareByTheirIndexes)
{
    TCellModel g;
    g.EnableGraphics = true;
    for (int row : {1, 2}) {
        TCellGraphic* extra = g.CreateCellGraphic(1, row);
        extra->CellType = ctImages;
        extra->CellIndex = 5 - row;
    }
    g.OnGetFormat = [](TObject*, int, TSortStyle& style, AnsiString&, AnsiString&) { style = ssImages; };
    EXPECT_EQ(g.Compare(1, 1, 2), 1);
    EXPECT_EQ(g.Compare(1, 1, 3), 1);  // no extra reads -1
}

// --- Sorts ---------------------------------------------------------------------------------

class Sorting : public ::testing::TestWithParam<TGridScenario> {};

TEST_P(Sorting, LeavesTheRows)
{
    TCellModel g;
    Play(g, GetParam());
    EXPECT_EQ(g.UpdateCount(), 0);
}

const TGridScenario kSorts[] = {
    {"QSortAscending", "h|k/1|c/2|a/3|b",
     [](TCellModel& g) {
         g.SetSortColumn(1);
         g.QSort();
     },
     "h|k/2|a/3|b/1|c"},
    {"QSortDescending", "h|k/1|c/2|a/3|b",
     [](TCellModel& g) {
         g.SetSortColumn(1);
         g.SortDirection = sdDescending;
         g.QSort();
     },
     "h|k/1|c/3|b/2|a"},
    {"SortFullOrdersTiesByTheNextColumns", "h|k|a|b/1|x|2|z/2|x|1|y/3|w|2|a/4|x|2|y",
     [](TCellModel& g) {
         g.SetSortColumn(1);
         g.QSort();
     },
     "h|k|a|b/3|w|2|a/2|x|1|y/4|x|2|y/1|x|2|z"},
    {"IndexSortWithDirectionsAndSortFull", "h|a|k/1|p|2/2|q|1/3|r|2/4|s|1",
     [](TCellModel& g) {
         g.SortIndexes()->AddIndex(2, true);
         g.SortIndexes()->AddIndex(1, false);
         g.QSortIndexed();
     },
     "h|a|k/4|s|1/2|q|1/3|r|2/1|p|2"},
    {"FixedRowsAndFootersStay", "h|k/g|z/1|c/2|a/f|0",
     [](TCellModel& g) {
         g.SetFixedRows(2);
         g.SetFixedFooters(1);
         g.SetSortColumn(1);
         g.QSort();
     },
     "h|k/g|z/2|a/1|c/f|0"},
    {"SortNormalCellsOnlyKeepsColumn0", "#|k/1|c/2|a/3|b",
     [](TCellModel& g) {
         g.SortNormalCellsOnly = true;
         g.SetSortColumn(1);
         g.QSort();
     },
     "#|k/1|a/2|b/3|c"},
    {"HiddenColumnsTravelWithTheirRows", "h|k|x/1|c|p/2|a|q/3|b|r",
     [](TCellModel& g) {
         g.HideColumn(2);
         g.SetSortColumn(1);
         g.QSort();
         EXPECT_EQ(g.ColCount(), 2);
         EXPECT_EQ(g.HiddenColCount(), 1);
     },
     "h|k|x/2|a|q/3|b|r/1|c|p"},
    {"SortColumnBeyondTheGridMovesNothing", "h|k/1|c/2|a/3|b",
     [](TCellModel& g) {
         g.SetSortColumn(40);
         g.QSort();
     },
     "h|k/1|c/2|a/3|b"},
    // Every row ties, and the index sort exchanges the tied rows its scans stop at.
    {"IndexEntryBeyondTheGridTiesEveryRow", "h|k/1|c/2|a/3|b",
     [](TCellModel& g) {
         g.SortIndexes()->AddIndex(77, true);
         g.QSortIndexed();
     },
     "h|k/3|b/2|a/1|c"},
    {"SortByColumnIsStable", "h|k/1|b/2|a/3|b/4|a", [](TCellModel& g) { g.SortByColumn(1); }, "h|k/2|a/4|a/1|b/3|b"},
    {"SortByColumnKeepsFootersAndSortsTwoRows", "h|k/1|b/2|a/f|0",
     [](TCellModel& g) {
         g.SetFixedFooters(1);
         g.SortByColumn(1);
     },
     "h|k/2|a/1|b/f|0"},
    {"QuickSortSortsARangeOnly", "h|k/1|d/2|c/3|b/4|a",
     [](TCellModel& g) {
         g.SetRowCount(5);
         g.QuickSort(1, 2, 3);
         EXPECT_EQ(g.RowCount(), 5);
     },
     "h|k/1|d/3|b/2|c/4|a"},
    {"SortLineSwapsRowsOutOfOrderFromAColumnOn", "h|a|b/1|x|2/2|x|1",
     [](TCellModel& g) {
         EXPECT_TRUE(g.SortLine(1, 1, 2));
         EXPECT_FALSE(g.SortLine(1, 1, 2));
     },
     "h|a|b/2|x|1/1|x|2"},
    {"QSortGroupSortsEachGroup", "h|t|w|v/1|p|d|x/2|r|b|y/3|u|a|x/4|s|c|y",
     [](TCellModel& g) {
         g.Group(3);
         g.SetSortColumn(2);
         g.QSortGroup();
     },
     "h|t|w/||x/3|u|a/1|p|d/||y/2|r|b/4|s|c"},
};
INSTANTIATE_TEST_SUITE_P(Model, Sorting, ::testing::ValuesIn(kSorts),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Sorting, TheCurrentRowFollowsItsData)
{
    for (bool moveRow : {false, true}) {
        TCellModel g;
        Fill(g, "h|k/1|c/2|a/3|b");
        g.Navigation()->MoveRowOnSort = moveRow;
        g.SetRow(1);
        g.SetSortColumn(1);
        g.QSort();
        EXPECT_EQ(g.Row(), 3);
        EXPECT_EQ(g.Cells(0, g.Row()), "1");
    }
}

TEST(Sorting, AnEmptyIndexListRaisesAndChangesNothing)
{
    TCellModel g;
    Fill(g, "h|k/1|c/2|a");
    try {
        g.QSortIndexed();
        FAIL();
    } catch (const ECellGridError& e) {
        EXPECT_EQ(e.Message, "No indexes specified for indexed sort");
    }
    EXPECT_THROW(g.QuickSortIndexed(1, 2), ECellGridError);
    EXPECT_EQ(Dump(g), "h|k/1|c/2|a");
    EXPECT_EQ(g.UpdateCount(), 0);
}

// A compare handler's exception leaves the grid as it found it apart from rows already moved:
// no work rows, the hidden columns hidden, column 0 in place and the update lock released.
TEST(Sorting, RegressionASortThatRaisesTakesItsWorkRowsAway)
{
    TCellModel g;
    Fill(g, "#|k|x/1|c|p/2|a|q/3|b|r");
    g.HideColumn(2);
    g.SortNormalCellsOnly = true;
    g.SetSortColumn(1);
    g.OnGetFormat = [](TObject*, int, TSortStyle& style, AnsiString&, AnsiString&) { style = ssCustom; };
    int calls = 0;
    g.OnCustomCompare = [&](TObject*, AnsiString a, AnsiString b, int& res) {
        if (++calls == 4)
            throw ECellGridError("handler");
        res = a.compare(b);
    };
    EXPECT_THROW(g.QSort(), ECellGridError);
    calls = 0;
    EXPECT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(g.UpdateCount(), 0);
    EXPECT_EQ(g.Cells(0, 1) + g.Cells(0, 2) + g.Cells(0, 3), "123");
    EXPECT_TRUE(g.CheckConsistency());
    EXPECT_THROW(g.QuickSort(1, 1, 3), ECellGridError);
    EXPECT_EQ(g.RowCount(), 4);
}

// A comparison that says "greater" whatever it is given: the scans stay inside their range and
// the exchange sort ends.
namespace {

// A sort whose comparison handler frees the grid at its first call.
struct TFreedCase {
    const char* name;
    // Binds the handler that runs Free, and chooses the style that fires it.
    std::function<void(TCellModel&, std::function<void()> Free)> bind;
    std::function<void(TCellModel&)> sort;
};
void PrintTo(const TFreedCase& c, std::ostream* os) { *os << c.name; }

void CustomStyle(TCellModel& g)
{
    g.OnGetFormat = [](TObject*, int, TSortStyle& style, AnsiString&, AnsiString&) { style = ssCustom; };
}

}  // namespace

class FreedInSort : public ::testing::TestWithParam<TFreedCase> {};

// A handler that freed the grid left the sort running on it: every later comparison, swap and
// the clean-up after the sort read and wrote the freed grid.
TEST_P(FreedInSort, RegressionACompareHandlerThatFreesTheGridEndsTheSort)
{
    auto* g = new TCellModel;
    Fill(*g, "h|h|h/a|5|x/b|3|y/c|9|x/d|1|z/e|7|y");
    g->SortIndexes()->AddIndex(1, true);
    g->SetSortColumn(1);
    int calls = 0;
    GetParam().bind(*g, [&calls, g] {
        ++calls;
        delete g;
    });
    GetParam().sort(*g);
    EXPECT_EQ(calls, 1);
}

const TFreedCase kFreed[] = {
    {"CustomCompareInQSort",
     [](TCellModel& g, std::function<void()> free) {
         CustomStyle(g);
         g.OnCustomCompare = [free](TObject*, AnsiString, AnsiString, int&) { free(); };
     },
     [](TCellModel& g) { g.QSort(); }},
    {"RawCompareInQSortIndexed",
     [](TCellModel& g, std::function<void()> free) {
         g.OnGetFormat = [](TObject*, int, TSortStyle& style, AnsiString&, AnsiString&) { style = ssRaw; };
         g.OnRawCompare = [free](TObject*, int, int, int, int&) { free(); };
     },
     [](TCellModel& g) { g.QSortIndexed(); }},
    {"GetFormatInSortByColumn",
     [](TCellModel& g, std::function<void()> free) {
         g.OnGetFormat = [free](TObject*, int, TSortStyle&, AnsiString&, AnsiString&) { free(); };
     },
     [](TCellModel& g) { g.SortByColumn(1); }},
    {"CustomCompareInQuickSort",
     [](TCellModel& g, std::function<void()> free) {
         CustomStyle(g);
         g.OnCustomCompare = [free](TObject*, AnsiString, AnsiString, int&) { free(); };
     },
     [](TCellModel& g) { g.QuickSort(1, 1, 5); }},
    {"CustomCompareInGroup",
     [](TCellModel& g, std::function<void()> free) {
         CustomStyle(g);
         g.OnCustomCompare = [free](TObject*, AnsiString, AnsiString, int&) { free(); };
     },
     [](TCellModel& g) { g.Group(2); }},
};
INSTANTIATE_TEST_SUITE_P(Model, FreedInSort, ::testing::ValuesIn(kFreed),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Sorting, RegressionContradictoryComparisonsStayInsideTheRange)
{
    TCellModel g;
    Fill(g, "h|k/1|a/2|b/3|c/4|d/5|e/f|z");
    g.SetFixedFooters(1);
    g.OnGetFormat = [](TObject*, int, TSortStyle& style, AnsiString&, AnsiString&) { style = ssCustom; };
    g.OnCustomCompare = [](TObject*, AnsiString, AnsiString, int& res) { res = 1; };
    g.SortFull = false;
    g.SetSortColumn(1);
    g.QSort();
    g.SortIndexes()->AddIndex(1, true);
    g.QSortIndexed();
    g.SortByColumn(1);
    EXPECT_EQ(g.Cells(1, 0), "k");
    EXPECT_EQ(g.Cells(1, 6), "z");
    std::string keys;
    for (int r = 1; r <= 5; ++r)
        keys += g.Cells(1, r);
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, "abcde");
    EXPECT_TRUE(g.CheckConsistency());
}

// Rows are counted in 32 bits: beyond 65,535 rows the exchange sort still reaches the end.
TEST(Sorting, RegressionSortByColumnCountsRowsIn32Bits)
{
    TCellModel g;
    g.SetColCount(2);
    g.SetRowCount(70001);
    for (int r = 1; r <= 70000; ++r)
        g.SetCells(1, r, std::to_string(r));
    g.SetCells(1, 69999, "70000");
    g.SetCells(1, 70000, "69999");
    g.SortByColumn(1);
    EXPECT_EQ(g.Cells(1, 69999), "69999");
    EXPECT_EQ(g.Cells(1, 70000), "70000");
}

// Seeded random rows with distinct keys: every sort gives the order std::stable_sort gives
// with the same comparison, rows keep their cells and extras, fixed and footer rows stay.
TEST(Sorting, DifferentialAgainstStableSort)
{
    const TSortStyle styles[] = {ssAlphabetic, ssAlphaNoCase, ssNumeric, ssShortDateEU, ssAutomatic};
    for (unsigned seed = 0; seed < 120; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        const TSortStyle style = styles[seed % 5];
        const bool indexed = seed % 3 == 0;
        TCellModel g;
        g.EnableGraphics = true;
        const int rows = 2 + pick(60);
        g.SetColCount(4);
        g.SetRowCount(rows + 2);
        g.SetFixedFooters(1);
        g.SortDirection = pick(2) ? sdAscending : sdDescending;
        g.OnGetFormat = [style](TObject*, int, TSortStyle& s, AnsiString&, AnsiString&) { s = style; };
        // Column 1 holds distinct keys (column 2 a few values, column 3 the row's id).
        std::vector<int> keys(static_cast<size_t>(rows));
        std::iota(keys.begin(), keys.end(), 0);
        std::shuffle(keys.begin(), keys.end(), random);
        for (int r = 1; r <= rows; ++r) {
            const int k = keys[static_cast<size_t>(r - 1)];
            const std::string key = style == ssShortDateEU
                ? std::to_string(1 + k % 28) + "/" + std::to_string(1 + k / 28) + "/2001"
                : style == ssNumeric     ? std::to_string(k * 37 - 500)
                : style == ssAlphaNoCase ? std::string(1, "aBcD"[k % 4]) + std::to_string(k)
                                         : "k" + std::to_string(k * 7919 % 100003);
            g.SetCells(1, r, key);
            g.SetCells(2, r, std::to_string(pick(3)));
            g.SetCells(3, r, std::to_string(r));
            g.SetColors(3, r, static_cast<TColor>(r));
        }
        g.SetCells(1, rows + 1, "footer");
        g.SortIndexes()->AddIndex(2, pick(2));
        g.SortIndexes()->AddIndex(1, pick(2));
        // The expected order: the same comparison on the unsorted grid.
        std::vector<int> expect(static_cast<size_t>(rows));
        std::iota(expect.begin(), expect.end(), 1);
        const int sign = g.SortDirection == sdAscending ? 1 : -1;
        std::stable_sort(expect.begin(), expect.end(), [&](int a, int b) {
            return indexed ? g.CompareLineIndexed(0, a, b) < 0 : g.CompareLine(1, a, b) == -sign;
        });
        if (indexed) {
            g.QSortIndexed();
        } else {
            g.SetSortColumn(1);
            g.QSort();
        }
        for (int r = 1; r <= rows; ++r) {
            ASSERT_EQ(g.Cells(3, r), std::to_string(expect[static_cast<size_t>(r - 1)])) << r;
            ASSERT_EQ(g.Colors(3, r), static_cast<TColor>(expect[static_cast<size_t>(r - 1)]));
        }
        EXPECT_EQ(g.Cells(1, rows + 1), "footer");
        EXPECT_TRUE(g.CheckConsistency());
    }
}
