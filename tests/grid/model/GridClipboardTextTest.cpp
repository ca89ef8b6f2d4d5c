// The clipboard's text rules without a window: copy text, paste size, pasting with growth and
// editability, and the smart fill. One named case a row.

#include "grid/model/GridClipboardText.h"

#include "grid/model/Cgutil.h"
#include "tests/grid/model/GridModelSupport.h"

namespace {

const TPasteSettings kGrow;
const TCellEditable kAll = [](int, int) { return true; };

TPasteSettings NoGrow()
{
    TPasteSettings s;
    s.AllowClipboardColGrow = s.AllowClipboardRowGrow = false;
    return s;
}

// Pastes into a grid from Fill's text; gives the count, the rectangle, the counts and the cells.
std::string Pasted(std::string_view rows, int col, int row, std::string_view text, TPasteSettings settings = kGrow,
                   TCellEditable editable = kAll)
{
    TCellModel grid;
    Fill(grid, rows);
    TGridRect rect{};
    const int count =
        PasteText(grid, col, row, PasteLineEnds(text, settings.ClipboardCSVLines), settings, editable, rect);
    return std::to_string(count) + " [" + RectString(TRect{rect.Left, rect.Top, rect.Right, rect.Bottom}) + "] " +
        std::to_string(grid.ColCount()) + "x" + std::to_string(grid.RowCount()) + " " + Dump(grid);
}

// Pastes Text at the selection's top-left cell and fills the selection.
std::string Filled(std::string_view rows, TGridRect selection, std::string_view text, TCellEditable editable = kAll)
{
    TCellModel grid;
    Fill(grid, rows);
    TGridRect rect{};
    const int count = PasteText(grid, selection.Left, selection.Top, text, kGrow, editable, rect);
    SmartFill(grid, selection, count, editable);
    return Dump(grid);
}

std::string Size(std::string_view text)
{
    const TPoint p = PasteSize(text);
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

}  // namespace

class GridClipboard : public KoreanLocale, public ::testing::WithParamInterface<TTextCase> {};
TEST_P(GridClipboard, Gives) { EXPECT_EQ(GetParam().got(), GetParam().want); }

const TTextCase kClipboard[] = {
    {"CopyJoinsCellsWithTabsAndEndsRowsWithCrLf",
     [] {
         return ClipboardText(TGridRect{0, 0, 1, 1}, [](int c, int r) { return std::string(1, "abcd"[r * 2 + c]); });
     },
     "a\tb\r\nc\td\r\n"},
    {"CsvLinesQuoteAMultiLineCellWithLf", [] { return CSVLinesPiece("x\r\ny"); }, "\"x\ny\""},
    {"PasteSizeCountsCellsAndLinesEndedByCr", [] { return Size("a\tb\r\nc"); }, "2,1"},
    {"PasteSizeOfLongestLine", [] { return Size("a\r\nb\tc\td\r\n"); }, "3,2"},
    {"PasteWritesFromTheStartCell", [] { return Pasted("h|h|h/x|y|z", 1, 1, "a\tb"); },
     "2 [[1:1][2:1]] 3x2 h|h|h/x|a|b"},
    {"PasteSingleValueWithoutLineEndCountsOne", [] { return Pasted("h|h/x|y", 1, 1, "v"); },
     "1 [[1:1][1:1]] 2x2 h|h/x|v"},
    {"PasteSingleValueWithCrLfCountsOne", [] { return Pasted("h|h/x|y", 1, 1, "v\r\n"); },
     "1 [[1:1][1:1]] 2x3 h|h/x|v/|"},
    {"PasteAtTheLastColumnGrowsTheColumns",
     [] { return Pasted("h|h|h|h|h/x|x|x|x|x", 4, 1, "a\tb\tc\r\nd\te\tf\r\n"); },
     "6 [[4:1][6:2]] 7x4 h|h|h|h|h||/x|x|x|x|a|b|c/||||d|e|f/||||||"},
    {"PasteWithoutColumnGrowthDropsWhatLiesPastTheGrid",
     [] { return Pasted("h|h|h/x|x|x", 2, 1, "a\tb\tc", NoGrow()); }, "3 [[2:1][4:1]] 3x2 h|h|h/x|x|a"},
    {"PasteThreeLinesAtTheLastRowGrowsThreeRows", [] { return Pasted("h/1/2/3/4", 0, 4, "a\r\nb\r\nc\r\n"); },
     "3 [[0:4][0:6]] 1x8 h/1/2/3/a/b/c/"},
    {"RegressionLfOnlyTextReadsAsCrLf", [] { return Pasted("h|h/x|y", 0, 1, "a\tb\nc\td\n"); },
     "4 [[0:1][1:2]] 2x4 h|h/a|b/c|d/|"},
    {"CsvLinesPieceComesBackWithCrLf",
     [] {
         TPasteSettings s;
         s.ClipboardCSVLines = true;
         return Pasted("h|h/x|y", 0, 1, "\"m\nn\"\tz\r\n", s);
     },
     "2 [[0:1][1:1]] 2x3 h|h/m\r\nn|z/|"},
    {"RegressionCsvLinesPieceLastInItsLineComesBackWithCrLf",
     [] {
         TPasteSettings s;
         s.ClipboardCSVLines = true;
         return Pasted("h|h/x|y", 0, 1, "z\t\"m\nn\"\r\n", s);
     },
     "2 [[0:1][1:1]] 2x3 h|h/z|m\r\nn/|"},
    {"ReadOnlyCellIsSkippedButCounted",
     [] { return Pasted("h|h|h/x|y|z", 0, 1, "a\tb\tc", kGrow, [](int c, int) { return c != 1; }); },
     "3 [[0:1][2:1]] 3x2 h|h|h/a|y|c"},
    {"PasteAtANegativeCellDoesNothing", [] { return Pasted("h/x", -1, 0, "a"); }, "0 [[-1:0][-1:0]] 1x2 h/x"},
    {"RegressionPasteNeverLandsInAHiddenColumn",
     [] {
         TCellModel grid;
         Fill(grid, "h|h|h/x|y|z");
         grid.HideColumn(1);
         TGridRect rect{};
         PasteText(grid, 1, 1, "a\tb\tc", NoGrow(), kAll, rect);
         grid.UnhideColumnsAll();
         return Dump(grid);
     },
     "h|h|h/x|y|a"},
    {"SmartFillContinuesIntegersDownAColumn",
     [] {
         return Filled("h|h/a|/b|/c|/d|/e|", {1, 1, 1, 5}, "1\r\n3\r\n");
     },
     "h|h/a|1/b|3/c|5/d|7/e|9"},
    {"SmartFillCopiesOneValueIntoEveryEditableCell",
     [] {
         return Filled("h|h|h/a||/b||", {1, 1, 2, 2}, "v", [](int c, int r) { return !(c == 2 && r == 2); });
     },
     "h|h|h/a|v|v/b|v|"},
    {"SmartFillContinuesAlongARow",
     [] {
         return Filled("h|h|h|h/a|||", {1, 1, 3, 1}, "10\t20");
     },
     "h|h|h|h/a|10|20|30"},
    {"RegressionSmartFillDecimalsKeepFifteenDigits",
     [] {
         return Filled("h|h/a|/b|/c|/d|/e|", {1, 1, 1, 5}, "0.25\r\n0.5\r\n");
     },
     "h|h/a|0.25/b|0.5/c|0.75/d|1/e|1.25"},
    {"SmartFillDatesNotOnlyMonthsApartStepByTheDays",
     [] {
         return Filled("h|h/a|/b|/c|/d|", {1, 1, 1, 4}, "2024-01-31\r\n2024-02-29\r\n");
     },
     "h|h/a|2024-01-31/b|2024-02-29/c|2024-03-29/d|2024-04-27"},
    {"SmartFillContinuesDatesMonthByMonthKeepingTheDay",
     [] {
         return Filled("h|h/a|/b|/c|/d|", {1, 1, 1, 4}, "2024-01-15\r\n2024-02-15\r\n");
     },
     "h|h/a|2024-01-15/b|2024-02-15/c|2024-03-15/d|2024-04-15"},
    {"SmartFillStopsWhereADayDoesNotExist",
     [] {
         return Filled("h|h/a|/b|/c|/d|/e|/f|", {1, 1, 1, 6}, "2024-01-31\r\n2024-03-31\r\n");
     },
     "h|h/a|2024-01-31/b|2024-03-31/c|2024-05-31/d|2024-07-31/e|/f|"},
    {"SmartFillWithTextLeavesThePaste",
     [] {
         return Filled("h|h/a|/b|/c|", {1, 1, 1, 3}, "x\r\ny\r\n");
     },
     "h|h/a|x/b|y/c|"},
};
INSTANTIATE_TEST_SUITE_P(Text, GridClipboard, ::testing::ValuesIn(kClipboard), CaseName);
