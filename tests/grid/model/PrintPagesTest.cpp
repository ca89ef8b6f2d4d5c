// The page engine on a recording target whose cells measure what the test says, so layouts are
// exact numbers: page and slice counts, page-number texts, repeated rows and columns, page
// breaks asked by the event, the fit-to-page rules, slot order and places, borders and the page
// window.

#include "grid/model/PrintPages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// Every text is 10 units a byte wide; cells are as wide as their width table says (100 unless
// given) and 80 high.
class TRecorder : public IPrintTarget {
public:
    std::map<int, int> ColWidth;
    std::function<void(int, bool&)> OnNewPage;
    std::function<bool(double&)> OnFit;
    std::vector<std::string> Log;
    // "page P: r R c C at X,Y" for every drawn cell, by page.
    std::map<int, std::vector<std::string>> Cells;
    std::vector<std::string> Texts, Lines;
    int Page = 1;
    long HeightsMeasured = 0;

    int MeasureCellWidth(int Col, int Row) override { return ColWidth.count(Col) ? ColWidth[Col] : 100; }
    int MeasureCellHeight(int Col, int Row) override
    {
        ++HeightsMeasured;
        return 80;
    }
    int ScreenColWidth(int Col) override { return 64; }
    int HeaderTextWidth(const AnsiString& Text) override { return 10 * static_cast<int>(Text.size()); }
    int FooterTextWidth(const AnsiString& Text) override { return 10 * static_cast<int>(Text.size()); }
    bool FitToPage(double& Scale) override { return OnFit ? OnFit(Scale) : true; }
    void NewPageAfter(int NextRow, bool& NewPage) override
    {
        if (OnNewPage)
            OnNewPage(NextRow, NewPage);
    }
    void PageBegins(int P, int Width, int Height) override
    {
        Page = P;
        Log.push_back("page " + std::to_string(P));
    }
    void NewPrinterPage() override { Log.push_back("newpage"); }
    void DrawCell(const TPrintCell& Cell) override
    {
        Cells[Page].push_back("r" + std::to_string(Cell.Row) + "c" + std::to_string(Cell.Col) + "@" +
                              std::to_string(Cell.Rect.Left) + "," + std::to_string(Cell.Rect.Top));
    }
    void DrawLine(int X1, int Y1, int X2, int Y2) override
    {
        Lines.push_back((X1 == X2 ? "v" : "h") + std::to_string(X1 == X2 ? X1 : Y1));
    }
    void DrawFrame(const TRect& R) override
    {
        Lines.push_back("frame " + std::to_string(R.Left) + "," + std::to_string(R.Top) + "," +
                        std::to_string(R.Right) + "," + std::to_string(R.Bottom));
    }
    void DrawHeaderText(bool Footer, int X, int Y, const AnsiString& Text) override
    {
        Texts.push_back(std::string(Footer ? "foot" : "head") + " " + std::to_string(X) + "," + std::to_string(Y) +
                        " [" + Text + "]");
    }
};

// Fixed sizes everywhere: text 80 high gives S = 10 and a row advance of 110; a page 1000 high
// with no header items keeps 90 at the bottom, so 8 rows fit.
struct TSetup {
    TPrintPageSettings Settings;
    TPrintFontMetrics Metrics{80, 80, 80, 20};
    TPrintJob Job;
    TRecorder Target;
    int Pages = 0;
    std::vector<int> Widths, Offsets;

    TSetup(int Cols, int Rows)
    {
        Settings.UseFixedHeight = true;
        Settings.FixedHeight = 80;
        Settings.UseFixedWidth = true;
        Settings.FixedWidth = 300;
        Job.Method = prCalcPrint;
        Job.Range = TGridRect{0, 0, Cols - 1, Rows - 1};
        Job.PageWidth = 1000;
        Job.PageHeight = 1000;
    }
    // Counts, then draws pages FirstPage to LastPage with the counted total.
    int Print(int First = 1, int Last = 1000, TPrintMethod Method = prPrint)
    {
        Job.Method = prCalcPrint;
        TPrintPages count(Settings, Metrics, Job, Target);
        const int total = count.Run();
        Job.Method = Method;
        Job.PageTotal = total;
        Job.FirstPage = First;
        Job.LastPage = std::min(Last, total);
        TPrintPages draw(Settings, Metrics, Job, Target);
        Pages = draw.Run();
        Widths = draw.Widths();
        Offsets = draw.Offsets();
        return total;
    }
    std::vector<std::string> RowsOnPage(int Page)
    {
        std::vector<std::string> rows;
        for (const std::string& c : Target.Cells[Page]) {
            const std::string row = c.substr(0, c.find('c'));
            if (rows.empty() || rows.back() != row)
                rows.push_back(row);
        }
        return rows;
    }
};

// A layout and the page count it gives.
struct CountCase {
    const char* Name;
    int Cols, Rows;
    std::function<void(TSetup&)> Change;
    int Pages;
};

class PrintPageCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(PrintPageCount, CountsAsTheLayoutSays)
{
    TSetup s(GetParam().Cols, GetParam().Rows);
    if (GetParam().Change)
        GetParam().Change(s);
    EXPECT_EQ(s.Print(), GetParam().Pages);
    EXPECT_EQ(s.Pages, GetParam().Pages) << "drawing gives the count";
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PrintPageCount,
    ::testing::Values(CountCase{"EightRowsFitOnePage", 3, 8, nullptr, 1},
                      CountCase{"NineRowsTakeTwoPages", 3, 9, nullptr, 2},
                      CountCase{"TwentyRowsTakeThreePages", 3, 20, nullptr, 3},
                      CountCase{"FiveWideColumnsTakeTwoSlices", 5, 20, nullptr, 6},
                      CountCase{"RowSpacingMakesRowsTaller", 3, 8, [](TSetup& s) { s.Settings.RowSpacing = 20; }, 2},
                      CountCase{"ATopHeaderItemTakesRoom", 3, 8, [](TSetup& s) { s.Settings.PageNr = ppTopLeft; }, 2},
                      CountCase{"TitleLinesAtTheBottomTakeRoom", 3, 7,
                                [](TSetup& s) {
                                    s.Settings.Title = ppBottomLeft;
                                    s.Settings.TitleLines = {"a", "b", "c"};
                                },
                                2},
                      CountCase{"AColumnWiderThanThePageIsASliceOfItsOwn", 3, 1,
                                [](TSetup& s) {
                                    s.Settings.UseFixedWidth = false;
                                    s.Target.ColWidth = {{1, 5000}};
                                },
                                3},
                      CountCase{"MarginsWiderThanThePageGiveOneColumnAndOneRowPerPage", 3, 4,
                                [](TSetup& s) {
                                    s.Settings.LeftSize = 5000;
                                    s.Settings.RightSize = 5000;
                                    s.Settings.HeaderSize = 3000;
                                    s.Settings.FitToPage = fpAlways;
                                },
                                12},
                      CountCase{"NoAutoSizeFollowsTheScreenWidths", 12, 1,
                                [](TSetup& s) {
                                    // 64 - 4 pixels at 254/96: 159 units a column, 179 with the spacing: 5 a slice.
                                    s.Settings.NoAutoSize = true;
                                    s.Settings.UseFixedWidth = false;
                                },
                                3}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(PrintPages, PageNumbersFollowTheSeparatorOrTheSlices)
{
    TSetup one(3, 20);
    one.Settings.PageNr = ppBottomRight;
    one.Print();
    ASSERT_EQ(one.Target.Texts.size(), 3u);
    EXPECT_NE(one.Target.Texts[0].find("[  1/3 ]"), std::string::npos) << one.Target.Texts[0];
    EXPECT_NE(one.Target.Texts[2].find("[  3/3 ]"), std::string::npos) << one.Target.Texts[2];

    TSetup single(3, 4);
    single.Settings.PageNr = ppTopLeft;
    single.Print();
    EXPECT_EQ(single.Target.Texts, (std::vector<std::string>{"head 0,0 [ 1  ]"}));

    TSetup sliced(5, 9);
    sliced.Settings.PageNr = ppTopLeft;
    sliced.Settings.PagePrefix = "p";
    sliced.Print();
    std::vector<std::string> texts;
    for (const std::string& t : sliced.Target.Texts)
        texts.push_back(t.substr(t.find('[')));
    EXPECT_EQ(texts, (std::vector<std::string>{"[p 1-1  ]", "[p 2-1  ]", "[p 1-2  ]", "[p 2-2  ]"}));
}

TEST(PrintPages, SlotsJoinTheirItemsInOrderAndStandAtTheirPlaces)
{
    TSetup s(1, 1);
    s.Job.Now = 45000.5;  // 15 March 2023, 12:00
    s.Settings.DateFormat = "yyyy";
    s.Settings.Time = s.Settings.Date = ppTopLeft;
    s.Settings.PageNr = s.Settings.Title = ppTopRight;
    s.Settings.TitleText = "T";
    s.Settings.RightSize = 30;
    s.Settings.HeaderSize = 40;
    s.Print();
    // Left: each item goes in front, so the date stands left of the time; right: behind.
    EXPECT_EQ(s.Target.Texts,
              (std::vector<std::string>{"head 0,40 [2023 12:00 ]",
                                        "head " + std::to_string(1000 - 60 - 20 - 30) + ",40 [  1  T]"}));
}

TEST(PrintPages, FurtherTitleLinesFollowTheTitleDownward)
{
    TSetup s(1, 1);
    s.Settings.Title = ppBottomCenter;
    s.Settings.TitleLines = {"ab", "cdef", "g"};
    s.Settings.FooterSize = 50;
    s.Print();
    const int top = 1000 - (50 + 10 + 80);
    const std::string x = std::to_string((1000 - 30) / 2);
    EXPECT_EQ(s.Target.Texts,
              (std::vector<std::string>{"foot " + x + "," + std::to_string(top) + " [ ab]",
                                        "foot " + x + "," + std::to_string(top + 80) + " [cdef]",
                                        "foot " + x + "," + std::to_string(top + 160) + " [g]"}));
}

TEST(PrintPages, FixedRowsRepeatAtTheTopOfLaterPages)
{
    TSetup s(2, 20);
    s.Settings.RepeatFixedRows = true;
    s.Job.FixedRows = 1;
    EXPECT_EQ(s.Print(), 3);
    EXPECT_EQ(s.RowsOnPage(1), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7"}));
    EXPECT_EQ(s.RowsOnPage(2), (std::vector<std::string>{"r0", "r8", "r9", "r10", "r11", "r12", "r13", "r14"}));
    EXPECT_EQ(s.RowsOnPage(3), (std::vector<std::string>{"r0", "r15", "r16", "r17", "r18", "r19"}));
}

TEST(PrintPages, ARangeBelowTheFixedRowsRepeatsThemOnItsFirstPage)
{
    TSetup s(2, 6);
    s.Job.Range.Top = 3;
    s.Settings.RepeatFixedRows = true;
    s.Job.FixedRows = 2;
    s.Print();
    EXPECT_EQ(s.RowsOnPage(1), (std::vector<std::string>{"r0", "r1", "r3", "r4", "r5"}));
}

TEST(PrintPages, FixedColumnsStandLeftOfEverySliceButTheFirst)
{
    TSetup s(5, 2);
    s.Settings.RepeatFixedCols = true;
    s.Settings.LeftSize = 50;
    s.Settings.RightSize = 0;
    s.Job.FixedCols = 1;
    EXPECT_EQ(s.Print(), 2);
    // Slice 1: columns 0-2 at 50, 350, 650 (950 used of 1000); slice 2: column 0 repeated, then 3
    // and 4 (300 + 600 fit).
    EXPECT_EQ(s.Target.Cells[1],
              (std::vector<std::string>{"r0c0@50,0", "r0c1@350,0", "r0c2@650,0", "r1c0@50,110", "r1c1@350,110",
                                        "r1c2@650,110"}));
    EXPECT_EQ(s.Target.Cells[2],
              (std::vector<std::string>{"r0c0@50,0", "r0c3@350,0", "r0c4@650,0", "r1c0@50,110", "r1c3@350,110",
                                        "r1c4@650,110"}));
    EXPECT_EQ(s.Offsets[3], 350);
    EXPECT_EQ(s.Offsets[5], 950) << "the entry after the slice's last column is its right edge";
}

TEST(PrintPages, ACentredSliceStandsInTheMiddle)
{
    TSetup s(2, 1);
    s.Settings.Centered = true;
    s.Settings.LeftSize = 400;
    s.Print();
    EXPECT_EQ(s.Target.Cells[1], (std::vector<std::string>{"r0c0@200,0", "r0c1@500,0"}));
}

TEST(PrintPages, OnPrintNewPageBreaksThePageAfterARow)
{
    TSetup s(1, 6);
    std::vector<int> asked;
    s.Target.OnNewPage = [&](int next, bool& newPage) {
        asked.push_back(next);
        newPage = next == 2;
    };
    EXPECT_EQ(s.Print(), 2);
    EXPECT_EQ(s.RowsOnPage(1), (std::vector<std::string>{"r0", "r1"}));
    EXPECT_EQ(s.RowsOnPage(2), (std::vector<std::string>{"r2", "r3", "r4", "r5"}));
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 6}));
}

// A fit-to-page rule, the column widths and what the event does; the widths that print.
struct FitCase {
    const char* Name;
    TFitToPage Rule;
    int Width;  // every column's, three columns on a page 1000 wide with margins 50 and 50
    std::function<bool(double&)> Event;
    int Printed;
};

class PrintFitToPage : public ::testing::TestWithParam<FitCase> {};

TEST_P(PrintFitToPage, ScalesAsTheRuleAllows)
{
    TSetup s(3, 1);
    s.Settings.UseFixedWidth = false;
    s.Settings.LeftSize = s.Settings.RightSize = 50;
    s.Target.ColWidth = {{0, GetParam().Width}, {1, GetParam().Width}, {2, GetParam().Width}};
    s.Settings.FitToPage = GetParam().Rule;
    s.Target.OnFit = GetParam().Event;
    s.Print();
    EXPECT_EQ(s.Widths[1], GetParam().Printed);
}

// Spacing 20 a column: 900 - 60 = 840 of room, so 280 a column when scaled.
INSTANTIATE_TEST_SUITE_P(Rules, PrintFitToPage,
                         ::testing::Values(FitCase{"NeverScales", fpNever, 100, nullptr, 100},
                                           FitCase{"ShrinkLeavesANarrowGrid", fpShrink, 100, nullptr, 100},
                                           FitCase{"ShrinkNarrowsAWideGrid", fpShrink, 560, nullptr, 280},
                                           FitCase{"GrowLeavesAWideGrid", fpGrow, 560, nullptr, 560},
                                           FitCase{"GrowWidensANarrowGrid", fpGrow, 140, nullptr, 280},
                                           FitCase{"AlwaysScalesEitherWay", fpAlways, 140, nullptr, 280},
                                           FitCase{"CustomRefusedPrintsUnscaled", fpCustom, 140,
                                                   [](double&) { return false; }, 140},
                                           FitCase{"CustomAllowed", fpCustom, 140, [](double&) { return true; }, 280},
                                           FitCase{"CustomChangesTheFactor", fpCustom, 140,
                                                   [](double& scale) {
                                                       scale = 1.5;
                                                       return true;
                                                   },
                                                   210}),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(PrintPages, BorderKindsDrawTheirLines)
{
    const auto lines = [](TPrintBorders kind) {
        TSetup s(2, 2);
        s.Settings.Borders = kind;
        s.Settings.LeftSize = 0;
        s.Print();
        return s.Target.Lines;
    };
    // Rows at 0 and 110, the page's rows end at 220, S / 2 = 5 above.
    EXPECT_EQ(lines(pbAround), (std::vector<std::string>{"frame 0,0,600,215"}));
    EXPECT_EQ(lines(pbVertical), (std::vector<std::string>{"v0", "v300", "v600"}));
    EXPECT_EQ(lines(pbHorizontal), (std::vector<std::string>{"h0", "h110", "h215"}));
    EXPECT_EQ(lines(pbSingle), (std::vector<std::string>{"h0", "h110", "h215", "v0", "v300", "v600"}));
    EXPECT_EQ(lines(pbAroundVertical), (std::vector<std::string>{"frame 0,0,600,215", "v0", "v300", "v600"}));
    EXPECT_EQ(lines(pbAroundHorizontal), (std::vector<std::string>{"h0", "h110", "frame 0,0,600,215", "h215"}));
    EXPECT_TRUE(lines(pbCustom).empty());
    EXPECT_TRUE(lines(pbNoborder).empty());
}

TEST(PrintPages, CountingDrawsNothingAndAsksNoPage)
{
    TSetup s(5, 20);
    s.Settings.Borders = pbSingle;
    s.Settings.PageNr = ppTopLeft;
    TPrintPages count(s.Settings, s.Metrics, s.Job, s.Target);
    EXPECT_EQ(count.Run(), 6);
    EXPECT_TRUE(s.Target.Cells.empty());
    EXPECT_TRUE(s.Target.Lines.empty() && s.Target.Texts.empty() && s.Target.Log.empty());
}

TEST(PrintPages, APreviewDrawsOnlyThePagesOfItsWindow)
{
    TSetup s(2, 20);
    s.Settings.PageNr = ppTopLeft;
    s.Print(3, 3, prPreview);
    EXPECT_EQ(s.Target.Log, (std::vector<std::string>{"page 1", "page 3"}));
    EXPECT_EQ(s.Target.Cells.size(), 1u);
    EXPECT_EQ(s.Target.Texts.size(), 1u);
    EXPECT_EQ(s.RowsOnPage(3).front(), "r14");
}

TEST(PrintPages, AWindowPastThePagesDrawsNothing)
{
    TSetup s(2, 9);
    s.Settings.PageNr = ppTopLeft;
    s.Job.Method = prCalcPreview;
    TPrintPages count(s.Settings, s.Metrics, s.Job, s.Target);
    ASSERT_EQ(count.Run(), 2);
    s.Job.Method = prPreview;
    s.Job.FirstPage = s.Job.LastPage = 3;
    TPrintPages draw(s.Settings, s.Metrics, s.Job, s.Target);
    draw.Run();
    EXPECT_TRUE(s.Target.Cells.empty());
    EXPECT_TRUE(s.Target.Texts.empty());
}

// Fault: printing from page 2 on left an empty first sheet, the job's own first page.
TEST(PrintPages, RegressionAPageWindowAfterPageOneTurnsNoEmptySheet)
{
    TSetup s(2, 30);
    EXPECT_EQ(s.Print(2, 3), 4);
    EXPECT_EQ(s.Target.Log, (std::vector<std::string>{"page 1", "page 2", "newpage", "page 3"}));
    EXPECT_EQ(s.RowsOnPage(2).front(), "r8");
    EXPECT_EQ(s.RowsOnPage(3).front(), "r16");
}

TEST(PrintPages, EveryPageOfAWholeRunTurnsOnThePrinter)
{
    TSetup s(5, 9);
    EXPECT_EQ(s.Print(), 4);
    EXPECT_EQ(s.Target.Log,
              (std::vector<std::string>{"page 1", "newpage", "page 2", "newpage", "page 3", "newpage", "page 4"}));
}

}  // namespace

// Fault: INT_MAX and INT_MIN spacings, margins and sizes (and texts measured as wide as int holds)
// overflowed in the widths, slices, reserves and positions. They are cut to what a page holds:
// a run lays out, and every drawn cell stands within kMaxPageCoord.
TEST(PrintPagesHugeNumbers, RegressionLayOutWithoutOverflow)
{
    for (const int huge : {INT_MAX, INT_MIN}) {
        TSetup s(3, 12);
        TPrintPageSettings& p = s.Settings;
        p.Date = ppTopLeft, p.Title = ppBottomRight, p.Borders = pbSingle, p.FitToPage = fpAlways;
        p.UseFixedWidth = p.UseFixedHeight = false, p.RepeatFixedCols = true;
        p.TitleLines.assign(1000, "t");
        for (int* length : {&p.FooterSize, &p.HeaderSize, &p.LeftSize, &p.RightSize, &p.ColumnSpacing, &p.RowSpacing,
                            &p.TitleSpacing, &p.FixedHeight, &p.FixedWidth})
            *length = huge;
        s.Job.FixedCols = 1;
        s.Target.ColWidth = {{0, INT_MAX}, {1, INT_MAX}, {2, 5}};
        s.Metrics = {INT_MAX, INT_MAX, 80, INT_MAX};
        EXPECT_GE(s.Print(), 1) << huge;
        for (const auto& [page, cells] : s.Target.Cells)
            for (const std::string& cell : cells)
                for (const size_t at : {cell.find('@') + 1, cell.find(',') + 1})
                    EXPECT_LE(std::abs(std::stoll(cell.substr(at))), kMaxPageCoord) << cell;
    }
}

// Fault: every slice of the columns measured each row's cells over all the columns again (and a
// repeated fixed row on every page), so the work grew with the square of the columns: a preview
// of 16,000 columns took 84 s. A row's cells are measured once a run.
struct WorkCase {
    const char* Name;
    int Cols, Rows, FixedRows;
};

class PrintPagesWork : public ::testing::TestWithParam<WorkCase> {};

TEST_P(PrintPagesWork, RegressionEachSliceMeasuredTheRowsAgain)
{
    const WorkCase& w = GetParam();
    TSetup s(w.Cols, w.Rows);
    s.Settings.UseFixedHeight = false;
    s.Settings.RepeatFixedRows = w.FixedRows > 0;
    s.Job.FixedRows = w.FixedRows;
    const int pages = s.Print(1, 1, prPreview);
    EXPECT_GT(pages, w.Cols / 4) << "the columns take many slices";
    // A count and a preview: each measures every cell of the range once for its row's height.
    EXPECT_LE(s.Target.HeightsMeasured, 2L * w.Cols * w.Rows);
}

INSTANTIATE_TEST_SUITE_P(Columns, PrintPagesWork,
                         ::testing::Values(WorkCase{"TwoRowsOf4000Columns", 4000, 2, 0},
                                           WorkCase{"TwoRowsOf16000Columns", 16000, 2, 0},
                                           WorkCase{"ARepeatedFixedRowOnEveryPage", 40, 200, 1}),
                         [](const auto& row) { return std::string(row.param.Name); });
