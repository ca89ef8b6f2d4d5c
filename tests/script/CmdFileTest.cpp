// Command files: reading (the golden file, keys in any order, every way a file can be wrong),
// writing (exact bytes, the round trip, saves that fail) and what a load does besides reading.

#include <filesystem>
#include <sstream>

#include "ScriptTest.h"
#include "platform/core/AtomicFile.h"
#include "script/CmdFile.h"
#include "tests/platform/core/Mutate.h"
#include "tests/platform/core/Unprivileged.h"

namespace M = CmdFileMessages;

namespace {

template <class... T>
std::string Join(const char* kind, const T&... fields)
{
    std::ostringstream out;
    out << kind;
    ((out << ' ' << fields << '|'), ...);
    return out.str() + "\n";
}

// Every setting and record, one line each.
std::string Describe(const TScriptState& s)
{
    const cConfig& c = s.CmdConfig;
    std::string out = Join("C", int(c.TrigMode), c.ActivePage, c.TimerActivee, c.ToolView, c.StatusLine, c.StartUpCmd,
                           c.WFCFCmd, c.WFCSCmd);
    for (const auto& b : s.ButtonList)
        out += Join("B", b->Action, b->Status, b->Name, b->OnBuff, b->OffBuff, b->FileName);
    for (const auto& t : s.TimerRecList)
        out += Join("T", t->Action, t->Status, t->Ticker, t->Repeat, t->Name, t->OnBuff);
    for (const auto& t : s.TriggerList)
        out += Join("R", t->Parent, t->Status, t->Action, t->NickName, t->Group, t->From, t->To, t->FileName);
    for (const auto& v : s.VariableList)
        out += Join("V", v->Action, v->Name, v->Type, v->Value, v->Dvalue, v->FileName);
    for (const auto& a : s.AliasList)
        out += Join("A", a->Action, a->Name, a->Text, a->FileName);
    for (const auto& k : s.KeyMacroList)
        out += Join("K", k->Action, k->ShortCut, k->Name, k->ToBuff, k->FileName);
    return out;
}

// An alias section, used to see which parts of a file were loaded.
std::string AliasSection(const std::string& name)
{
    return "#Alias\r\nName        " + std::to_string(name.size()) + " " + name + "\r\nText        1 x\r\nEnd\r\n\r\n";
}

Strings AliasNames(const TScriptState& state)
{
    Strings names;
    for (const auto& a : state.AliasList)
        names.push_back(a->Name);
    return names;
}

int OtherRecords(const TScriptState& s)
{
    return s.ButtonList.Count() + s.TimerRecList.Count() + s.TriggerList.Count() + s.VariableList.Count() +
        s.KeyMacroList.Count();
}

const std::string Header = Ks("* MUD client command file\r\n\r\n"
                              "* 이 프로그램의 상세한 정보는 다음 사이트에 가면 얻을 수 있습니다.\r\n"
                              "*   http://hanmud.invalid/\r\n"
                              "*   hanmud@hanmud.invalid\r\n"
                              "* 이 데이터는 가능한 직접 수정하지 않는것이 좋습니다.\r\n"
                              "* 데이터를 직접 수정해서 벌어지는 참사는 책임지지 않습니다.\r\n"
                              "* 다른것들도 책임져 드리는 것은 아무것도 없습니다.\r\n\r\n");

class CmdFileTest : public ScriptTest {
protected:
    // Writes the bytes as "Test.Cmd" and loads it; what the reader logs is dropped.
    bool LoadText(const std::string& bytes)
    {
        testing::internal::CaptureStderr();
        const bool ok = state.LoadCmdFile(WriteFile("Test.Cmd", bytes));
        Log = testing::internal::GetCapturedStderr();
        return ok;
    }
    std::string Log;
};

}  // namespace

TEST_F(CmdFileTest, GoldenFileLoadsEveryRecordAndSavesBackByteForByte)
{
    EXPECT_TRUE(state.LoadCmdFile(GoldenPath()));
    EXPECT_TRUE(Boxes().empty());
    // A value is never taken for a key ("End", "#Config", "* not a comment").
    EXPECT_EQ(Describe(state),
              Ks("C 1| 3| 0| 11| 체력 @(체력) / 마력 @(마력)| #rem 시작\r\n인사하기\r\n봐| wf 끝| ws|\n"
                 "B 0| 1| 공격| kill 쥐| flee| Character.Cmd|\n"
                 "B 2| 0| End| #Config\r\n* not a comment| | Character.Cmd|\n"
                 "T 2| 1| 30| 0| 물약| drink 물약|\n"
                 "T 0| 0| 5| 3| | |\n"
                 "R 0| 13| 0| 1| 전투| %s 죽었습니다.| get all|#cap 전리품 @(__현재줄)| Character.Cmd|\n"
                 "R 1| 5| 1| 귀환| | HP: %d/%d| #if {%1 < 50} {recall}| Character.Cmd|\n"
                 "V 0| 체력| D| -42| | Character.Cmd|\n"
                 "V 0| 인사| S| 안녕 하세요  | | Character.Cmd|\n"
                 "V 1| 빈값| S| | | Character.Cmd|\n"
                 "A 0| 인사하기| say 안녕하세요|bow| Character.Cmd|\n"
                 "K 1| 112| F1| look| Character.Cmd|\n"                         // F1
                 "K 0| 32817| Alt+1| cast 화염구\r\nrest| Character.Cmd|\n"));  // Alt+1
    EXPECT_EQ(state.TriggerList[1]->ParentRec, nullptr);                        // only the number is kept
    const std::string golden = ReadFile(GoldenPath());
    ASSERT_FALSE(golden.empty());
    const AnsiString copy = PathOf("Copy.Cmd");
    ASSERT_TRUE(state.SaveCmdFile(copy));
    EXPECT_EQ(ReadFile(copy), golden);
    EXPECT_EQ(CmdFileText(state), golden);
}

TEST_F(CmdFileTest, KeysInAnyOrderRepeatedOrMissing)
{
    ASSERT_TRUE(
        LoadText("#Config\r\n"
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
    // Missing keys keep a fresh record's defaults; a shortcut keeps its low 16 bits.
    EXPECT_EQ(Describe(state),
              "C 7| 5| 1| 1| st| | ff| ss|\n"
              "B 4| 1| b| on| off| Test.Cmd|\n"
              "B 0| 0| c| | | Test.Cmd|\n"
              "T 0| 2| 4| 2| n| t|\n"
              "T 2| 0| 0| 0| m| |\n"
              "R 7| 9| 3| k| g| fr| to| Test.Cmd|\n"
              "R 0| 13| 0| | | x| y| Test.Cmd|\n"
              "V 2| v| D| 11| 10| Test.Cmd|\n"
              "V 0| w| S| | | Test.Cmd|\n"
              "A 6| a| t2| Test.Cmd|\n"
              "K 1| 24464| Z| z| Test.Cmd|\n");
}

TEST_F(CmdFileTest, CommentsAndQuotedWords)
{
    ASSERT_TRUE(LoadText("* leading comment\r\n   * indented # comment\r\n"
                         "#Alias\r\n*key-like comment Name 1 q\r\nName 1 a\r\n* another\r\nText 1 t\r\nEnd\r\n"
                         "\r\n#END\r\nanything after the end is not read"));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(AliasNames(state), Strings{"a"});
    ASSERT_TRUE(LoadText("# \"Alias\"\r\n'Name' 1 b\r\nEnd\r\n#END\r\n"));  // quoted keys and section words
    EXPECT_EQ(AliasNames(state), Strings{"b"});
}

// A key its section does not know: that section's message, its record dropped, and the load
// goes on at a following '#'.
TEST_F(CmdFileTest, UnknownKeyOfEverySectionDropsTheRecordAndGoesOn)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Config", M::BadConfigKey},    {"Button", M::BadButtonKey},      {"Timer", M::BadTimerKey},
        {"Triggers", M::BadTriggerKey}, {"Variables", M::BadVariableKey}, {"Alias", M::BadAliasKey},
        {"KeyMacro", M::BadKeyMacroKey}};
    for (const auto& [section, message] : cases) {
        SCOPED_TRACE(section);
        host.Clear();
        const std::string firstKey = std::string(section) == "Config" ? "ActivePage 9" : "Action 9";
        EXPECT_TRUE(LoadText(AliasSection("before") + "#" + section + "\r\n" + firstKey + "\r\nBogus\r\n" +
                             AliasSection("after") + "#END\r\n"));  // the last section read closed properly
        EXPECT_EQ(Boxes(), Strings{message});
        EXPECT_EQ(AliasNames(state), (Strings{"before", "after"}));
        // Nothing of the dropped record, not even in the next record of its kind.
        EXPECT_EQ(state.AliasList[1]->Action, 0);
        EXPECT_EQ(OtherRecords(state), 0);
    }
}

// Loads that end early: what was read before stays, and the boxes shown.
TEST_F(CmdFileTest, FaultsThatEndTheLoad)
{
    const struct {
        const char* Label;
        std::string Text;
        bool Result;
        Strings Boxes;
        Strings Aliases;
    } cases[] = {
        // The value of the unknown key is not a '*' or '#'.
        {"UnknownKeyFollowedByItsValueEndsTheLoad",
         AliasSection("kept") + "#Triggers\r\nFrom 1 a\r\nFrim 3 abc\r\nEnd\r\n" + AliasSection("lost") + "#END\r\n",
         false,
         {M::BadTriggerKey, M::BadFormat},
         {"kept"}},
        // The result of the last section read.
        {"UnknownSectionWordStopsTheLoad",
         AliasSection("kept") + "#Aliases\r\nName 1 a\r\nEnd\r\n" + AliasSection("lost") + "#END\r\n",
         true,
         {M::BadSection},
         {"kept"}},
        {"LowerCaseEnd", "#end\r\n", false, {M::BadSection}, {}},
        {"MissingEndMarkIsReportedAfterEverythingLoaded",
         AliasSection("a") + AliasSection("b"),
         true,
         {M::BadFormat},
         {"a", "b"}},
        {"KeyAtTheVeryEndOfTheFileMatchesNothing",
         "#Button\r\nName 1 a\r\n",
         false,
         {M::BadButtonKey, M::BadFormat},
         {}},
        {"MalformedNumberEndsTheLoadKeepingWhatWasRead",
         AliasSection("kept") + "#Timer\r\nName 1 t\r\nTicker x5\r\nEnd\r\n" + AliasSection("lost") + "#END\r\n",
         false,
         {M::BadFormat},
         {"kept"}},
        {"StringLongerThanTheRestOfTheFileEndsTheLoad",
         AliasSection("kept") + "#Alias\r\nName 2147483647 abc\r\nEnd\r\n#END\r\n",
         false,
         {M::BadFormat},
         {"kept"}},
        // The key fails; the rest of the overlong word is then not a '*' or '#'.
        {"OverlongKeyCountsAsUnknown",
         "#Alias\r\n" + std::string(3000, 'N') + " 1 a\r\nEnd\r\n#END\r\n",
         false,
         {M::BadAliasKey, M::BadFormat},
         {}},
        {"OnlyAComment", "* nothing but a comment\r\n#END\r\n", false, {}, {}},
        {"Empty", "", false, {M::BadFormat}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label);
        host.Clear();
        EXPECT_EQ(LoadText(c.Text), c.Result);
        EXPECT_EQ(Boxes(), c.Boxes);
        EXPECT_EQ(AliasNames(state), c.Aliases);
        EXPECT_EQ(OtherRecords(state), 0);
    }
}

TEST_F(CmdFileTest, PartialLoads)
{
    // "end" is not "End": the section fails there, and its value-less next word ends the load;
    // the keys before the fault stay.
    LoadText("#Config\r\nActivePage 4\r\nend\r\nToolView 1\r\nEnd\r\n#END\r\n");
    EXPECT_EQ(Boxes(), (Strings{M::BadConfigKey, M::BadFormat}));
    EXPECT_EQ(state.CmdConfig.ActivePage, 4);
    EXPECT_EQ(state.CmdConfig.ToolView, 15);
    // SectionThatRunsIntoTheEndOfTheFileCloses: the last number read meets the end of the file.
    host.Clear();
    EXPECT_TRUE(LoadText("#Button\r\nName 1 a\r\nStatus 1"));
    EXPECT_EQ(Boxes(), Strings{M::BadFormat});
    ASSERT_EQ(state.ButtonList.Count(), 1);
    EXPECT_EQ(state.ButtonList[0]->Status, 1);
    // A malformed number fails the load; it still counts as done: the book is saved.
    host.Clear();
    EXPECT_FALSE(LoadText(AliasSection("kept") + "#Timer\r\nName 1 t\r\nTicker x5\r\nEnd\r\n#END\r\n"));
    EXPECT_EQ(host.Count(TScriptEvent::SaveBook), 1);
}

TEST_F(CmdFileTest, UnopenableFileChangesNothing)
{
    AddAlias("mine", "x");
    state.CmdConfig.StatusLine = "status";
    state.TriggerFile = "old.Cmd";
    EXPECT_FALSE(state.LoadCmdFile(PathOf("missing.Cmd")));
    EXPECT_FALSE(state.LoadCmdFile(Folder));  // a folder
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
    EXPECT_EQ(AliasNames(state), Strings{"new"});
    EXPECT_EQ(state.VariableList.Count(), 0);
    EXPECT_EQ(state.CmdConfig.StatusLine, "");
    EXPECT_EQ(state.CmdConfig.WFCSCmd, "kept");                    // the other settings are not cleared
    EXPECT_EQ(CmdFileName("C:\\MUD\\Cmd\\char.Cmd"), "char.Cmd");  // records keep the name of the file
    EXPECT_EQ(CmdFileName("Cmd\\\xC7\xD1.Cmd"), "\xC7\xD1.Cmd");
    EXPECT_EQ(CmdFileName("a:b.Cmd"), "b.Cmd");
}

TEST_F(CmdFileTest, WrittenBytes)
{
    // A fresh state writes only the settings that are always written.
    EXPECT_EQ(CmdFileText(state),
              Header +
                  "#Config\r\nTrigMode        1\r\nActivePage      2\r\nToolView        15\r\n"
                  "End\r\n\r\n#END\r\n");
    state.CmdConfig.WFCSCmd = "a b";
    state.CmdConfig.TimerActivee = 1;  // read, never written
    auto* button = state.ButtonList.Add(std::make_unique<cButton>());
    button->Name = "\xB0\xA1";  // two bytes, one character
    button->OnBuff = "on";
    AddVariable("v", "", 'D')->Dvalue = "5";  // read, never written
    state.KeyMacroList.Add(std::make_unique<cKeyMacro>())->ShortCut = scCtrl | scShift | 'A';
    // ResaveKeepsTheParentNumberOfAnUnlinkedTrigger: a loaded trigger has a parent number but no
    // parent link; saving it again must not turn that number into 0.
    state.TriggerList.Add(std::make_unique<cTriggers>())->Parent = 3;
    const AnsiString text = CmdFileText(state);
    for (const char* block : {"#Config\r\nTrigMode        1\r\nActivePage      2\r\nToolView        15\r\n"
                              "WFCSCmd      3 a b\r\nEnd\r\n\r\n#Button\r\n",
                              "#Button\r\nAction      0\r\nStatus      0\r\nName        2 \xB0\xA1\r\n"
                              "OnBuff      2 on\r\nEnd\r\n\r\n#Triggers\r\nParent      3\r\n",
                              "#Variables\r\nAction      0\r\nName        1 v\r\nType        D\r\nValue       0 \r\n"
                              "End\r\n\r\n",
                              "#KeyMacro\r\nAction      1\r\nShortCut    24641\r\nName        0 \r\nToBuff      0 \r\n"
                              "End\r\n\r\n#END\r\n"})
        EXPECT_NE(text.find(block), AnsiString::npos) << block;
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
    state.KeyMacroList.Add(std::make_unique<cKeyMacro>())->ShortCut = 0xFFFF;
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
}

TEST_F(CmdFileTest, SaveRecordsThePathAndSavesTheBookButRunsNothing)
{
    state.CmdConfig.StartUpCmd = "hello";
    AddAlias("a", "b");
    const AnsiString path = PathOf("Saved.Cmd");
    ASSERT_TRUE(state.SaveCmdFile(path));
    EXPECT_EQ(state.AliasList[0]->FileName, "Saved.Cmd");
    EXPECT_EQ(host.Count(TScriptEvent::SaveBook), 1);
    EXPECT_TRUE(Sends().empty());
    const AnsiString deeper = PathOf("Cmd/Deeper/New.Cmd");  // a missing folder is made
    ASSERT_TRUE(state.SaveCmdFile(deeper));
    EXPECT_EQ(ReadFile(deeper), CmdFileText(state));
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
        EXPECT_EQ(Boxes(), Strings{M::SaveFailed});
        EXPECT_EQ(ReadFile(path), "old bytes");
        // No temporary file left.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder), std::filesystem::directory_iterator()), 1);
        EXPECT_EQ(host.Count(TScriptEvent::SaveBook), 0);
        EXPECT_EQ(state.TriggerFile, "before.Cmd");
    }
    InjectAtomicWriteFailure(TAtomicWriteStep::None);
    host.Clear();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(state.SaveCmdFile(""));  // SaveToAnUnwritablePlaceFails
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Boxes(), (Strings{M::SaveFailed}));
}

TEST_F(CmdFileTest, StartUpCommandsRunAfterTheLoad)
{
    ASSERT_TRUE(state.LoadCmdFile(GoldenPath()));
    // "#rem", then an alias of the file just loaded, then plain text; the path is recorded and
    // the book saved before the first command runs.
    EXPECT_EQ(Lines(), (Strings{Ks("say 안녕하세요"), "bow", Ks("봐")}));
    ASSERT_FALSE(host.Events.empty());
    EXPECT_EQ(host.Events.front().What, TScriptEvent::SaveBook);
    host.Clear();
    LoadText("#Config\r\nStartUpCmd 9 go\r\nnorth\r\nBad 1\r\nEnd\r\n#END\r\n");  // also after faults
    EXPECT_EQ(Boxes(), (Strings{M::BadConfigKey, M::BadFormat}));
    EXPECT_EQ(Lines(), (Strings{"go", "north"}));
    host.Clear();
    state.CmdConfig.StartUpCmd = "a\rb\nc\r\n\r\nd|e";  // split at every line end
    state.RunStartUpCmd();
    EXPECT_EQ(Lines(), (Strings{"a", "b", "c", "d", "e"}));
}

TEST_F(CmdFileTest, FileThatLoadsItselfStopsAtTheNestingLimit)
{
    const std::string path = WriteFile("Self.Cmd",
                                       "#Config\r\nStartUpCmd 12 reload\r\nnext\r\nEnd\r\n"
                                       "#Alias\r\nName 1 a\r\nText 1 b\r\nEnd\r\n#END\r\n");
    int loads = 0;
    host.OnSend = [&](const AnsiString& text) {
        if (text == "reload") {
            ++loads;
            state.LoadCmdFile(path);
        }
    };
    EXPECT_TRUE(state.LoadCmdFile(path));
    EXPECT_EQ(loads, TScriptState::MaxNesting);
    // One warning; the outermost start-up text still runs its next line, the nested ones stop.
    EXPECT_EQ(Messages(), ScriptText::NestingTooDeep);
    const Strings sends = Sends();
    EXPECT_EQ(std::count(sends.begin(), sends.end(), "next"), 1);
    EXPECT_EQ(state.AliasList.Count(), 1);  // every load replaced the lists
}

TEST_F(CmdFileTest, StartUpTextGoesOnAfterALoadOfAnotherFile)
{
    // Each file's start-up lines are its own, whatever the files they load run meanwhile.
    const std::string other = WriteFile("Other.Cmd", "#Config\r\nStartUpCmd 8 b1\r\nb2\r\nEnd\r\n#END\r\n");
    const std::string first = WriteFile("First.Cmd", "#Config\r\nStartUpCmd 11 toB\r\na2\r\na3\r\nEnd\r\n#END\r\n");
    host.OnSend = [&](const AnsiString& text) {
        if (text == "toB")
            state.LoadCmdFile(other);
    };
    EXPECT_TRUE(state.LoadCmdFile(first));
    Strings said = Sends();
    std::erase(said, "\r\n");
    EXPECT_EQ(said, (Strings{"toB", "b1", "b2", "a2", "a3"}));
    EXPECT_EQ(state.CmdConfig.StartUpCmd, "b1\r\nb2\r\n");  // the last file loaded
}

TEST_F(CmdFileTest, ScriptLargerThanACommandFileMayBeIsNotSaved)
{
    AddVariable("big", AnsiString(MaxCmdFileBytes, 'x'), 'S');
    testing::internal::CaptureStderr();
    EXPECT_FALSE(state.SaveCmdFile(PathOf("Big.Cmd")));  // its reader would refuse it
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Boxes(), Strings{M::SaveFailed});
    EXPECT_FALSE(std::filesystem::exists(PathOf("Big.Cmd")));
}

TEST_F(CmdFileTest, ClearEmptiesTheListsAndTwoSettings)
{
    ASSERT_TRUE(state.LoadCmdFile(GoldenPath()));
    state.CmdConfig.TimerActivee = 1;
    state.ClearCmdData();
    EXPECT_EQ(Describe(state), Ks("C 1| 3| 1| 11| | | wf 끝| ws|\n"));  // the other settings stay
}

TEST_F(CmdFileTest, KeyMacroLookUpFindsTheFirstWithTheShortCut)
{
    ASSERT_TRUE(state.LoadCmdFile(GoldenPath()));
    state.KeyMacroList.Add(std::make_unique<cKeyMacro>())->ShortCut = 112;
    auto* ctrl = state.KeyMacroList.Add(std::make_unique<cKeyMacro>());
    ctrl->ShortCut = scCtrl | scShift | 'A';
    EXPECT_EQ(FindKeyMacro(state.KeyMacroList, 112, TShiftState()), state.KeyMacroList[0]);
    // Disabled macros are found too (Action 0 in the golden file).
    EXPECT_EQ(FindKeyMacro(state.KeyMacroList, '1', TShiftState{ssAlt}), state.KeyMacroList[1]);
    EXPECT_EQ(FindKeyMacro(state.KeyMacroList, 'A', TShiftState{ssCtrl}), nullptr);
    EXPECT_EQ(FindKeyMacro(state.KeyMacroList, 'A', TShiftState{ssShift, ssCtrl, ssLeft}), ctrl);
    // KeyWithoutACodeFindsNoMacro: a macro whose key was never set has ShortCut 0; a key press
    // that maps to no key code must not run it.
    state.KeyMacroList.Clear();
    state.KeyMacroList.Add(std::make_unique<cKeyMacro>());
    EXPECT_EQ(FindKeyMacroByShortCut(state.KeyMacroList, 0), nullptr);
    EXPECT_EQ(FindKeyMacro(state.KeyMacroList, 0x1FF, TShiftState()), nullptr);
}

TEST_F(CmdFileTest, LoadedTimersTick)
{
    const std::string timer = "#Timer\r\nStatus 1\r\nTicker 1\r\nName 1 t\r\nOnBuff 4 tick\r\nEnd\r\n";
    ASSERT_TRUE(LoadText("#Timer\r\nAction 0\r\nStatus 2\r\nTicker 3\r\nRepeat 2\r\nName 1 t\r\nOnBuff 4 tick\r\n"
                         "End\r\n#END\r\n"));
    AdvanceSeconds(10);
    EXPECT_EQ(Take(), (std::vector<std::string>{"3:tick", "6:tick"}));  // then off
    // The settings switch the user timers on or off.
    LoadText(timer + "#Config\r\nTimerActivee 0\r\nEnd\r\n#END\r\n");
    AdvanceSeconds(3);
    EXPECT_TRUE(Take().empty());
    // LoadAndClearTakeTheOldTimersEventsAway
    LoadText(timer + "#Config\r\nTimerActivee 1\r\nEnd\r\n#END\r\n");
    EXPECT_EQ(host.UserTimers.Count(), 1);
    AdvanceSeconds(2);
    EXPECT_EQ(Take(), (std::vector<std::string>{"14:tick", "15:tick"}));
    state.ClearCmdData();
    EXPECT_EQ(host.UserTimers.Count(), 0);
    AdvanceSeconds(3);
    EXPECT_TRUE(Take().empty());
}

// ---- damaged files

namespace {

// Describe's lines of one kind of record ("B", "T", "R", "V", "A", "K").
Strings Kind(const std::string& described, char kind)
{
    Strings lines;
    std::istringstream in(described);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] == kind)
            lines.push_back(line);
    return lines;
}

struct TCmdDamageCase {
    const char* name;
    std::string text;
    bool faulted;
    std::string records;  // Describe without the settings line
};

const TCmdDamageCase kCmdDamages[] = {
    {"CrOnlyLineEnds", "#Alias\rName 1 a\rText 1 x\rEnd\r#END\r", false, "A 0| a| x| Test.Cmd|\n"},
    {"LfOnlyLineEnds", "#Alias\nName 1 a\nText 1 x\nEnd\n#END\n", false, "A 0| a| x| Test.Cmd|\n"},
    {"NulInsideATextStays", std::string("#Alias\r\nName 3 a\0b\r\nEnd\r\n#END\r\n", 30), false,
     std::string("A 0| a\0b| | Test.Cmd|\n", 22)},
    {"LoneLeadByteStays", "#Alias\r\nName 1 \xB0\r\nEnd\r\n#END\r\n", false, "A 0| \xB0| | Test.Cmd|\n"},
    {"NulInAKeyIsAnUnknownKey", std::string("#Alias\r\nNa\0me 1 a\r\nEnd\r\n#END\r\n", 30), true, ""},
    {"NumberPastThirtyTwoBitsWraps", "#Alias\r\nAction 4294967301\r\nEnd\r\n#END\r\n", false, "A 5| | | Test.Cmd|\n"},
    {"NegativeLengthGivesAnEmptyText", "#Alias\r\nName -5 \r\nText 1 x\r\nEnd\r\n#END\r\n", false,
     "A 0| | x| Test.Cmd|\n"},
    {"TriggerWithoutPatternsLoadsAndScans", "#Triggers\r\nStatus -1\r\nEnd\r\n#END\r\n", false,
     "R 0| 4294967295| 0| | | | | Test.Cmd|\n"},
    {"TimerOfNoSecondsLoadsAndTicks", "#Timer\r\nStatus 1\r\nTicker 0\r\nOnBuff 1 x\r\nEnd\r\n#END\r\n", false,
     "T 2| 1| 0| 0| | x|\n"},
    {"TimerOfNegativeSecondsLoadsAndTicks", "#Timer\r\nStatus 1\r\nTicker -7\r\nRepeat -1\r\nEnd\r\n#END\r\n", false,
     "T 2| 1| -7| -1| | |\n"},
    {"TypeAtTheEndOfTheFile", "#Variables\r\nName 1 v\r\nType", true, "V 0| v| S| | | Test.Cmd|\n"},
    {"RandomBytes", "\x93\x01\xFF\x7F#\xB0", true, ""},
    {"SectionWithoutName", "#\r\n#END\r\n", true, ""},
};

class CmdFileDamage : public CmdFileTest, public ::testing::WithParamInterface<TCmdDamageCase> {};

}  // namespace

TEST_P(CmdFileDamage, LoadsWhatItCanAndKeepsTheFile)
{
    const TCmdDamageCase& c = GetParam();
    LoadText(c.text);
    EXPECT_EQ(!Boxes().empty(), c.faulted);
    const std::string described = Describe(state);
    EXPECT_EQ(described.substr(described.find('\n') + 1), c.records);
    // What was loaded works: host text meets the triggers, the timers tick.
    Receive("HP: 10/100\r\n");
    AdvanceSeconds(3);
    ASSERT_TRUE(state.SaveCmdFile(PathOf("Test.Cmd")));
    EXPECT_EQ(std::filesystem::exists(PathOf("Test.Cmd.bak")), c.faulted);
    if (c.faulted) {
        EXPECT_EQ(ReadFile(PathOf("Test.Cmd.bak")), c.text);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, CmdFileDamage, ::testing::ValuesIn(kCmdDamages),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(CmdFileTest, RegressionASaveOverAFaultedLoadLostTheRecordsItCouldNotRead)
{
    const std::string damaged =
        AliasSection("kept") + "#Timer\r\nName 1 t\r\nTicker x5\r\nEnd\r\n" + AliasSection("unread") + "#END\r\n";
    LoadText(damaged);
    ASSERT_EQ(AliasNames(state), Strings{"kept"});
    // Saved elsewhere first: the damaged file stays as it is, and is still kept when saved over.
    ASSERT_TRUE(state.SaveCmdFile(PathOf("Other.Cmd")));
    EXPECT_FALSE(std::filesystem::exists(PathOf("Other.Cmd.bak")));
    // The same file through another path to it.
    std::filesystem::create_directory_symlink(Folder, PathOf("Link"));
    ASSERT_TRUE(state.SaveCmdFile(PathOf("Link/Test.Cmd")));
    EXPECT_EQ(ReadFile(PathOf("Test.Cmd.bak")), damaged);
    // Kept once: the next save leaves the backup alone.
    AddAlias("new", "x");
    ASSERT_TRUE(state.SaveCmdFile(PathOf("Test.Cmd")));
    EXPECT_EQ(ReadFile(PathOf("Test.Cmd.bak")), damaged);
    // A load without a fault keeps nothing.
    std::filesystem::remove(PathOf("Test.Cmd.bak"));
    ASSERT_TRUE(LoadText(AliasSection("fine") + "#END\r\n"));
    ASSERT_TRUE(state.SaveCmdFile(PathOf("Test.Cmd")));
    EXPECT_FALSE(std::filesystem::exists(PathOf("Test.Cmd.bak")));
}

TEST_F(CmdFileTest, RegressionACommandFileThatCannotBeReadWasWrittenOverByTheNextSave)
{
    const std::string bytes = AliasSection("mine") + "#END\r\n";
    WriteFile("Test.Cmd", bytes);
    chmod(PathOf("Test.Cmd").c_str(), 0);
    // The window saves its entry's command file when the status line changes, loaded or not.
    EXPECT_TRUE(RunUnprivileged([&] {
        return !state.LoadCmdFile(PathOf("Test.Cmd")) && !state.SaveCmdFile(PathOf("Test.Cmd")) &&
            Boxes() == Strings{M::SaveFailed};
    }));
    EXPECT_EQ(ReadUnreadable(PathOf("Test.Cmd")), bytes);
}

TEST_F(CmdFileTest, RegressionADeviceWasReadAsACommandFile)
{
    // "/dev/zero" was read without end; a device is not a command file, and changes nothing.
    AddAlias("mine", "x");
    EXPECT_FALSE(state.LoadCmdFile("/dev/null"));
    EXPECT_EQ(AliasNames(state), Strings{"mine"});
    EXPECT_TRUE(host.Events.empty());
}

TEST_F(CmdFileTest, AFaultedFileThatCannotBeKeptIsNotWrittenOver)
{
    LoadText(AliasSection("kept") + "#Alias\r\nOdd 1 x\r\nEnd\r\n#END\r\n");
    // A folder where the backup should go: the old file cannot be kept.
    std::filesystem::create_directory(PathOf("Test.Cmd.bak"));
    std::filesystem::create_directory(PathOf("Test.Cmd.bak/x"));
    host.Clear();
    EXPECT_FALSE(state.SaveCmdFile(PathOf("Test.Cmd")));
    EXPECT_EQ(Boxes(), Strings{M::SaveFailed});
    EXPECT_NE(ReadFile(PathOf("Test.Cmd")).find("Odd"), std::string::npos);
}

TEST_F(CmdFileTest, SeededDamageLosesNothingBeforeIt)
{
    const std::string original = ReadFile(GoldenPath());
    ASSERT_FALSE(original.empty());
    TMutator mutator(20261207);
    for (int i = 0; i < 250; ++i) {
        SCOPED_TRACE("damage " + std::to_string(i));
        const std::string damaged = mutator.Damage(original);
        const size_t first = FirstDifference(original, damaged);
        // The file up to the last record that ended before the damage, loaded on its own.
        const size_t end = original.rfind("End\r\n", first < 5 ? 0 : first - 5);
        const size_t cut = end == std::string::npos || end + 5 > first ? 0 : end + 5;
        LoadText(original.substr(0, cut) + "#END\r\n");
        const std::string intact = Describe(state);

        host.Clear();
        std::filesystem::remove(PathOf("Test.Cmd.bak"));
        LoadText(damaged);
        const bool faulted = !Boxes().empty();
        const std::string loaded = Describe(state);
        for (char kind : {'B', 'T', 'R', 'V', 'A', 'K'}) {
            const Strings before = Kind(intact, kind), now = Kind(loaded, kind);
            ASSERT_LE(before.size(), now.size()) << kind;
            EXPECT_TRUE(std::equal(before.begin(), before.end(), now.begin())) << kind;
        }
        Receive("HP: 10/100\r\n");
        AdvanceSeconds(1);
        // The aliases run and the variables expand, whatever their bytes.
        Strings commands;
        for (const auto& a : state.AliasList)
            commands.push_back(a->Name);
        for (const auto& v : state.VariableList)
            commands.push_back("say @(" + v->Name + ")");
        for (const AnsiString& command : commands)
            Run(command);
        // The save keeps the damaged file when the load met a fault, and writes what reads back.
        ASSERT_TRUE(state.SaveCmdFile(PathOf("Test.Cmd")));
        EXPECT_EQ(std::filesystem::exists(PathOf("Test.Cmd.bak")), faulted);
        if (faulted) {
            EXPECT_EQ(ReadFile(PathOf("Test.Cmd.bak")), damaged);
        }
        const std::string saved = Describe(state);
        host.Clear();
        EXPECT_TRUE(state.LoadCmdFile(PathOf("Test.Cmd")));
        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(Describe(state), saved);
        if (HasFailure())
            return;
    }
}

TEST_F(CmdFileTest, RegressionAVariableOfABlankTypeFailedTheNextLoad)
{
    // "#vs" took the type's first byte as it stood, the blank before "S" or a tab, and the file
    // saved then failed to load.
    Run("#vs a 1,0, S");
    Run("#vs b x,0,\t");
    AddAlias("after", "x");
    ASSERT_TRUE(state.SaveCmdFile(PathOf("Test.Cmd")));
    host.Clear();
    EXPECT_TRUE(state.LoadCmdFile(PathOf("Test.Cmd")));
    EXPECT_TRUE(Boxes().empty());
    const std::string described = Describe(state);
    EXPECT_EQ(described.substr(described.find('\n') + 1),
              "V 0| a| S| 1| | Test.Cmd|\nV 0| b| S| x| | Test.Cmd|\nA 0| after| x| Test.Cmd|\n");
}
