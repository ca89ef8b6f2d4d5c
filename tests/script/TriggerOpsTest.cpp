#include <gtest/gtest.h>

#include "TriggerTestSupport.h"
#include "script/TriggerOps.h"

namespace {

class TriggerOpsTest : public ::testing::Test {
protected:
    TriggerOpsTest()
    {
        a = AddTrigger(state, "a", "say a", 0, " one ", " fight ");
        b = AddTrigger(state, "b", "say b", 0, "two", "fight");
        empty = AddTrigger(state, "", "say c", 0, "three", "fight");
    }

    TTriggerTestHost host;
    TScriptState state{host};
    cTriggers* a;
    cTriggers* b;
    cTriggers* empty;
};

TEST_F(TriggerOpsTest, ByNumberOutsideTheListDoesNothing)
{
    TriggerOnByNumber(state, 2);
    TriggerOnByNumber(state, 0);
    TriggerOnByNumber(state, 4);
    TriggerOnByNumber(state, INT32_MIN);
    EXPECT_EQ(b->Status, cTriggers::Enabled);
    EXPECT_EQ(a->Status, 0u);
    TriggerOffByNumber(state, 2);
    EXPECT_EQ(b->Status, 0u);
}

TEST_F(TriggerOpsTest, OnlyTriggersWithPatternAndActionAreSwitchedOn)
{
    TriggerOnByNumber(state, 3);
    AllOn(state);
    EXPECT_EQ(empty->Status, 0u);
    EXPECT_EQ(a->Status, cTriggers::Enabled);
    empty->Status = cTriggers::Enabled;
    AllOff(state);
    EXPECT_EQ(empty->Status, 0u);
}

TEST_F(TriggerOpsTest, NamesAndGroupsCompareTrimmed)
{
    TriggerOnByName(state, "one  ");
    EXPECT_EQ(a->Status, cTriggers::Enabled);
    TriggerOffByName(state, " one");
    EXPECT_EQ(a->Status, 0u);
    EXPECT_EQ(TriggerActionByName(state, "two"), "say b");
    EXPECT_EQ(TriggerActionByName(state, "nobody"), "");

    GroupOn(state, "fight ");
    EXPECT_EQ(a->Status, cTriggers::Enabled);
    EXPECT_EQ(b->Status, cTriggers::Enabled);
    EXPECT_EQ(empty->Status, 0u);
    empty->Status = cTriggers::Enabled;
    GroupOff(state, "fight");
    EXPECT_EQ(a->Status, 0u);
    EXPECT_EQ(empty->Status, cTriggers::Enabled);  // a trigger that cannot run is left alone
    GroupOn(state, "");
    EXPECT_EQ(a->Status, 0u);
}

TEST_F(TriggerOpsTest, DeleteByNumber)
{
    DeleteTriggerByNumber(state, 0);
    DeleteTriggerByNumber(state, 4);
    EXPECT_EQ(state.TriggerList.Count(), 3);
    DeleteTriggerByNumber(state, 1);
    ASSERT_EQ(state.TriggerList.Count(), 2);
    EXPECT_EQ(state.TriggerList[0], b);
}

TEST_F(TriggerOpsTest, SwitchingOnDuringALineLetsTheTriggerFireOnIt)
{
    // b is a partial-line trigger that was off when the line began.
    b->Status = cTriggers::StaysEnabled;
    for (const char c : std::string_view("xb"))
        state.ScanReceivedText(AnsiString(1, c));
    EXPECT_EQ(host.Sent(), "");
    TriggerOnByName(state, "two");
    state.ScanReceivedText("y");
    EXPECT_EQ(host.Sent(), "say b\r\n");
}

} // namespace
