// Editing cells in place through gridrun: every editor type opened on a cell, typed into and
// ended with Enter; the ending keys of the editor controls; validation; the pending key.

#include "tests/grid/tool/GridRunSupport.h"

namespace {

struct TEditCase {
    const char* name;
    const char* directives;
    const char* out;
};
void PrintTo(const TEditCase& c, std::ostream* os) { *os << c.name; }

// The cell holds "12" and the combo the items "12" and "a"; F2 opens the editor, "3b" and Enter
// are typed, and the editor, the cell and the beeps are read.
std::string EditorTypeRun(const char* type)
{
    return std::string("set Options +goEditing\ncell 1 1 12\ncall AddComboString 12\ncall AddComboString a\n"
                       "answer OnGetEditorType * * ") +
        type + "\nlocale - yyyy-mm-dd . ,\nfocus\nkey VK_F2\n? editor\ntype 3b\\r\n? editor\n? Cells 1 1\n? beeps\n";
}

struct TTypeCase {
    const char* name;
    const char* type;
    const char* shown;  // the editor line after F2
    const char* after;  // the editor line, the cell and the beeps after "3b" and Enter
};
void PrintTo(const TTypeCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class GridRunEditorType : public ::testing::TestWithParam<TTypeCase> {};

TEST_P(GridRunEditorType, OpensTakesAndWritesBack)
{
    const TRun run = GridRun(EditorTypeRun(GetParam().type), true);
    EXPECT_EQ(run.Status, 0);
    const std::string out =
        std::string("AddComboString 12 =\nAddComboString a =\n") + GetParam().shown + "\n" + GetParam().after;
    // Dates and times shown for a cell that holds none are today's: only their kind is checked.
    if (std::string(GetParam().shown).find('*') != std::string::npos) {
        const std::string prefix = std::string(GetParam().shown).substr(0, std::string(GetParam().shown).find('*'));
        EXPECT_NE(run.Out.find(prefix), std::string::npos) << run.Out;
        EXPECT_NE(run.Out.find(GetParam().after), std::string::npos) << run.Out;
        return;
    }
    EXPECT_EQ(run.Out, out);
}

const TTypeCase kTypes[] = {
    {"Normal", "edNormal", "editor = TCgInplaceEdit 12", "editor = none\nCells 1 1 = 3b\nbeeps = 0\n"},
    {"SpinEdit", "edSpinEdit", "editor = TGridSpin 12", "editor = none\nCells 1 1 = 3\nbeeps = 1\n"},
    {"ComboEdit", "edComboEdit", "editor = TGridCombo 12", "editor = none\nCells 1 1 = 3b\nbeeps = 0\n"},
    {"ComboList", "edComboList", "editor = TGridCombo 12", "editor = none\nCells 1 1 = 12\nbeeps = 0\n"},
    {"EditBtn", "edEditBtn", "editor = TGridEditBtn 12", "editor = none\nCells 1 1 = 3b\nbeeps = 0\n"},
    {"CheckBox", "edCheckBox", "editor = TGridCheckBox 12 [ ]", "editor = none\nCells 1 1 = 12\nbeeps = 0\n"},
    {"DateEdit", "edDateEdit", "editor = TGridDatePicker *", "editor = none\nCells 1 1 = 12\nbeeps = 0\n"},
    {"DateEditUpDown", "edDateEditUpDown", "editor = TGridDatePicker *", "editor = none\nCells 1 1 = 12\nbeeps = 0\n"},
    {"TimeEdit", "edTimeEdit", "editor = TGridDatePicker *", "editor = none\nCells 1 1 = 12\nbeeps = 0\n"},
    {"Button", "edButton", "editor = TGridButton 12", "editor = TGridButton 12\nCells 1 1 = 12\nbeeps = 0\n"},
    {"DataCheckBoxShowsNothing", "edDataCheckBox", "editor = none", "editor = none\nCells 1 1 = 12\nbeeps = 0\n"},
    {"Numeric", "edNumeric", "editor = TCgInplaceEdit 12", "editor = none\nCells 1 1 = 3\nbeeps = 1\n"},
    {"PositiveNumeric", "edPositiveNumeric", "editor = TCgInplaceEdit 12", "editor = none\nCells 1 1 = 3\nbeeps = 1\n"},
    {"Float", "edFloat", "editor = TCgInplaceEdit 12", "editor = none\nCells 1 1 = 3\nbeeps = 0\n"},
    {"Capital", "edCapital", "editor = TCgInplaceEdit 12", "editor = none\nCells 1 1 = 3B\nbeeps = 0\n"},
    {"MixedCase", "edMixedCase", "editor = TCgInplaceEdit 12", "editor = none\nCells 1 1 = 3b\nbeeps = 0\n"},
    {"Password", "edPassword", "editor = TCgInplaceEdit 12", "editor = none\nCells 1 1 = 3b\nbeeps = 0\n"},
    {"UnitEditBtn", "edUnitEditBtn", "editor = TGridUnitEditBtn 12", "editor = none\nCells 1 1 = 3b\nbeeps = 0\n"},
    {"LowerCase", "edLowerCase", "editor = TCgInplaceEdit 12", "editor = none\nCells 1 1 = 3b\nbeeps = 0\n"},
    {"UpperCase", "edUpperCase", "editor = TCgInplaceEdit 12", "editor = none\nCells 1 1 = 3B\nbeeps = 0\n"},
    {"FloatSpinEdit", "edFloatSpinEdit", "editor = TGridSpin 12", "editor = none\nCells 1 1 = 3\nbeeps = 1\n"},
    {"TimeSpinEdit", "edTimeSpinEdit", "editor = TGridSpin *", "editor = none\nCells 1 1 = 3\nbeeps = 1\n"},
    {"DateSpinEdit", "edDateSpinEdit", "editor = TGridSpin *", "editor = none\nCells 1 1 = 3\nbeeps = 1\n"},
    {"NumericEditBtn", "edNumericEditBtn", "editor = TGridEditBtn 12", "editor = none\nCells 1 1 = 3\nbeeps = 1\n"},
    {"FloatEditBtn", "edFloatEditBtn", "editor = TGridEditBtn 12", "editor = none\nCells 1 1 = 3\nbeeps = 0\n"},
    {"CustomWithoutALinkShowsNothing", "edCustom", "editor = none", "editor = none\nCells 1 1 = 12\nbeeps = 0\n"},
};

INSTANTIATE_TEST_SUITE_P(Types, GridRunEditorType, ::testing::ValuesIn(kTypes),
                         [](const ::testing::TestParamInfo<TTypeCase>& i) { return std::string(i.param.name); });

// Each editor control's ending keys: the cell holds "5" and the combo the item "5"; F2 opens the
// editor of the type, the key is pressed, and the editor still shown (or none) is read.
struct TEndCase {
    const char* name;
    const char* type;
    const char* key;  // with its shift state, as the key directive takes it
    bool ends;
};
void PrintTo(const TEndCase& c, std::ostream* os) { *os << c.name; }

class GridRunEndingKey : public ::testing::TestWithParam<TEndCase> {};

TEST_P(GridRunEndingKey, EndsTheEditOrStays)
{
    const TRun run = GridRun(std::string("set Options +goEditing\ncell 1 2 5\ncall AddComboString 5\nset Row 2\n"
                                         "answer OnGetEditorType 1 2 ") +
                                 GetParam().type + "\nfocus\nkey VK_F2\nkey " + GetParam().key + "\n? editor\n",
                             true);
    EXPECT_EQ(run.Status, 0);
    const bool none = run.Out.find("editor = none") != std::string::npos;
    EXPECT_EQ(none, GetParam().ends) << run.Out;
}

const TEndCase kEndingKeys[] = {
    {"ComboEditEndsOnHome", "edComboEdit", "VK_HOME", true},
    {"ComboEditEndsOnTab", "edComboEdit", "VK_TAB", true},
    {"ComboEditKeepsLeft", "edComboEdit", "VK_LEFT", false},
    {"ComboListEndsOnPageDown", "edComboList", "VK_NEXT", true},
    {"ComboListKeepsDown", "edComboList", "VK_DOWN", false},
    {"SpinEndsOnDown", "edSpinEdit", "VK_DOWN", true},
    {"SpinEndsOnEscape", "edSpinEdit", "VK_ESCAPE", true},
    {"SpinKeepsPageUpToStep", "edSpinEdit", "VK_PRIOR", false},
    {"SpinKeepsHomeToStep", "edSpinEdit", "VK_HOME", false},
    {"DatePickerEndsOnHome", "edDateEdit", "VK_HOME", true},
    {"DatePickerEndsOnUp", "edDateEditUpDown", "VK_UP", true},
    {"DatePickerKeepsRight", "edDateEdit", "VK_RIGHT", false},
    {"TimePickerEndsOnEnter", "edTimeEdit", "VK_RETURN", true},
    {"CheckBoxEndsOnLeft", "edCheckBox", "VK_LEFT", true},
    {"CheckBoxEndsOnPageUp", "edCheckBox", "VK_PRIOR", true},
    {"CheckBoxKeepsSpace", "edCheckBox", "VK_SPACE", false},
    {"EditButtonEndsOnPageUp", "edEditBtn", "VK_PRIOR", true},
    {"EditButtonKeepsHome", "edEditBtn", "VK_HOME", false},
    {"EditButtonWithCtrlKeepsEnter", "edEditBtn", "VK_RETURN ssCtrl", false},
    {"NumericEditButtonEndsOnDown", "edNumericEditBtn", "VK_DOWN", true},
    {"UnitEditButtonEndsOnEscape", "edUnitEditBtn", "VK_ESCAPE", true},
    {"UnitEditButtonKeepsEnd", "edUnitEditBtn", "VK_END", false},
    {"ButtonEndsOnEscape", "edButton", "VK_ESCAPE", true},
    {"ButtonKeepsEnter", "edButton", "VK_RETURN", false},
};

INSTANTIATE_TEST_SUITE_P(Keys, GridRunEndingKey, ::testing::ValuesIn(kEndingKeys),
                         [](const ::testing::TestParamInfo<TEndCase>& i) { return std::string(i.param.name); });

class GridRunEdit : public ::testing::TestWithParam<TEditCase> {};

TEST_P(GridRunEdit, Prints)
{
    const TRun run = GridRun(GetParam().directives, true);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, GetParam().out);
}

const TEditCase kEdits[] = {
    {"TypedTextOpensTheEditorAndTheCellFollows",
     "set Options +goEditing\ncell 1 1 hello\nfocus\ntype abc\n? editor\n? Cells 1 1\n",
     "editor = TCgInplaceEdit abc\nCells 1 1 = abc\n"},
    {"AHangulSyllableTypedOnTheGridIsThePendingKeyWhole",
     "set Options +goEditing\nfocus\ntype \xED\x95\x9C\xEA\xB8\x80\n? editor\n",  // 한글
     "editor = TCgInplaceEdit \xED\x95\x9C\xEA\xB8\x80\n"},
    {"EscapeRestoresTheTextAndEndsTheEdit",
     "set Options +goEditing\ncell 1 1 old\nfocus\nkey VK_F2\ntype new\n? Cells 1 1\nkey VK_ESCAPE\n? Cells 1 1\n"
     "? editor\n",
     "Cells 1 1 = new\nCells 1 1 = old\neditor = none\n"},
    {"ARefusedValueOnEnterKeepsTheEditorWithTheOldText",
     "set Options +goEditing\ncell 1 1 old\nanswer OnCellValidate 1 1 - 0\nfocus\nkey VK_F2\ntype new\\r\n"
     "? editor\n? Cells 1 1\n",
     "editor = TCgInplaceEdit old\nCells 1 1 = old\n"},
    {"AValidationHandlersValueReplacesTheText",
     "set Options +goEditing\ncell 1 1 old\nanswer OnCellValidate 1 1 NEW 1\nfocus\nkey VK_F2\ntype new\\r\n"
     "? Cells 1 1\n",
     "Cells 1 1 = NEW\n"},
    {"ARefusedValueRefusesTheMove",
     "set Options +goEditing\ncell 1 1 old\nanswer OnCellValidate 1 1 - 0\nfocus\nkey VK_F2\ntype new\n"
     "key VK_DOWN\n? Row\n? editor\n? Cells 1 1\n",
     "Row = 1\neditor = TCgInplaceEdit old\nCells 1 1 = old\n"},
    {"TheLengthLimitDropsWhatPassesIt",
     "set Options +goEditing\nset MaxEditLength 3\nfocus\nkey VK_F2\ntype abcd\n? editor\n? beeps\n",
     "editor = TCgInplaceEdit abc\nbeeps = 0\n"},
    // Both settings reached only the next edit: the open editor took "abcdef" whole and did not
    // wrap.
    {"RegressionMaxEditLengthReachesAnOpenEditor",
     "set Options +goEditing\nfocus\nkey VK_F2\nset MaxEditLength 3\ntype abcdef\n? editor\n? Cells 1 1\n",
     "editor = TCgInplaceEdit abc\nCells 1 1 = abc\n"},
    {"RegressionWordWrapReachesAnOpenEditorWhichKeepsItsCaret",
     "set Options +goEditing\nwidth 1 40\nfocus\nkey VK_F2\ntype ghi jkl mno\nset WordWrap 1\n? editorstate\n"
     "type s\nset WordWrap 0\n? editorstate\ntype t\n? Cells 1 1\n",
     "editorstate = sel 11 0 limit 0 lines 3 wrap true mask \"\"\n"
     "editorstate = sel 12 0 limit 0 lines 1 wrap false mask \"\"\nCells 1 1 = ghi jkl mnost\n"},
    // Edit masks come from OnGetEditMask; "/" is the locale's date separator ("-" here).
    {"AMaskedCellShowsItsMaskAndTakesTheMasksValue",
     "set Options +goEditing\nanswer OnGetEditMask 1 1 !00/00;1;_\ncell 1 1 12\nfocus\nkey VK_F2\n? editorstate\n"
     "type 3\n? editor\n? Cells 1 1\nkey VK_ESCAPE\n? Cells 1 1\n",
     "editorstate = sel 0 5 limit 0 lines 1 wrap false mask !00/00;1;_\neditor = TCgInplaceEdit 3_-__\n"
     "Cells 1 1 = 3 -  \nCells 1 1 = 12\n"},
    {"APasteIntoAMaskIsTypedIntoItUpToARefusedCharacter",
     "set Options +goEditing\nanswer OnGetEditMask 1 1 !00/00;1;_\nclipboard 1x9\nfocus\nkey VK_F2\nkey V ssCtrl\n"
     "? editor\n? beeps\nkey VK_ESCAPE\n",
     "editor = TCgInplaceEdit 1_-__\nbeeps = 1\n"},
    {"ImproveMaskSelSelectsTheFirstPosition",
     "set Options +goEditing\nset Navigation.ImproveMaskSel 1\nanswer OnGetEditMask 1 1 00;1;_\nfocus\nkey VK_F2\n"
     "? editorstate\ntype 7\n? editor\n",
     "editorstate = sel 0 1 limit 0 lines 1 wrap false mask 00;1;_\neditor = TCgInplaceEdit 7_\n"},
    {"AFilledMaskMovesOnByItselfWithAdvanceAuto",
     "set Options +goEditing\nset Navigation.AdvanceAuto 1\nset Navigation.AdvanceOnEnter 1\n"
     "answer OnGetEditMask 1 1 !00/00;1;_\ncell 1 1 12\nfocus\nkey VK_F2\ntype 345\n? Col\ntype 6\n? Cells 1 1\n? Col\n"
     "type 7\n? Cells 2 1\n",
     "Col = 1\nCells 1 1 = 34-56\nCol = 2\nCells 2 1 = 7\n"},
    {"ALimitAbove32767IsNone",
     "set Options +goEditing\nset MaxEditLength 40000\nfocus\nkey VK_F2\ntype abcd\n? editor\n",
     "editor = TCgInplaceEdit abcd\n"},
    {"LookupCompletesFromTheItems",
     "set Options +goEditing\nset Lookup true\nset LookupItems Apple,Apricot\nfocus\ntype apr\n? editor\n",
     "editor = TCgInplaceEdit apricot\n"},
    {"ClickOnTheCurrentCellOpensTheEditor", "set Options +goEditing\ncell 1 1 x\nfocus\nclick 1 1\n? editor\n",
     "editor = TCgInplaceEdit x\n"},
    {"SpinHomeGivesTheMaximumAndEndTheMinimum",
     "set Options +goEditing\ncell 1 1 10\nanswer OnGetEditorType 1 1 edSpinEdit\nevents OnSpinClick\nfocus\n"
     "key VK_F2\nkey VK_HOME\n? editor\nkey VK_END\n? editor\n",
     "event OnSpinClick 1 1 100 true\neditor = TGridSpin 100\nevent OnSpinClick 1 1 0 false\neditor = TGridSpin 0\n"},
    {"SpinPageUpStopsAtTheMaximum",
     "set Options +goEditing\ncell 1 1 100\nanswer OnGetEditorType 1 1 edSpinEdit\nfocus\nkey VK_F2\n"
     "key VK_PRIOR\n? editor\n",
     "editor = TGridSpin 100\n"},
    {"RegressionSpinShowsTheMinimumForANonNumber",
     "set Options +goEditing\ncell 1 1 abc\nanswer OnGetEditorType 1 1 edSpinEdit\nfocus\nkey VK_F2\n? editor\n"
     "key VK_ESCAPE\n? Cells 1 1\n",
     "editor = TGridSpin 0\nCells 1 1 = abc\n"},
    {"SpinEnterWritesAndAdvances",
     "set Options +goEditing\nset Navigation.AdvanceOnEnter true\ncell 1 1 10\n"
     "answer OnGetEditorType 1 1 edSpinEdit\nfocus\nkey VK_F2\nkey VK_PRIOR\nkey VK_RETURN\n? Cells 1 1\n? Col\n",
     "Cells 1 1 = 11\nCol = 2\n"},
    {"RegressionComboListLeavesATextThatIsNoItem",
     "set Options +goEditing\ncell 1 1 zz\nanswer OnGetEditorType 1 1 edComboList\ncall AddComboString a\n"
     "focus\nkey VK_F2\n? editor\nkey VK_RETURN\n? Cells 1 1\n",
     "AddComboString a =\neditor = TGridCombo a\nCells 1 1 = zz\n"},
    {"ComboListShowsTheComboSelection",
     "set Options +goEditing\ncell 1 1 zz\nanswer OnGetEditorType 1 1 edComboList\ncall AddComboString a\n"
     "call AddComboString b\ncall SetComboSelection 1\nfocus\nkey VK_F2\n? editor\n",
     "AddComboString a =\nAddComboString b =\nSetComboSelection 1 =\neditor = TGridCombo b\n"},
    {"ComboListEndsOnRight",
     "set Options +goEditing\nanswer OnGetEditorType 1 1 edComboList\ncall AddComboString a\nfocus\n"
     "key VK_F2\nkey VK_RIGHT\n? editor\n? Col\n",
     "AddComboString a =\neditor = none\nCol = 2\n"},
    {"ComboEditEndsOnUpAndMoves",
     "set Options +goEditing\nset Row 2\nanswer OnGetEditorType 1 * edComboEdit\nfocus\nkey VK_F2\n"
     "type q\nkey VK_UP\n? Row\n? Cells 1 2\n",
     "Row = 1\nCells 1 2 = q\n"},
    {"RegressionUnitCellMixingLettersAndDigitsStaysAsItWas",
     "set Options +goEditing\ncell 1 1 A4 paper\nanswer OnGetEditorType 1 1 edUnitEditBtn\nfocus\nkey VK_F2\n"
     "? editor\nkey VK_RETURN\n? Cells 1 1\n",
     "editor = TGridUnitEditBtn 4A paper\nCells 1 1 = A4 paper\n"},
    {"UnitCellKeepsItsUnit",
     "set Options +goEditing\ncell 1 1 3,5 m\nanswer OnGetEditorType 1 1 edUnitEditBtn\nfocus\nkey VK_F2\n"
     "type 7\\r\n? Cells 1 1\n",
     "Cells 1 1 = 7 m\n"},
    {"RegressionDateCellThatIsNoDateStaysAsItWas",
     "set Options +goEditing\ncell 1 1 soon\nanswer OnGetEditorType 1 1 edDateEdit\nfocus\nkey VK_F2\n"
     "key VK_RETURN\n? Cells 1 1\n",
     "Cells 1 1 = soon\n"},
    {"DatePickerShowsTheCellsDate",
     "set Options +goEditing\ncell 1 1 2024-03-05\nanswer OnGetEditorType 1 1 edDateEditUpDown\n"
     "locale - yyyy-mm-dd . ,\nfocus\nkey VK_F2\n? editor\n",
     "editor = TGridDatePicker 2024-03-05\n"},
    {"EditButtonTakesTheEllipsisAnswer",
     "set Options +goEditing\ncell 1 1 a\nanswer OnGetEditorType 1 1 edEditBtn\nanswer OnEllipsClick 1 1 chosen\n"
     "focus\nkey VK_F2\nkey VK_F4\n? editor\nkey VK_RETURN\n? Cells 1 1\n",
     "editor = TGridEditBtn chosen\nCells 1 1 = chosen\n"},
    {"CheckBoxEditorEndsOnEnterAndLeavesTheCell",
     "set Options +goEditing\nset Navigation.AdvanceOnEnter true\ncell 1 1 yes\n"
     "answer OnGetEditorType 1 1 edCheckBox\nfocus\nkey VK_F2\nkey VK_SPACE\n? editor\nkey VK_RETURN\n? Cells 1 1\n"
     "? Col\n",
     "editor = TGridCheckBox yes [x]\nCells 1 1 = yes\nCol = 2\n"},
    {"TypingOnASpinCellBeepsForALetter",
     "set Options +goEditing\ncell 1 1 5\nanswer OnGetEditorType 1 1 edSpinEdit\nfocus\ntype q\n? editor\n? beeps\n",
     "editor = TGridSpin 5\nbeeps = 1\n"},
    {"CustomEditorInTheCellTakesTheTextAndWritesItBack",
     "set Options +goEditing\ncell 1 1 old\neditlink inplace\nanswer OnGetEditorType 1 1 edCustom\nfocus\n"
     "key VK_F2\n? editor\ntype new\nkey VK_RETURN\n? editor\n? Cells 1 1\n",
     "editor = TEdit old\neditor = none\nCells 1 1 = new\n"},
    {"CustomEditorEscapeRestoresTheCell",
     "set Options +goEditing\ncell 1 1 old\neditlink inplace\nanswer OnGetEditorType 1 1 edCustom\nfocus\n"
     "key VK_F2\ntype new\nkey VK_ESCAPE\n? editor\n? Cells 1 1\n",
     "editor = none\nCells 1 1 = old\n"},
    {"CustomPopupEditorKeepsUpAndDownWhenItWantsThem",
     "set Options +goEditing\ncell 1 1 old\neditlink popup 120 40 WantKeyUpDown\n"
     "answer OnGetEditorType 1 1 edCustom\nfocus\nkey VK_F2\ntype q\nkey VK_DOWN\n? editor\n? Row\n"
     "key VK_RETURN\n? editor\n? Cells 1 1\n",
     "editor = TEdit q\nRow = 1\neditor = none\nCells 1 1 = q\n"},
    {"CustomPopupEditorEndsOnDownAndTheGridMoves",
     "set Options +goEditing\ncell 1 1 old\neditlink popup 120 40\nanswer OnGetEditorType 1 1 edCustom\nfocus\n"
     "key VK_F2\ntype q\nkey VK_DOWN\n? editor\n? Row\n? Cells 1 1\n",
     "editor = none\nRow = 2\nCells 1 1 = q\n"},
    {"RegressionHangulTypedOnASpinCellBeepsOncePerCharacter",
     "set Options +goEditing\ncell 1 1 5\nanswer OnGetEditorType 1 1 edSpinEdit\nfocus\nkey VK_F2\n"
     "type \xED\x95\x9C\xEA\xB8\x80\n? editor\n? beeps\n",  // 한글
     "editor = TGridSpin 5\nbeeps = 2\n"},
    // The combo's change notification raised nothing: one -> two -> three and no event.
    {"RegressionComboListDownDownEnterReportsEachChoice",
     "set Options +goEditing\ncell 1 1 one\ncall AddComboString one\ncall AddComboString two\n"
     "call AddComboString three\nanswer OnGetEditorType 1 1 edComboList\nevents OnComboChange\nfocus\nkey VK_F2\n"
     "key VK_DOWN\nkey VK_DOWN\nkey VK_RETURN\n? Cells 1 1\n",
     "AddComboString one =\nAddComboString two =\nAddComboString three =\n"
     "event OnComboChange 1 1 1 two\nevent OnComboChange 1 1 2 three\nCells 1 1 = three\n"},
    {"ComboEditReportsTypedTextWithoutAnItem",
     "set Options +goEditing\ncell 1 1 one\ncall AddComboString one\nanswer OnGetEditorType 1 1 edComboEdit\n"
     "events OnComboChange\nfocus\nkey VK_F2\ntype ab\nkey VK_ESCAPE\n? Cells 1 1\n",
     "AddComboString one =\nevent OnComboChange 1 1 -1 a\nevent OnComboChange 1 1 -1 ab\nCells 1 1 = one\n"},
    {"ACellThatMayNotBeEditedShowsNoEditor",
     "set Options +goEditing\nanswer OnCanEditCell 2 * false\nset Col 2\nfocus\nkey VK_F2\n? editor\n",
     "editor = none\n"},
};

INSTANTIATE_TEST_SUITE_P(Scenarios, GridRunEdit, ::testing::ValuesIn(kEdits),
                         [](const ::testing::TestParamInfo<TEditCase>& i) { return std::string(i.param.name); });
