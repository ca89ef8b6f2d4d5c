// Reading command files: the golden file, keys in any order, and every way a file can be wrong.

#include <fstream>

#include "CmdFileTest.h"

namespace M = CmdFileMessages;

namespace {

// An alias section, used to see which parts of a file were loaded.
std::string AliasSection(const std::string& name)
{
    return "#Alias\r\nName        " + std::to_string(name.size()) + " " + name + "\r\nText        1 x\r\nEnd\r\n\r\n";
}

std::vector<AnsiString> AliasNames(const TScriptState& state)
{
    std::vector<AnsiString> names;
    for (const auto& a : state.AliasList)
        names.push_back(a->Name);
    return names;
}

} // namespace

TEST_F(CmdFileTest, GoldenFileLoadsEveryRecord)
{
    EXPECT_TRUE(state.LoadCmdFile(GoldenPath()));
    EXPECT_TRUE(Boxes().empty());

    const cConfig& c = state.CmdConfig;
    EXPECT_EQ(c.StatusLine, Ks("체력 @(체력) / 마력 @(마력)"));
    EXPECT_EQ(c.TrigMode, 1);
    EXPECT_EQ(c.ActivePage, 3);
    EXPECT_EQ(c.ToolView, 11);
    EXPECT_EQ(c.StartUpCmd, Ks("#rem 시작\r\n인사하기\r\n봐"));
    EXPECT_EQ(c.WFCSCmd, "ws");
    EXPECT_EQ(c.WFCFCmd, Ks("wf 끝"));

    ASSERT_EQ(state.ButtonList.Count(), 2);
    EXPECT_EQ(state.ButtonList[0]->Status, 1);
    EXPECT_EQ(state.ButtonList[0]->Name, Ks("공격"));
    EXPECT_EQ(state.ButtonList[0]->OnBuff, Ks("kill 쥐"));
    EXPECT_EQ(state.ButtonList[0]->OffBuff, "flee");
    EXPECT_EQ(state.ButtonList[1]->Action, 2);
    EXPECT_EQ(state.ButtonList[1]->Name, "End");  // a value is never taken for a key
    EXPECT_EQ(state.ButtonList[1]->OnBuff, "#Config\r\n* not a comment");
    EXPECT_EQ(state.ButtonList[1]->OffBuff, "");
    EXPECT_EQ(state.ButtonList[1]->FileName, "Character.Cmd");

    ASSERT_EQ(state.TimerRecList.Count(), 2);
    const cTimer& potion = *state.TimerRecList[0];
    EXPECT_EQ(potion.Action, 2);
    EXPECT_EQ(potion.Status, 1);
    EXPECT_EQ(potion.Ticker, 30);
    EXPECT_EQ(potion.Repeat, 0);
    EXPECT_EQ(potion.Name, Ks("물약"));
    EXPECT_EQ(potion.OnBuff, Ks("drink 물약"));
    EXPECT_EQ(state.TimerRecList[1]->Action, 0);
    EXPECT_EQ(state.TimerRecList[1]->Ticker, 5);
    EXPECT_EQ(state.TimerRecList[1]->Repeat, 3);
    EXPECT_EQ(state.TimerRecList[1]->Name, "");

    ASSERT_EQ(state.TriggerList.Count(), 2);
    const cTriggers& loot = *state.TriggerList[0];
    EXPECT_EQ(loot.Status, 13u);
    EXPECT_EQ(loot.NickName, "1");
    EXPECT_EQ(loot.Group, Ks("전투"));
    EXPECT_EQ(loot.From, Ks("%s 죽었습니다."));
    EXPECT_EQ(loot.To, Ks("get all|#cap 전리품 @(__현재줄)"));
    const cTriggers& recall = *state.TriggerList[1];
    EXPECT_EQ(recall.Parent, 1);
    EXPECT_EQ(recall.ParentRec, nullptr);  // only the number is kept
    EXPECT_EQ(recall.Status, 5u);
    EXPECT_EQ(recall.Action, 1);
    EXPECT_EQ(recall.Group, "");
    EXPECT_EQ(recall.To, "#if {%1 < 50} {recall}");
    EXPECT_EQ(recall.FileName, "Character.Cmd");

    ASSERT_EQ(state.VariableList.Count(), 3);
    EXPECT_EQ(state.VariableList[0]->Type, 'D');
    EXPECT_EQ(state.VariableList[0]->Value, "-42");
    EXPECT_EQ(state.VariableList[1]->Type, 'S');
    EXPECT_EQ(state.VariableList[1]->Value, Ks("안녕 하세요  "));
    EXPECT_EQ(state.VariableList[2]->Action, 1);
    EXPECT_EQ(state.VariableList[2]->Value, "");

    ASSERT_EQ(state.AliasList.Count(), 1);
    EXPECT_EQ(state.AliasList[0]->Name, Ks("인사하기"));
    EXPECT_EQ(state.AliasList[0]->Text, Ks("say 안녕하세요|bow"));

    ASSERT_EQ(state.KeyMacroList.Count(), 2);
    EXPECT_EQ(state.KeyMacroList[0]->ShortCut, 112);  // F1
    EXPECT_EQ(state.KeyMacroList[0]->ToBuff, "look");
    EXPECT_EQ(state.KeyMacroList[1]->Action, 0);
    EXPECT_EQ(state.KeyMacroList[1]->ShortCut, scAlt | '1');
    EXPECT_EQ(state.KeyMacroList[1]->ToBuff, Ks("cast 화염구\r\nrest"));
    EXPECT_EQ(state.KeyMacroList[1]->FileName, "Character.Cmd");

    EXPECT_EQ(state.TriggerFile, GoldenPath());
}

TEST_F(CmdFileTest, KeysInAnyOrderRepeatedOrMissing)
{
    ASSERT_TRUE(LoadText("#Config\r\n"
                         "ToolView 1\r\nStartUpCmd 0 \r\nTimerActivee 1\r\nTrigMode 3|4\r\n"
                         "ActivePage 0\r\nActivePage 5\r\nWFCFCmd 2 ff\r\nWFCSCmd 2 ss\r\nStatusLine 2 st\r\nEnd\r\n"
                         "#Button\r\nOffBuff 3 off\r\nOnBuff 2 on\r\nName 1 a\r\nStatus 1\r\nAction 4\r\nName 1 b\r\nEnd\r\n"
                         "#Button\r\nName 1 c\r\nEnd\r\n"
                         "#Timer\r\nOnBuff 1 t\r\nName 1 n\r\nRepeat 2\r\nTicker 9\r\nStatus 2\r\nAction 0\r\n"
                         "Ticker 4\r\nEnd\r\n"
                         "#Timer\r\nName 1 m\r\nEnd\r\n"
                         "#Triggers\r\nTo 2 to\r\nFrom 2 fr\r\nGroup 1 g\r\nNickName 1 k\r\nAction 3\r\nStatus 1\r\n"
                         "Parent 7\r\nStatus 9\r\nEnd\r\n"
                         "#Triggers\r\nFrom 1 x\r\nTo 1 y\r\nEnd\r\n"
                         "#Variables\r\nDvalue 2 10\r\nValue 2 11\r\nType D\r\nName 1 v\r\nAction 2\r\nEnd\r\n"
                         "#Variables\r\nName 1 w\r\nEnd\r\n"
                         "#Alias\r\nText 1 t\r\nName 1 a\r\nAction 6\r\nText 2 t2\r\nEnd\r\n"
                         "#KeyMacro\r\nToBuff 1 z\r\nName 1 Z\r\nShortCut 90000\r\nEnd\r\n"
                         "#END\r\n"));
    EXPECT_TRUE(Boxes().empty());
    const cConfig& c = state.CmdConfig;
    EXPECT_EQ(c.ToolView, 1);
    EXPECT_EQ(c.TimerActivee, 1);
    EXPECT_EQ(c.TrigMode, 7);
    EXPECT_EQ(c.ActivePage, 5);
    EXPECT_EQ(c.StartUpCmd, "");
    EXPECT_EQ(c.StatusLine, "st");
    EXPECT_EQ(c.WFCFCmd, "ff");
    EXPECT_EQ(c.WFCSCmd, "ss");

    ASSERT_EQ(state.ButtonList.Count(), 2);
    EXPECT_EQ(state.ButtonList[0]->Name, "b");
    EXPECT_EQ(state.ButtonList[0]->OffBuff, "off");
    EXPECT_EQ(state.ButtonList[0]->OnBuff, "on");
    EXPECT_EQ(state.ButtonList[0]->Status, 1);
    EXPECT_EQ(state.ButtonList[0]->Action, 4);
    EXPECT_EQ(state.ButtonList[1]->Status, 0);  // a fresh record's defaults
    EXPECT_EQ(state.ButtonList[1]->OnBuff, "");

    ASSERT_EQ(state.TimerRecList.Count(), 2);
    EXPECT_EQ(state.TimerRecList[0]->Ticker, 4);
    EXPECT_EQ(state.TimerRecList[0]->Repeat, 2);
    EXPECT_EQ(state.TimerRecList[0]->Status, 2);
    EXPECT_EQ(state.TimerRecList[0]->Action, 0);
    EXPECT_EQ(state.TimerRecList[1]->Action, cTimer::CycleForever);

    ASSERT_EQ(state.TriggerList.Count(), 2);
    EXPECT_EQ(state.TriggerList[0]->Status, 9u);
    EXPECT_EQ(state.TriggerList[0]->Parent, 7);
    EXPECT_EQ(state.TriggerList[0]->Action, 3);
    EXPECT_EQ(state.TriggerList[0]->NickName, "k");
    EXPECT_EQ(state.TriggerList[0]->Group, "g");
    EXPECT_EQ(state.TriggerList[0]->From, "fr");
    EXPECT_EQ(state.TriggerList[0]->To, "to");
    EXPECT_EQ(state.TriggerList[1]->Status, 13u);
    EXPECT_EQ(state.TriggerList[1]->NickName, "");

    ASSERT_EQ(state.VariableList.Count(), 2);
    EXPECT_EQ(state.VariableList[0]->Dvalue, "10");
    EXPECT_EQ(state.VariableList[0]->Value, "11");
    EXPECT_EQ(state.VariableList[0]->Type, 'D');
    EXPECT_EQ(state.VariableList[0]->Action, 2);
    EXPECT_EQ(state.VariableList[1]->Type, 'S');

    ASSERT_EQ(state.AliasList.Count(), 1);
    EXPECT_EQ(state.AliasList[0]->Text, "t2");
    EXPECT_EQ(state.AliasList[0]->Action, 6);

    ASSERT_EQ(state.KeyMacroList.Count(), 1);
    EXPECT_EQ(state.KeyMacroList[0]->ShortCut, 90000 - 65536);  // the low 16 bits
    EXPECT_EQ(state.KeyMacroList[0]->Action, 1);
    EXPECT_EQ(state.KeyMacroList[0]->FileName, "Test.Cmd");
}

TEST_F(CmdFileTest, CommentsBetweenAndInsideSections)
{
    ASSERT_TRUE(LoadText("* leading comment\r\n   * indented # comment\r\n"
                         "#Alias\r\n*key-like comment Name 1 q\r\nName 1 a\r\n* another\r\nText 1 t\r\nEnd\r\n"
                         "\r\n#END\r\nanything after the end is not read"));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(AliasNames(state), std::vector<AnsiString>{"a"});
}

TEST_F(CmdFileTest, QuotedKeysAndSectionWordsAreWords)
{
    ASSERT_TRUE(LoadText("# \"Alias\"\r\n'Name' 1 a\r\nEnd\r\n#END\r\n"));
    EXPECT_EQ(AliasNames(state), std::vector<AnsiString>{"a"});
}

// A key its section does not know: that section's message, its record dropped, and the load
// goes on at a following '#'.
TEST_F(CmdFileTest, UnknownKeyOfEverySectionDropsTheRecordAndGoesOn)
{
    struct Case {
        const char* Section;
        const char* Message;
    };
    const Case cases[] = {{"Config", M::BadConfigKey},       {"Button", M::BadButtonKey},
                          {"Timer", M::BadTimerKey},         {"Triggers", M::BadTriggerKey},
                          {"Variables", M::BadVariableKey},  {"Alias", M::BadAliasKey},
                          {"KeyMacro", M::BadKeyMacroKey}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Section);
        host.Clear();
        const std::string section = c.Section;
        const std::string firstKey = section == "Config" ? "ActivePage 9" : "Action 9";
        const bool ok = LoadText(AliasSection("before") + "#" + section + "\r\n" + firstKey + "\r\nBogus\r\n" +
                                 AliasSection("after") + "#END\r\n");
        EXPECT_TRUE(ok);  // the last section read closed properly
        EXPECT_EQ(Boxes(), std::vector<AnsiString>{c.Message});
        EXPECT_EQ(AliasNames(state), (std::vector<AnsiString>{"before", "after"}));
        // Nothing of the dropped record, not even in the next record of its kind.
        EXPECT_EQ(state.AliasList[1]->Action, 0);
        if (section == "Config") {
            EXPECT_EQ(state.CmdConfig.ActivePage, 9);  // settings are read in place
        }
        EXPECT_EQ(state.ButtonList.Count() + state.TimerRecList.Count() + state.TriggerList.Count() +
                      state.VariableList.Count() + state.KeyMacroList.Count(),
                  0);
    }
}

TEST_F(CmdFileTest, ConfigKeysBeforeAFaultStay)
{
    LoadText("#Config\r\nActivePage 4\r\nend\r\nToolView 1\r\nEnd\r\n#END\r\n");
    // "end" is not "End": the section fails there, and its value-less next word ends the load.
    EXPECT_EQ(Boxes(), (std::vector<AnsiString>{M::BadConfigKey, M::BadFormat}));
    EXPECT_EQ(state.CmdConfig.ActivePage, 4);
    EXPECT_EQ(state.CmdConfig.ToolView, 15);
}

TEST_F(CmdFileTest, UnknownKeyFollowedByItsValueEndsTheLoad)
{
    const bool ok = LoadText(AliasSection("kept") + "#Triggers\r\nFrom 1 a\r\nFrim 3 abc\r\nEnd\r\n" +
                             AliasSection("lost") + "#END\r\n");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Boxes(), (std::vector<AnsiString>{M::BadTriggerKey, M::BadFormat}));
    EXPECT_EQ(AliasNames(state), std::vector<AnsiString>{"kept"});
    EXPECT_EQ(state.TriggerList.Count(), 0);
}

TEST_F(CmdFileTest, UnknownSectionWordStopsTheLoad)
{
    const bool ok = LoadText(AliasSection("kept") + "#Aliases\r\nName 1 a\r\nEnd\r\n" + AliasSection("lost") +
                             "#END\r\n");
    EXPECT_TRUE(ok);  // the result of the last section read
    EXPECT_EQ(Boxes(), std::vector<AnsiString>{M::BadSection});
    EXPECT_EQ(AliasNames(state), std::vector<AnsiString>{"kept"});

    host.Clear();
    LoadText("#end\r\n");
    EXPECT_EQ(Boxes(), std::vector<AnsiString>{M::BadSection});
}

TEST_F(CmdFileTest, MissingEndMarkIsReportedAfterEverythingLoaded)
{
    EXPECT_TRUE(LoadText(AliasSection("a") + AliasSection("b")));
    EXPECT_EQ(Boxes(), std::vector<AnsiString>{M::BadFormat});
    EXPECT_EQ(AliasNames(state), (std::vector<AnsiString>{"a", "b"}));
}

TEST_F(CmdFileTest, SectionThatRunsIntoTheEndOfTheFileCloses)
{
    // The last number read meets the end of the file: the section closes as at "End".
    EXPECT_TRUE(LoadText("#Button\r\nName 1 a\r\nStatus 1"));
    EXPECT_EQ(Boxes(), std::vector<AnsiString>{M::BadFormat});
    ASSERT_EQ(state.ButtonList.Count(), 1);
    EXPECT_EQ(state.ButtonList[0]->Status, 1);
}

TEST_F(CmdFileTest, KeyAtTheVeryEndOfTheFileMatchesNothing)
{
    EXPECT_FALSE(LoadText("#Button\r\nName 1 a\r\n"));
    EXPECT_EQ(Boxes(), (std::vector<AnsiString>{M::BadButtonKey, M::BadFormat}));
    EXPECT_EQ(state.ButtonList.Count(), 0);
}

TEST_F(CmdFileTest, MalformedNumberEndsTheLoadKeepingWhatWasRead)
{
    testing::internal::CaptureStderr();
    const bool ok = LoadText(AliasSection("kept") + "#Timer\r\nName 1 t\r\nTicker x5\r\nEnd\r\n" +
                             AliasSection("lost") + "#END\r\n");
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(ok);
    EXPECT_NE(log.find(Ks(":: FreadNumber: x 숫자가 아님 - 잘못된 형식.\n")), std::string::npos) << log;
    EXPECT_EQ(Boxes(), std::vector<AnsiString>{M::BadFormat});
    EXPECT_EQ(AliasNames(state), std::vector<AnsiString>{"kept"});
    EXPECT_EQ(state.TimerRecList.Count(), 0);
    // The load still counts as done: the path is recorded and the book saved.
    EXPECT_EQ(host.Count(TScriptEvent::SaveBook), 1);
}

TEST_F(CmdFileTest, MalformedNumberInAStringLengthOrConfigEndsTheLoad)
{
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadText("#Config\r\nActivePage 3\r\nStatusLine abc\r\nEnd\r\n" + AliasSection("lost")));
    EXPECT_FALSE(LoadText("#KeyMacro\r\nShortCut -\r\nEnd\r\n#END\r\n"));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Boxes(), (std::vector<AnsiString>{M::BadFormat, M::BadFormat}));
    EXPECT_EQ(state.AliasList.Count(), 0);
    EXPECT_EQ(state.KeyMacroList.Count(), 0);
}

TEST_F(CmdFileTest, StringLongerThanTheRestOfTheFileEndsTheLoad)
{
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadText(AliasSection("kept") + "#Alias\r\nName 2147483647 abc\r\nEnd\r\n#END\r\n"));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Boxes(), std::vector<AnsiString>{M::BadFormat});
    EXPECT_EQ(AliasNames(state), std::vector<AnsiString>{"kept"});
}

TEST_F(CmdFileTest, OverlongKeyCountsAsUnknown)
{
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadText("#Alias\r\n" + std::string(3000, 'N') + " 1 a\r\nEnd\r\n#END\r\n"));
    testing::internal::GetCapturedStderr();
    // The key fails; the rest of the overlong word is then not a '*' or '#'.
    EXPECT_EQ(Boxes(), (std::vector<AnsiString>{M::BadAliasKey, M::BadFormat}));
    EXPECT_EQ(state.AliasList.Count(), 0);
}

TEST_F(CmdFileTest, FilesWithoutSections)
{
    EXPECT_FALSE(LoadText("* nothing but a comment\r\n#END\r\n"));
    EXPECT_TRUE(Boxes().empty());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadText(""));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Boxes(), std::vector<AnsiString>{M::BadFormat});
    host.Clear();
    EXPECT_FALSE(LoadText("Config\r\n"));
    EXPECT_EQ(Boxes(), std::vector<AnsiString>{M::BadFormat});
}

TEST_F(CmdFileTest, UnopenableFileChangesNothing)
{
    AddAlias("mine", "x");
    state.CmdConfig.StatusLine = "status";
    state.TriggerFile = "old.Cmd";
    EXPECT_FALSE(state.LoadCmdFile(PathOf("missing.Cmd")));
    EXPECT_FALSE(state.LoadCmdFile(Folder));  // a folder
    EXPECT_FALSE(state.LoadCmdFile(""));
    EXPECT_EQ(state.AliasList.Count(), 1);
    EXPECT_EQ(state.CmdConfig.StatusLine, "status");
    EXPECT_EQ(state.TriggerFile, "old.Cmd");
    EXPECT_TRUE(host.Events.empty());  // no message, no book save
}

TEST_F(CmdFileTest, LoadReplacesWhatWasThere)
{
    AddAlias("old", "x");
    AddVariable("old", "1", 'S');
    state.CmdConfig.StatusLine = "old status";
    state.CmdConfig.WFCSCmd = "kept";
    ASSERT_TRUE(LoadText(AliasSection("new") + "#END\r\n"));
    EXPECT_EQ(AliasNames(state), std::vector<AnsiString>{"new"});
    EXPECT_EQ(state.VariableList.Count(), 0);
    EXPECT_EQ(state.CmdConfig.StatusLine, "");
    EXPECT_EQ(state.CmdConfig.WFCSCmd, "kept");  // the other settings are not cleared
}

TEST_F(CmdFileTest, RecordsKeepTheNameOfTheFile)
{
    EXPECT_EQ(CmdFileName("C:\\MUD\\Cmd\\char.Cmd"), "char.Cmd");
    EXPECT_EQ(CmdFileName("Cmd\\\xC7\xD1.Cmd"), "\xC7\xD1.Cmd");
    EXPECT_EQ(CmdFileName("a:b.Cmd"), "b.Cmd");
    EXPECT_EQ(CmdFileName("/tmp/x/y.Cmd"), "y.Cmd");
    EXPECT_EQ(CmdFileName("plain.Cmd"), "plain.Cmd");
}
