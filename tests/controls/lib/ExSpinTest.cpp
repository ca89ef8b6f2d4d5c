// The spin edit on a form: clamping on exit, steps and their events, the editor switched off,
// the kinds, and the diagonal button's repeat and drag on a manual clock.

#include "controls/lib/ExSpin.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <string>

#include "GuiTestSupport.h"
#include "platform/core/TimerService.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Sound.h"

namespace {

class SpinEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        previous = &TimerService();
        SetTimerService(&clock);
        oldSound = SetSoundHook([this](const TSoundRequest&) {
            log += "beep ";
            return true;
        });
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        spin = Place<TExSpinEdit>(*form, 10, 10, 80, 21);
        spin->OnChange = [this](TObject*) { log += "change "; };
        spin->OnTopClick = [this](TObject*) { log += "top "; };
        spin->OnBottomClick = [this](TObject*) { log += "bottom "; };
        form->Show();
        spin->SetFocus();
    }
    void TearDown() override
    {
        form.reset();
        SetSoundHook(oldSound);
        SetTimerService(previous);
    }
    void Key(int key, const QString& text = QString()) { TypeKey(spin->Handle(), key, Qt::NoModifier, text); }
    void TimerBounds()
    {
        spin->SetMinValue(1);
        spin->SetMaxValue(65535);
        spin->SetMaxLength(5);
    }

    TManualTimerService clock;
    ITimerService* previous = nullptr;
    TSoundHook oldSound;
    std::string log;
    std::unique_ptr<TForm> form;
    TExSpinEdit* spin = nullptr;
};

struct TExitCase {
    const char* name;
    const char* typed;
    const char* after;
};

const TExitCase kExits[] = {
    {"AboveTheBoundBecomesTheBound", "70000", "65535"},
    {"BelowTheBoundBecomesTheBound", "0", "1"},
    {"AnEmptyFieldStaysEmpty", "", ""},
    {"AValueInsideStaysAsTyped", "0042", "0042"},
};

class SpinEditExit : public SpinEditTest, public ::testing::WithParamInterface<TExitCase> {};

TEST_P(SpinEditExit, ReClampsOnLeaving)
{
    TimerBounds();
    spin->SetText(GetParam().typed);
    spin->Perform(CM_EXIT);
    EXPECT_EQ(spin->Text(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(TimerDialog, SpinEditExit, ::testing::ValuesIn(kExits),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(SpinEditTest, AnEmptyFieldReadsAsTheLowerBound)
{
    TimerBounds();
    spin->SetText("");
    EXPECT_EQ(spin->GetValue(), 1);
}

TEST_F(SpinEditTest, AStepFiresOneChangeThenItsClick)
{
    spin->SetValue(5);
    log.clear();
    Key(Qt::Key_Up);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(spin->Text(), "4");
    EXPECT_EQ(log, "change top change bottom change bottom ");
}

TEST_F(SpinEditTest, AStepClampedAtTheBoundChangesNothingButStillClicks)
{
    TimerBounds();
    spin->SetValue(65535);
    log.clear();
    spin->UpClick(spin);
    EXPECT_EQ(spin->Text(), "65535");
    EXPECT_EQ(log, "top ");
}

TEST_F(SpinEditTest, AReadOnlyEditBeepsOnAStep)
{
    spin->SetReadOnly(true);
    log.clear();
    spin->DownClick(spin);
    EXPECT_EQ(spin->Text(), "0");
    EXPECT_EQ(log, "beep ");
}

TEST_F(SpinEditTest, TypingIsFiltered)
{
    spin->SetText("");
    log.clear();
    Key(Qt::Key_1, "1");
    Key(Qt::Key_A, "a");
    Key(Qt::Key_2, "2");
    EXPECT_EQ(spin->Text(), "12");
    EXPECT_EQ(log, "change beep change ");
}

TEST_F(SpinEditTest, WithTheEditorOffOnlyTheButtonsAndArrowsChangeTheText)
{
    spin->SetValue(12);
    spin->SetEditorEnabled(false);
    spin->SetSelStart(2);
    log.clear();
    Key(Qt::Key_3, "3");
    Key(Qt::Key_Backspace, "\b");
    spin->Perform(WM_PASTE);
    EXPECT_EQ(spin->Text(), "12");
    EXPECT_EQ(log, "beep beep ");
    Key(Qt::Key_Up);
    EXPECT_EQ(spin->Text(), "13");
}

TEST_F(SpinEditTest, DeleteWithTheEditorOffChangesNothing)
{
    spin->SetValue(12);
    spin->SetEditorEnabled(false);
    spin->SetSelStart(0);
    Key(Qt::Key_Delete);
    spin->SelectAll();
    Key(Qt::Key_Delete);
    EXPECT_EQ(spin->Text(), "12");
}

TEST_F(SpinEditTest, DroppedOrComposedTextWithTheEditorOffChangesNothing)
{
    spin->SetValue(12);
    spin->SetEditorEnabled(false);
    QInputMethodEvent ime(QString(), {});
    ime.setCommitString(QStringLiteral("34"));
    QCoreApplication::sendEvent(spin->Handle(), &ime);
    EXPECT_EQ(spin->Text(), "12");
}

TEST_F(SpinEditTest, PastedTextPassesTheFilterAsAWhole)
{
    spin->SetText("");
    spin->SetFocus();
    Clipboard()->SetAsText("12x");
    spin->Perform(WM_PASTE);
    EXPECT_EQ(spin->Text(), "");
    Clipboard()->SetAsText("34");
    spin->Perform(WM_PASTE);
    EXPECT_EQ(spin->Text(), "34");
}

TEST_F(SpinEditTest, ChangingToHexReadsTheTextAsHexAndRoundsTheIncrement)
{
    spin->SetText("10");
    spin->SetIncrement(0.5);
    spin->SetValueType(vtHex);
    EXPECT_EQ(spin->GetValue(), 16);
    EXPECT_EQ(spin->Text(), "10");
    EXPECT_EQ(spin->Increment(), 1);
}

TEST_F(SpinEditTest, AHexEditWithANegativeLowerBoundLeavesIt)
{
    spin->SetValueType(vtHex);
    spin->SetMinValue(-16);
    spin->SetMaxValue(16);
    spin->SetValue(-16);
    EXPECT_EQ(spin->Text(), "FFFFFFFFFFFFFFF0");
    spin->UpClick(spin);
    EXPECT_EQ(spin->GetValue(), -15);
    EXPECT_EQ(spin->Text(), "FFFFFFFFFFFFFFF1");
}

TEST_F(SpinEditTest, AsIntegerTruncatesTowardZero)
{
    spin->SetValueType(vtFloat);
    spin->SetValue(2.7);
    EXPECT_EQ(spin->GetAsInteger(), 2);
    spin->SetValue(-2.7);
    EXPECT_EQ(spin->GetAsInteger(), -2);
}

TEST(SpinEdit, EnterWithoutAParentFormIsConsumedAndSendsNothing)
{
    TestApplication();
    TExSpinEdit spin(nullptr);
    std::string log;
    spin.OnKeyPress = [&](TObject*, char& key) { log += std::to_string(key) + " "; };
    spin.Perform(WM_CHAR, '\r');
    spin.Perform(WM_CHAR, '\x1B');
    EXPECT_EQ(log, "13 27 ");
}

TEST_F(SpinEditTest, TheStandardKindSwapsTheButtons)
{
    spin->SetButtonKind(bkStandard);
    ASSERT_NE(spin->UpDown(), nullptr);
    EXPECT_EQ(spin->Button(), nullptr);
    spin->SetValue(3);
    spin->UpDown()->Press(btNext);
    spin->UpDown()->Press(btNext);
    spin->UpDown()->Press(btPrev);
    EXPECT_EQ(spin->Text(), "4");
    EXPECT_EQ(spin->UpDown()->Position(), 0);
    EXPECT_EQ(spin->UpDown()->Width(), DefaultSpinButtonWidth());
}

// --- The diagonal button ------------------------------------------------------------------------

class SpinButtonTest : public SpinEditTest {
protected:
    void Mouse(unsigned msg, int x, int y, WPARAM keys = MK_LBUTTON) { button->Perform(msg, keys, MakeLParam(x, y)); }
    void SetUp() override
    {
        SpinEditTest::SetUp();
        button = Place<TExSpinButton>(*form, 200, 10, 20, 20);
        button->OnTopClick = [this](TObject*) { log += "up "; };
        button->OnBottomClick = [this](TObject*) { log += "down "; };
    }
    TExSpinButton* button = nullptr;
};

TEST_F(SpinButtonTest, AHeldHalfStepsAtThePressAfter400MsThenEvery100)
{
    Mouse(WM_LBUTTONDOWN, 3, 3);
    EXPECT_EQ(log, "up ");
    EXPECT_EQ(button->Down(), sbTopDown);
    clock.Advance(399);
    EXPECT_EQ(log, "up ");
    clock.Advance(1);
    EXPECT_EQ(log, "up up ");
    clock.Advance(300);
    EXPECT_EQ(log, "up up up up up ");
    Mouse(WM_LBUTTONUP, 3, 3, 0);
    clock.Advance(500);
    EXPECT_EQ(log, "up up up up up ");
    EXPECT_EQ(button->Down(), sbNotDown);
}

TEST_F(SpinButtonTest, DraggingOntoTheOtherHalfReleasesAndBackPressesAgain)
{
    Mouse(WM_LBUTTONDOWN, 16, 16);
    EXPECT_EQ(log, "down ");
    Mouse(WM_MOUSEMOVE, 3, 3);
    EXPECT_EQ(button->Down(), sbNotDown);
    clock.Advance(500);
    EXPECT_EQ(log, "down ");
    Mouse(WM_MOUSEMOVE, 15, 17);
    EXPECT_EQ(button->Down(), sbBottomDown);
    clock.Advance(100);
    EXPECT_EQ(log, "down down ");
}

TEST_F(SpinButtonTest, LeavingTheControlReleasesTheFaceAndAReleaseOutsideChangesNothing)
{
    Mouse(WM_LBUTTONDOWN, 3, 3);
    Mouse(WM_MOUSEMOVE, 40, 3);
    EXPECT_EQ(button->Down(), sbNotDown);
    Mouse(WM_LBUTTONUP, 40, 3, 0);
    EXPECT_EQ(button->Down(), sbNotDown);
}

TEST_F(SpinButtonTest, ADisabledButtonIgnoresPresses)
{
    button->SetEnabled(false);
    Mouse(WM_LBUTTONDOWN, 3, 3);
    EXPECT_EQ(log, "");
}

TEST_F(SpinButtonTest, ANullGlyphBringsBackTheBuiltInArrow)
{
    TBitmap own;
    own.SetSize(9, 9);
    button->SetUpGlyph(&own);
    EXPECT_EQ(button->UpGlyph()->Width(), 9);
    button->SetUpGlyph(nullptr);
    EXPECT_EQ(button->UpGlyph()->Width(), 6);
}

TEST(ExUpDown, StaysAtZeroAndReportsEachArrow)
{
    TestApplication();
    TExUpDown ud(nullptr);
    std::string log;
    ud.OnClick = [&](TObject*, TUDBtnType b) { log += b == btNext ? "next " : "prev "; };
    ud.Press(btNext);
    ud.Press(btNext);
    ud.Press(btPrev);
    EXPECT_EQ(log, "next next prev ");
    EXPECT_EQ(ud.Position(), 0);
}

}  // namespace
