// The trigger words: switching by number, name, group and all at once, deleting, running an
// action, and steering the pass (stop, suspend, jump, mode).

#include <algorithm>

#include "HashCommandTest.h"

namespace {

bool On(const cTriggers* t) { return t->Status & cTriggers::Enabled; }

} // namespace

TEST_F(HashCommandTest, DeleteByNumberRemovesOnlyAnExistingPosition)
{
    AddTrigger("a", "x", "one");
    AddTrigger("b", "x", "two");
    AddTrigger("c", "x", "three");
    Run("#td 2");
    ASSERT_EQ(state.TriggerList.Count(), 2);
    EXPECT_EQ(state.TriggerList[1]->NickName, "c");
    for (const char* nothing : {"#td 0", "#td 3", "#td -1", "#td x", "#td"})
        Run(nothing);
    EXPECT_EQ(state.TriggerList.Count(), 2);
    Receive("x\r\n");
    EXPECT_EQ(Lines(), (Strings{"one", "three"}));
    EXPECT_EQ(Messages(), "");
}

TEST_F(HashCommandTest, OnAndOffByNumber)
{
    cTriggers* a = AddTrigger("a", "x", "one");
    cTriggers* empty = AddTrigger("b", "x", "");
    Run("#tf 1");
    EXPECT_FALSE(On(a));
    Receive("x\r\n");
    EXPECT_TRUE(Lines().empty());
    Run("#to 1|#to 2");
    EXPECT_TRUE(On(a));
    Run("#tf 2|#to 2");  // a trigger without an action is never switched on
    EXPECT_FALSE(On(empty));
    Receive("x\r\n");
    EXPECT_EQ(Lines(), Strings{"one"});
}

TEST_F(HashCommandTest, OnAndOffByNameAndTheTwoWordsThatDeleteNothing)
{
    cTriggers* hp = AddTrigger(" hp ", "x", "one");
    Run("#tnf hp");
    EXPECT_FALSE(On(hp));
    Run("#tno hp");
    EXPECT_TRUE(On(hp));
    // "tgd" switches the named trigger off, "tnd" on; neither takes it from the list.
    Run("#tgd hp");
    EXPECT_FALSE(On(hp));
    Run("#tnd hp");
    EXPECT_TRUE(On(hp));
    EXPECT_EQ(state.TriggerList.Count(), 1);
    Run("#tnf nobody|#tnf");
    EXPECT_TRUE(On(hp));
}

TEST_F(HashCommandTest, GroupsAndAllTriggers)
{
    cTriggers* a = AddTrigger("a", "x", "one", "fight");
    cTriggers* b = AddTrigger("b", "y", "two", " fight ");
    cTriggers* c = AddTrigger("c", "z", "three", "rest");
    Run("#tgf fight");
    EXPECT_EQ((Strings{On(a) ? "on" : "off", On(b) ? "on" : "off", On(c) ? "on" : "off"}),
              (Strings{"off", "off", "on"}));
    Run("#tgo fight|#tgf rest");
    EXPECT_TRUE(On(a) && On(b) && !On(c));
    Run("#taf");
    EXPECT_FALSE(On(a) || On(b) || On(c));
    Run("#tao");
    EXPECT_TRUE(On(a) && On(b) && On(c));
    Run("#tgf {}|#tgf");  // no group named: nothing
    EXPECT_TRUE(On(a) && On(b) && On(c));
}

TEST_F(HashCommandTest, StopEndsTheRunningPass)
{
    AddTrigger("a", "x", "one|#trr");
    AddTrigger("b", "x", "two");
    Receive("x\r\n");
    EXPECT_EQ(Lines(), Strings{"one"});
    // The next pass tries every trigger again.
    Run("#to 1");
    Receive("x\r\n");
    EXPECT_EQ(Lines(), (Strings{"one", "one"}));
}

TEST_F(HashCommandTest, SuspendCountsLineEndsAndOnlyResumeTriggersFire)
{
    AddTrigger("a", "hit", "one");
    AddTrigger("b", "wake", "#tro|woken");
    Run("#trs 2");
    EXPECT_EQ(state.TrigSuspend, 2);
    Receive("hit\r\n");  // the CR and the LF count two line ends
    EXPECT_TRUE(Lines().empty());
    Receive("hit\r\n");
    EXPECT_EQ(Lines(), Strings{"one"});

    Run("#trp");
    Receive("hit\r\nhit\r\nhit\r\n");
    EXPECT_EQ(Lines(), Strings{"one"});
    // A resume trigger fires while the others wait, and ends the suspension at once.
    Receive("wake\r\nhit\r\n");
    EXPECT_EQ(Lines(), (Strings{"one", "woken", "one"}));

    Run("#trp|#tro");
    EXPECT_EQ(state.TrigSuspend, 0);
}

TEST_F(HashCommandTest, JumpSetByAnActionIsTakenAtTheNextMatch)
{
    AddTrigger("1", "x", "#tgt 3|one");
    AddTrigger("2", "x", "two");
    AddTrigger("3", "x", "three");
    AddTrigger("4", "x", "four");
    Receive("x\r\n");
    const Strings lines = Lines();
    EXPECT_EQ(lines.front(), "one");
    EXPECT_EQ(lines.back(), "four");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "three"), 0);
    EXPECT_EQ(state.TrigJump, 0);

    Run("#tgt 9");  // beyond the list: stays pending
    EXPECT_EQ(state.TrigJump, 9);
}

TEST_F(HashCommandTest, RunActionByName)
{
    AddTrigger("greet", "nothing matches this", "say hi|#echo done");
    Run("#trn greet");
    EXPECT_EQ(Lines(), Strings{"say hi"});
    EXPECT_EQ(Messages(), "\n\rdone");
    Clear();
    Run("#trn nobody");
    EXPECT_TRUE(host.Events.empty());
}

TEST_F(HashCommandTest, RunActionWithoutANameRunsNoNamelessTrigger)
{
    AddTrigger("", "x", "nameless");
    Run("#trn");
    EXPECT_TRUE(host.Events.empty());
    Run("#trn {}");  // a name given as empty does name it
    EXPECT_EQ(Lines(), Strings{"nameless"});
}

TEST_F(HashCommandTest, TriggerModeOffLetsOnlyResumeTriggersFire)
{
    AddTrigger("a", "x", "one");
    AddTrigger("b", "x", "#tro|two");
    Run("#tmf");
    EXPECT_EQ(state.CmdConfig.TrigMode, 0);
    Receive("x\r\n");
    EXPECT_EQ(Lines(), Strings{"two"});
    Run("#tmo");
    EXPECT_EQ(state.CmdConfig.TrigMode, 1);
    Receive("x\r\n");
    EXPECT_EQ(Lines(), (Strings{"two", "one", "two"}));
}

TEST_F(HashCommandTest, TriggerWordsFromATriggerAction)
{
    // An action that switches itself off and deletes a trigger after it in the running pass.
    AddTrigger("self", "hp %d", "#tnf self|#td 3|#echo hp=%0");
    AddTrigger("b", "hp", "two");
    AddTrigger("c", "hp", "three");
    Receive("hp 120/200\r\n");
    EXPECT_EQ(Messages(), "\n\rhp=120");
    EXPECT_EQ(Lines(), Strings{"two"});
    EXPECT_FALSE(On(state.TriggerList[0]));
    EXPECT_EQ(state.TriggerList.Count(), 2);
}
