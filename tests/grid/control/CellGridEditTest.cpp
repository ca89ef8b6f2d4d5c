// Editing in place on a window: custom editors through TEditLink, a value refused as the focus
// leaves, the spin buttons' repeat on the manual clock, and the companion controls' properties.

#include <gtest/gtest.h>

#include <QImage>

#include "grid/control/CellGrid.h"
#include "grid/control/CellGridEditors.h"
#include "grid/control/EditLink.h"
#include "platform/core/DateFormat.h"
#include "platform/core/TimerService.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InplaceEdit.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Queue.h"
#include "platform/gui/Sound.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/SyntheticInput.h"
#include "tests/grid/control/TestEditLink.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

class EditingOnAForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        oldSound = SetSoundHook([this](const TSoundRequest&) {
            ++beeps;
            return true;
        });
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(10, 10, 500, 300);
        grid = new TCellGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 400, 300);
        grid->SetOptions(grid->Options() << goEditing);
        other = new TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(410, 10, 80, 22);
        form->Show();
        form->BringToFront();
        Settle(3);
        grid->SetFocus();
        Settle(3);
    }
    void TearDown() override
    {
        form.reset();
        SetSoundHook(oldSound);
    }
    void Key(TWinControl* c, uint16_t vk, TShiftState shift = {})
    {
        AnsiString text;
        if (vk == VK_RETURN)
            text = "\r";
        else if (vk == VK_ESCAPE)
            text = "\x1B";
        SendKeyStroke(c, vk, shift, text);
        Settle(2);
        RunQueuedCalls();
        Settle(2);
    }
    // F2 on the current cell opens the link's control on a popup of 120 x 40.
    void OpenPopupEditor(TTestLink& link)
    {
        link.UsePopup(120, 40);
        grid->EditLink = &link;
        grid->OnGetEditorType = [](TObject*, int, int, TEditorType& t) { t = edCustom; };
        Key(grid, VK_F2);
    }
    // The popup loses the activation: the edit ends and the popup goes.
    void Deactivate(TTestLink& link)
    {
        link.FormExit(link.PopupForm());
        RunQueuedCalls();
        EXPECT_EQ(link.PopupForm(), nullptr);
        EXPECT_EQ(link.Destroyed, 1);
        grid->EditLink = nullptr;
    }
    void Type(const AnsiString& text)
    {
        TWinControl* c = FocusedControl();
        SendTypedText(c ? c : grid, text);
        Settle(2);
        RunQueuedCalls();
        Settle(2);
    }

    std::unique_ptr<TForm> form;
    TCellGrid* grid = nullptr;
    TEdit* other = nullptr;
    TSoundHook oldSound;
    int beeps = 0;
};

}  // namespace

// --- Custom editors ------------------------------------------------------------------------------

struct TLinkKeyCase {
    const char* name;
    uint16_t key;
    bool wantUpDown;
    bool popup;
    bool ends;
    int row;           // the current row afterwards
    const char* cell;  // the cell afterwards, the control having been given "typed"
};
void PrintTo(const TLinkKeyCase& c, std::ostream* os) { *os << c.name; }

class EditLinkKeys : public EditingOnAForm, public ::testing::WithParamInterface<TLinkKeyCase> {};

TEST_P(EditLinkKeys, EndTheEditUnlessTheLinkWantsThem)
{
    TTestLink link(nullptr);
    link.WantKeyUpDown = GetParam().wantUpDown;
    if (GetParam().popup)
        link.UsePopup(120, 40);
    grid->EditLink = &link;
    grid->SetCells(1, 1, "cell");
    grid->OnGetEditorType = [](TObject*, int, int, TEditorType& t) { t = edCustom; };
    Key(grid, VK_F2);
    ASSERT_NE(link.Edit, nullptr);
    EXPECT_EQ(link.Log, "create;value cell;");
    if (!GetParam().popup) {
        EXPECT_TRUE(link.Edit->Focused());
    }
    link.Edit->SetText("typed");
    Key(link.Edit, GetParam().key);
    EXPECT_EQ(grid->EditControlShown(), !GetParam().ends);
    EXPECT_EQ(grid->Row(), GetParam().row);
    EXPECT_EQ(grid->Cells(1, 1), GetParam().cell);
    if (GetParam().ends) {
        EXPECT_EQ(link.Destroyed, 1);
        EXPECT_EQ(link.PopupForm(), nullptr);
    }
    grid->EditLink = nullptr;
}

const TLinkKeyCase kLinkKeys[] = {
    {"DownEndsAndMovesTheGrid", VK_DOWN, false, false, true, 2, "typed"},
    {"DownStaysWithWantKeyUpDown", VK_DOWN, true, false, false, 1, "cell"},
    {"EnterEnds", VK_RETURN, false, false, true, 1, "typed"},
    {"EscapeEndsAndRestores", VK_ESCAPE, false, false, true, 1, "cell"},
    {"ALetterStays", 'A', false, false, false, 1, "cell"},
    {"RegressionPopupEndedByEnterWritesItsValueAndGoes", VK_RETURN, false, true, true, 1, "typed"},
    {"PopupDownStaysWithWantKeyUpDown", VK_DOWN, true, true, false, 1, "cell"},
    {"PopupDownEndsAndMovesTheGrid", VK_DOWN, false, true, true, 2, "typed"},
    {"PopupEscapeEndsAndRestores", VK_ESCAPE, false, true, true, 1, "cell"},
};

INSTANTIATE_TEST_SUITE_P(Keys, EditLinkKeys, ::testing::ValuesIn(kLinkKeys),
                         [](const ::testing::TestParamInfo<TLinkKeyCase>& i) { return std::string(i.param.name); });

TEST_F(EditingOnAForm, EditLinkEscapeRestoresTheCellEvenAfterTheControlWroteIt)
{
    TTestLink link(nullptr);
    grid->EditLink = &link;
    grid->SetCells(1, 1, "before");
    grid->OnGetEditorType = [](TObject*, int, int, TEditorType& t) { t = edCustom; };
    Key(grid, VK_F2);
    ASSERT_NE(link.Edit, nullptr);
    link.Edit->SetText("typed");
    link.SetCellValue("typed");
    Key(link.Edit, VK_ESCAPE);
    EXPECT_EQ(grid->Cells(1, 1), "before");
    grid->EditLink = nullptr;
}

TEST_F(EditingOnAForm, RegressionEditLinkFreesItsControlAfterTheExitHandlerReturns)
{
    TTestLink link(nullptr);
    grid->EditLink = &link;
    grid->OnGetEditorType = [](TObject*, int, int, TEditorType& t) { t = edCustom; };
    Key(grid, VK_F2);
    ASSERT_NE(link.Edit, nullptr);
    link.Edit->SetText("x");
    // The focus leaving runs the control's OnExit, which ends the edit: the control must still
    // be there while its handler runs (AddressSanitizer sees a use after free otherwise).
    other->SetFocus();
    Settle(3);
    EXPECT_EQ(grid->Cells(1, 1), "x");
    RunQueuedCalls();
    EXPECT_EQ(link.Destroyed, 1);
    grid->EditLink = nullptr;
}

TEST_F(EditingOnAForm, EditLinkPopupDeactivatedWritesTheValueAndGoes)
{
    TTestLink link(nullptr);
    OpenPopupEditor(link);
    ASSERT_NE(link.PopupForm(), nullptr);
    EXPECT_EQ(link.PopupForm()->Width(), 120);
    EXPECT_EQ(link.Edit->Parent(), link.PopupForm());
    link.Edit->SetText("popped");
    Deactivate(link);
    EXPECT_EQ(grid->Cells(1, 1), "popped");
}

// A click on another cell reaches the grid before the popup hears that it lost the activation:
// the grid's current cell has moved by then, and the value went into the clicked cell while
// the edited cell kept its old text.
TEST_F(EditingOnAForm, RegressionAPopupValueWentIntoTheCellClickedWhileItWasOpen)
{
    TTestLink link(nullptr);
    grid->SetCells(1, 1, "old");
    grid->SetCells(2, 3, "clicked");
    OpenPopupEditor(link);
    ASSERT_NE(link.PopupForm(), nullptr);
    link.Edit->SetText("popped");
    const TRect r = grid->CellRect(2, 3);
    SendMouseInput(grid, maDown, mbLeft, r.Left + 5, r.Top + 5, {});
    SendMouseInput(grid, maUp, mbLeft, r.Left + 5, r.Top + 5, {});
    ASSERT_EQ(grid->Col(), 2);
    ASSERT_EQ(grid->Row(), 3);
    Deactivate(link);
    EXPECT_EQ(grid->Cells(1, 1), "popped");
    EXPECT_EQ(grid->Cells(2, 3), "clicked");
}

// The link reads and writes the cell it was opened on, wherever the current cell stands.
TEST_F(EditingOnAForm, EditLinkCellValueIsTheEditedCells)
{
    TTestLink link(nullptr);
    grid->EditLink = &link;
    grid->SetCells(2, 2, "edited");
    grid->OnGetEditorType = [](TObject*, int, int, TEditorType& t) { t = edCustom; };
    grid->FocusCell(2, 2, true);
    Key(grid, VK_F2);
    ASSERT_NE(link.Edit, nullptr);
    grid->FocusCell(3, 4, true);
    EXPECT_EQ(link.GetCellValue(), "edited");
    link.SetCellValue("written");
    EXPECT_EQ(grid->Cells(2, 2), "written");
    EXPECT_EQ(grid->Cells(3, 4), "");
    grid->EditLink = nullptr;
}

// --- The date picker in a cell ------------------------------------------------------------------------

TEST_F(EditingOnAForm, TheDatePickerInACellShowsNoBorder)
{
    grid->OnGetEditorType = [](TObject*, int, int, TEditorType& t) { t = edDateEdit; };
    Key(grid, VK_F2);
    TGridDatePicker* picker = grid->DatePicker();
    ASSERT_TRUE(picker->Visible());
    const auto edgeIsBackground = [&] {
        const QImage shot = Shoot(*form);
        // The left edge halfway down is the colour just inside it: no frame line between.
        const int y = picker->Top() + picker->Height() / 2;
        return shot.pixel(picker->Left(), y) == shot.pixel(picker->Left() + 1, picker->Top() + 1);
    };
    EXPECT_TRUE(edgeIsBackground());
    picker->SetFramed(true);
    EXPECT_FALSE(edgeIsBackground());
}

// --- Sizing while typing -----------------------------------------------------------------------------

TEST_F(EditingOnAForm, TypingWidensTheColumnToItsWidestTextAsSizeToWidthDoes)
{
    grid->SizeWhileTyping()->Width = true;
    grid->SetCells(1, 3, "a text much wider than the column");
    grid->SetColWidths(1, 30);
    Key(grid, VK_F2);
    Type("x");
    const int typed = grid->ColWidths(1);
    EXPECT_GT(typed, 30);
    grid->SizeToWidth(1, false);
    EXPECT_EQ(typed, grid->ColWidths(1));
    // The widths kept from the keys before do not outlive a zoom: the texts measure again.
    grid->Zoom(6);
    Type("y");
    const int zoomed = grid->ColWidths(1);
    grid->SizeToWidth(1, false);
    EXPECT_EQ(zoomed, grid->ColWidths(1));
    // Nor a text changed elsewhere in the column.
    grid->SetCells(1, 4, "a text wider still than the one before it was");
    Type("z");
    const int changed = grid->ColWidths(1);
    grid->SizeToWidth(1, false);
    EXPECT_EQ(changed, grid->ColWidths(1));
}

TEST(CellGridEditSwitch, RegressionACheckBoxAfterAReadOnlyCellStillToggles)
{
    TestApplication();
    TCellGrid g(nullptr);
    g.SetOptions(g.Options() << goEditing);
    g.EnableGraphics = true;
    g.AddCheckBox(2, 2, false, false);
    g.OnCanEditCell = [](TObject*, int row, int col, bool& canEdit) { canEdit = !(col == 1 && row == 1); };
    g.FocusCell(1, 1, true);
    EXPECT_FALSE(g.IsEditable(1, 1));
    EXPECT_TRUE(g.IsEditable(2, 2));
    g.FocusCell(2, 2, true);
    EXPECT_TRUE(g.KeySpace());
    bool state = false;
    g.GetCheckBoxState(2, 2, state);
    EXPECT_TRUE(state);
}

// --- Validation as the focus leaves ------------------------------------------------------------------

TEST_F(EditingOnAForm, RegressionARefusedValueOnFocusLossReopensTheEditorAfterTheFocusChange)
{
    int asked = 0;
    grid->SetCells(1, 1, "old");
    grid->OnCellValidate = [&](TObject*, int, int, AnsiString&, bool& valid) {
        ++asked;
        valid = false;
        // A message box would take the focus here; the grid must not fight for it meanwhile.
        EXPECT_FALSE(grid->InplaceEditor() && grid->InplaceEditor()->Focused() && asked > 1);
    };
    Key(grid, VK_F2);
    Type("new");
    ASSERT_EQ(grid->Cells(1, 1), "new");
    other->SetFocus();
    Settle(3);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(grid->Cells(1, 1), "old");
    RunQueuedCalls();
    Settle(3);
    EXPECT_EQ(asked, 1);
    ASSERT_NE(grid->VisibleEditor(), nullptr);
    EXPECT_EQ(grid->VisibleEditor()->Text(), "old");
}

TEST_F(EditingOnAForm, AnAcceptedValueOnFocusLossStays)
{
    grid->OnCellValidate = [](TObject*, int, int, AnsiString&, bool& valid) { valid = true; };
    Key(grid, VK_F2);
    Type("kept");
    other->SetFocus();
    Settle(3);
    RunQueuedCalls();
    EXPECT_EQ(grid->Cells(1, 1), "kept");
    EXPECT_EQ(grid->VisibleEditor(), nullptr);
}

TEST_F(EditingOnAForm, SpecialEditorTakesThePendingKey)
{
    grid->SetCells(1, 1, "a");
    grid->OnGetEditorType = [](TObject*, int, int, TEditorType& t) { t = edEditBtn; };
    Type("z");
    ASSERT_EQ(grid->VisibleEditor(), grid->EditBtn());
    EXPECT_EQ(grid->EditBtn()->Text(), "z");
}

TEST_F(EditingOnAForm, TheEditorFollowsItsCellWhenTheViewScrolls)
{
    grid->SetRowCount(50);
    grid->SetRow(5);
    Key(grid, VK_F2);
    ASSERT_NE(grid->InplaceEditor(), nullptr);
    const int top = grid->InplaceEditor()->Top();
    grid->SetTopRow(3);
    Settle(2);
    EXPECT_EQ(grid->InplaceEditor()->Top(), grid->CellRect(1, 5).Top);
    EXPECT_LT(grid->InplaceEditor()->Top(), top);
    // Scrolled out of view it waits outside, and comes back with its cell.
    grid->SetTopRow(10);
    EXPECT_LT(grid->InplaceEditor()->Top(), 0);
    grid->SetTopRow(1);
    EXPECT_EQ(grid->InplaceEditor()->Top(), grid->CellRect(1, 5).Top);
}

// --- The spin button pair: layout by direction and its keys -------------------------------------------

struct TPairCase {
    const char* name;
    TSpinDirection direction;
    int width, height;
    std::vector<uint16_t> keys;
    TRect up, down;
    int ups, downs;  // clicks the keys gave
};
void PrintTo(const TPairCase& c, std::ostream* os) { *os << c.name; }

class CgSpinButtonPair : public ::testing::TestWithParam<TPairCase> {};

TEST_P(CgSpinButtonPair, LaysOutAndClicks)
{
    TestApplication();
    TForm form(nullptr);
    form.SetBounds(10, 10, 200, 100);
    auto* pair = new TCgSpinButton(&form);
    pair->SetParent(&form);
    pair->SetDirection(GetParam().direction);
    pair->SetBounds(10, 10, GetParam().width, GetParam().height);
    int ups = 0, downs = 0;
    pair->OnUpClick = [&](TObject*) { ++ups; };
    pair->OnDownClick = [&](TObject*) { ++downs; };
    form.Show();
    Settle(2);
    EXPECT_EQ(pair->UpButton()->BoundsRect(), GetParam().up);
    EXPECT_EQ(pair->DownButton()->BoundsRect(), GetParam().down);
    for (const uint16_t key : GetParam().keys)
        SendKeyStroke(pair, key, {}, key == VK_SPACE ? " " : "");
    EXPECT_EQ(ups, GetParam().ups);
    EXPECT_EQ(downs, GetParam().downs);
}

const TPairCase kPairs[] = {
    {"VerticalStacksUpOverDownOverlappingByOne", spVertical, 15, 25, {}, {0, 0, 15, 12}, {0, 11, 15, 25}, 0, 0},
    {"VerticalButtonsAreAtLeast15Wide", spVertical, 10, 20, {}, {0, 0, 15, 10}, {0, 9, 15, 20}, 0, 0},
    {"HorizontalPutsDownLeftAndUpRight", spHorizontal, 30, 20, {}, {15, 0, 30, 20}, {0, 0, 15, 20}, 0, 0},
    {"SpaceClicksTheUpButtonFirst", spVertical, 15, 25, {VK_SPACE}, {0, 0, 15, 12}, {0, 11, 15, 25}, 1, 0},
    {"DownMovesTheButtonFocusThereAndClicks",
     spVertical,
     15,
     25,
     {VK_DOWN, VK_SPACE},
     {0, 0, 15, 12},
     {0, 11, 15, 25},
     0,
     2},
    {"UpClicksUp", spVertical, 15, 25, {VK_DOWN, VK_UP}, {0, 0, 15, 12}, {0, 11, 15, 25}, 1, 1},
};

INSTANTIATE_TEST_SUITE_P(Pairs, CgSpinButtonPair, ::testing::ValuesIn(kPairs),
                         [](const ::testing::TestParamInfo<TPairCase>& i) { return std::string(i.param.name); });

// --- The spin edit's buttons repeat on the manual clock ---------------------------------------------

TEST(CgSpin, HoldingTheUpButtonRepeatsAfter400ThenEvery100)
{
    TestApplication();
    TManualTimerService clock;
    ITimerService* previous = &TimerService();
    SetTimerService(&clock);
    {
        TForm form(nullptr);
        form.SetBounds(10, 10, 200, 100);
        auto* spin = new TCgSpinEdit(&form);
        spin->SetParent(&form);
        spin->SetBounds(10, 10, 100, 24);
        form.Show();
        Settle(2);
        TCgSpinButton* buttons = spin->Button();
        const TRect up = buttons->UpButton()->BoundsRect();
        const int x = (up.Left + up.Right) / 2, y = (up.Top + up.Bottom) / 2;
        SendMouseInput(buttons, maDown, mbLeft, x, y, {});
        clock.Advance(399);
        EXPECT_EQ(spin->Value(), 0);
        clock.Advance(1);
        EXPECT_EQ(spin->Value(), 1);
        clock.Advance(100);
        EXPECT_EQ(spin->Value(), 2);
        clock.Advance(250);
        EXPECT_EQ(spin->Value(), 4);
        SendMouseInput(buttons, maUp, mbLeft, x, y, {});
        // The release clicks once more; nothing repeats after it.
        const int released = spin->Value();
        clock.Advance(500);
        EXPECT_EQ(spin->Value(), released);
    }
    SetTimerService(previous == &clock ? nullptr : previous);
}

// --- Spin edit values --------------------------------------------------------------------------------

struct TSpinCase {
    const char* name;
    std::function<std::string(TCgSpinEdit&)> run;
    std::string want;
};
void PrintTo(const TSpinCase& c, std::ostream* os) { *os << c.name; }

class CgSpinValue : public ::testing::TestWithParam<TSpinCase> {};

TEST_P(CgSpinValue, Gives)
{
    TestApplication();
    const TFormatSettings saved = FormatSettings();
    FormatSettings() = TFormatSettings::Korean();
    TForm form(nullptr);
    auto* spin = new TCgSpinEdit(&form);
    spin->SetParent(&form);
    EXPECT_EQ(GetParam().run(*spin), GetParam().want);
    FormatSettings() = saved;
}

const TSpinCase kSpins[] = {
    {"ANonNumberReadsTheMinimumAndUpGivesOne",
     [](TCgSpinEdit& s) {
         s.SetText("abc");
         const int before = s.Value();
         s.UpClick(&s);
         return std::to_string(before) + " " + s.Text();
     },
     "0 1"},
    {"EqualBoundsDoNotClamp",
     [](TCgSpinEdit& s) {
         s.MaxValue = 0;
         s.SetValue(500);
         return s.Text();
     },
     "500"},
    {"PrecisionWritesFixedDecimals",
     [](TCgSpinEdit& s) {
         s.SetSpinType(sptFloat);
         s.SetPrecision(2);
         s.SetFloatValue(3.14159);
         return s.Text();
     },
     "3.14"},
    {"MonthStepFromThe31st",
     [](TCgSpinEdit& s) {
         s.MaxDateValue = 0;
         s.SetSpinType(sptDate);
         s.SetDateValue(EncodeDate(2023, 1, 31));
         s.SetSelStart(6);
         s.UpClick(&s);
         return s.Text();
     },
     "2023-02-28"},
    {"YearStepAfterTheFirstSeparatorInAYearFirstFormat",
     [](TCgSpinEdit& s) {
         s.SetSpinType(sptDate);
         s.SetDateValue(EncodeDate(2023, 5, 6));
         s.SetSelStart(1);
         s.DownClick(&s);
         return s.Text();
     },
     "2022-05-06"},
    {"AReadOnlySpinBeepsAndKeepsItsValue",
     [](TCgSpinEdit& s) {
         int beeps = 0;
         TSoundHook old = SetSoundHook([&](const TSoundRequest&) {
             ++beeps;
             return true;
         });
         s.SetReadOnly(true);
         s.UpClick(&s);
         SetSoundHook(old);
         return s.Text() + " " + std::to_string(beeps);
     },
     "0 1"},
};

INSTANTIATE_TEST_SUITE_P(Values, CgSpinValue, ::testing::ValuesIn(kSpins),
                         [](const ::testing::TestParamInfo<TSpinCase>& i) { return std::string(i.param.name); });

// --- Companion controls ------------------------------------------------------------------------------

TEST(CgComboBox, ButtonWidthTakesOnly14To32)
{
    TestApplication();
    TCgComboBox combo(nullptr);
    const int start = combo.ButtonWidth();
    combo.SetButtonWidth(13);
    EXPECT_EQ(combo.ButtonWidth(), start);
    combo.SetButtonWidth(33);
    EXPECT_EQ(combo.ButtonWidth(), start);
    combo.SetButtonWidth(14);
    EXPECT_EQ(combo.ButtonWidth(), 14);
    combo.SetButtonWidth(32);
    EXPECT_EQ(combo.ButtonWidth(), 32);
}

TEST(CgComboBox, ADisabledFlatComboTakesItsParentsColourAndGetsItsOwnBack)
{
    TestApplication();
    TForm form(nullptr);
    form.SetColor(clBtnFace);
    auto* combo = new TCgComboBox(&form);
    combo->SetParent(&form);
    combo->SetColor(clYellow);
    combo->SetEnabled(false);
    EXPECT_EQ(combo->Color(), clBtnFace);
    combo->SetEnabled(true);
    EXPECT_EQ(combo->Color(), clYellow);
}

TEST(CgComboBox, WithoutFocusBorderTheBorderIsNeverHot)
{
    TestApplication();
    TCgComboBox combo(nullptr);
    combo.Perform(CM_MOUSEENTER);
    EXPECT_TRUE(combo.ButtonHot());
    EXPECT_FALSE(combo.BorderHot());
    combo.SetFocusBorder(true);
    EXPECT_TRUE(combo.BorderHot());
}

TEST_F(EditingOnAForm, AnAutoFocusComboTakesTheFocusWhenTheMouseEnters)
{
    auto* combo = new TCgComboBox(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(410, 40, 80, 22);
    Settle(2);
    combo->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(combo->Focused());
    combo->Perform(CM_MOUSELEAVE);
    combo->AutoFocus = true;
    combo->Perform(CM_MOUSEENTER);
    Settle(2);
    EXPECT_TRUE(combo->Focused());
}

TEST_F(EditingOnAForm, ASpinWithReturnIsTabMovesOnOnEnter)
{
    auto* spin = new TCgSpinEdit(form.get());
    spin->SetParent(form.get());
    spin->SetBounds(410, 40, 80, 22);
    spin->SetFocus();
    Settle(2);
    Key(spin, VK_RETURN);
    EXPECT_TRUE(spin->Focused());
    spin->ReturnIsTab = true;
    Key(spin, VK_RETURN);
    // The next control in the tab order (round to the grid) has the focus.
    EXPECT_FALSE(spin->Focused());
    EXPECT_TRUE(grid->Focused());
}

TEST(CgEditBtn, WithTheEditorDisabledPasteDoesNothing)
{
    TestApplication();
    TForm form(nullptr);
    auto* edit = new TCgEditBtn(&form);
    edit->SetParent(&form);
    edit->SetText("keep");
    edit->SelectAll();
    Clipboard()->SetAsText("pasted");
    edit->SetEditorEnabled(false);
    edit->Perform(WM_PASTE);
    EXPECT_EQ(edit->Text(), "keep");
    edit->SetEditorEnabled(true);
    edit->Perform(WM_PASTE);
    EXPECT_EQ(edit->Text(), "pasted");
}

TEST(CgEditBtn, ShrinkingBelowTheMinimumHeightSnapsBack)
{
    TestApplication();
    TForm form(nullptr);
    auto* edit = new TCgEditBtn(&form);
    edit->SetParent(&form);
    edit->SetHeight(3);
    EXPECT_EQ(edit->Height(), edit->GetMinHeight());
    EXPECT_GT(edit->GetMinHeight(), 3);
}

TEST(CgUnitEditBtn, AnEmptyUnitListKeepsTheUnit)
{
    TestApplication();
    TMenuItem* shown = nullptr;
    TPopupMenuHook old = SetPopupMenuHook([&](TPopupMenu* menu, int, int) {
        shown = menu->Items();
        return nullptr;
    });
    TForm form(nullptr);
    auto* edit = new TCgUnitEditBtn(&form);
    edit->SetParent(&form);
    edit->SetUnitID("kg");
    edit->ClickButton();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Count(), 0);
    EXPECT_EQ(edit->UnitID(), "kg");
    SetPopupMenuHook(old);
}

TEST(CgUnitEditBtn, ChoosingAUnitSetsIt)
{
    TestApplication();
    TPopupMenuHook old = SetPopupMenuHook([](TPopupMenu* menu, int, int) { return menu->Items()->Items(1); });
    TForm form(nullptr);
    auto* edit = new TCgUnitEditBtn(&form);
    edit->SetParent(&form);
    edit->Units()->Add("m");
    edit->Units()->Add("km");
    edit->ClickButton();
    RunQueuedCalls();
    EXPECT_EQ(edit->UnitID(), "km");
    SetPopupMenuHook(old);
}
