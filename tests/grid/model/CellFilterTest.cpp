// The row filter: which rows it hides, the row it keeps for the fixed rows, and switching it
// off again. Every scenario ends with the model's consistency check.

#include <random>

#include "tests/grid/model/GridModelSupport.h"

namespace {

void Condition(TCellModel& g, int column, const char* condition)
{
    TFilterData* item = g.Filter()->Add();
    item->Column = static_cast<int16_t>(column);
    item->Condition = condition;
}

// The five rows of kFive filtered on column 1, with a step before switching on and one after.
struct TFilterCase {
    const char* name;
    const char* condition;
    std::function<void(TCellModel&)> before, after;  // either may be empty
    const char* filtered;                            // the dump while the filter is on
    const char* unfiltered;                          // the dump once it is off again
};
void PrintTo(const TFilterCase& c, std::ostream* os) { *os << c.name; }

constexpr const char* kFive = "h|n/a|1/b|2/c|3/d|4/e|5";

}  // namespace

class Filter : public ::testing::TestWithParam<TFilterCase> {};

TEST_P(Filter, HidesAndShowsAgain)
{
    const TFilterCase& c = GetParam();
    TCellModel g;
    g.EnableGraphics = true;
    Fill(g, kFive);
    Condition(g, 1, c.condition);
    if (c.before)
        c.before(g);
    g.SetFilterActive(true);
    if (c.after)
        c.after(g);
    EXPECT_EQ(Dump(g), c.filtered);
    EXPECT_TRUE(g.CheckConsistency());
    g.SetFilterActive(false);
    EXPECT_EQ(Dump(g), c.unfiltered);
    EXPECT_EQ(g.NumHiddenRows(), 0);
    EXPECT_TRUE(g.CheckConsistency());
}

const TFilterCase kFilters[] = {
    {"NothingMatchesLeavesOneEmptyRowBelowTheFixedRow", "9", {}, {}, "h|n/|", kFive},
    {"RowsOneAndFourMatch", "1;4", {}, {}, "h|n/a|1/d|4", kFive},
    {"RunsAtBothEndsAndEveryConditionMustHold",
     ">1",
     [](TCellModel& g) { Condition(g, 0, "<d"); },
     {},
     "h|n/b|2/c|3",
     kFive},
    {"FooterRowsAreNotTested", "3", [](TCellModel& g) { g.SetFixedFooters(1); }, {}, "h|n/c|3/e|5", kFive},
    {"SwitchingOnTwiceFiltersOnce",
     ">3",
     {},
     [](TCellModel& g) {
         Condition(g, 1, "4");
         g.SetFilterActive(true);
     },
     "h|n/d|4/e|5",
     kFive},
    {"RegressionTypedDataInTheKeptRowStays",
     "9",
     {},
     [](TCellModel& g) { g.SetCells(0, 1, "typed"); },
     "h|n/typed|",
     "h|n/a|1/b|2/c|3/d|4/e|5/typed|"},
    // The empty row went after the footer: the footer became the current data row and the
    // empty row was painted as the footer.
    {"RegressionNothingMatchingKeepsItsRowAboveTheFooters", "9", [](TCellModel& g) { g.SetFixedFooters(1); },
     [](TCellModel& g) {
         EXPECT_EQ(g.Row(), 1);
         EXPECT_LT(g.Row(), g.RowCount() - g.FixedFooters());
     },
     "h|n/|/e|5", kFive},
    {"TypedDataInTheKeptRowStaysAboveTheFooters", "9", [](TCellModel& g) { g.SetFixedFooters(1); },
     [](TCellModel& g) { g.SetCells(0, 1, "typed"); }, "h|n/typed|/e|5", "h|n/a|1/b|2/c|3/d|4/typed|/e|5"},
};
INSTANTIATE_TEST_SUITE_P(Model, Filter, ::testing::ValuesIn(kFilters),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CellFilter, RegressionSwitchingOffAGridOfOnlyItsHeaderRowDoesNotRaise)
{
    TCellModel g;
    g.SetFixedRows(0);
    g.SetRowCount(1);
    g.FixedRowAlways = true;
    Condition(g, 0, "x");
    g.SetFilterActive(true);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_NO_THROW(g.SetFilterActive(false));
    EXPECT_EQ(g.RowCount(), 1);
}

// The one-pass filter leaves what hiding each run of failing rows with HideRowsEx leaves: the
// same rows and hidden-row items in the same order.
TEST(CellFilter, OnePassGivesWhatHidingEachRunGives)
{
    std::mt19937 random(7);
    for (int round = 0; round < 30; ++round) {
        std::string rows = "h|h";
        for (int r = 1; r < 40; ++r)
            rows += "/" + std::to_string(r) + (random() % 3 ? "|keep" : "|drop");
        TCellModel filtered, byRuns;
        for (TCellModel* g : {&filtered, &byRuns}) {
            Fill(*g, rows);
            for (int real : {7, 8, 30})
                g->HideRow(real);
        }
        Condition(filtered, 1, "keep");
        filtered.ApplyFilter();
        // Each run of failing display rows hidden by its real indexes; the matching row after
        // it then stands at the run's place, and the walk goes on after that row.
        for (int r = 1; r < byRuns.RowCount(); ++r) {
            int end = r;
            while (end < byRuns.RowCount() && byRuns.Cells(1, end) == "drop")
                ++end;
            if (end > r)
                byRuns.HideRowsEx(byRuns.RemapRowInv(r), byRuns.RemapRowInv(end - 1));
        }
        ASSERT_EQ(Dump(filtered), Dump(byRuns));
        ASSERT_EQ(filtered.NumHiddenRows(), byRuns.NumHiddenRows());
        for (int i = 0; i < filtered.NumHiddenRows(); ++i)
            ASSERT_EQ(filtered.HiddenRows().Items(i)->Idx, byRuns.HiddenRows().Items(i)->Idx);
        ASSERT_TRUE(filtered.CheckConsistency());
    }
}
