// The walk viewer (the caret's place, Save, Save as, a file that cannot be written), the status
// line, start-up and comment-search editors, the history picker's buttons and the about box.

#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "ProgramTestSupport.h"
#include "app/forms/AboutBox.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/ChatForm.h"
#include "app/forms/StartUpCmdForm.h"
#include "app/forms/StatusEditForm.h"
#include "app/forms/ViewWalkForm.h"
#include "app/forms/WFCFCmdForm.h"
#include "controls/lib/ExLabel.h"
#include "controls/lib/TextListBox.h"
#include "controls/lib/ToolEdit.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/StoredPath.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Shell.h"
#include "platform/gui/StdCtrls.h"
#include "terminal/control/Terminal.h"

namespace fs = std::filesystem;

namespace {

class TDialogsTest : public TProgramTest {
protected:
    void SetUp() override
    {
        TProgramTest::SetUp();
        Start();
        Window = Books->CharBooksGridDblClickCell(1, 0);
        Clock.Advance(2000);
        PumpEvents();
        ASSERT_TRUE(Window->Connected());
    }
    template <class F>
    void Next(const std::function<void(F&)>& script)
    {
        OnModal([script](TCustomForm& form) { script(dynamic_cast<F&>(form)); });
    }
    // A loaded walk of ten steps, standing at its last step.
    void LoadWalk()
    {
        cWalk& walk = Window->Script().WalkRec;
        walk.FileName = "road.Wlk";
        walk.State = 2;
        for (int i = 0; i < 10; ++i)
            walk.Steps.push_back(i % 2 ? "n" : "e // step");
        walk.Current = walk.Previous = walk.Saved = 9;
        fs::create_directories(Folder.File("Cmd"));
    }
    TAnsiTerminalForm* Window = nullptr;
};

TEST_F(TDialogsTest, WalkViewerShowsTheCaretsLineAndColumn)
{
    LoadWalk();
    Next<TViewWalkForm>([](TViewWalkForm& viewer) {
        EXPECT_EQ(viewer.WalkNameLabel()->Caption(), ShownPath(viewer.Path()));
        viewer.WalkEdit()->SetCaretPos(TPoint{0, 2});
        viewer.WalkEditSelectionChange();
        EXPECT_EQ(Cp949ToUtf8(viewer.StatusBar()->Panels(0)->Text), "줄:3/10");
        EXPECT_EQ(Cp949ToUtf8(viewer.StatusBar()->Panels(1)->Text), "칸:1");
    });
    Window->FindAction("ActionViewWalk")->Execute();
}

// The path label was cut at the buttons, though a player's data folder alone is longer: it shows
// the path whole, and the buttons follow it inside the window.
TEST_F(TDialogsTest, RegressionWalkViewerShowsItsPathWholeBesideTheButtons)
{
    LoadWalk();
    Next<TViewWalkForm>([](TViewWalkForm& viewer) {
        const AnsiString path = "/home/player/.local/share/hanmud\\Cmd\\road.Wlk";
        viewer.ShowPath(path);
        TLabel* label = viewer.WalkNameLabel();
        label->Canvas()->SetFont(label->Font());
        EXPECT_LE(label->Canvas()->TextWidth(path), label->Width());
        auto* save = dynamic_cast<TControl*>(viewer.FindComponent("SaveBtn"));
        auto* exit = dynamic_cast<TControl*>(viewer.FindComponent("ExitBtn"));
        EXPECT_GT(save->Left(), label->Left() + label->Width());
        EXPECT_LE(exit->Left() + exit->Width(), viewer.ClientWidth());
    });
    Window->FindAction("ActionViewWalk")->Execute();
}

TEST_F(TDialogsTest, RegressionWalkViewerSaveKeepsTheIndexesWithinTheSteps)
{
    LoadWalk();
    Next<TViewWalkForm>([](TViewWalkForm& viewer) {
        viewer.WalkEdit()->SetText("n\r\nB s\r\ne");
        viewer.SaveBtnClick();
        EXPECT_FALSE(viewer.Visible() && viewer.ModalResult() == mrNone);
    });
    Window->FindAction("ActionViewWalk")->Execute();
    const cWalk& walk = Window->Script().WalkRec;
    EXPECT_EQ(walk.Steps, (std::vector<AnsiString>{"n", "B s", "e"}));
    EXPECT_EQ(walk.Current, 3);
    EXPECT_EQ(walk.Previous, 3);
    EXPECT_EQ(walk.Saved, 3);
    EXPECT_EQ(TempFolder::Read(Folder.File("Cmd/road.Wlk")), "n\r\nB s\r\ne\r\n");
}

TEST_F(TDialogsTest, WalkViewerSaveAsRenamesTheWalk)
{
    LoadWalk();
    const TDialogHook old = SetDialogHook([this](const TDialogRequest& request) -> std::optional<std::string> {
        const auto& file = static_cast<const TFileDialogRequest&>(request);
        Log.push_back("file " + Cp949ToUtf8(file.Title) + "|" + file.Filter);
        return Folder.File("Cmd/other.Wlk");
    });
    Next<TViewWalkForm>([](TViewWalkForm& viewer) { viewer.SaveAsBtnClick(); });
    Window->FindAction("ActionViewWalk")->Execute();
    SetDialogHook(old);
    EXPECT_EQ(Window->Script().WalkRec.FileName, "other.Wlk");
    EXPECT_EQ(TempFolder::Read(Folder.File("Cmd/other.Wlk")).substr(0, 11), "e // step\r\n");
    EXPECT_EQ(Log.at(1),
              "file 다른이름으로 저장할 Walk파일을 선택하십시요.|Walk files (*.Wlk)|*.Wlk|Text files "
              "(*.Txt)|*.Txt|All files (*.*)|*.*");
}

TEST_F(TDialogsTest, RegressionWalkFileThatCannotBeWrittenIsReportedAndNothingChanges)
{
    LoadWalk();
    TempFolder::Write(Folder.File("Cmd/road.Wlk"), "old\r\n");
    bool stayed = false;
    Next<TViewWalkForm>([&stayed](TViewWalkForm& viewer) {
        viewer.WalkEdit()->SetText("n");
        InjectAtomicWriteFailure(TAtomicWriteStep::Write);
        viewer.SaveBtnClick();
        stayed = viewer.Visible() && viewer.ModalResult() == mrNone;
    });
    Window->FindAction("ActionViewWalk")->Execute();
    EXPECT_TRUE(stayed);
    EXPECT_EQ(Window->Script().WalkRec.Steps.size(), 10u);
    EXPECT_EQ(TempFolder::Read(Folder.File("Cmd/road.Wlk")), "old\r\n");
    ASSERT_EQ(Log.size(), 2u);
    EXPECT_EQ(Log[1].rfind("box 에러|Walk File 저장이 안됩니다", 0), 0u);
}

TEST_F(TDialogsTest, StatusEditorKeepsTheTemplateWhenLeftEmptyOrClosed)
{
    TScriptState& script = Window->Script();
    script.CmdConfig.StatusLine = "old";
    Next<TStatusEditForm>([](TStatusEditForm& editor) {
        EXPECT_EQ(editor.Edit1()->Text(), "old");
        editor.Edit1()->SetText("");
        editor.SaveBtnClick();
    });
    Window->FindAction("ActionEditStatus")->Execute();
    EXPECT_EQ(script.CmdConfig.StatusLine, "old");
    Next<TStatusEditForm>([](TStatusEditForm& editor) { editor.Edit1()->SetText("changed"); });
    Window->FindAction("ActionEditStatus")->Execute();
    EXPECT_EQ(script.CmdConfig.StatusLine, "old");
    EXPECT_TRUE(fs::is_empty(Folder.File("Cmd")));  // no command file written
}

TEST_F(TDialogsTest, StatusEditorStoresATemplateAndSavesTheCommandFile)
{
    Window->CharBook()->TriggerFile = "Cmd\\a.cmd";
    Next<TStatusEditForm>([](TStatusEditForm& editor) {
        editor.Edit1()->SetText("HP @(hp)");
        char enter = '\r';
        editor.Edit1()->OnKeyPress(editor.Edit1(), enter);
    });
    Window->FindAction("ActionEditStatus")->Execute();
    EXPECT_EQ(Window->Script().CmdConfig.StatusLine, "HP @(hp)");
    EXPECT_NE(TempFolder::Read(Folder.File("Cmd/a.cmd")).find("HP @(hp)"), std::string::npos);
}

TEST_F(TDialogsTest, DoubleClickOnTheStatusLineOpensItsEditor)
{
    Window->Script().CmdConfig.StatusLine = "old";
    int shown = 0;
    Next<TStatusEditForm>([&](TStatusEditForm& editor) {
        ++shown;
        editor.Edit1()->SetText("HP @(hp)");
        editor.SaveBtnClick();
    });
    const TRect line = Window->StatusLabel()->BoundsRect();
    const QPoint at(line.Left + 5, line.Top + line.Height() / 2);
    SendMouse(Window->Handle(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(Window->Handle(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    SendMouse(Window->Handle(), QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(Window->Handle(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(Window->Script().CmdConfig.StatusLine, "HP @(hp)");
}

TEST_F(TDialogsTest, StartUpAndCommentSearchEditorsStoreOnlyOnSave)
{
    cConfig& config = Window->Script().CmdConfig;
    Next<TStartUpCmdForm>([](TStartUpCmdForm& editor) {
        editor.CmdEdit()->SetText("#var a 1");
        editor.ExitBtnClick();
    });
    Window->FindMenuItem("N10")->Click();
    EXPECT_EQ(config.StartUpCmd, "");
    Next<TStartUpCmdForm>([](TStartUpCmdForm& editor) {
        editor.CmdEdit()->SetText("#var a 1");
        editor.SaveBtnClick();
    });
    Window->FindMenuItem("N10")->Click();
    EXPECT_EQ(config.StartUpCmd, "#var a 1");
    Next<TWFCFCmdForm>([](TWFCFCmdForm& editor) {
        editor.CmdSEdit()->SetText("found");
        editor.CmdFEdit()->SetText("lost");
        editor.SaveBtnClick();
    });
    ShowWFCFCmd(*Window);
    EXPECT_EQ(config.WFCSCmd + "|" + config.WFCFCmd, "found|lost");
}

TEST_F(TDialogsTest, HistoryPickerSendsToTheInputLineOrTheScreen)
{
    Window->History().Enter("look");
    Window->History().Enter("east");
    Next<TChatForm>([](TChatForm& picker) {
        picker.BitBtn4Click();
        EXPECT_EQ(picker.TextListBox()->Items()->Strings(0), "east");
        picker.TextListBox()->SetItemIndex(1);
        picker.BitBtn2Click();
    });
    Window->ComboEdit()->DoClick();
    EXPECT_EQ(Window->ComboEdit()->Text(), "look");
    EXPECT_EQ(Window->History().Line(0), "look");
    Log.clear();
    Next<TChatForm>([](TChatForm& picker) {
        picker.TextListBox()->SetItemIndex(0);
        picker.BitBtn1Click();
    });
    Window->ComboEdit()->DoClick();
    EXPECT_EQ(Log, (std::vector<std::string>{"modal TChatForm", "sent look"}));
    EXPECT_EQ(Window->History().Count(), 3);
    EXPECT_EQ(Window->History().Line(2), "look");
    const TTerminalCore& core = Window->Terminal()->Core();
    EXPECT_NE(core.Data().Strings(core.CurY()).find("look"), AnsiString::npos);
}

TEST_F(TDialogsTest, RegressionSendToScreenSendsNothingWhileDisconnected)
{
    Window->History().Enter("look");
    Window->DisconnectHost();
    PumpEvents();
    ASSERT_FALSE(Window->Connected());
    Log.clear();
    Next<TChatForm>([](TChatForm& picker) {
        picker.TextListBox()->SetItemIndex(0);
        picker.BitBtn1Click();
    });
    Window->ComboEdit()->DoClick();
    EXPECT_EQ(Log, std::vector<std::string>{"modal TChatForm"});
    EXPECT_EQ(Window->History().Count(), 2);
}

TEST_F(TDialogsTest, HistoryPickerWithoutAChoiceOnlyCloses)
{
    Window->History().Enter("look");
    Window->ComboEdit()->SetText("typed");
    Next<TChatForm>([](TChatForm& picker) { picker.BitBtn1Click(); });
    Window->ComboEdit()->DoClick();
    Next<TChatForm>([](TChatForm& picker) { picker.BitBtn2Click(); });
    Window->ComboEdit()->DoClick();
    EXPECT_EQ(Window->ComboEdit()->Text(), "typed");
    EXPECT_EQ(Window->History().Count(), 1);
}

TEST_F(TDialogsTest, AboutBoxShowsItsVersionAndOpensItsLinks)
{
    std::vector<std::string> opened;
    SetShellOpenUrlHook([&opened](const AnsiString& url) {
        opened.push_back(url);
        return false;
    });
    Next<TAboutBox>([](TAboutBox& about) {
        EXPECT_EQ(about.Version()->Caption(), "0.210 Close version");
        about.StaticText1Click();
        about.StaticText2Click();
    });
    Books->AboutButtonClick();
    SetShellOpenUrlHook(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"http://hanmud.invalid/", "mailto:hanmud@hanmud.invalid"}));
}

}  // namespace
