// The kept widths of a column's texts: what a pass measures again and what it gives.

#include "grid/model/MeasuredWidths.h"

#include <gtest/gtest.h>

namespace {

// One pass over a column: its texts, how many of them the pass measured and the widest width
// (a text measures ten pixels a byte).
struct TPass {
    int Column;
    const char* Context;
    std::vector<std::string> Texts;
    int Measured;
    int Widest;
};

struct TWidthCase {
    const char* name;
    std::vector<TPass> Passes;
};
void PrintTo(const TWidthCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class MeasuredWidths : public ::testing::TestWithParam<TWidthCase> {};

TEST_P(MeasuredWidths, MeasureOnlyWhatChanged)
{
    TMeasuredWidths widths;
    int pass = 0;
    for (const TPass& p : GetParam().Passes) {
        const int64_t before = widths.Measurements();
        const int widest = widths.Widest(
            p.Column, p.Context, static_cast<int>(p.Texts.size()),
            [&](int r) -> const AnsiString& { return p.Texts[static_cast<size_t>(r)]; },
            [&](int r) { return static_cast<int>(p.Texts[static_cast<size_t>(r)].size()) * 10; },
            [](int) { return 0; });
        EXPECT_EQ(widths.Measurements() - before, p.Measured) << "pass " << pass;
        EXPECT_EQ(widest, p.Widest) << "pass " << pass;
        ++pass;
    }
}

const TWidthCase kWidthCases[] = {
    {"TheFirstPassMeasuresEveryRow", {{1, "f", {"a", "bbb", "cc"}, 3, 30}}},
    {"ASecondPassMeasuresNothing", {{1, "f", {"a", "bbb", "cc"}, 3, 30}, {1, "f", {"a", "bbb", "cc"}, 0, 30}}},
    {"AChangedTextIsMeasuredAlone", {{1, "f", {"a", "bbb", "cc"}, 3, 30}, {1, "f", {"a", "b", "ccccc"}, 2, 50}}},
    {"AnotherColumnMeasuresEveryRow", {{1, "f", {"a", "bbb"}, 2, 30}, {2, "f", {"a", "bbb"}, 2, 30}}},
    {"AnotherFontOrZoomMeasuresEveryRow", {{1, "f", {"a", "bbb"}, 2, 30}, {1, "f+1", {"a", "bbb"}, 2, 30}}},
    {"NewRowsAreMeasuredAlone", {{1, "f", {"a", "bb"}, 2, 20}, {1, "f", {"a", "bb", "ccc"}, 1, 30}}},
    {"RowsGoneNoLongerCount", {{1, "f", {"a", "bbbbbb"}, 2, 60}, {1, "f", {"a"}, 0, 10}, {1, "f", {"a", "bb"}, 1, 20}}},
    {"AnEmptyColumnIsNoWidth", {{1, "f", {}, 0, 0}}},
};

INSTANTIATE_TEST_SUITE_P(Passes, MeasuredWidths, ::testing::ValuesIn(kWidthCases),
                         [](const ::testing::TestParamInfo<TWidthCase>& i) { return std::string(i.param.name); });

TEST(MeasuredWidthsExtra, IsAskedOnEveryPass)
{
    TMeasuredWidths widths;
    const std::vector<std::string> texts = {"ab", "c"};
    int extra = 0;
    const auto widest = [&] {
        return widths.Widest(
            1, "f", 2, [&](int r) -> const AnsiString& { return texts[static_cast<size_t>(r)]; },
            [&](int r) { return static_cast<int>(texts[static_cast<size_t>(r)].size()) * 10; },
            [&](int r) { return r == 1 ? extra : 0; });
    };
    EXPECT_EQ(widest(), 20);
    // A check box appears in the second cell: its text is the same, its width is not.
    extra = 15;
    EXPECT_EQ(widest(), 25);
    EXPECT_EQ(widths.Measurements(), 2);
}
