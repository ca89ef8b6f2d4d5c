// Writing command files: the exact bytes, the round trip, and saves that fail.

#include <filesystem>

#include "CmdFileTest.h"
#include "platform/core/AtomicFile.h"

namespace {

const std::string Header = Ks("* MUD client command file\r\n\r\n"
                              "* 이 프로그램의 상세한 정보는 다음 사이트에 가면 얻을 수 있습니다.\r\n"
                              "*   http://hanmud.invalid/\r\n"
                              "*   hanmud@hanmud.invalid\r\n"
                              "* 이 데이터는 가능한 직접 수정하지 않는것이 좋습니다.\r\n"
                              "* 데이터를 직접 수정해서 벌어지는 참사는 책임지지 않습니다.\r\n"
                              "* 다른것들도 책임져 드리는 것은 아무것도 없습니다.\r\n\r\n");

} // namespace

TEST_F(CmdFileTest, GoldenFileSavesBackByteForByte)
{
    const std::string golden = ReadFile(GoldenPath());
    ASSERT_FALSE(golden.empty());
    ASSERT_TRUE(state.LoadCmdFile(GoldenPath()));
    const AnsiString copy = PathOf("Copy.Cmd");
    ASSERT_TRUE(state.SaveCmdFile(copy));
    EXPECT_EQ(ReadFile(copy), golden);
    EXPECT_EQ(CmdFileText(state), golden);
}

TEST_F(CmdFileTest, FreshStateWritesOnlyTheSettingsThatAreAlwaysWritten)
{
    EXPECT_EQ(CmdFileText(state), Header +
                                      "#Config\r\n"
                                      "TrigMode        1\r\n"
                                      "ActivePage      2\r\n"
                                      "ToolView        15\r\n"
                                      "End\r\n\r\n"
                                      "#END\r\n");
}

TEST_F(CmdFileTest, RecordBlocksHaveTheirKeysInTheirColumns)
{
    state.CmdConfig.WFCSCmd = "a b";
    state.CmdConfig.TimerActivee = 1;  // read, never written
    auto* button = state.ButtonList.Add(std::make_unique<cButton>());
    button->Name = "\xB0\xA1";  // two bytes, one character
    button->OnBuff = "on";
    auto* variable = AddVariable("v", "", 'D');
    variable->Dvalue = "5";  // read, never written
    auto* macro = state.KeyMacroList.Add(std::make_unique<cKeyMacro>());
    macro->ShortCut = scCtrl | scShift | 'A';
    const AnsiString text = CmdFileText(state);
    EXPECT_NE(text.find("#Config\r\nTrigMode        1\r\nActivePage      2\r\nToolView        15\r\n"
                        "WFCSCmd      3 a b\r\nEnd\r\n\r\n#Button\r\n"),
              AnsiString::npos);
    EXPECT_NE(text.find("#Button\r\nAction      0\r\nStatus      0\r\nName        2 \xB0\xA1\r\n"
                        "OnBuff      2 on\r\nEnd\r\n\r\n#Variables\r\n"),
              AnsiString::npos);
    EXPECT_NE(text.find("#Variables\r\nAction      0\r\nName        1 v\r\nType        D\r\nValue       0 \r\n"
                        "End\r\n\r\n"),
              AnsiString::npos);
    EXPECT_NE(text.find("#KeyMacro\r\nAction      1\r\nShortCut    24641\r\nName        0 \r\nToBuff      0 \r\n"
                        "End\r\n\r\n#END\r\n"),
              AnsiString::npos);
    EXPECT_EQ(text.find("TimerActivee"), AnsiString::npos);
    EXPECT_EQ(text.find("Dvalue"), AnsiString::npos);
}

TEST_F(CmdFileTest, SaveAndLoadGiveTheSameRecords)
{
    state.CmdConfig.TrigMode = 200;  // written as the signed byte
    state.CmdConfig.StatusLine = std::string("nul\0inside", 10);
    auto* parent = state.TriggerList.Add(std::make_unique<cTriggers>());
    parent->Number = 12;
    parent->From = "p";
    auto* child = state.TriggerList.Add(std::make_unique<cTriggers>());
    child->ParentRec = parent;
    child->From = "End\r\n#END\r\n";
    child->Status = 0xFFFFFFFFu;
    auto* macro = state.KeyMacroList.Add(std::make_unique<cKeyMacro>());
    macro->ShortCut = 0xFFFF;
    AddVariable("d", "-7", 'D');

    EXPECT_NE(CmdFileText(state).find("TrigMode        -56\r\n"), AnsiString::npos);
    const AnsiString path = PathOf("Round.Cmd");
    ASSERT_TRUE(state.SaveCmdFile(path));
    ASSERT_TRUE(state.LoadCmdFile(path));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(state.CmdConfig.TrigMode, 200);
    EXPECT_EQ(state.CmdConfig.StatusLine, std::string("nul\0inside", 10));
    ASSERT_EQ(state.TriggerList.Count(), 2);
    EXPECT_EQ(state.TriggerList[1]->Parent, 12);  // the parent's number, not a link
    EXPECT_EQ(state.TriggerList[1]->From, "End\r\n#END\r\n");
    EXPECT_EQ(state.TriggerList[1]->Status, 0xFFFFFFFFu);
    EXPECT_EQ(state.KeyMacroList[0]->ShortCut, 0xFFFF);
    EXPECT_EQ(state.VariableList[0]->Type, 'D');
    EXPECT_EQ(state.VariableList[0]->Value, "-7");
}

// A trigger loaded from a file has a parent number but no parent link; saving it again must not
// turn that number into 0.
TEST_F(CmdFileTest, ResaveKeepsTheParentNumberOfAnUnlinkedTrigger)
{
    auto* t = state.TriggerList.Add(std::make_unique<cTriggers>());
    t->Parent = 3;
    EXPECT_NE(CmdFileText(state).find("#Triggers\r\nParent      3\r\n"), AnsiString::npos);
}

TEST_F(CmdFileTest, SaveRecordsThePathAndSavesTheBookButRunsNothing)
{
    state.CmdConfig.StartUpCmd = "hello";
    AddAlias("a", "b");
    const AnsiString path = PathOf("Saved.Cmd");
    ASSERT_TRUE(state.SaveCmdFile(path));
    EXPECT_EQ(state.TriggerFile, path);
    EXPECT_EQ(state.AliasList[0]->FileName, "Saved.Cmd");
    EXPECT_EQ(host.Count(TScriptEvent::SaveBook), 1);
    EXPECT_TRUE(Sends().empty());
}

TEST_F(CmdFileTest, SaveMakesAMissingFolder)
{
    const AnsiString path = PathOf("Cmd/Deeper/New.Cmd");
    ASSERT_TRUE(state.SaveCmdFile(path));
    EXPECT_EQ(ReadFile(path), CmdFileText(state));
}

TEST_F(CmdFileTest, FailedSaveLeavesTheOldFile)
{
    const AnsiString path = WriteFile("Old.Cmd", "old bytes");
    AddAlias("new", "x");
    state.TriggerFile = "before.Cmd";
    for (TAtomicWriteStep step :
         {TAtomicWriteStep::Create, TAtomicWriteStep::Write, TAtomicWriteStep::Sync, TAtomicWriteStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        host.Clear();
        InjectAtomicWriteFailure(step);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(state.SaveCmdFile(path));
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find(" :: "), std::string::npos);  // the cause is logged
        EXPECT_EQ(Boxes(), std::vector<AnsiString>{CmdFileMessages::SaveFailed});
        EXPECT_EQ(ReadFile(path), "old bytes");
        EXPECT_EQ(FolderFiles(), std::vector<std::string>{"Old.Cmd"});  // no temporary file left
        EXPECT_EQ(host.Count(TScriptEvent::SaveBook), 0);
        EXPECT_EQ(state.TriggerFile, "before.Cmd");
        EXPECT_EQ(state.AliasList[0]->FileName, "");
    }
    InjectAtomicWriteFailure(TAtomicWriteStep::None);
}

TEST_F(CmdFileTest, SaveToAnUnwritablePlaceFails)
{
    testing::internal::CaptureStderr();
    EXPECT_FALSE(state.SaveCmdFile(""));
    EXPECT_FALSE(state.SaveCmdFile("/proc/no-such-folder/x.Cmd"));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Boxes(), (std::vector<AnsiString>{CmdFileMessages::SaveFailed, CmdFileMessages::SaveFailed}));
    EXPECT_EQ(host.Count(TScriptEvent::SaveBook), 0);
}
