// The script editor, the item dialogs and the button bar as windows: the bar's double click on a
// push button, the bar following the button list, the byte limit of the name boxes, the timer's
// repeat box, the editor's page built once an opening and again on a later activation, and
// their pictures under Xvfb.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "GuiTestSupport.h"
#include "WindowTestSupport.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/ButtonEditUnit.h"
#include "app/forms/ButtonUnit.h"
#include "app/forms/DriverUnit.h"
#include "app/forms/MacroEditUnit.h"
#include "app/forms/TimerEditUnit.h"
#include "app/forms/TriggersEditUnit.h"
#include "controls/lib/ExSpin.h"
#include "controls/lib/ToolEdit.h"
#include "platform/core/ProgramFolder.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/EditWidgets.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Queue.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/SyntheticInput.h"
#include "script/UserTimer.h"

namespace {

class EditorWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        SetTimerService(&Clock);
        Window = new TAnsiTerminalForm(nullptr, Entry);
        Window->Show();
        PumpEvents();
    }
    void TearDown() override
    {
        SetModalFormHook(nullptr);
        if (Screen->HasForm(Window))
            delete Window;
        RunQueuedCalls();
        SetTimerService(nullptr);
    }
    cButton* AddButton(const char* name, const char* on, const char* off, int status = 0)
    {
        auto b = std::make_unique<cButton>();
        b->Name = name, b->OnBuff = on, b->OffBuff = off, b->Status = status;
        return Window->Script().ButtonList.Add(std::move(b));
    }
    TButtonForm* OpenBar()
    {
        Window->ActionViewButtonExecute();
        PumpEvents();
        return Window->ButtonForm();
    }

    TManualTimerService Clock{0};
    std::shared_ptr<TCharBooks> Entry = std::make_shared<TCharBooks>();
    TAnsiTerminalForm* Window = nullptr;
};

TEST_F(EditorWindows, PushButtonDoubleClickOpensItsDialog)
{
    cButton* push = AddButton("push", "say p", "");
    TButtonForm* bar = OpenBar();
    ASSERT_NE(push->Control, nullptr);
    int shown = 0;
    SetModalFormHook([&shown](TCustomForm& form) {
        auto* dialog = dynamic_cast<TButtonEditForm*>(&form);
        ASSERT_NE(dialog, nullptr);
        ++shown;
        dialog->NameEdit()->SetText("renamed");
        dialog->ExSpeedButton1Click();
    });
    TMyButton* button = push->Control;
    const int x = button->Left() + 5, y = button->Top() + 5;
    // As the window system reports a double click: press, release, double click, release.
    for (TMouseAction action : {maDown, maUp, maDouble, maUp})
        SendMouseInput(bar->ButtonPanel(), action, mbLeft, x, y, TShiftState());
    PumpEvents();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(push->Name, "renamed");
    EXPECT_EQ(push->Control->Caption(), "renamed");
}

TEST_F(EditorWindows, ClearedListLeavesNoButtonBehind)
{
    AddButton("a", "1", "");
    AddButton("b", "2", "3", 1);
    TButtonForm* bar = OpenBar();
    ASSERT_EQ(bar->Buttons().size(), 2u);
    TAliveToken first = bar->Buttons()[0]->Token();
    EXPECT_TRUE(bar->Buttons()[1]->Down());
    Window->Script().ClearCmdData();
    EXPECT_TRUE(bar->Buttons().empty());
    RunQueuedCalls();
    EXPECT_FALSE(*first);
    AddButton("c", "4", "");
    bar->FormShowButtons();
    ASSERT_EQ(bar->Buttons().size(), 1u);
    EXPECT_EQ(bar->Buttons()[0]->Caption(), "c");
}

// A trigger or timer may reload the command file while the player edits a bar button: the
// button goes, and the dialog's own event loop frees it before the dialog ends.
TEST_F(EditorWindows, RegressionBarButtonFreedWhileItsDialogIsOpen)
{
    cButton* push = AddButton("push", "say p", "");
    TButtonForm* bar = OpenBar();
    TMyButton* button = push->Control;
    ASSERT_NE(button, nullptr);
    TAliveToken alive = button->Token();
    SetModalFormHook([this](TCustomForm& form) {
        Window->Script().ClearCmdData();
        RunQueuedCalls();
        dynamic_cast<TButtonEditForm&>(form).ExSpeedButton1Click();
    });
    bar->MyButtonDblClick(button);
    EXPECT_FALSE(*alive);
    EXPECT_TRUE(bar->Buttons().empty());
    EXPECT_TRUE(Window->Script().ButtonList.Empty());
}

TEST_F(EditorWindows, ClosingTheBarUnlinksEveryRecord)
{
    cButton* a = AddButton("a", "1", "");
    TButtonForm* bar = OpenBar();
    bar->Close();
    PumpEvents();
    RunQueuedCalls();
    EXPECT_EQ(Window->ButtonForm(), nullptr);
    EXPECT_EQ(a->Control, nullptr);
    // Reopened, it builds the buttons again from the records.
    EXPECT_EQ(OpenBar()->Buttons().size(), 1u);
}

TEST_F(EditorWindows, ButtonNameHoldsTwentyBytes)
{
    auto* dialog = new TButtonEditForm(Window);
    dialog->Show();
    PumpEvents();
    // 가나다라마바사아자차카: eleven syllables, 22 bytes; the eleventh is refused whole.
    EditTypeText(dialog->NameEdit(), QString::fromUtf8("가나다라마바사아자차카"));
    EXPECT_EQ(dialog->NameEdit()->Text(),
              "\xB0\xA1\xB3\xAA\xB4\xD9\xB6\xF3\xB8\xB6\xB9\xD9\xBB\xE7\xBE\xC6\xC0\xDA"
              "\xC2\xF7");
    delete dialog;
}

TEST_F(EditorWindows, RepeatBoxIsOffWhileCycling)
{
    cTimer timer;
    timer.Name = "t", timer.Action = cTimer::CycleForever, timer.Repeat = 4;
    auto* dialog = new TTimerEditForm(Window);
    dialog->SetRecord(&timer);
    dialog->Show();
    PumpEvents();
    EXPECT_FALSE(dialog->RepeatEdit()->Enabled());
    dialog->CycleBox()->SetChecked(false);
    dialog->CycleBoxClick();
    EXPECT_TRUE(dialog->RepeatEdit()->Enabled());
    delete dialog;
}

// Numbers typed into the timer dialog's boxes and saved at once (the Save button never takes the
// focus, so the boxes never bound them themselves).
struct TTimerBoundsRow {
    const char* Name;
    const char* Tick;
    const char* Repeat;
    int32_t Ticker;
    int32_t Repeats;
};

class RegressionTimerNumbersSavedOutOfRange : public EditorWindows,
                                              public ::testing::WithParamInterface<TTimerBoundsRow> {};

TEST_P(RegressionTimerNumbersSavedOutOfRange, AreBoundedToTheBoxes)
{
    const TTimerBoundsRow& row = GetParam();
    cTimer timer;
    timer.Name = "t", timer.Action = 0, timer.Ticker = 5, timer.Repeat = 3;
    SetModalFormHook([&row](TCustomForm& form) {
        auto& dialog = dynamic_cast<TTimerEditForm&>(form);
        dialog.TickEdit()->SetText(row.Tick);
        dialog.RepeatEdit()->SetText(row.Repeat);
        dialog.SaveBtnClick();
    });
    ASSERT_EQ(EditTimerRecord(Window, timer), TDialogEnd::Saved);
    EXPECT_EQ(timer.Ticker, row.Ticker);
    EXPECT_EQ(timer.Repeat, row.Repeats);
}

INSTANTIATE_TEST_SUITE_P(Timers, RegressionTimerNumbersSavedOutOfRange,
                         ::testing::Values(TTimerBoundsRow{"ZeroTick", "0", "3", 1, 3},
                                           TTimerBoundsRow{"TickAboveTheBox", "70000", "3", 65535, 3},
                                           TTimerBoundsRow{"ZeroRepeat", "5", "0", 5, 1},
                                           TTimerBoundsRow{"InRange", "30", "7", 30, 7}),
                         [](const ::testing::TestParamInfo<TTimerBoundsRow>& row) { return row.param.Name; });

TEST_F(EditorWindows, CloseBoxOfADialogIsCancel)
{
    cTriggers trigger;
    trigger.From = "a", trigger.To = "b";
    SetModalFormHook([](TCustomForm& form) {
        dynamic_cast<TTriggersEditForm&>(form).FromBuffEdit()->SetText("changed");
        form.Close();
    });
    EXPECT_EQ(EditTriggerRecord(Window, trigger), TDialogEnd::Cancelled);
    EXPECT_EQ(trigger.From, "a");
}

TEST_F(EditorWindows, MacroDialogHintWrapsInsideTheDialog)
{
    auto* dialog = new TMacroEditForm(Window);
    auto* hint = dynamic_cast<TLabel*>(dialog->FindComponent("Label1"));
    ASSERT_NE(hint, nullptr);
    EXPECT_LE(hint->Width(), 276);
    EXPECT_GT(hint->Width(), 200);
    EXPECT_LE(hint->Left() + hint->Width(), dialog->ClientWidth());
    // The second sentence is longer than the label: it takes more than the two written lines.
    EXPECT_GT(hint->Height(), 2 * hint->Canvas()->TextHeight("X"));
    delete dialog;
}

// --- Pictures -------------------------------------------------------------------------------

// The name of the editor's control with the focus.
AnsiString Focus(TDriverForm* editor)
{
    return editor->ActiveControl() ? editor->ActiveControl()->Name() : AnsiString("none");
}

// The page was built on show and again when the activation came, which took the focus back to the
// variable grid from wherever the player had moved it meanwhile.
TEST_F(EditorWindows, RegressionOpeningBuiltThePageTwice)
{
    Window->Script().CmdConfig.ActivePage = epVariables;
    Window->OpenDriverUnit();
    TDriverForm* editor = Window->DriverForm();
    ASSERT_FALSE(editor->Active());  // the window system's activation is still to come
    EXPECT_EQ(Focus(editor), "VarGrid");
    editor->Driver()->SetFocus();
    PumpEvents();
    ASSERT_TRUE(editor->Active());
    EXPECT_EQ(Focus(editor), "Driver");
    EXPECT_EQ(editor->Driver()->ActivePageIndex(), epVariables);
}

// Activated again after the character window had the focus, the editor shows the page the
// settings name now.
TEST_F(EditorWindows, ActivatedAgainShowsTheSettingsPage)
{
    Window->Script().CmdConfig.ActivePage = epTriggers;
    Window->OpenDriverUnit();
    PumpEvents();
    TDriverForm* editor = Window->DriverForm();
    Window->Handle()->activateWindow();
    PumpEvents();
    ASSERT_FALSE(editor->Active());
    Window->Script().CmdConfig.ActivePage = epAlias;
    editor->Handle()->activateWindow();
    PumpEvents();
    ASSERT_TRUE(editor->Active());
    EXPECT_EQ(editor->Driver()->ActivePageIndex(), epAlias);
}

class EditorScreenshot : public EditorWindows {
protected:
    void SetUp() override
    {
        REQUIRE_REAL_X();
        EditorWindows::SetUp();
        TScriptState& s = Window->Script();
        AddButton("\xBA\xD2", "light", "dark", 1);  // 불
        AddButton("look", "look", "");
        auto timer = std::make_unique<cTimer>();
        timer->Name = "tick", timer->Ticker = 30, timer->Status = 1, timer->OnBuff = "look";
        s.AddUserTimer(std::move(timer));
        for (const char* from : {"(hp)", "\xB9\xE8\xB0\xED\xC7\xC4\xB4\xD9"}) {  // 배고프다
            auto t = std::make_unique<cTriggers>();
            t->From = from, t->To = "eat <B>bread</B>", t->Number = s.TriggerList.Count() + 1;
            t->NickName = std::to_string(t->Number);
            s.TriggerList.Add(std::move(t));
        }
        auto v = std::make_unique<cVariables>();
        v->Name = "hp", v->Type = 'D', v->Value = "120";
        s.VariableList.Add(std::move(v));
        auto a = std::make_unique<cAlias>();
        a->Name = "gg", a->Text = "say gg %1";
        s.AliasList.Add(std::move(a));
        auto m = std::make_unique<cKeyMacro>();
        m->Name = "Ctrl+F1", m->ShortCut = 0x4070, m->ToBuff = "kill";
        s.KeyMacroList.Add(std::move(m));
    }
};

TEST_F(EditorScreenshot, EachPageWithItsRecords)
{
    const char* names[] = {"EditorButtons",   "EditorTimers",  "EditorTriggers",
                           "EditorVariables", "EditorAliases", "EditorMacros"};
    // Shorter than it opens, to fit the test's screen.
    auto* editor = new TDriverForm(Window);
    editor->SetPosition(poDesigned);
    editor->SetBounds(0, 0, editor->Width(), 560);
    editor->Show();
    for (int page = 0; page < kEditorPageCount; ++page) {
        Window->Script().CmdConfig.ActivePage = page;
        editor->FormActivate();
        Settle(30);
        ExpectScreenshot(*editor, "tests/app/golden", names[page]);
    }
    delete editor;
}

TEST_F(EditorScreenshot, EachDialogFilled)
{
    Window->Script().CmdConfig.ActivePage = epTriggers;
    Window->OpenDriverUnit();
    TDriverForm* editor = Window->DriverForm();
    struct TShot {
        int page;
        const char* name;
    };
    const TShot shots[] = {{epButton, "ButtonDialog"}, {epTimer, "TimerDialog"}, {epTriggers, "TriggerDialog"},
                           {epVariables, "VarDialog"}, {epAlias, "AliasDialog"}, {epMacro, "MacroDialog"}};
    for (const TShot& shot : shots) {
        SetModalFormHook([&shot](TCustomForm& form) {
            Settle();
            ExpectScreenshot(dynamic_cast<TForm&>(form), "tests/app/golden", shot.name);
            form.Close();
        });
        editor->Editor().Edit(shot.page);
    }
}

TEST_F(EditorScreenshot, BarWithAToggleDown)
{
    TButtonForm* bar = OpenBar();
    Settle();
    ExpectScreenshot(*bar, "tests/app/golden", "ButtonBar");
}

}  // namespace
