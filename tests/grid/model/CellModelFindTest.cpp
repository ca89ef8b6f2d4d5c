// Find and search by cell text: the walk orders, the match options, the restart after a miss,
// hidden columns, and matching by whole cp949 characters.

#include "tests/grid/model/GridModelSupport.h"

namespace {

std::string At(TPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

// Two results in the order the calls run.
std::string Then(TPoint first, const std::function<TPoint()>& second)
{
    const std::string a = At(first);
    return a + " " + At(second());
}

// A 5 x 7 grid with one fixed row and column; "Key" stands at (2, 5) and (3, 1).
void KeyGrid(TCellModel& g) { Fill(g, "h0|h1|h2|h3|h4/r1|a|b|xkeyx|c/r2|||/r3|||/r4|||/r5||KEY|/r6|||"); }

struct TFindCase {
    const char* name;
    std::function<void(TCellModel&)> setup;
    std::function<std::string(TCellModel&)> run;
    std::string want;
};
void PrintTo(const TFindCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class Find : public ::testing::TestWithParam<TFindCase> {};

TEST_P(Find, Gives)
{
    TCellModel g;
    GetParam().setup(g);
    EXPECT_EQ(GetParam().run(g), GetParam().want);
    EXPECT_TRUE(g.CheckConsistency());
}

const TFindCase kFind[] = {
    {"EmptyOptionsWalkColumnByColumnIgnoringCase", KeyGrid,
     [](TCellModel& g) { return Then(g.FindFirst("key", {}), [&] { return g.FindNext(); }); }, "2,5 3,1"},
    {"LeftToRightWalksRowByRow", KeyGrid,
     [](TCellModel& g) { return Then(g.FindFirst("key", {fnDirectionLeftRight}), [&] { return g.FindNext(); }); },
     "3,1 2,5"},
    {"MatchStartRefusesTextInside", KeyGrid, [](TCellModel& g) { return At(g.FindFirst("key", {fnMatchStart})); },
     "2,5"},
    {"MatchFullIgnoresCaseWithoutMatchCase", KeyGrid,
     [](TCellModel& g) { return At(g.FindFirst("kEy", {fnMatchFull})); }, "2,5"},
    {"MatchFullWithMatchCaseNeedsTheSameCase", KeyGrid,
     [](TCellModel& g) {
         return At(g.FindFirst("kEy", {fnMatchFull, fnMatchCase}));
     },
     "-1,-1"},
    {"MatchCaseFindsOnlyAsWritten", KeyGrid,
     [](TCellModel& g) { return Then(g.FindFirst("KEY", {fnMatchCase}), [&] { return g.FindNext(); }); }, "2,5 -1,-1"},
    {"IncludeFixedFindsHeaders", KeyGrid, [](TCellModel& g) { return At(g.FindFirst("H3", {fnIncludeFixed})); }, "3,0"},
    {"HeadersAreNotSearchedByDefault", KeyGrid, [](TCellModel& g) { return At(g.FindFirst("H3", {})); }, "-1,-1"},
    {"AutoGotoMakesTheHitCurrent", KeyGrid,
     [](TCellModel& g) {
         g.FindFirst("key", {fnAutoGoto});
         return std::to_string(g.Col()) + "," + std::to_string(g.Row());
     },
     "2,5"},
    {"WithoutAutoGotoTheCurrentCellStays", KeyGrid,
     [](TCellModel& g) {
         g.FindFirst("key", {});
         return std::to_string(g.Col()) + "," + std::to_string(g.Row());
     },
     "1,1"},
    {"FindNextAfterTheLastHitMissesThenStartsOverAtTheTopLeft", KeyGrid,
     [](TCellModel& g) {
         std::string out = At(g.FindFirst("h", {}));
         for (int i = 0; i < 3; ++i)
             out += " " + At(g.FindNext());
         return out;
     },
     // No normal cell holds "h". After a miss FindNext walks from (0, 0): the fixed column 0
     // first, from its fixed row on, then the other columns from the first normal row.
     "-1,-1 0,0 -1,-1 0,0"},
    {"FindNextOnFixedRowsOnlyMisses",
     [](TCellModel& g) {
         g.FixedRowAlways = true;
         Fill(g, "key|key");
     },
     [](TCellModel& g) { return Then(g.FindFirst("key", {}), [&] { return g.FindNext(); }); }, "-1,-1 -1,-1"},
    {"InCurrentRowSearchesThatRowOnly", KeyGrid,
     [](TCellModel& g) {
         g.SetRow(5);
         return Then(g.FindFirst("key", {fnFindInCurrentRow}), [&] { return g.FindNext(); });
     },
     "2,5 -1,-1"},
    {"InCurrentColumnSearchesThatColumnOnly", KeyGrid,
     [](TCellModel& g) {
         g.SetCol(3);
         return At(g.FindFirst("key", {fnFindInCurrentCol}));
     },
     "3,1"},
    {"HiddenColumnsAreSkippedAndResultsAreDisplayColumns", KeyGrid,
     [](TCellModel& g) {
         g.HideColumn(2);
         return At(g.FindFirst("key", {}));
     },
     "2,1"},
    {"RegularUsesTheWildcardMatcher", KeyGrid,
     [](TCellModel& g) {
         return At(g.FindFirst("*KEY*", {fnMatchRegular, fnDirectionLeftRight}));
     },
     "3,1"},
    {"IgnoreHtmlTagsComparesTheShownText",
     [](TCellModel& g) {
         Fill(g, "h|h/a|");
         g.SetCells(1, 1, "<B>k</B>ey");
     },
     [](TCellModel& g) {
         return Then(g.FindFirst("key", {}), [&] { return g.FindFirst("key", {fnIgnoreHTMLTags, fnMatchFull}); });
     },
     "-1,-1 1,1"},
    {"RegressionTrailByteIsNoLetter",
     // 똠 is 8C 63: its trail byte is a "c", which neither a find nor a fold may see.
     [](TCellModel& g) { Fill(g, "h|h/a|\x8C\x63/b|xc"); },
     [](TCellModel& g) { return Then(g.FindFirst("C", {}), [&] { return g.FindNext(); }); }, "1,2 -1,-1"},
    {"HangulFindsHangul", [](TCellModel& g) { Fill(g, "h|h/a|x\x8C\x63y"); },  // x똠y
     [](TCellModel& g) { return At(g.FindFirst("\x8C\x63Y", {})); }, "1,1"},
    {"EmptyTextMatchesNothing", KeyGrid, [](TCellModel& g) { return At(g.FindFirst("", {})); }, "-1,-1"},
};
INSTANTIATE_TEST_SUITE_P(Cases, Find, ::testing::ValuesIn(kFind),
                         [](const auto& row) { return std::string(row.param.name); });

namespace {

struct TSearchCase {
    const char* name;
    const char* rows;
    bool sortShow;
    std::string typed;
    int want;
};
void PrintTo(const TSearchCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class Search : public ::testing::TestWithParam<TSearchCase> {};

TEST_P(Search, FindsTheRow)
{
    TCellModel g;
    Fill(g, GetParam().rows);
    if (GetParam().sortShow) {
        g.SetSortShow(true);
        g.SetSortColumn(2);
    }
    EXPECT_EQ(g.Search(GetParam().typed), GetParam().want);
}

const TSearchCase kSearch[] = {
    {"ColumnOneWithoutSortShow", "h|h|h/x|apple|zed/y|banana|apple", false, "BA", 2},
    {"SortColumnWithSortShow", "h|h|h/x|apple|zed/y|banana|apple", true, "AP", 2},
    {"ShorterCellDoesNotMatch", "h|h/x|ab", false, "ABC", -1},
    {"TypedTextIsTakenAsUpperCase", "h|h/x|ab", false, "ab", -1},
    {"OneRowGridFindsNothing", "h|h", false, "", -1},
};
INSTANTIATE_TEST_SUITE_P(Cases, Search, ::testing::ValuesIn(kSearch),
                         [](const auto& row) { return std::string(row.param.name); });
