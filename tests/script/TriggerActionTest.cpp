#include <gtest/gtest.h>

#include "TriggerTestSupport.h"
#include "script/TriggerAction.h"

namespace {

class TriggerActionTest : public ::testing::Test {
protected:
    void SetCaptures(std::initializer_list<const char*> texts)
    {
        int k = 0;
        for (const char* t : texts) {
            state.CaptureSlots[static_cast<size_t>(k)].Kind = 4;
            state.CaptureSlots[static_cast<size_t>(k)].Text = t;
            ++k;
        }
        state.CaptureCount = k;
    }
    AnsiString Expand(std::string_view to)
    {
        bool resumes = false;
        return ExpandTriggerAction(to, state, resumes);
    }

    TTriggerTestHost host;
    TScriptState state{host};
};

TEST_F(TriggerActionTest, CapturesReplaceTheirNumbers)
{
    SetCaptures({"Bob", "hi"});
    EXPECT_EQ(Expand("say %1 to %0"), "say hi to Bob");
    // A number without a capture stays as written.
    EXPECT_EQ(Expand("say %2 %3 %x %"), "say %2 %3 %x %");
    EXPECT_EQ(Expand("%0%0"), "BobBob");
}

TEST_F(TriggerActionTest, IfConditionsKeepTheirCaptureReferences)
{
    SetCaptures({"5"});
    EXPECT_EQ(Expand("say %0|#if (%0 > 3) {say %0}|say %0"), "say 5|#if (%0 > 3) {say 5}|say 5");
    EXPECT_EQ(Expand("#if (%0 > 3) x %0 |y %0"), "#if (%0 > 3) x %0 |y 5");
}

TEST_F(TriggerActionTest, TroInTheActionEndsASuspension)
{
    bool resumes = false;
    ExpandTriggerAction("say a|#tro", state, resumes);
    EXPECT_TRUE(resumes);
    state.TrigSuspend = 65535;
    state.RunTriggerAction("#rem #tro anywhere");
    EXPECT_EQ(state.TrigSuspend, 0);
}

TEST_F(TriggerActionTest, RunTriggerActionRunsTheBuiltText)
{
    SetCaptures({"goblin"});
    state.RunTriggerAction("kill %0|look");
    EXPECT_EQ(host.Sent(), "kill goblin\r\nlook\r\n");
}

TEST_F(TriggerActionTest, CaptureTextKnowsOnlyTheFilledSlots)
{
    SetCaptures({"a", "b"});
    ASSERT_NE(state.CaptureText(1), nullptr);
    EXPECT_EQ(*state.CaptureText(1), "b");
    EXPECT_EQ(state.CaptureText(2), nullptr);
    EXPECT_EQ(state.CaptureText(-1), nullptr);
}

TEST_F(TriggerActionTest, MatchTriggerFillsAndClearsTheSlots)
{
    EXPECT_TRUE(state.MatchTrigger("hp 12/30", "hp %d/%d"));
    ASSERT_EQ(state.CaptureCount, 2);
    EXPECT_EQ(state.CaptureSlots[1].Text, "30");
    EXPECT_EQ(state.CaptureSlots[1].Kind, 2);
    EXPECT_FALSE(state.MatchTrigger("sp 1", "hp %d"));
    EXPECT_EQ(state.CaptureCount, 0);
    EXPECT_EQ(state.CaptureSlots[0].Text, "");
    EXPECT_EQ(state.CaptureSlots[1].Kind, 0);
}

} // namespace
