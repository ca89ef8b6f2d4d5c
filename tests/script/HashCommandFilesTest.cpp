// The command-file words: saving the script, loading it back, and a file whose start-up commands
// load it again.

#include "HashCommandTest.h"
#include "script/Variables.h"

TEST_F(HashCommandTest, SaveThenLoadRestoresTheScript)
{
    const std::string path = Folder + "/Mine.Cmd";
    Run("#vs hp 120|#ts a,hp %d,say %0,fight");
    state.CmdConfig.StartUpCmd = "#echo loaded";
    Run(AnsiString("#save ") + path);
    EXPECT_EQ(state.TriggerFile, path);
    EXPECT_NE(ReadFile(path).find("#Variables"), std::string::npos);

    Run("#vd hp|#td 1");
    Clear();
    Run(AnsiString("#load ") + path + "|after");
    ASSERT_NE(FindVariable(state.VariableList, "hp"), nullptr);
    EXPECT_EQ(FindVariable(state.VariableList, "hp")->Value, "120");
    ASSERT_EQ(state.TriggerList.Count(), 1);
    // The start-up commands ran, then the rest of the text.
    EXPECT_EQ(Messages(), "\n\rloaded");
    EXPECT_EQ(Lines(), Strings{"after"});
    Receive("hp 7\r\n");
    EXPECT_EQ(Lines(), (Strings{"after", "say 7"}));
}

TEST_F(HashCommandTest, LoadOfAMissingFileChangesNothing)
{
    Run("#vs hp 1");
    Run(AnsiString("#load ") + Folder + "/none.Cmd|#load");
    EXPECT_EQ(state.VariableList.Count(), 1);
    EXPECT_EQ(host.Count(TScriptEvent::SaveBook), 0);
    EXPECT_EQ(Messages(), "");
}

TEST_F(HashCommandTest, FileNameWithABlankIsGivenInBraces)
{
    const std::string path = WriteFile("my script.Cmd", "#Alias\r\nName 1 k\r\nText 8 kill %1\r\nEnd\r\n#END\r\n");
    Run(AnsiString("#load {") + path + "}");
    ASSERT_EQ(state.AliasList.Count(), 1);
    Run("k orc");
    EXPECT_EQ(Lines(), Strings{"kill orc"});
    Run(AnsiString("#save {") + Folder + "/copy of it.Cmd}");
    EXPECT_EQ(ReadFile(Folder + "/copy of it.Cmd").empty(), false);
}

TEST_F(HashCommandTest, SaveThatFailsIsReportedAndKeepsTheOldFile)
{
    Run("#save");  // no file: nothing
    EXPECT_TRUE(host.Events.empty());
    Run("#save /proc/none/x.Cmd");
    EXPECT_EQ(host.Count(TScriptEvent::MessageBox), 1);
    EXPECT_EQ(host.Count(TScriptEvent::SaveBook), 0);
}

TEST_F(HashCommandTest, FileWhoseStartUpLoadsItAgainStopsAtTheNestingLimit)
{
    const std::string path = Folder + "/Self.Cmd";
    const std::string startUp = "#load " + path + "\r\nnext";
    WriteFile("Self.Cmd", "#Config\r\nStartUpCmd " + std::to_string(startUp.size()) + " " + startUp +
                              "\r\nEnd\r\n#Alias\r\nName 1 a\r\nText 1 b\r\nEnd\r\n#END\r\n");
    Run(AnsiString("#load ") + path);
    // The typed load, then one nested load per level until the limit.
    EXPECT_EQ(host.Count(TScriptEvent::SaveBook), TScriptState::MaxNesting);
    EXPECT_EQ(Messages(), ScriptText::NestingTooDeep);
    // The whole text that went too deep stops: no start-up text runs its second line.
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(state.AliasList.Count(), 1);
    Clear();
    Run("a");
    EXPECT_EQ(Lines(), Strings{"b"});
}

TEST_F(HashCommandTest, LoadFromATriggerActionReplacesTheRunningTriggers)
{
    const std::string path = WriteFile("Next.Cmd", "#Triggers\r\nNickName 1 n\r\nFrom 1 x\r\nTo 3 new\r\nEnd\r\n#END\r\n");
    AddTrigger("a", "x", AnsiString("#load ") + path + "|old");
    AddTrigger("b", "x", "later");
    AddTrigger("c", "x", "last");
    Receive("x\r\n");
    EXPECT_EQ(Lines().front(), "old");
    ASSERT_EQ(state.TriggerList.Count(), 1);
    EXPECT_EQ(state.TriggerList[0]->To, "new");
    Clear();
    Receive("x\r\n");
    EXPECT_EQ(Lines(), Strings{"new"});
}
