// Keys, mouse, wheel, focus and the timer driven through gridrun: which events fire, in which
// order and with which arguments, and what the grid holds afterwards.

#include "tests/grid/tool/GridRunSupport.h"

namespace {

struct TInputCase {
    const char* name;
    const char* directives;
    const char* out;
};
void PrintTo(const TInputCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class GridRunInput : public ::testing::TestWithParam<TInputCase> {};

TEST_P(GridRunInput, Prints)
{
    const TRun run = GridRun(GetParam().directives, true);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, GetParam().out);
}

const TInputCase kInput[] = {
    // The large-text hint measured the raw text, tags included: an HTML cell that fits its
    // column showed a hint.
    {"RegressionTheLargeTextHintMeasuresTheTextAsShown",
     "width 1 60\nset HintShowLargeText 1\ncell 1 1 <B>short</B> <I>a</I><FONT color=\"red\"></FONT>\n"
     "cell 2 1 a much longer plain text\nhint 1 1\nhint 2 1\n",
     "hint 1 1 = none\nhint 2 1 = a much longer plain text\n"},
    {"DeleteOnTheOnlyDataRowEmptiesIt",
     "set RowCount 2\nblock 0 0 h\\tA\\n1\\ta\n"
     "set Navigation.AllowDeleteRow true\n"
     "events OnKeyDown,OnCanDeleteRow,OnAutoDeleteRow,OnKeyPress\nfocus\nkey VK_DELETE\n? RowCount\n? Cells 1 1\n",
     "event OnKeyDown 46 []\nevent OnCanDeleteRow 1 true\nevent OnAutoDeleteRow 1\nRowCount = 2\nCells 1 1 = \n"},
    {"OnKeyDownSettingKeyToZeroKeepsTheRow",
     "set Navigation.AllowDeleteRow true\nanswer OnKeyDown 0\nevents OnCanDeleteRow\nfocus\nkey VK_DELETE\n"
     "? RowCount\n",
     "RowCount = 5\n"},
    {"InsertAfterMakesTheNewRowCurrent",
     "set Navigation.AllowInsertRow true\nset Navigation.InsertPosition pInsertAfter\nset Row 3\n"
     "events OnCanInsertRow,OnAutoInsertRow,OnSelectCell\nfocus\nkey VK_INSERT\n? Row\n? RowCount\n",
     "event OnSelectCell 1 3 true\nevent OnCanInsertRow 3 true\nevent OnAutoInsertRow 4\n"
     "event OnSelectCell 1 4 true\nRow = 4\nRowCount = 6\n"},
    {"SpaceAndClickOnACheckBoxWithoutEditRightsChangeNothing",
     "set EnableGraphics true\ncall AddCheckBox 1 1 false false\n"
     "events OnCheckBoxClick,OnCheckBoxMouseUp\nfocus\nkey VK_SPACE\nclick 1 1\ncall GetCheckBoxState 1 1\n",
     "AddCheckBox 1 1 false false =\nevent OnCheckBoxMouseUp 1 1 false\nGetCheckBoxState 1 1 = true false\n"},
    {"OnCanEditCellLetsSpaceAndClickFlipTheCheckBox",
     "set EnableGraphics true\ncall AddCheckBox 1 1 false false\nanswer OnCanEditCell * * true\n"
     "events OnCheckBoxClick,OnCheckBoxMouseUp\nfocus\nkey VK_SPACE\nclick 1 1\n",
     "AddCheckBox 1 1 false false =\nevent OnCheckBoxClick 1 1 true\nevent OnCheckBoxClick 1 1 false\n"
     "event OnCheckBoxMouseUp 1 1 false\n"},
    {"EscapeNeverReachesOnKeyPress", "events OnKeyPress,OnKeyDown\nfocus\nkey VK_ESCAPE\nkey x\n",
     "event OnKeyDown 27 []\nevent OnKeyDown 88 []\nevent OnKeyPress x\n"},
    {"FocusInFiresOnEnterThenOnSelectCell", "events OnEnter,OnSelectCell\nset Row 2\nfocus\n? Focused\n",
     "event OnSelectCell 1 2 true\nevent OnEnter\nevent OnSelectCell 1 2 true\nFocused = true\n"},
    {"ArrowsMoveAndClickFollows", "events OnSelectCell,OnClick\nfocus\nkey VK_DOWN\nkey VK_END ssCtrl\n? Col\n? Row\n",
     "event OnSelectCell 1 1 true\nevent OnSelectCell 1 2 true\nevent OnClick\nevent OnSelectCell 4 4 true\n"
     "event OnClick\nCol = 4\nRow = 4\n"},
    {"DoubleClickBelowTheRowsReportsMinusOne",
     "events OnDblClickCell,OnDblClick\nmouse dbl left 5 400\nmouse up left 5 400\n",
     "event OnDblClick\nevent OnDblClickCell -1 -1\n"},
    {"DoubleClickInACellReportsRowThenColumn", "events OnDblClickCell\ndblclick 3 2\n", "event OnDblClickCell 2 3\n"},
    {"DoubleClickOnAHeaderBorderFiresNoCellEvent",
     "set Options +goColSizing\nevents OnDblClickCell,OnDblClick\nmouse dbl left 64 10\nmouse up left 64 10\n", ""},
    {"AClickIsNeverADoubleClick", "events OnDblClickCell,OnClickCell\nclick 2 2\nclick 2 2\n",
     "event OnClickCell 2 2\nevent OnClickCell 2 2\n"},
    {"RowDraggedByItsFixedCellFiresOnRowMoved",
     "set Options +goRowMoving\nblock 0 1 1\\ta\\n2\\tb\\n3\\tc\\n4\\td\nevents OnRowMoved\n"
     "mouse down left 10 30\nmouse move left 10 90\nmouse up left 10 90\n? Cells 1 4\n",
     "event OnRowMoved 1 4\nCells 1 4 = a\n"},
    // Column 1 dragged onto column 3 past hidden column 2: the event names the real columns,
    // the hidden column stays hidden and the sort column follows its cells.
    {"ColumnDraggedPastAHiddenColumnMovesItsRealCells",
     "set Options +goColMoving\nblock 0 0 h0\\th1\\th2\\th3\\th4\\nr\\ta\\tb\\tc\\td\ncall HideColumn 2\n"
     "set SortColumn 4\nevents OnColumnMoved\nmouse down left 96 10\nmouse move left 150 10\n"
     "mouse move left 240 10\nmouse up left 240 10\n? Cells 4 1\ncall IsHiddenColumn 1\n? SortColumn\n",
     "HideColumn 2 =\nevent OnColumnMoved 1 4\nCells 4 1 = a\nIsHiddenColumn 1 = true\nSortColumn = 3\n"},
    {"CaretPositioningPutsTheEditorsCaretUnderThePress",
     "set Options +goEditing\nset MouseActions.DirectEdit true\nset MouseActions.CaretPositioning true\n"
     "width 1 200\ncell 1 1 abcdefghij\nfocus\nmouse down left 100 36\nmouse up left 100 36\ntype X\n? editor\n",
     "editor = TCgInplaceEdit abcdeXfghij\n"},
    {"WithoutCaretPositioningTheEditorTakesTheWholeText",
     "set Options +goEditing\nset MouseActions.DirectEdit true\nwidth 1 200\ncell 1 1 abcdefghij\nfocus\n"
     "mouse down left 100 36\nmouse up left 100 36\ntype X\n? editor\n",
     "editor = TCgInplaceEdit X\n"},
    {"WheelStopsAboveTheFooters", "set RowCount 6\nset FixedFooters 1\nset Row 3\nwheel 5\n? Row\nwheel -9\n? Row\n",
     "Row = 4\nRow = 1\n"},
    {"CtrlWheelZoomsWithinItsLimits",
     "wheel 1 ssCtrl\n? ZoomLevel\n? RowHeights 1\ncall Zoom 7\ncall Zoom 1\n? ZoomLevel\ncall Zoom -25\n? ZoomLevel\n",
     "ZoomLevel = 3\nRowHeights 1 = 24\nZoom 7 =\nZoom 1 =\nZoomLevel = 10\nZoom -25 =\nZoomLevel = 10\n"},
    {"WithoutEnableWheelThePlainWheelDoesNothing", "set EnableWheel false\nwheel 2\n? Row\n", "Row = 1\n"},
    {"GetCellsExReadsHiddenRowsByTheirRealIndex",
     "block 0 1 1\\ta\\n2\\tb\\n3\\tc\ncall HideRow 2\ncall GetCellsEx 1 2\ncall GetCellsEx 1 3\n",
     "HideRow 2 =\nGetCellsEx 1 2 = b\nGetCellsEx 1 3 = c\n"},
    {"FindWithEmptyOptionsWalksColumnByColumn",
     "block 1 1 x\\tkey\\n\\t\\nKEY\ncall FindFirst key []\ncall FindNext\ncall FindNext\n",
     "FindFirst key [] = 1 3\nFindNext = 2 1\nFindNext = -1 -1\n"},
    {"IncrementalSearchMovesToTheTypedRow",
     "block 1 1 apple\\nbanana\\nbb\nset Navigation.AutoGotoWhenSorted true\n"
     "set Navigation.AutoGotoIncremental true\nfocus\nkey b\nkey b\n? Row\nkey VK_BACK\n? Row\n? SearchText\n",
     "Row = 3\nRow = 2\nSearchText = B\n"},
    {"TickBlinksAndHoveringNeedsTheActiveWindow", "tick\n? Row\n", "Row = 1\n"},
    {"VersionIsOneAndOnePointZero", "call GetVersionNr\ncall GetVersionString\n",
     "GetVersionNr = 1\nGetVersionString = 1.0\n"},
};
INSTANTIATE_TEST_SUITE_P(Scenarios, GridRunInput, ::testing::ValuesIn(kInput),
                         [](const auto& row) { return std::string(row.param.name); });
