// The character book: the golden file written byte for byte, hand-written books read, failed
// saves and early stops reported, and open windows kept on their entries across a reload.

#include "app/core/CharBooks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/AtomicFile.h"
#include "platform/core/Cp949.h"
#include "tests/platform/core/TempFolder.h"

namespace {

std::string Golden() { return TempFolder::Read(HM_SOURCE_DIR "/tests/app/core/data/CharBooks.golden"); }

class CharBooksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TCharBooks::FreeAll();
        TCharBooks::BookFileName.clear();
        TCharBooks::ReportError = [this](const AnsiString& caption, const AnsiString& text) {
            reports.push_back(Cp949ToUtf8(caption) + "|" + Cp949ToUtf8(text));
        };
        std::filesystem::create_directory(folder.File("CharBooks"));
    }
    void TearDown() override
    {
        TCharBooks::FreeAll();
        TCharBooks::ReportError = nullptr;
    }
    std::string BookPath() const { return folder.File("CharBooks/CharBooks"); }
    // Loads a book file holding `text`.
    bool LoadText(const std::string& text)
    {
        TempFolder::Write(BookPath(), text);
        return TCharBooks::Load();
    }
    std::shared_ptr<TCharBooks> Add(const char* hostName, const char* host, int port)
    {
        auto entry = std::make_shared<TCharBooks>();
        entry->HostName = hostName;
        entry->Host = host;
        entry->Port = port;
        TCharBooks::CharBookList.push_back(entry);
        return entry;
    }

    TempFolder folder;
    std::vector<std::string> reports;
};

const std::string kSaveFailed = "에러|CharBooks 저장이 안됩니다";

TEST_F(CharBooksTest, WritesTheGoldenBookAndReadsItBack)
{
    auto entry = std::make_shared<TCharBooks>();
    entry->HostName = Utf8ToCp949("한글머드");
    entry->CharName = Utf8ToCp949("전사");
    entry->Host = "mud.local";
    entry->TriggerFile = Utf8ToCp949(folder.File("Cmd/전사.cmd"));  // absolute: stored relative
    TCharBooks::CharBookList.push_back(entry);
    ASSERT_TRUE(TCharBooks::Save());
    EXPECT_EQ(TempFolder::Read(BookPath()), Golden());
    EXPECT_EQ(TCharBooks::BookFileName, "CharBooks\\CharBooks");

    ASSERT_TRUE(TCharBooks::Load());
    ASSERT_EQ(TCharBooks::CharBookList.size(), 1u);
    const TCharBooks& e = *TCharBooks::CharBookList[0];
    EXPECT_EQ(Cp949ToUtf8(e.HostName + "|" + e.CharName + "|" + e.TriggerFile), "한글머드|전사|Cmd\\전사.cmd");
    EXPECT_EQ(e.Port, 4002);
    ASSERT_TRUE(TCharBooks::Save());
    EXPECT_EQ(TempFolder::Read(BookPath()), Golden());
    EXPECT_TRUE(reports.empty());
}

TEST_F(CharBooksTest, EmptyListWritesOnlyTheEnd)
{
    ASSERT_TRUE(TCharBooks::Save());
    EXPECT_EQ(TempFolder::Read(BookPath()), "#END\r\r\n");
}

// Hand-written books: what is read, what Load says, and whether the user is told of a stop.
struct TLoadCase {
    const char* name;
    const char* text;
    bool result;
    const char* entries;  // "HostName,Host,Port,Status,FgColor;" per entry
    bool reported;
};

const TLoadCase kLoads[] = {
    {"KeysInAnyOrder", "#CHARACTER\nPort 23\nFgColor clYellow~\nHost h~\nHostName a~\nEnd\n#END\n", true,
     "a,h,23,6,65535;", false},
    {"CommentsAreSkipped", "* a comment\n#CHARACTER\n* inside\nHost h~\n*End\nEnd\n* after\n#END\n", true,
     ",h,4002,6,16777215;", false},
    {"LfOnlyLineEnds", "#CHARACTER\nHostName x y~\nStatus 7\nBgColor $00123456~\nEnd\n#END\n", true,
     "x y,,4002,7,16777215;", false},
    // Kept, and reported: the end of the file came before "#END".
    {"RecordCutAtTheEndIsKept", "#CHARACTER\r\nHost h~\r\nPort 5\r\n", true, ",h,5,6,16777215;", true},
    {"EmptyBook", "#END\r\r\n", false, "", false},
    {"UnknownKeyStopsAfterEarlierRecords", "#CHARACTER\nHost a~\nEnd\n#CHARACTER\nColour red~\nHost b~\nEnd\n#END\n",
     false, ",a,4002,6,16777215;", true},
    {"ByteOrderMarkStartsNoSection", "\xEF\xBB\xBF#CHARACTER\nHost a~\nEnd\n#END\n", false, "", true},
    {"BadColourEndsTheLoadLikeAnUnknownKey", "#CHARACTER\nHost a~\nEnd\n#CHARACTER\nFgColor reddish~\nEnd\n#END\n",
     false, ",a,4002,6,16777215;", true},
    {"BadNumberEndsTheLoad", "#CHARACTER\nHost a~\nPort x\nEnd\n#END\n", false, "", true},
    {"UnknownSectionStops", "#CHARACTER\nHost a~\nEnd\n#BOOK\n#CHARACTER\nHost b~\nEnd\n", true, ",a,4002,6,16777215;",
     true},
    {"ValueWithoutTildeEndsTheLoad", "#CHARACTER\nHost abc\nEnd\n", false, "", true},
};

class CharBooksLoad : public CharBooksTest, public ::testing::WithParamInterface<TLoadCase> {};

TEST_P(CharBooksLoad, ReadsTheBook)
{
    const TLoadCase& c = GetParam();
    EXPECT_EQ(LoadText(c.text), c.result);
    std::string entries;
    for (const auto& e : TCharBooks::CharBookList)
        entries += e->HostName + "," + e->Host + "," + std::to_string(e->Port) + "," + std::to_string(e->Status) + "," +
            std::to_string(e->FgColor) + ";";
    EXPECT_EQ(entries, c.entries);
    EXPECT_EQ(reports.size(), c.reported ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Books, CharBooksLoad, ::testing::ValuesIn(kLoads),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(CharBooksTest, MissingBookLeavesTheListAsItWas)
{
    Add("kept", "h", 1);
    EXPECT_FALSE(TCharBooks::Load());
    EXPECT_EQ(TCharBooks::CharBookList.size(), 1u);
    EXPECT_TRUE(reports.empty());
}

// Where a command file's path is written: always relative to the program folder.
struct TPathCase {
    const char* name;
    const char* stored;  // "@" stands for the program folder
    const char* written;
};

const TPathCase kPaths[] = {
    {"RelativeStaysAsItIs", "Cmd\\a.cmd", "Cmd\\a.cmd"},
    {"BelowTheProgramFolder", "@/Cmd/sub/a.cmd", "Cmd\\sub\\a.cmd"},
    {"BesideTheProgramFolder", "@/../other/a.cmd", "..\\other\\a.cmd"},
    {"DriveIsDropped", "C:@\\Cmd\\a.cmd", "Cmd\\a.cmd"},
};

class CharBooksPath : public CharBooksTest, public ::testing::WithParamInterface<TPathCase> {};

TEST_P(CharBooksPath, TriggerFileIsWrittenRelative)
{
    std::string stored = GetParam().stored;
    if (const size_t at = stored.find('@'); at != std::string::npos)
        stored.replace(at, 1, folder.Path());
    Add("a", "h", 1)->TriggerFile = stored;
    ASSERT_TRUE(TCharBooks::Save());
    const std::string text = TempFolder::Read(BookPath());
    EXPECT_NE(text.find(std::string("TriggerFile ") + GetParam().written + "~\r\r\n"), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(Paths, CharBooksPath, ::testing::ValuesIn(kPaths),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(CharBooksTest, SaveCreatesTheMissingFolder)
{
    std::filesystem::remove(folder.File("CharBooks"));
    ASSERT_TRUE(TCharBooks::Save());
    EXPECT_EQ(TempFolder::Read(BookPath()), "#END\r\r\n");
}

TEST_F(CharBooksTest, FailedSaveIsReportedAndLeavesTheOldBook)
{
    TempFolder::Write(BookPath(), "old");
    Add("a", "h", 1);
    InjectAtomicWriteFailure(TAtomicWriteStep::Rename);
    EXPECT_FALSE(TCharBooks::Save());
    EXPECT_EQ(TempFolder::Read(BookPath()), "old");
    EXPECT_EQ(reports, std::vector<std::string>{kSaveFailed});
}

TEST_F(CharBooksTest, TildeInAValueRefusesTheSave)
{
    TempFolder::Write(BookPath(), "old");
    Add("a", "h", 1)->TriggerFile = "Cmd~1\\a.cmd";
    EXPECT_FALSE(TCharBooks::Save());
    EXPECT_EQ(TempFolder::Read(BookPath()), "old");
    EXPECT_EQ(reports, std::vector<std::string>{kSaveFailed});
}

TEST_F(CharBooksTest, EarlyStopKeepsTheWholeBookAsBackupOnce)
{
    const std::string original = "#CHARACTER\nHost a~\nEnd\n#CHARACTER\nOdd 1\nHost b~\nEnd\n#END\n";
    LoadText(original);
    ASSERT_TRUE(TCharBooks::Save());
    EXPECT_EQ(TempFolder::Read(folder.File("CharBooks/CharBooks.bak")), original);
    // The next save writes the book again but leaves the backup alone.
    Add("c", "h", 1);
    ASSERT_TRUE(TCharBooks::Save());
    EXPECT_EQ(TempFolder::Read(folder.File("CharBooks/CharBooks.bak")), original);
}

TEST_F(CharBooksTest, RegressionATruncatedBookIsReportedAndKeptAsBackup)
{
    for (const char* name : {"a", "\xB8\xD3\xB5\xE5", "c"})  // 머드
        Add(name, "h", 1);
    ASSERT_TRUE(TCharBooks::Save());
    const std::string whole = TempFolder::Read(BookPath());
    // Every cut before the end of "#END" stops the load and is reported.
    const size_t end = whole.find("#END") + 4;
    for (size_t cut = 0; cut < end; ++cut) {
        SCOPED_TRACE("cut after byte " + std::to_string(cut));
        reports.clear();
        LoadText(whole.substr(0, cut));
        EXPECT_EQ(TCharBooks::LastLoad, TCharBooks::loStopped);
        EXPECT_EQ(reports.size(), 1u);
    }
    // Cut after the second entry's HostName: one entry is read, and the save first keeps the file.
    const std::string cut = whole.substr(0, whole.find("\xB8\xD3\xB5\xE5~") + 5);
    LoadText(cut);
    EXPECT_EQ(TCharBooks::CharBookList.size(), 2u);
    ASSERT_TRUE(TCharBooks::Save());
    EXPECT_EQ(TempFolder::Read(folder.File("CharBooks/CharBooks.bak")), cut);
}

TEST_F(CharBooksTest, RegressionABookThatCannotBeReadIsNotReplaced)
{
    // A folder where the book should be: it is there, and it cannot be read.
    std::filesystem::create_directory(BookPath());
    Add("kept", "h", 1);
    EXPECT_FALSE(TCharBooks::Load());
    EXPECT_EQ(TCharBooks::LastLoad, TCharBooks::loNotOpened);
    EXPECT_EQ(TCharBooks::CharBookList.size(), 1u);
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_FALSE(TCharBooks::Save());
    EXPECT_TRUE(std::filesystem::is_directory(BookPath()));
    EXPECT_EQ(reports.back(), kSaveFailed);
}

// The longest value the reader takes round-trips; one byte more is refused by the save.
struct TLongValueCase {
    const char* name;
    size_t length;
    bool saved;
};

const TLongValueCase kLongValues[] = {
    {"LongestValueTheLoadReadsIsSaved", TCharBooks::kMaxBookValue, true},
    {"RegressionAValueTheLoadCannotReadBackRefusesTheSave", TCharBooks::kMaxBookValue + 1, false},
};

class CharBooksLongValue : public CharBooksTest, public ::testing::WithParamInterface<TLongValueCase> {};

TEST_P(CharBooksLongValue, RoundTripsOrIsRefused)
{
    TempFolder::Write(BookPath(), "old");
    Add("a", "h", 1);
    Add(std::string(GetParam().length, 'x').c_str(), "h", 2);
    Add("c", "h", 3);
    ASSERT_EQ(TCharBooks::Save(), GetParam().saved);
    if (!GetParam().saved) {
        EXPECT_EQ(TempFolder::Read(BookPath()), "old");
        EXPECT_EQ(reports, std::vector<std::string>{kSaveFailed});
        return;
    }
    ASSERT_TRUE(TCharBooks::Load());
    ASSERT_EQ(TCharBooks::CharBookList.size(), 3u);
    EXPECT_EQ(TCharBooks::CharBookList[1]->HostName.size(), GetParam().length);
    EXPECT_TRUE(reports.empty());
}

INSTANTIATE_TEST_SUITE_P(Values, CharBooksLongValue, ::testing::ValuesIn(kLongValues),
                         [](const auto& param) { return std::string(param.param.name); });

class TFakeCharBookWindow : public ICharBookWindow {
public:
    void RelinkCharBook(const std::shared_ptr<TCharBooks>& entry) override { Entry = entry; }
    std::shared_ptr<TCharBooks> Entry;
};

TEST_F(CharBooksTest, ReloadLinksOpenWindowsToTheirNewEntries)
{
    TFakeCharBookWindow first, gone;
    first.Entry = Add("a", "h", 1);
    first.Entry->TermForm = &first;
    gone.Entry = Add("x", "h", 1);
    gone.Entry->TermForm = &gone;
    const std::shared_ptr<TCharBooks> oldFirst = first.Entry;
    LoadText("#CHARACTER\nHostName a~\nHost h~\nPort 1\nEnd\n#CHARACTER\nHostName a~\nHost h~\nPort 1\nEnd\n#END\n");
    ASSERT_EQ(TCharBooks::CharBookList.size(), 2u);
    EXPECT_EQ(first.Entry, TCharBooks::CharBookList[0]);
    EXPECT_EQ(TCharBooks::CharBookList[0]->TermForm, &first);
    EXPECT_EQ(TCharBooks::CharBookList[1]->TermForm, nullptr);
    EXPECT_EQ(oldFirst->TermForm, nullptr);
    // A window whose server is no longer in the book keeps its entry, outside the book.
    EXPECT_EQ(gone.Entry->HostName, "x");
    EXPECT_EQ(gone.Entry->TermForm, &gone);
}

}  // namespace
