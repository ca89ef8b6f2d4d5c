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

struct TFilterCase {
    const char* name;
    const char* start;
    std::function<void(TCellModel&)> on;  // sets the filter up and switches it on
    const char* filtered;                 // the dump while it is on
    const char* after;                    // the dump once it is off again
};
void PrintTo(const TFilterCase& c, std::ostream* os) { *os << c.name; }

constexpr const char* kFive = "h|n/a|1/b|2/c|3/d|4/e|5";

}  // namespace

class Filter : public ::testing::TestWithParam<TFilterCase> {};

TEST_P(Filter, HidesAndShowsAgain)
{
    TCellModel g;
    g.EnableGraphics = true;
    Fill(g, GetParam().start);
    GetParam().on(g);
    EXPECT_EQ(Dump(g), GetParam().filtered);
    EXPECT_TRUE(g.CheckConsistency());
    g.SetFilterActive(false);
    EXPECT_EQ(Dump(g), GetParam().after);
    EXPECT_EQ(g.NumHiddenRows(), 0);
    EXPECT_TRUE(g.CheckConsistency());
}

const TFilterCase kFilters[] = {
    {"NothingMatchesLeavesOneEmptyRowBelowTheFixedRow", kFive,
     [](TCellModel& g) {
         Condition(g, 1, "9");
         g.SetFilterActive(true);
         EXPECT_EQ(g.RowCount(), 2);
         EXPECT_EQ(g.FixedRows(), 1);
     },
     "h|n/|", kFive},
    {"RowsOneAndFourMatch", kFive,
     [](TCellModel& g) {
         Condition(g, 1, "1;4");
         g.SetFilterActive(true);
         EXPECT_TRUE(g.IsHiddenRow(2) && g.IsHiddenRow(3) && g.IsHiddenRow(5));
         EXPECT_FALSE(g.IsHiddenRow(4));
     },
     "h|n/a|1/d|4", kFive},
    {"RunsAtBothEndsAndEveryConditionMustHold", kFive,
     [](TCellModel& g) {
         Condition(g, 1, ">1");
         Condition(g, 0, "<d");
         g.SetFilterActive(true);
     },
     "h|n/b|2/c|3", kFive},
    {"EmptyFilterHidesNothing", kFive, [](TCellModel& g) { g.SetFilterActive(true); }, kFive, kFive},
    {"FooterRowsAreNotTested", "h|n/a|1/b|2/f|x",
     [](TCellModel& g) {
         g.SetFixedFooters(1);
         Condition(g, 1, "2");
         g.SetFilterActive(true);
     },
     "h|n/b|2/f|x", "h|n/a|1/b|2/f|x"},
    {"SwitchingOnTwiceFiltersOnce", kFive,
     [](TCellModel& g) {
         Condition(g, 1, ">3");
         g.SetFilterActive(true);
         Condition(g, 1, "4");
         g.SetFilterActive(true);
     },
     "h|n/d|4/e|5", kFive},
    {"RowsHiddenBeforeStayHidden", kFive,
     [](TCellModel& g) {
         g.HideRow(4);
         Condition(g, 1, "<3;5");
         g.SetFilterActive(true);
     },
     "h|n/a|1/b|2/e|5", kFive},
    {"RegressionTypedDataInTheKeptRowStays", kFive,
     [](TCellModel& g) {
         Condition(g, 1, "9");
         g.SetFilterActive(true);
         g.SetCells(0, 1, "typed");
     },
     "h|n/typed|", "h|n/a|1/b|2/c|3/d|4/e|5/typed|"},
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
        TCellModel filtered, byRuns;
        for (TCellModel* g : {&filtered, &byRuns}) {
            g->SetColCount(2);
            g->SetRowCount(40);
        }
        std::mt19937 fill(static_cast<unsigned>(round));
        for (int r = 1; r < 40; ++r) {
            const char* value = fill() % 3 ? "keep" : "drop";
            for (TCellModel* g : {&filtered, &byRuns}) {
                g->SetCells(0, r, std::to_string(r));
                g->SetCells(1, r, value);
            }
        }
        for (int k = 0; k < 3; ++k) {
            const int real = static_cast<int>(random() % 39) + 1;
            filtered.HideRow(real);
            byRuns.HideRow(real);
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
