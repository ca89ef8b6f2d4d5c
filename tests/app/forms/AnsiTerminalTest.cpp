// The character window where it must stay safe while its own handlers run: data that arrives
// while a trigger's message box is open, and a window closed from inside such a box.

#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <string>
#include <utility>
#include <vector>

#include "GuiTestSupport.h"
#include "WindowTestSupport.h"
#include "app/core/StatusBar.h"
#include "app/forms/AnsiTerminal.h"
#include "platform/core/TimerService.h"
#include "platform/gui/Application.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/NetSocket.h"
#include "platform/gui/Sound.h"
#include "terminal/control/Terminal.h"

namespace {

// A connected window; the boxes it shows go into the log too.
class TWindowFixture : public TConnectedWindowTest {
protected:
    void SetUp() override
    {
        TConnectedWindowTest::SetUp();
        Open();
    }
    void TearDown() override
    {
        SetMessageBoxHook(nullptr);
        TConnectedWindowTest::TearDown();
    }

    void AddTrigger(const AnsiString& from, const AnsiString& to)
    {
        auto record = std::make_unique<cTriggers>();
        record->From = from;
        record->To = to;
        Window->Script().TriggerList.Add(std::move(record));
        Window->Script().TriggersChanged();
    }
    std::vector<AnsiString> ScreenLines()
    {
        const TTerminalCore& core = Window->Terminal()->Core();
        std::vector<AnsiString> lines;
        for (int y = core.MaxLinePos(); y < core.CurY(); ++y) {
            AnsiString line = core.Data().Strings(y);
            line.erase(line.find_last_not_of(' ') + 1);
            lines.push_back(line);
        }
        return lines;
    }

    // A condition on a variable that does not exist: the engine reports it in a box.
    const AnsiString BoxAction = "#if (@(nosuch) = 1) {say yes} {say no}";
};

TEST_F(TWindowFixture, RegressionDataArrivingDuringABoxIsWalkedAfterItInOrder)
{
    AddTrigger("boom", BoxAction);
    AddTrigger("after", "say seen");
    SetMessageBoxHook([this](const AnsiString&, const AnsiString&, unsigned) {
        Log.push_back("box");
        Socket->PeerReceive("after\r\n");
        PumpEvents();  // the box's own event loop
        Log.push_back("box closed");
        return IDOK;
    });
    Socket->PeerReceive("boom\r\n");
    PumpEvents();
    const std::vector<std::string> expected = {"box",       "box closed",    "sent say no",
                                               "sent \r\n", "sent say seen", "sent \r\n"};
    EXPECT_EQ(Log, expected);
    EXPECT_EQ(ScreenLines(),
              (std::vector<AnsiString>{"mud:4000 \xBF\xA1 \xC1\xA2\xBC\xD3 "
                                       "\xBD\xC3\xB5\xB5\xC1\xDF\xC0\xD4\xB4\xCF\xB4\xD9.",
                                       "boom", "after"}));
}

TEST_F(TWindowFixture, RegressionAWindowClosedInsideItsOwnBoxIsFreedAfterwards)
{
    AddTrigger("boom", BoxAction + "|say after");
    TAnsiTerminalForm* window = Window;
    SetMessageBoxHook([window](const AnsiString&, const AnsiString&, unsigned) {
        window->Close();
        PumpEvents();
        return IDOK;
    });
    Socket->PeerReceive("boom\r\nmore\r\n");
    PumpEvents();
    // Disconnected and unlinked at once; nothing was sent after the close; freed once the
    // handlers had returned.
    EXPECT_EQ(Log, std::vector<std::string>{"closed"});
    EXPECT_EQ(Entry->TermForm, nullptr);
    EXPECT_FALSE(Screen->HasForm(window));
}

// A trigger's minute-long tones played on for a quarter of an hour after their window closed.
TEST_F(TWindowFixture, RegressionAClosedWindowsTonesEnd)
{
    AddTrigger("alarm", "#beep 440,60000");
    std::vector<TSoundRequest> sounds;
    TSoundHook old = SetSoundHook([&sounds](const TSoundRequest& request) {
        sounds.push_back(request);
        return true;
    });
    Socket->PeerReceive("alarm\r\nalarm\r\n");
    PumpEvents();
    TAnsiTerminalForm* window = Window;
    window->Close();
    PumpEvents();
    SetSoundHook(old);
    // Both tones were the window's, and its close (and its freeing after) stopped them.
    ASSERT_GE(sounds.size(), 3u);
    for (size_t i = 0; i < sounds.size(); ++i) {
        EXPECT_EQ(sounds[i].Kind, i < 2 ? TSoundRequest::kBeep : TSoundRequest::kStopBeeps) << i;
        EXPECT_EQ(sounds[i].Owner, window) << i;
    }
    EXPECT_EQ(sounds[0].Duration, 60000u);
}

}  // namespace

namespace {

// The status bar's panels with the texts that were cut: the connected time lost its first digit
// and the insert indicator its last letter under the CPU bar.
TEST_F(TWindowFixture, RegressionStatusPanelsShowTheirTextsWholeBesideTheCpuBar)
{
    TStatusBar* bar = Window->StatusBar();
    TCanvas* canvas = bar->Canvas();
    canvas->SetFont(bar->Font());
    const std::pair<int, const char*> texts[] = {{kPanelIme, StatusText::English},
                                                 {kPanelInsert, StatusText::Overwrite},
                                                 {kPanelConnectedTime, "00:00:00"},
                                                 {kPanelTrigger, "T:Off"}};
    for (const auto& [panel, text] : texts)
        EXPECT_LE(canvas->TextWidth(text) + 4, bar->PanelRect(panel).Width()) << "panel " << panel;
    const TRect cpu = bar->PanelRect(kPanelCpu);
    EXPECT_GE(Window->CpuBar()->Left(), bar->PanelRect(kPanelInsert).Right);
    EXPECT_EQ(Window->CpuBar()->Left(), cpu.Left);
    EXPECT_EQ(Window->CpuBar()->Width(), cpu.Width());
}

}  // namespace
