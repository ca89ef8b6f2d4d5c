// Tabs on one row or several, and the selected tab's row next to the page.

#include "platform/core/TabLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TTabCase {
    const char* name;
    std::vector<int> widths;
    int available;
    bool multiLine;
    int selected;
    std::string rows;  // the row of each tab, 0 touching the page
};

std::string RowsOf(const std::vector<TTabPlace>& places)
{
    std::string s;
    for (const TTabPlace& p : places)
        s += std::to_string(p.Row);
    return s;
}

const TTabCase kTabs[] = {
    {"OneLineNeverWraps", {50, 50, 50, 50}, 120, false, 3, "0000"},
    // Two tabs fit a row of 120: rows ab, cd, e from the top; e's row is already at the page.
    {"WrapsWhenTheRowIsFull", {50, 50, 50, 50, 50}, 120, true, 4, "22110"},
    {"SelectedRowMovesToThePage", {50, 50, 50, 50, 50}, 120, true, 0, "00221"},
    // The row between the page and the selected one moves one away.
    {"MiddleRowSelected", {50, 50, 50, 50, 50}, 120, true, 2, "22001"},
    {"TabWiderThanTheRowGetsItsOwn", {200, 50}, 120, true, 1, "10"},
};

class TabLayout : public ::testing::TestWithParam<TTabCase> {};

TEST_P(TabLayout, PlacesRows)
{
    const TTabCase& c = GetParam();
    EXPECT_EQ(RowsOf(LayoutTabs(c.widths, c.available, c.multiLine, c.selected)), c.rows);
}

INSTANTIATE_TEST_SUITE_P(Rows, TabLayout, ::testing::ValuesIn(kTabs),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TabLayoutPlaces, TabsFillEachRowFromTheLeft)
{
    std::vector<TTabPlace> p = LayoutTabs({50, 60, 70}, 120, true, 2);
    EXPECT_EQ(p[1].Left, 50);
    EXPECT_EQ(p[2].Left, 0);
    EXPECT_EQ(TabRowCount(p), 2);
}

}  // namespace
