// The gridrun tool: directives in, printed lines out, one named case a row.

#include "tests/grid/tool/GridRunSupport.h"

class GridRunTool : public ::testing::TestWithParam<TGridRunCase> {};

TEST_P(GridRunTool, Prints)
{
    const TRun run = GridRun(GetParam().directives);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, GetParam().out);
}

const TGridRunCase kRuns[] = {
    {"HtmlPlainTextOfMeasuredCell", "htmlplain <B>굵게</B> <A href=\"x\">link</A><BR>a<#b>c &amp;lt;\n",
     "htmlplain = 굵게 link\\ra#bc &lt;\n"},
    {"DumpShowsHiddenColumnsAndEscapes",
     "block 0 0 h\\tA\\tB\\na|b\\t가\\t\\x01\n"
     "call HideColumn 1\n"
     "dump\n",
     "HideColumn 1 =\n"
     "ColCount=4 RowCount=5 FixedCols=1 FixedRows=1 HiddenCols=1 HiddenRows=0\n"
     "0:|h|A|B||\n"
     "1:|a\\|b|가|\\x01||\n"
     "2:|||||\n3:|||||\n4:|||||\n"},
    {"ValuesPrintByKind",
     "set Bands.Active 1\n"
     "set Options -goRangeSelect\n"
     "set Options +[goRowSelect,goEditing]\n"
     "set FloatFormat \"%.1f kg\"\n"
     "call SetFloats 1 1 2.25\n"
     "? Bands.Active\n? Bands.PrimaryColor\n? VAlignment\n? Options\n? Cells 1 1\n? Floats 1 1\n? RowHeights 1\n",
     "SetFloats 1 1 2.25 =\n"
     "Bands.Active = true\n"
     "Bands.PrimaryColor = clInfoBk\n"
     "VAlignment = vtaTop\n"
     "Options = [goFixedVertLine,goFixedHorzLine,goVertLine,goHorzLine,goEditing,goRowSelect]\n"
     "Cells 1 1 = 2.3 kg\n"
     "error: ECellGridError: Cell does not contain integer value\n"
     "RowHeights 1 = 21\n"},
    {"CallPrintsResultThenVarParameters",
     "call GetToken \"a b,c\" ,\n"
     "call NameToCell R2C3\n"
     "call RectString 1,2,3,4\n"
     "call VarPos b abc\n"
     "call SinglePos \\\" \"a\\\"b\"\n"
     "call Matches a*c abc\n"
     "call LinesInText a\\rb 1\n",
     "GetToken \"a b,c\" , = \"a b\" c\n"
     "NameToCell R2C3 = true 3 2\n"
     "RectString 1,2,3,4 = [1:2][3:4]\n"
     "VarPos b abc = 2 2\n"
     "SinglePos \"\\\"\" \"a\\\"b\" = 2\n"
     "Matches a*c abc = true\n"
     "LinesInText a\\rb 1 = 2\n"},
    {"ListArgumentsAndHeaders",
     "call SetColumnHeaders one,two,\n"
     "? ColumnHeaders\n"
     "dump\n",
     "SetColumnHeaders one,two, =\n"
     "ColumnHeaders = one,two,\n"
     "ColCount=5 RowCount=5 FixedCols=1 FixedRows=1 HiddenCols=0 HiddenRows=0\n"
     "0:|one|two|||\n1:|||||\n2:|||||\n3:|||||\n4:|||||\n"},
    {"ErrorsPrintTheirClassAndTheRunGoesOn",
     "set Row 9\n"
     "call GetPrintColWidth 300\n"
     "? Row\n",
     "error: EInvalidGridOperation: Grid index out of range\n"
     "error: ECellGridError: Columns is not in valid range\n"
     "Row = 1\n"},
    {"EventsPrintAsPassedAndAnswersBindByColumnAndRow",
     "events OnGetAlignment,OnRowMoved\n"
     "answer OnGetAlignment 2 * taCenter\n"
     "call GetCellAlign 2 3\n"
     "call GetCellAlign 1 3\n"
     "call MoveRow 1 2\n"
     "events off\n"
     "call GetCellAlign 2 1\n"
     "answer OnGetAlignment off\n"
     "call GetCellAlign 2 1\n",
     "event OnGetAlignment 3 2 taLeftJustify\n"
     "GetCellAlign 2 3 = taCenter\n"
     "event OnGetAlignment 3 1 taLeftJustify\n"
     "GetCellAlign 1 3 = taLeftJustify\n"
     "event OnRowMoved 1 2\n"
     "MoveRow 1 2 =\n"
     "GetCellAlign 2 1 = taCenter\n"
     "GetCellAlign 2 1 = taLeftJustify\n"},
    {"ColourQueryTakesBandsAndAnswers",
     "set Bands.Active 1\n"
     "cellcolor 1 2\n"
     "answer OnGetCellColor 1 1 clRed - [fsBold]\n"
     "events OnGetCellColor\n"
     "cellcolor 1 1\n"
     "printcolor 1 1\n",
     "cellcolor 1 2 = clWindow clWindowText\n"
     "event OnGetCellColor 1 1 [] clInfoBk clWindowText []\n"
     "cellcolor 1 1 = clRed clWindowText\n"
     "printcolor 1 1 = clWindow clWindowText\n"},
    {"LocaleChangesHowNumbersRead",
     "cell 1 1 1.234,5\n"
     "locale . dd.mm.yyyy , .\n"
     "call GetFloats 1 1\n"
     "call StrToDateByFormat 5.3.2024\n",
     "GetFloats 1 1 = 1234.5\n"
     "StrToDateByFormat 5.3.2024 = true 45356\n"},
    {"NewGridStartsAfresh",
     "set RowCount 2\n"
     "new\n"
     "? RowCount\n",
     "RowCount = 5\n"},
    {"ExtrasAreReachedWithCall",
     "set EnableGraphics 1\n"
     "call AddCheckBox 1 2 1 0\n"
     "call GetCheckBoxState 1 2\n"
     "call CreatePicture 3 1 0 Stretch 0 haLeft vaTop\n"
     "call AddFilePicture 3 2 /nowhere/x.png 0 noStretch 0 haLeft vaTop\n",
     "AddCheckBox 1 2 1 0 =\n"
     "GetCheckBoxState 1 2 = true true\n"
     "CreatePicture 3 1 0 Stretch 0 haLeft vaTop = TPicture\n"
     "error: EFOpenError: Cannot open file \"/nowhere/x.png\"\n"},
    {"FilterHidesTheRowsThatFail",
     "block 0 0 h\\tn\\na\\t1\\nb\\t5\\nc\\t2\\nd\\t7\n"
     "filter 1 >4\n"
     "set FilterActive 1\n"
     "dump\n"
     "filter clear\n"
     "set FilterActive 0\n"
     "? RowCount\n",
     "ColCount=5 RowCount=3 FixedCols=1 FixedRows=1 HiddenCols=0 HiddenRows=2\n"
     "0:|h|n|||\n"
     "1:|b|5|||\n"
     "2:|d|7|||\n"
     "RowCount = 5\n"},
    // A check box on a row the filter hid is read by the row's real index.
    {"ObjectsByRealRowReachAHiddenRow",
     "call AddCheckBox 1 3 1 0\ncell 2 3 x\ncell 2 1 y\nfilter 2 y\nset FilterActive 1\ncall GetObjectsEx 1 3\n"
     "? Objects 1 2\ncall GetObjectsEx 1 1\n",
     "AddCheckBox 1 3 1 0 =\nGetObjectsEx 1 3 = TCellGraphic\nObjects 1 2 = nil\nGetObjectsEx 1 1 = nil\n"},
    // Set by real row: into the kept line of a row the filter hid, which shows it again.
    {"RegressionSetObjectsExIsReachable",
     "cell 2 3 x\ncell 2 1 y\nfilter 2 y\nset FilterActive 1\ncall SetObjectsEx 1 3 obj\ncall SetObjectsEx 1 1 obj\n"
     "call GetObjectsEx 1 3\n? Objects 1 1\ncall SetObjectsEx 1 1 nil\n? Objects 1 1\nset FilterActive 0\n"
     "? Objects 1 3\n",
     "SetObjectsEx 1 3 obj =\nSetObjectsEx 1 1 obj =\nGetObjectsEx 1 3 = TObject\nObjects 1 1 = TObject\n"
     "SetObjectsEx 1 1 nil =\nObjects 1 1 = nil\nObjects 1 3 = TObject\n"},
    // A caller's round of a cell through the grid's rich edit: CellToRich, a shift of some
    // characters, RichToCell; the cell then paints as rich text.
    {"RichEditShiftsCharactersOfACellDownAndBack",
     "cell 2 2 H2O\nrich 2 2 1 1 subscript\n? Cells 2 2\npaint 2 2\nrich 2 2 0 3 normal\n? Cells 2 2\n"
     "rich 2 2 2 1 superscript\n? Cells 2 2\n",
     "Cells 2 2 = {\\\\rtf1\\\\ansi\\\\ansicpg949\\\\deff0\\\\uc1{\\\\fonttbl{\\\\f0\\\\fnil\\\\fcharset129 MS Sans "
     "Serif;}}{\\\\colortbl ;}\\n{\\\\f0\\\\fs16 H}{\\\\f0\\\\fs16\\\\dn4 2}{\\\\f0\\\\fs16 O}}\n"
     "paint 2 2 = clWindow clWindowText\nrtf H2O\n"
     "Cells 2 2 = {\\\\rtf1\\\\ansi\\\\ansicpg949\\\\deff0\\\\uc1{\\\\fonttbl{\\\\f0\\\\fnil\\\\fcharset129 MS Sans "
     "Serif;}}{\\\\colortbl ;}\\n{\\\\f0\\\\fs16 H2O}}\n"
     "Cells 2 2 = {\\\\rtf1\\\\ansi\\\\ansicpg949\\\\deff0\\\\uc1{\\\\fonttbl{\\\\f0\\\\fnil\\\\fcharset129 MS Sans "
     "Serif;}}{\\\\colortbl ;}\\n{\\\\f0\\\\fs16 H2}{\\\\f0\\\\fs16\\\\up4 O}}\n"},
    // The row a filter that matches nothing keeps went below the footer: the footer showed as
    // the current data row and the empty row was painted as the footer.
    {"RegressionFilteringToNothingKeepsTheFooterAFooter",
     "block 0 0 h\\tn\\na\\t1\\nb\\t5\\nc\\t2\\nsum\\t8\n"
     "set FixedFooters 1\n"
     "filter 1 9\n"
     "focus\n"
     "set FilterActive 1\n"
     "dump\n"
     "? Row\n"
     "paint 1 1\n"
     "paint 1 2\n"
     "set FilterActive 0\n"
     "dump\n",
     "ColCount=5 RowCount=3 FixedCols=1 FixedRows=1 HiddenCols=0 HiddenRows=3\n"
     "0:|h|n|||\n1:|||||\n2:|sum|8|||\n"
     "Row = 1\n"
     "paint 1 1 = clWindow clWindowText\ntext \n"
     "paint 1 2 = clBtnFace clWindowText\ntext 8\n"
     "ColCount=5 RowCount=5 FixedCols=1 FixedRows=1 HiddenCols=0 HiddenRows=0\n"
     "0:|h|n|||\n1:|a|1|||\n2:|b|5|||\n3:|c|2|||\n4:|sum|8|||\n"},
};
INSTANTIATE_TEST_SUITE_P(Directives, GridRunTool, ::testing::ValuesIn(kRuns),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(GridRunTool, BadDirectiveStopsTheRunWithItsLine)
{
    const TRun run = GridRun("? ColCount\n\n# comment\nset NoSuchThing 1\n? RowCount\n", true);
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "ColCount = 5\ngridrun: line 4: no property NoSuchThing\n");
}
