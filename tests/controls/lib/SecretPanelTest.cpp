// The credits panel on the manual clock: children hidden while it plays, the run's length in
// ticks, the stop at its end or the restart when cycled.

#include "controls/lib/SecretPanel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "GuiTestSupport.h"
#include "platform/core/TimerService.h"

namespace {

class SecretPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        previous = &TimerService();
        SetTimerService(&clock);
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        form->HandleNeeded();
        panel = new TSecretPanel(form.get());
        panel->SetBounds(0, 0, 200, 120);
        panel->SetParent(form.get());
        panel->HandleNeeded();
        shown = new TCustomControl(form.get());
        shown->SetParent(panel);
        hidden = new TCustomControl(form.get());
        hidden->SetParent(panel);
        hidden->Hide();
        panel->Lines()->SetText("\r\nfirst\r\nsecond\r\nthird\r\n");
        panel->OnStopPlay = [this](TObject*) { log += "stop "; };
        panel->OnStartPlay = [this](TObject*) { log += "start "; };
    }
    void TearDown() override
    {
        form.reset();
        SetTimerService(previous);
    }
    TManualTimerService clock;
    ITimerService* previous = nullptr;
    std::unique_ptr<TForm> form;
    TSecretPanel* panel = nullptr;
    TCustomControl *shown = nullptr, *hidden = nullptr;
    std::string log;
};

TEST_F(SecretPanelTest, RunScrollsItsLengthThenStopsAndShowsTheChildrenAgain)
{
    panel->Play();
    EXPECT_FALSE(shown->Visible());
    // Upwards: the text area's height and one step for each line from the first that is not
    // blank.
    const int steps = panel->ScrollLength();
    EXPECT_EQ((steps - panel->TextRect().Height()) % 3, 0);
    clock.Advance(30u * static_cast<unsigned>(steps));
    EXPECT_TRUE(panel->Active());
    EXPECT_EQ(panel->ScrollCount(), steps);
    clock.Advance(30);
    EXPECT_FALSE(panel->Active());
    EXPECT_EQ(log, "start stop ");
    EXPECT_TRUE(shown->Visible());
    EXPECT_FALSE(hidden->Visible());
}

TEST_F(SecretPanelTest, CycledRunStartsAgainInsteadOfStopping)
{
    panel->SetCycled(true);
    panel->Play();
    clock.Advance(30u * static_cast<unsigned>(panel->ScrollLength() + 1));
    EXPECT_TRUE(panel->Active());
    EXPECT_EQ(panel->ScrollCount(), 0);
    panel->Lines()->Add("fourth");  // the run starts over with the new lines
    EXPECT_EQ(panel->ScrollCount(), 0);
    panel->Stop();
    EXPECT_EQ(log, "start stop ");
}

}  // namespace
