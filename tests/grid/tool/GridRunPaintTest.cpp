// What painting a cell decides, through gridrun's "paint" trace: colours by selection, focus,
// ShowSelection and bands, and the text each kind of cell draws.

#include <QColor>
#include <QImage>
#include <cstdio>
#include <iterator>

#include "tests/grid/tool/GridRunSupport.h"

class GridRunPaint : public ::testing::TestWithParam<TGridRunCase> {};

TEST_P(GridRunPaint, Prints)
{
    const TRun run = GridRun(GetParam().directives);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, GetParam().out);
}

const TGridRunCase kPaints[] = {
    {"SelectionShowsUnlessItIsTheFocusedCell",
     "cell 1 1 sel\n"
     "paint 1 1\n"
     "focus\n"
     "paint 1 1\n"
     "set Options +goDrawFocusSelected\n"
     "paint 1 1\n",
     "paint 1 1 = clHighlight clHighlightText\ntext sel\n"
     "paint 1 1 = clWindow clWindowText\ntext sel\n"
     "paint 1 1 = clHighlight clHighlightText\ntext sel\n"},
    {"RegressionFocusedCellOfARowSelectGridLooksLikeItsRow",
     "set Options +goRowSelect\n"
     "focus\n"
     "paint 1 1\n"
     "paint 2 1\n",
     "paint 1 1 = clHighlight clHighlightText\ntext \n"
     "paint 2 1 = clHighlight clHighlightText\ntext \n"},
    {"WithoutShowSelectionAnUnfocusedGridLooksUnselected",
     "set ShowSelection 0\n"
     "paint 1 1\n"
     "set Bands.Active 1\n"
     "paint 1 1\n",
     "paint 1 1 = clWindow clWindowText\ntext \n"
     "paint 1 1 = clInfoBk clWindowText\ntext \n"},
    {"BandsOfFiveAndFive",
     "set RowCount 13\n"
     "set Bands.Active 1\n"
     "set Bands.PrimaryLength 5\n"
     "set Bands.SecondaryLength 5\n"
     "set Bands.SecondaryColor clAqua\n"
     "set Row 12\n"
     "paint 2 5\npaint 2 6\npaint 2 10\npaint 2 11\npaint 2 0\n",
     "paint 2 5 = clInfoBk clWindowText\ntext \n"
     "paint 2 6 = clAqua clWindowText\ntext \n"
     "paint 2 10 = clAqua clWindowText\ntext \n"
     "paint 2 11 = clInfoBk clWindowText\ntext \n"
     "paint 2 0 = clBtnFace clWindowText\ntext \n"},
    {"CellColourAnswersComeAfterBands",
     "set Bands.Active 1\n"
     "answer OnGetCellColor 2 2 clRed clYellow\n"
     "paint 2 2\n",
     "paint 2 2 = clRed clYellow\ntext \n"},
    {"FormulaShowsWhatCalcCellGives",
     "cell 2 2 =1+2\n"
     "paint 2 2\n",
     "paint 2 2 = clWindow clWindowText\ntext =1+2\n"},
    {"PasswordShowsOneMarkPerCharacter",
     "answer OnIsPasswordCell 2 2 1\n"
     "cell 2 2 한글ab\n"
     "cell 2 3 <b>x</b>y\n"
     "answer OnIsPasswordCell 2 3 1\n"
     "paint 2 2\npaint 2 3\n",
     "paint 2 2 = clWindow clWindowText\ntext ****\n"
     "paint 2 3 = clWindow clWindowText\ntext **\n"},
    {"OnlyTheFirstLineWithoutMultilinecells",
     "cell 2 3 a\\r\\nb\n"
     "paint 2 3\n"
     "set Multilinecells 1\n"
     "paint 2 3\n",
     "paint 2 3 = clWindow clWindowText\ntext a\n"
     "paint 2 3 = clWindow clWindowText\ntext a\\r\\nb\n"},
    {"UrlLosesItsProtocolOnlyWhenShownAndNotFull",
     "cell 2 2 http://x.org/a\n"
     "paint 2 2\n"
     "set URLShow 1\n"
     "paint 2 2\n"
     "set URLFull 1\n"
     "paint 2 2\n",
     "paint 2 2 = clWindow clWindowText\ntext http://x.org/a\n"
     "paint 2 2 = clWindow clWindowText\ntext x.org/a\n"
     "paint 2 2 = clWindow clWindowText\ntext http://x.org/a\n"},
    {"HtmlAndRichTextGoToTheirEngines",
     "cell 2 2 <b>bold</b>\n"
     "cell 2 3 {\\\\rtf1 {\\\\b rich} text}\n"
     "paint 2 2\npaint 2 3\n"
     "set EnableHTML 0\n"
     "paint 2 2\n",
     "paint 2 2 = clWindow clWindowText\nhtml <b>bold</b>\n"
     "paint 2 3 = clWindow clWindowText\nrtf rich text\n"
     "paint 2 2 = clWindow clWindowText\ntext <b>bold</b>\n"},
    {"GraphicsThatDrawTheTextThemselvesHideIt",
     "set EnableGraphics 1\n"
     "cell 2 2 Y\n"
     "call AddCheckBox 2 2 0 1\n"
     "cell 3 2 40\n"
     "call AddProgress 3 2 clBlue clWhite\n"
     "call AddCheckBox 1 2 1 0\n"
     "cell 1 2 on\n"
     "paint 2 2\npaint 3 2\npaint 1 2\n",
     "AddCheckBox 2 2 0 1 =\n"
     "AddProgress 3 2 clBlue clWhite =\n"
     "AddCheckBox 1 2 1 0 =\n"
     "paint 2 2 = clWindow clWindowText\n"
     "paint 3 2 = clWindow clWindowText\n"
     "paint 1 2 = clWindow clWindowText\ntext on\n"},
    {"SortMarkNeedsItsColumnTheHeaderRowAndMoreThanTwoRows",
     "set SortShow 1\n"
     "call SortIndicatorShown 0 0\n"
     "set SortFixedCols 1\n"
     "call SortIndicatorShown 0 0\n"
     "set SortColumn 2\n"
     "call SortIndicatorShown 2 0\n"
     "call SortIndicatorShown 1 0\n"
     "call SortIndicatorShown 2 1\n"
     "set RowCount 2\n"
     "call SortIndicatorShown 2 0\n",
     "SortIndicatorShown 0 0 = false\n"
     "SortIndicatorShown 0 0 = true\n"
     "SortIndicatorShown 2 0 = true\n"
     "SortIndicatorShown 1 0 = false\n"
     "SortIndicatorShown 2 1 = false\n"
     "SortIndicatorShown 2 0 = false\n"},
    {"LaterSortIndexColumnsShowTheirMarkOnlyWithSortIndexShow",
     "set SortShow 1\n"
     "set SortColumn 1\n"
     "sortindex 2 asc\n"
     "sortindex 3 desc\n"
     "call SortIndicatorShown 2 0\n"
     "call SortIndicatorShown 3 0\n"
     "set SortIndexShow 1\n"
     "call SortIndicatorShown 3 0\n"
     "call SortIndicatorShown 4 0\n",
     "SortIndicatorShown 2 0 = true\n"
     "SortIndicatorShown 3 0 = false\n"
     "SortIndicatorShown 3 0 = true\n"
     "SortIndicatorShown 4 0 = false\n"},
    {"FootersAndRightColumnsAreFixed",
     "set ColCount 3\n"
     "set RowCount 4\n"
     "set FixedFooters 1\n"
     "call IsFixed 1 3\n"
     "call IsFixed 1 2\n"
     "set FixedRightCols 1\n"
     "call IsFixed 2 1\n"
     "paint 2 1\n",
     "IsFixed 1 3 = true\n"
     "IsFixed 1 2 = false\n"
     "IsFixed 2 1 = true\n"
     "paint 2 1 = clBtnFace clWindowText\ntext \n"},
    {"CellOutOfViewIsNotPainted",
     "set RowCount 500\n"
     "paint 1 400\n",
     "paint 1 400 = out of view\n"},
    {"MetricsCountLinesAndLongestLines",
     "set Multilinecells 1\n"
     "cell 3 2 a\\r\\nbb\\r\\nccc\n"
     "call MaxLinesInRow 2\n"
     "call MaxLinesInGrid\n"
     "call MaxCharsInCol 3\n"
     "call MaxCharsInCol 4\n"
     "call HideColumn 3\n"
     "call MaxLinesInRow 2\n"
     "set Multilinecells 0\n"
     "call UnhideColumn 3\n"
     "call MaxLinesInRow 2\n"
     "call MapFontHeight 10\n"
     "call MapFontSize 35\n",
     "MaxLinesInRow 2 = 3\n"
     "MaxLinesInGrid = 3\n"
     "MaxCharsInCol 3 = 3\n"
     "MaxCharsInCol 4 = 0\n"
     "HideColumn 3 =\n"
     "MaxLinesInRow 2 = 1\n"
     "UnhideColumn 3 =\n"
     "MaxLinesInRow 2 = 1\n"
     "MapFontHeight 10 = -35\n"
     "MapFontSize 35 = 9\n"},
};
INSTANTIATE_TEST_SUITE_P(Cells, GridRunPaint, ::testing::ValuesIn(kPaints),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(GridRunPaint, PngIsTheFormsClientArea)
{
    const TScratchFolder folder("gridrun-paint");
    const std::string file = folder.File("paint.png");
    const TRun run = GridRun("cell 1 1 x\npng " + file + "\n", false, "--width 200 --height 120");
    EXPECT_EQ(run.Status, 0);
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    // The width and height stand big-endian at bytes 16 and 20 of the header.
    const auto word = [&](size_t at) {
        unsigned value = 0;
        for (size_t i = at; i < at + 4; ++i)
            value = value << 8 | static_cast<unsigned char>(bytes[i]);
        return value;
    };
    EXPECT_EQ(word(16), 200u);
    EXPECT_EQ(word(20), 120u);
}

// The row indicator a caller sets shows in column 0 of the current row and follows it as the
// user moves down with the keyboard.
TEST(GridRunPaint, TheRowIndicatorFollowsTheCurrentRow)
{
    const TScratchFolder folder("gridrun-paint");
    const std::string dir = folder.Path() + "/";
    // A red square on white: the corner pixel's colour is the mark's transparent one.
    QImage mark(8, 8, QImage::Format_RGB32);
    mark.fill(Qt::white);
    for (int y = 1; y < 7; ++y)
        for (int x = 1; x < 7; ++x)
            mark.setPixelColor(x, y, Qt::red);
    ASSERT_TRUE(mark.save(QString::fromStdString(dir + "gridrun_mark.bmp")));
    const TRun run = GridRun("set RowIndicator " + dir + "gridrun_mark.bmp\n? RowIndicator\nfocus\npng " + dir +
                                 "gridrun_row1.png\nkey VK_DOWN\npng " + dir + "gridrun_row2.png\n",
                             true, "--width 200 --height 120");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "RowIndicator = 8x8\n");
    // The form's client area holds the grid at its origin: rows of 21 pixels and lines of 1,
    // the mark at the left edge of column 0, centred in the row.
    const auto redAt = [&](const char* file, int row) {
        const QImage shot(QString::fromStdString(dir + file));
        return !shot.isNull() && shot.pixelColor(3, row * 22 + 10) == QColor(Qt::red);
    };
    EXPECT_TRUE(redAt("gridrun_row1.png", 1));
    EXPECT_FALSE(redAt("gridrun_row1.png", 2));
    EXPECT_FALSE(redAt("gridrun_row2.png", 1));
    EXPECT_TRUE(redAt("gridrun_row2.png", 2));
}
