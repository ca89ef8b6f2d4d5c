// The program's windows under Xvfb with real content, against pictures of ours: the book with
// three entries, a capture window with Korean lines, the entry dialog, the settings dialog with
// each sample, and the small windows.

#include <gtest/gtest.h>

#include "ProgramTestSupport.h"
#include "app/forms/AboutBox.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/CaptureForm.h"
#include "app/forms/CharEditForm.h"
#include "app/forms/ChatForm.h"
#include "app/forms/StartUpCmdForm.h"
#include "app/forms/StatusEditForm.h"
#include "app/forms/TerminalConfig.h"
#include "app/forms/ViewWalkForm.h"
#include "app/forms/WFCFCmdForm.h"
#include "controls/lib/TextListBox.h"
#include "controls/lib/ToolEdit.h"
#include "grid/control/CellGrid.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

namespace {

constexpr const char* kGolden = "tests/app/golden";

class TProgramScreenshot : public TProgramTest {
protected:
    void SetUp() override
    {
        REQUIRE_REAL_X();
        TProgramTest::SetUp();
        // 한글머드|전사, 한글머드|마법사, 연습 서버|도적
        WriteBook(BookRecord("\xC7\xD1\xB1\xDB\xB8\xD3\xB5\xE5", "\xC0\xFC\xBB\xE7", 4000) +
                  BookRecord("\xC7\xD1\xB1\xDB\xB8\xD3\xB5\xE5", "\xB8\xB6\xB9\xFD\xBB\xE7", 4000) +
                  BookRecord("\xBF\xAC\xBD\xC0 \xBC\xAD\xB9\xF6", "\xB5\xB5\xC0\xFB", 5000) + "#END\r\n");
        Start();
    }
    // Shows the window's modal form and checks its picture.
    template <class F>
    void ShootModal(const char* name, std::function<void(F&)> prepare = nullptr)
    {
        OnModal([name, prepare](TCustomForm& form) {
            auto& dialog = dynamic_cast<F&>(form);
            if (prepare)
                prepare(dialog);
            ExpectScreenshot(dialog, kGolden, name);
        });
    }
    TAnsiTerminalForm* OpenWindow()
    {
        TAnsiTerminalForm* window = Books->CharBooksGridDblClickCell(1, 0);
        window->Script().CmdConfig.StatusLine = "HP 120/200";
        window->Script().WalkRec.FileName = "road.Wlk";
        window->Script().WalkRec.State = 2;
        window->Script().WalkRec.Steps = {"n", "e // \xB4\xEB\xB9\xAE", "B s", "w"};  // 대문
        window->History().Enter("look");
        window->History().Enter("\xB8\xF7 \xC3\xC4");     // 몹 쳐
        window->History().Enter("say \xBE\xC8\xB3\xE7");  // 안녕
        return window;
    }
};

TEST_F(TProgramScreenshot, BookWindowWithThreeEntries)
{
    Books->CharBooksGrid()->SetRow(2);
    ExpectScreenshot(*Books, kGolden, "BookWindow");
}

TEST_F(TProgramScreenshot, CaptureWindowWithKoreanLines)
{
    PutCaptureText(
        Books, nullptr, "\xC0\xFC\xC5\xF5",
        "\x1b[31m\xB0\xED\xBA\xED\xB8\xB0\x1b[37m\xC0\xBB \xB0\xF8\xB0\xDD\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9.");
    PutCaptureText(Books, nullptr, "\xC0\xFC\xC5\xF5",
                   "\xB0\xED\xBA\xED\xB8\xB0\xB0\xA1 \xC1\xD7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9. (EXP +120)");
    TCaptureForm* capture = nullptr;
    for (int i = 0; i < Books->ComponentCount() && !capture; ++i)
        capture = dynamic_cast<TCaptureForm*>(Books->Components(i));
    ASSERT_NE(capture, nullptr);
    capture->SetClientWidth(400);
    capture->SetClientHeight(120);
    ExpectScreenshot(*capture, kGolden, "CaptureWindow");
}

TEST_F(TProgramScreenshot, EntryDialogEditingAnEntry)
{
    ShootModal<TCharEditForm>("EntryDialog");
    Books->EditButtonClick();
}

TEST_F(TProgramScreenshot, SettingsDialogWithEachSample)
{
    TAnsiTerminalForm* window = OpenWindow();
    ShootModal<TTerminalConfig>("SettingsText");
    window->FindAction("ActionOptionConfig")->Execute();
    ShootModal<TTerminalConfig>("SettingsAnsi", [](TTerminalConfig& dialog) { dialog.SampleGroup()->SetItemIndex(1); });
    window->FindAction("ActionOptionConfig")->Execute();
}

TEST_F(TProgramScreenshot, SmallWindowsOfACharacter)
{
    TAnsiTerminalForm* window = OpenWindow();
    ShootModal<TViewWalkForm>("WalkViewer", [](TViewWalkForm& viewer) {
        // The test's folder has a name of its own each run; a player's is as long as this one.
        viewer.ShowPath("/home/player/.local/share/hanmud\\Cmd\\road.Wlk");
        viewer.WalkEdit()->SetCaretPos(TPoint{0, 1});
        viewer.WalkEditSelectionChange();
    });
    window->FindAction("ActionViewWalk")->Execute();
    ShootModal<TStartUpCmdForm>("StartUpCommands",
                                [](TStartUpCmdForm& editor) { editor.CmdEdit()->SetText("#var hp 0\r\nwho"); });
    window->FindMenuItem("N10")->Click();
    ShootModal<TStatusEditForm>("StatusLineEditor");
    window->FindAction("ActionEditStatus")->Execute();
    ShootModal<TWFCFCmdForm>("CommentSearchCommands", [](TWFCFCmdForm& editor) {
        editor.CmdSEdit()->SetText("say found");
        editor.CmdFEdit()->SetText("say lost");
    });
    ShowWFCFCmd(*window);
    ShootModal<TChatForm>("HistoryPicker", [](TChatForm& picker) { picker.TextListBox()->SetItemIndex(1); });
    window->ComboEdit()->DoClick();
    ShootModal<TAboutBox>("AboutBox");
    Books->AboutButtonClick();
}

}  // namespace
