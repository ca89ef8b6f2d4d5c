// The character window's controls under the terminal, wired: the T/D button, the mouse wheel over
// the window, and a window connected through a scripted host with Korean colour text and the
// status bar filled, against a picture of ours (under Xvfb).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "WindowTestSupport.h"
#include "app/forms/AnsiTerminal.h"
#include "controls/lib/ToolEdit.h"
#include "platform/core/ProgramFolder.h"
#include "platform/gui/ButtonCtrls.h"
#include "terminal/control/Terminal.h"
#include "tests/platform/core/TempFolder.h"

namespace {

using InputWindow = TConnectedWindowTest;

TEST_F(InputWindow, TranslationButtonFlipsTheModeAndGivesTheInputLineTheFocus)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    Window->Terminal()->SetFocus();
    EXPECT_EQ(Window->TranslationBtn()->Caption(), "D");
    Window->TranslationBtn()->Click();
    EXPECT_EQ(Entry->GetTranslate(), 1);
    EXPECT_EQ(Window->TranslationBtn()->Caption(), "T");
    EXPECT_EQ(Window->ActiveControl(), Window->ComboEdit());
    Window->TranslationBtn()->Click();
    EXPECT_EQ(Entry->GetTranslate(), 0);
    EXPECT_EQ(Window->TranslationBtn()->Caption(), "D");
}

// What the terminal sends (typed on it, a double click, a clicked prompt, a line of the input
// line on a port other than 23) reaches the game with CR LF line ends; a bare CR glued the next
// command to the line.
struct TLineEndCase {
    const char* name;
    std::function<void(TTerminal&)> send;
    const char* sent;
};

class TerminalLineEnds : public TConnectedWindowTest, public ::testing::WithParamInterface<TLineEndCase> {};

TEST_P(TerminalLineEnds, RegressionLinesFromTheTerminalEndInCrLf)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    Log.clear();
    GetParam().send(*Window->Terminal());
    EXPECT_EQ(Log, std::vector<std::string>{GetParam().sent});
}

const TLineEndCase kLineEndCases[] = {
    {"TypedEnter", [](TTerminal& t) { t.PutChar('\r'); }, "sent \r\n"},
    {"TypedLetter", [](TTerminal& t) { t.PutChar('n'); }, "sent n"},
    {"ClickedYesPrompt", [](TTerminal& t) { t.PutDirectString("Y\r"); }, "sent Y\r\n"},
    {"LineAlreadyEndingInCrLf", [](TTerminal& t) { t.PutDirectString("say hi\r\n"); }, "sent say hi\r\n"},
    {"TextWithoutLineEnd", [](TTerminal& t) { t.PutDirectString("abc"); }, "sent abc"},
};

INSTANTIATE_TEST_SUITE_P(Window, TerminalLineEnds, ::testing::ValuesIn(kLineEndCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(InputWindow, EachWheelStepScrollsFourLines)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    std::string lines;
    for (int i = 0; i < 100; ++i)
        lines += "line " + std::to_string(i) + "\r\n";
    Socket->PeerReceive(lines);
    PumpEvents();
    const TTerminalCore& core = Window->Terminal()->Core();
    const int live = core.LinePos();
    // Over the status line: the wheel reaches the window from any of its controls.
    QWidget* target = Window->ComboEdit()->Handle();
    auto wheel = [target](int delta) {
        const QPointF at(5, 5);
        QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(target, &e);
    };
    wheel(120);
    wheel(120);
    EXPECT_EQ(core.LinePos(), live - 8);
    wheel(-120);
    EXPECT_EQ(core.LinePos(), live - 4);
}

// What the terminal had shown of the host's text at each write of the window's.
class BusyHostWindow : public TConnectedWindowTest {
protected:
    void Sent(TNetSocket& socket, std::string_view bytes) override
    {
        TConnectedWindowTest::Sent(socket, bytes);
        LinesShownAtSend.push_back(Window->Terminal()->Core().CurY());
    }
    std::vector<int> LinesShownAtSend;
};

// A line typed while the host pours text in goes out after the piece of text being read, not
// after all that the socket holds.
TEST_F(BusyHostWindow, RegressionATypedLineWaitedForTheWholeRead)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    const int before = Window->Terminal()->Core().CurY();
    std::string text;
    const int lines = 8000;
    for (int i = 0; i < lines; ++i)
        text += "line " + std::to_string(10000 + i) + "\r\n";  // 12 bytes a line
    Socket->PeerReceive(text);
    QWidget* input = Window->ComboEdit()->Handle();
    for (auto [key, typed] : {std::pair(Qt::Key_X, "x"), std::pair(Qt::Key_Return, "\r")}) {
        QCoreApplication::postEvent(input, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, typed));
        QCoreApplication::postEvent(input, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, typed));
    }
    PumpEvents();
    ASSERT_EQ(Log, std::vector<std::string>{"sent x\r\n"});
    // One notification's piece of 16 KiB had been shown, of the 94 KiB waiting.
    EXPECT_LE(LinesShownAtSend.at(0) - before, 16 * 1024 / 12 + 1);
    EXPECT_GT(LinesShownAtSend.at(0) - before, 0);
    // The rest followed, with the line's echo among it.
    EXPECT_EQ(Window->Terminal()->Core().CurY() - before, lines + 1);
}

TEST_F(InputWindow, ScreenshotOfAConnectedWindow)
{
    REQUIRE_REAL_X();
    TempFolder folder;
    // The generated bitmap fonts of the build, and counters that make the meter show 40.
    std::filesystem::create_directory_symlink(std::filesystem::path(ExecutableFolder()) / "Fonts",
                                              std::filesystem::path(folder.Path()) / "Fonts");
    const std::string stat = folder.File("stat");
    TempFolder::Write(stat, "cpu0 40 0 0 60 0 0 0 0 0 0\n");
    TAnsiTerminalForm::ProcStatPath = stat;
    ASSERT_NO_FATAL_FAILURE(Open());
    Window->Script().CmdConfig.StatusLine = "HP 120/200 \xC3\xBC\xB7\xC2";  // 체력
    // The terminal's reset keeps the colours: white (37) comes back explicitly.
    Socket->PeerReceive("\x1b[33m\xBE\xC8\xB3\xE7\xC7\xCF\xBC\xBC\xBF\xE4\x1b[37m, "  // 안녕하세요
                        "\x1b[32m\xC7\xD1\xB1\xDB \xB8\xD3\xB5\xE5\x1b[37m\r\n"       // 한글 머드
                        "\x1b[31mHP\x1b[37m 120/200 \x1b[36mSP\x1b[37m 80/80\r\n");
    Clock.Advance(5000);
    PumpEvents();
    TempFolder::Write(stat, "cpu0 80 0 0 120 0 0 0 0 0 0\n");
    Clock.Advance(100);
    PumpEvents();
    TAnsiTerminalForm::ProcStatPath = "/proc/stat";
    ExpectScreenshot(*Window, "tests/app/golden", "ConnectedWindow");
}

}  // namespace
