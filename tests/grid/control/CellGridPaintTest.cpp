// Painting, sizing, scrolling and the text metrics of the cell grid on an offscreen form.

#include <QImage>
#include <QWidget>
#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "grid/control/CellGrid.h"
#include "platform/core/GridCursor.h"
#include "platform/gui/Forms.h"
#include "platform/gui/MapMode.h"
#include "platform/gui/Messages.h"
#include "platform/gui/WindowScrollBars.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

class CellGridPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        form.SetBounds(0, 0, 420, 300);
        grid = new TCellGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 400, 260);
        form.Show();
        form.Handle()->activateWindow();
        Settle(1);
    }
    // Paints one cell and gives what its body did.
    TCellGrid::TPaintTrace Paint(int col, int row)
    {
        TCellGrid::TPaintTrace trace;
        grid->PaintTrace = &trace;
        grid->PaintCell(col, row);
        grid->PaintTrace = nullptr;
        return trace;
    }
    int TextWidth(const AnsiString& text)
    {
        grid->Canvas()->Font()->Assign(grid->Font());
        return grid->Canvas()->TextWidth(text);
    }

    TForm form{nullptr};
    TCellGrid* grid = nullptr;
};

}  // namespace

// --- Painting --------------------------------------------------------------------------------

TEST_F(CellGridPaint, OnDrawCellFiresOncePerCellWithOrWithoutDefaultDrawing)
{
    for (bool defaultDrawing : {true, false}) {
        grid->SetDefaultDrawing(defaultDrawing);
        int calls = 0;
        grid->OnDrawCell = [&](TObject*, int, int, TRect, TGridDrawState) { ++calls; };
        Paint(2, 2);
        EXPECT_EQ(calls, 1) << defaultDrawing;
    }
}

TEST_F(CellGridPaint, HideFocusRectLeavesTheFocusedCellUnframed)
{
    grid->SetFocus();
    ASSERT_TRUE(grid->Focused());
    const TRect r = grid->CellRect(1, 1);
    const auto topEdge = [&] {
        const QImage shot = grid->Handle()->grab().toImage();
        std::vector<QRgb> row;
        for (int x = r.Left; x < r.Right; ++x)
            row.push_back(shot.pixel(x, r.Top) & 0xFFFFFF);
        return row;
    };
    const std::vector<QRgb> framed = topEdge();
    grid->HideFocusRect = true;
    grid->Invalidate();
    const std::vector<QRgb> plain = topEdge();
    EXPECT_NE(framed, plain);
    for (QRgb p : plain)
        EXPECT_EQ(p, plain.front());
}

TEST_F(CellGridPaint, CheckBoxSitsBeforeItsText)
{
    grid->EnableGraphics = true;
    grid->SetCells(2, 2, "on");
    grid->AddCheckBox(2, 2, true, false);
    const TCellGrid::TPaintTrace trace = Paint(2, 2);
    ASSERT_EQ(trace.Texts.size(), 1u);
    const TRect cell = grid->CellRect(2, 2);
    // The box takes 15 pixels from the cell's left + 1; the text starts after the box's room.
    EXPECT_GE(trace.Texts[0].Rect.Left, cell.Left + 1 + 15);
}

TEST_F(CellGridPaint, CentredHeaderOfTheSortColumnKeepsRoomForTheMark)
{
    grid->SetSortShow(true);
    grid->SetSortColumn(2);
    grid->OnGetAlignment = [](TObject*, int, int, TAlignment& a) { a = taCenter; };
    const TRect cell = grid->CellRect(2, 0);
    EXPECT_EQ(Paint(2, 0).Texts.at(0).Rect.Left, cell.Left + 12);
    EXPECT_EQ(Paint(3, 0).Texts.at(0).Rect.Left, grid->CellRect(3, 0).Left + 2);
}

TEST_F(CellGridPaint, SortIndexShowMarksEachSortedColumnInYellow)
{
    const auto yellowIn = [&](int col) {
        Settle(1);
        const QImage shot = grid->Handle()->grab().toImage();
        const TRect r = grid->CellRect(col, 0);
        int yellow = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                yellow += (shot.pixel(x, y) & 0xFFFFFF) == 0xFFFF00;
        return yellow;
    };
    grid->SetSortShow(true);
    grid->SetSortColumn(1);
    grid->SortIndexes()->AddIndex(1, true);
    grid->SortIndexes()->AddIndex(2, false);
    grid->SortIndexes()->AddIndex(3, true);
    grid->InvalidateGrid();
    // Without SortIndexShow only the first column of the list shows a (grey) mark.
    EXPECT_EQ(yellowIn(1) + yellowIn(2) + yellowIn(3), 0);
    grid->SetSortIndexShow(true);
    grid->InvalidateGrid();
    for (int col : {1, 2, 3})
        EXPECT_GT(yellowIn(col), 20) << col;
    EXPECT_EQ(yellowIn(4), 0);
}

TEST_F(CellGridPaint, EnhTextSizeShortensTheTextToItsColumn)
{
    grid->EnhTextSize = true;
    grid->SetColWidths(2, 60);
    grid->SetCells(2, 1, "한글과 English 가 섞인 아주 긴 글");
    const AnsiString shown = Paint(2, 1).Texts.at(0).Text;
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_LE(TextWidth(shown), 60 - 4);
    // The cut never leaves half a Hangul pair before the ellipsis.
    const AnsiString kept = shown.substr(0, shown.size() - 3);
    EXPECT_EQ(grid->Cells(2, 1).compare(0, kept.size(), kept), 0);
    size_t i = 0;
    while (i < kept.size())
        i += static_cast<size_t>(CharLengthAt(kept, i));
    EXPECT_EQ(i, kept.size());
}

TEST_F(CellGridPaint, RegressionAnyCellTextPaintsWithoutRaising)
{
    grid->EnableGraphics = true;
    grid->SetColCount(12);
    const char* texts[] = {"<B><I><U><FONT size=\"9999999\">big",
                           "<IMG src=\"file:///dev/zero\"><IMG src=\"file:///nowhere.bmp\" width=\"1\">",
                           "<R a=\"45\">turned and never closed",
                           "{\\rtf1 {{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{{ deep",
                           "{\\rtf1 \\fs999999999 \\cf999 \\'zz broken",
                           "=formula",
                           "x\r\n\r\n\r\n",
                           "<P align=\"center\" bgcolor=\"#12\">short colour</P>"};
    int col = 1;
    for (const char* text : texts)
        grid->SetCells(col++, 1, text);
    grid->SetCells(9, 1, "not a number");
    grid->AddProgress(9, 1, clBlue, clWhite);
    grid->SetCells(10, 1, "-77777777777");
    grid->AddDataImage(10, 1, 3, haLeft, vaTop);
    grid->SetCells(11, 1, "999999999999");
    grid->AddProgress(11, 1, clRed, clWhite);
    for (int c = 1; c < 12; ++c)
        EXPECT_NO_THROW(Paint(c, 1)) << c;
    EXPECT_NO_THROW(grid->Handle()->grab());
    EXPECT_NO_THROW(grid->AutoSizeRows(true, 0));
    EXPECT_NO_THROW(grid->AutoSizeColumns(true, 0));
}

// --- Sizing ----------------------------------------------------------------------------------

TEST_F(CellGridPaint, AutoSizeColTakesTheWidestTextAndFourPixels)
{
    grid->SetCells(2, 1, "short");
    grid->SetCells(2, 3, "the longest text");
    grid->AutoSizeCol(2);
    EXPECT_EQ(grid->ColWidths(2), TextWidth("the longest text") + 4);
    grid->SizeToWidth(2, true);  // only grows: nothing changes
    EXPECT_EQ(grid->ColWidths(2), TextWidth("the longest text") + 4);
}

TEST_F(CellGridPaint, CheckBoxBeforeTextAddsFifteenPixels)
{
    grid->EnableGraphics = true;
    grid->SetCells(2, 1, "text");
    grid->AutoSizeCol(2);
    const int plain = grid->ColWidths(2);
    grid->AddCheckBox(2, 1, false, false);
    grid->AutoSizeCol(2);
    EXPECT_EQ(grid->ColWidths(2), plain + 15);
}

TEST_F(CellGridPaint, AutoSizeRowsGivesAQuarterLineMoreEachLine)
{
    grid->Multilinecells = true;
    grid->SetCells(1, 2, "a\r\nb\r\nc");
    grid->AutoSizeRows(false, 3);
    grid->Canvas()->Font()->Assign(grid->Font());
    const int h = grid->Canvas()->TextHeight("gh");
    EXPECT_EQ(grid->RowHeights(2), (h + h / 4) * 3 + 3);
    EXPECT_EQ(grid->RowHeights(1), (h + h / 4) + 3);
    EXPECT_EQ(grid->RowHeights(0), grid->DefaultRowHeight());  // fixed rows only when asked
}

TEST_F(CellGridPaint, StretchFillsTheClientWithTheLastColumn)
{
    grid->ColumnSize()->SetStretch(true);
    const int others = 4 * (grid->DefaultColWidth() + grid->GridLineWidth());
    EXPECT_EQ(grid->ColWidths(4), grid->ClientWidth() - others - 1);
    grid->SetWidth(380);
    EXPECT_EQ(grid->ColWidths(4), grid->ClientWidth() - others - 1);
    grid->SetColCount(1);
    grid->StretchRightColumn();
    EXPECT_EQ(grid->ColWidths(0), grid->ClientWidth());
}

TEST_F(CellGridPaint, DraggingABorderWithAllColumnSizeScalesTheOthers)
{
    grid->SetOptions(grid->Options() << goColSizing);
    grid->MouseActions()->AllColumnSize = true;
    for (int c = 0; c < grid->ColCount(); ++c)
        grid->SetColWidths(c, 100);
    int ended = -1;
    grid->OnEndColumnSize = [&](TObject*, int col) { ended = col; };
    // The border after column 1 lies at 201 (two columns of 100 and a line each).
    const TRect r = grid->CellRect(1, 0);
    grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(r.Right, 5));
    ASSERT_EQ(grid->GridState(), gsColSizing);
    grid->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(r.Right + 50, 5));
    grid->Perform(WM_LBUTTONUP, 0, MakeLParam(r.Right + 50, 5));
    EXPECT_EQ(grid->ColWidths(1), 150);
    EXPECT_EQ(grid->ColWidths(2), 150);
    EXPECT_EQ(grid->ColWidths(4), 150);
    EXPECT_EQ(grid->ColWidths(0), 100);  // fixed columns keep their widths
    EXPECT_EQ(ended, 1);
    // A width set by code afterwards scales nothing.
    grid->SetColWidths(2, 60);
    EXPECT_EQ(grid->ColWidths(3), 150);
}

namespace {

struct TZoneCase {
    const char* name;
    int dx;  // from the header cell's right edge
    bool in;
};
void PrintTo(const TZoneCase& c, std::ostream* os) { *os << c.name; }

class SizeZone : public CellGridPaint, public ::testing::WithParamInterface<TZoneCase> {};

}  // namespace

TEST_P(SizeZone, LiesWithinThreePixelsOfTheBorder)
{
    grid->SetOptions(grid->Options() << goColSizing);
    const TRect r = grid->CellRect(2, 0);
    EXPECT_EQ(grid->InSizeZone(r.Right + GetParam().dx, 5), GetParam().in);
}

INSTANTIATE_TEST_SUITE_P(Borders, SizeZone,
                         ::testing::Values(TZoneCase{"TwoPixelsLeft", -2, true}, TZoneCase{"ThreePixelsLeft", -3, true},
                                           TZoneCase{"FivePixelsLeft", -5, false},
                                           TZoneCase{"MiddleOfTheCell", -30, false}),
                         [](const auto& row) { return std::string(row.param.name); });

// --- Scrolling -------------------------------------------------------------------------------

TEST_F(CellGridPaint, ScrollInViewCentresARowOutOfView)
{
    grid->SetRowCount(300);
    const int visible = grid->VisibleRowCount();
    grid->ScrollInView(1, 100);
    EXPECT_EQ(grid->Row(), 100);
    EXPECT_EQ(grid->TopRow(), 100 - visible / 2);
    const int top = grid->TopRow();
    grid->ScrollInView(1, 101);  // already in view: nothing moves
    EXPECT_EQ(grid->TopRow(), top);
    EXPECT_EQ(grid->Row(), 100);
}

TEST_F(CellGridPaint, ProportionalThumbShowsTheVisibleShare)
{
    grid->SetRowCount(1000);
    grid->SetScrollProportional(true);
    TScrollInfo info;
    ASSERT_TRUE(GetScrollInfo(grid, SB_VERT, info));
    EXPECT_EQ(info.nPage, static_cast<unsigned>(std::lround(grid->VisibleRowCount() * 128.0 / 1000)));
    grid->SetScrollProportional(false);
    ASSERT_TRUE(GetScrollInfo(grid, SB_VERT, info));
    EXPECT_EQ(info.nPage, 0u);
}

TEST_F(CellGridPaint, RegressionProportionalVerticalThumbReachesTheLastRow)
{
    grid->SetRowCount(1000);
    grid->SetScrollProportional(true);
    TScrollInfo info;
    GetScrollInfo(grid, SB_VERT, info);
    // The thumb's last place is the range less its page.
    const int last = TCustomGrid::kScrollRange + 1 - static_cast<int>(info.nPage);
    grid->Perform(WM_VSCROLL, SB_THUMBPOSITION | (static_cast<WPARAM>(last) << 16));
    EXPECT_EQ(grid->TopRow(), grid->MaxTopRow());
}

TEST_F(CellGridPaint, FlatLookTakesEffectOnlyWithProportionalBars)
{
    grid->SetRowCount(1000);
    grid->SetScrollWidth(30);
    grid->SetScrollType(ssFlat);
    EXPECT_EQ(grid->ClientWidth(), 400 - TScrollBarModel::kWidth);
    grid->SetScrollProportional(true);
    EXPECT_EQ(grid->ClientWidth(), 400 - 30);
    EXPECT_EQ(WindowScrollBarLook(grid, SB_VERT).Style, 1);
    grid->SetScrollProportional(false);
    EXPECT_EQ(grid->ClientWidth(), 400 - TScrollBarModel::kWidth);
}

TEST_F(CellGridPaint, RegressionThumbHintNeverNamesAFixedRow)
{
    // A fixed row kept by FixedRowAlways over a base grid without fixed rows: every row shows,
    // so the row the thumb names from the counts alone would be the fixed row 0.
    grid->FixedRowAlways = true;
    grid->SetFixedRows(0);
    grid->SetTopRow(0);
    ASSERT_EQ(grid->FixedRows(), 1);
    ASSERT_LT(grid->RowCount() - grid->VisibleRowCount() - grid->FixedRows(), 0);
    grid->ScrollHints = shVertical;
    std::vector<int> named;
    grid->OnScrollHint = [&](TObject*, int row, AnsiString&) { named.push_back(row); };
    for (int pos : {0, 64, 127})
        grid->Perform(WM_VSCROLL, SB_THUMBTRACK | (static_cast<WPARAM>(pos) << 16));
    EXPECT_TRUE(grid->ScrollHintShowing());
    grid->Perform(WM_VSCROLL, SB_ENDSCROLL);
    EXPECT_FALSE(grid->ScrollHintShowing());
    ASSERT_EQ(named.size(), 3u);
    for (int row : named)
        EXPECT_GE(row, 1);
}

TEST_F(CellGridPaint, ScrollSynchFollowsTheThumb)
{
    grid->SetRowCount(500);
    grid->ScrollSynch = true;
    grid->Perform(WM_VSCROLL, SB_THUMBTRACK | (static_cast<WPARAM>(64) << 16));
    EXPECT_GT(grid->TopRow(), 200);
    EXPECT_LT(grid->TopRow(), 300);
}

namespace {

// The page of a proportional vertical thumb as the grid shows it now, and as it should be.
unsigned ThumbPage(TCellGrid* grid)
{
    TScrollInfo info;
    GetScrollInfo(grid, SB_VERT, info);
    return info.nPage;
}
unsigned WantedPage(TCellGrid* grid)
{
    return static_cast<unsigned>(std::lround(grid->VisibleRowCount() * 128.0 / grid->RowCount()));
}

}  // namespace

TEST_F(CellGridPaint, RegressionProportionalThumbFollowsAResize)
{
    grid->SetRowCount(200);
    grid->SetScrollProportional(true);
    const unsigned tall = ThumbPage(grid);
    grid->SetHeight(120);
    Settle(1);
    EXPECT_LT(ThumbPage(grid), tall);
    EXPECT_EQ(ThumbPage(grid), WantedPage(grid));
}

TEST_F(CellGridPaint, RegressionProportionalThumbFollowsTheTopRow)
{
    // Short rows at the top, tall ones further down: scrolling changes how many rows show.
    grid->SetRowCount(200);
    for (int r = 100; r < 200; ++r)
        grid->SetRowHeights(r, 60);
    grid->SetScrollProportional(true);
    const unsigned top = ThumbPage(grid);
    grid->SetTopRow(150);
    EXPECT_NE(ThumbPage(grid), top);
    EXPECT_EQ(ThumbPage(grid), WantedPage(grid));
}

namespace {

struct TBorderDragCase {
    const char* name;
    bool columns;
    int move;           // pixels the pointer moves between press and release (0: no move)
    int endedExpected;  // the index OnEnd*Size names, -1 when it does not fire
};
void PrintTo(const TBorderDragCase& c, std::ostream* os) { *os << c.name; }

class BorderDrag : public CellGridPaint, public ::testing::WithParamInterface<TBorderDragCase> {};

}  // namespace

TEST_P(BorderDrag, EndsWithOneEventOnlyAfterAMove)
{
    const TBorderDragCase& c = GetParam();
    grid->SetOptions(grid->Options() << goColSizing << goRowSizing);
    int ended = -1, calls = 0;
    grid->OnEndColumnSize = [&](TObject*, int col) {
        c.columns ? ended = col : ended = -2;
        ++calls;
    };
    grid->OnEndRowSize = [&](TObject*, int row) {
        c.columns ? ended = -2 : ended = row;
        ++calls;
    };
    // The border after column 2 in the header row, or under row 2 in the fixed column.
    const TRect r = c.columns ? grid->CellRect(2, 0) : grid->CellRect(0, 2);
    const TPoint at = c.columns ? TPoint{r.Right, 5} : TPoint{5, r.Bottom};
    const TPoint to = c.columns ? TPoint{at.x + c.move, at.y} : TPoint{at.x, at.y + c.move};
    grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(at.x, at.y));
    ASSERT_EQ(grid->GridState(), c.columns ? gsColSizing : gsRowSizing);
    if (c.move != 0)
        grid->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(to.x, to.y));
    grid->Perform(WM_LBUTTONUP, 0, MakeLParam(to.x, to.y));
    EXPECT_EQ(ended, c.endedExpected);
    EXPECT_EQ(calls, c.endedExpected >= 0 ? 1 : 0);
    // A size set by code afterwards is no drag.
    calls = 0;
    grid->SetColWidths(3, 44);
    grid->SetRowHeights(3, 33);
    EXPECT_EQ(calls, 0);
}

INSTANTIATE_TEST_SUITE_P(Borders, BorderDrag,
                         ::testing::Values(TBorderDragCase{"ColumnDraggedWider", true, 30, 2},
                                           TBorderDragCase{"ColumnDraggedNarrower", true, -20, 2},
                                           TBorderDragCase{"ColumnPressedAndReleased", true, 0, -1},
                                           TBorderDragCase{"RowDraggedTaller", false, 12, 2},
                                           TBorderDragCase{"RowPressedAndReleased", false, 0, -1}),
                         [](const auto& row) { return std::string(row.param.name); });

// --- Pressed fixed cells and the pan mark ----------------------------------------------------

namespace {

// The pixels along the left edge of a cell, as the window shows them.
std::vector<QRgb> LeftEdge(TCellGrid* grid, int col, int row)
{
    Settle(1);
    const TRect r = grid->CellRect(col, row);
    const QImage shot = grid->Handle()->grab().toImage();
    std::vector<QRgb> edge;
    for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
        edge.push_back(shot.pixel(r.Left, y) & 0xFFFFFF);
    return edge;
}

struct TPressedCase {
    const char* name;
    std::function<void(TCellGrid*)> setUp;
    int col, row;
    bool sinks;
};
void PrintTo(const TPressedCase& c, std::ostream* os) { *os << c.name; }

class PressedFixedCell : public CellGridPaint, public ::testing::WithParamInterface<TPressedCase> {};

void AsButtons(TCellGrid* grid) { grid->FixedAsButtons = true; }

}  // namespace

TEST_P(PressedFixedCell, SinksWhileHeldAndRisesOnRelease)
{
    const TPressedCase& c = GetParam();
    c.setUp(grid);
    const TRect r = grid->CellRect(c.col, c.row);
    const LPARAM at = MakeLParam((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    // A first click settles what a click changes besides (the current cell, the focus).
    grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    grid->Perform(WM_LBUTTONUP, 0, at);
    const std::vector<QRgb> raised = LeftEdge(grid, c.col, c.row);
    grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    const std::vector<QRgb> held = LeftEdge(grid, c.col, c.row);
    grid->Perform(WM_LBUTTONUP, 0, at);
    EXPECT_EQ(held != raised, c.sinks);
    EXPECT_EQ(LeftEdge(grid, c.col, c.row), raised);
}

INSTANTIATE_TEST_SUITE_P(Cells, PressedFixedCell,
                         ::testing::Values(TPressedCase{"HeaderOfAButtonGrid", AsButtons, 2, 0, true},
                                           TPressedCase{"RowHeaderOfAButtonGrid", AsButtons, 0, 3, true},
                                           TPressedCase{"FooterRowOfAButtonGrid",
                                                        [](TCellGrid* g) {
                                                            AsButtons(g);
                                                            g->SetFixedFooters(1);
                                                        },
                                                        2, 4, true},
                                           TPressedCase{"NormalCellOfAButtonGrid", AsButtons, 2, 2, false},
                                           TPressedCase{"HeaderWithoutFixedAsButtons", [](TCellGrid*) {}, 2, 0, false},
                                           TPressedCase{"HeaderOfAFlatGrid",
                                                        [](TCellGrid* g) {
                                                            AsButtons(g);
                                                            g->SetFlat(true);
                                                        },
                                                        2, 0, false},
                                           TPressedCase{"HeaderWithoutFixedLines",
                                                        [](TCellGrid* g) {
                                                            AsButtons(g);
                                                            g->SetOptions(g->Options() >> goFixedHorzLine);
                                                        },
                                                        2, 0, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(CellGridPaint, PanMarkStaysAtTheAnchorUntilThePanEnds)
{
    grid->SetRowCount(100);
    grid->IntelliPan = ipBoth;
    // In the fixed column, which looks the same whichever cell the pan makes current.
    const QPoint anchor(10, 100);
    const auto mark = [&] {
        Settle(1);
        return grid->Handle()->grab().toImage().copy(anchor.x(), anchor.y(), 17, 17);
    };
    const QImage before = mark();
    grid->Perform(WM_MBUTTONDOWN, MK_MBUTTON, MakeLParam(anchor.x(), anchor.y()));
    ASSERT_TRUE(grid->Panning());
    EXPECT_TRUE(grid->IntelliFocusPointShown());
    const QImage shown = mark();
    EXPECT_NE(shown, before);
    // A scroll repaints the cells below the mark; the mark stays where the pan began.
    grid->SetTopRow(40);
    EXPECT_EQ(mark(), shown);
    grid->Perform(WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(grid->Panning());
    EXPECT_FALSE(grid->IntelliFocusPointShown());
    EXPECT_EQ(mark(), before);
}

// --- Rotated text ----------------------------------------------------------------------------

namespace {

struct TTurnCase {
    const char* name;
    int angle;
    TAlignment align;
    TVAlignment valign;
};
void PrintTo(const TTurnCase& c, std::ostream* os) { *os << c.name; }

class TextPosition : public CellGridPaint, public ::testing::WithParamInterface<TTurnCase> {};

}  // namespace

// Where the text block lands: the box of the text rectangle turned about its start point lies
// at the edge (or the middle) its alignments ask for, inside R less the 2-pixel margins.
TEST_P(TextPosition, PlacesTheTurnedTextBlockByItsAlignments)
{
    const TTurnCase& c = GetParam();
    grid->SetVAlignment(c.valign);
    const AnsiString text = "turned text";
    const TRect cell{100, 50, 300, 250};
    TRect r = cell;
    grid->CalcTextPos(r, c.angle, text, c.align);
    const int w = TextWidth(text), h = grid->Canvas()->TextHeight(text);
    // The text's rectangle turned counter-clockwise on the screen about its start point.
    const double a = c.angle * 3.14159265358979323846 / 180;
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (const auto& [px, py] : {std::pair{0, 0}, std::pair{w, 0}, std::pair{0, h}, std::pair{w, h}}) {
        const double x = r.Left + px * std::cos(a) + py * std::sin(a);
        const double y = r.Top - px * std::sin(a) + py * std::cos(a);
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
    // The block starts 2 in from the left and top and ends 2 before R less 2 (plus 2 back).
    const double tolerance = 2;
    if (c.align == taLeftJustify)
        EXPECT_NEAR(left, cell.Left + 2, tolerance);
    else if (c.align == taRightJustify)
        EXPECT_NEAR(right, cell.Right, tolerance);
    else
        EXPECT_NEAR((left + right) / 2, (cell.Left + cell.Right) / 2.0, tolerance);
    if (c.valign == vtaTop)
        EXPECT_NEAR(top, cell.Top + 2, tolerance);
    else if (c.valign == vtaBottom)
        EXPECT_NEAR(bottom, cell.Bottom, tolerance);
    else
        EXPECT_NEAR((top + bottom) / 2, (cell.Top + cell.Bottom) / 2.0, tolerance);
}

INSTANTIATE_TEST_SUITE_P(Quadrants, TextPosition,
                         ::testing::Values(TTurnCase{"FlatLeftTop", 0, taLeftJustify, vtaTop},
                                           TTurnCase{"FlatRightBottom", 0, taRightJustify, vtaBottom},
                                           TTurnCase{"FirstQuadrantCentred", 30, taCenter, vtaCenter},
                                           TTurnCase{"UpwardsLeftCentre", 90, taLeftJustify, vtaCenter},
                                           TTurnCase{"SecondQuadrantRightTop", 135, taRightJustify, vtaTop},
                                           TTurnCase{"UpsideDownCentred", 180, taCenter, vtaCenter},
                                           TTurnCase{"ThirdQuadrantLeftBottom", 225, taLeftJustify, vtaBottom},
                                           TTurnCase{"DownwardsRightTop", 270, taRightJustify, vtaTop},
                                           TTurnCase{"FourthQuadrantCentred", 315, taCenter, vtaCenter}),
                         [](const auto& row) { return std::string(row.param.name); });

// --- Print text size -------------------------------------------------------------------------

TEST_F(CellGridPaint, PrintTextSizeCountsLinesTurnsAndPrintedGraphics)
{
    TBitmap page;
    page.SetSize(1000, 1000);
    TCanvas* canvas = page.Canvas();
    SetMapMode(canvas, MM_LOMETRIC);
    grid->PrintSettings()->Font()->SetSize(10);
    grid->Multilinecells = true;
    grid->EnableGraphics = true;
    grid->SetCells(1, 1, "abc");
    grid->SetCells(1, 2, "abc\r\nabc");
    const TPoint one = grid->GetPrintTextSize(canvas, 1, 1, 0);
    const TPoint two = grid->GetPrintTextSize(canvas, 1, 2, 0);
    EXPECT_GT(one.x, 0);
    EXPECT_EQ(two.x, one.x);
    EXPECT_EQ(two.y, 2 * one.y);
    // Turned a quarter, width and height change places.
    grid->AddRotated(1, 3, 90, "abc");
    const TPoint turned = grid->GetPrintTextSize(canvas, 1, 3, 0);
    EXPECT_EQ(turned.x, one.y);
    EXPECT_EQ(turned.y, one.x);
    // A check box counts only when graphics are printed: 15 pixels as tenths of a millimetre.
    grid->AddCheckBox(1, 1, true, false);
    EXPECT_EQ(grid->GetPrintTextSize(canvas, 1, 1, 0).x, one.x);
    grid->PrintSettings()->PrintGraphics = true;
    EXPECT_EQ(grid->GetPrintTextSize(canvas, 1, 1, 0).x, one.x + 40);
}
