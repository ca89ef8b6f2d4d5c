// The character book read back from damaged files: named damages, then a few hundred seeded
// ones. A load returns, says whether it stopped early, keeps every record before the damage, and
// the next save keeps the damaged file as the backup and writes a book that reads back the same.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/core/CharBooks.h"
#include "platform/core/Cp949.h"
#include "tests/platform/core/Mutate.h"
#include "tests/platform/core/TempFolder.h"
#include "tests/platform/core/Unprivileged.h"

namespace {

class CharBooksDamage : public ::testing::Test {
protected:
    void SetUp() override
    {
        TCharBooks::FreeAll();
        TCharBooks::BookFileName.clear();
        TCharBooks::ReportError = [this](const AnsiString&, const AnsiString&) { ++reports; };
        std::filesystem::create_directory(folder.File("CharBooks"));
    }
    void TearDown() override
    {
        TCharBooks::FreeAll();
        TCharBooks::ReportError = nullptr;
    }
    std::string BookPath() const { return folder.File("CharBooks/CharBooks"); }
    std::string BackupPath() const { return folder.File("CharBooks/CharBooks.bak"); }

    // Every field of every entry, one line each.
    static std::string Describe(size_t count = SIZE_MAX)
    {
        std::string out;
        for (const auto& e : TCharBooks::CharBookList) {
            if (count-- == 0)
                break;
            for (const AnsiString* v :
                 {&e->HostName, &e->CharName, &e->Host, &e->HanFont, &e->EngFont, &e->SpcFont, &e->KsgFont})
                out += *v + "|";
            // An absolute command file is written relative to the program folder ("..\" steps):
            // the same file under another name.
            const AnsiString& cmd = e->TriggerFile;
            const bool outside = (!cmd.empty() && (cmd[0] == '\\' || cmd[0] == '/')) ||
                (cmd.size() > 1 && cmd[1] == ':') || cmd.starts_with("..\\");
            out += (outside ? AnsiString("(outside)") : cmd) + "|";
            out += std::to_string(e->Port) + "|" + std::to_string(e->Status) + "|" + std::to_string(e->FgColor) + "|" +
                std::to_string(e->BgColor) + "\n";
        }
        return out;
    }

    // Saves what was loaded from `damaged`: the damaged file is kept when the load stopped early,
    // and the book written reads back to the same entries and the same bytes.
    void SaveAndReadBack(const std::string& damaged)
    {
        std::filesystem::remove(BackupPath());
        const bool stopped = TCharBooks::LastLoad == TCharBooks::loStopped;
        const std::string loaded = Describe();
        ASSERT_TRUE(TCharBooks::Save());
        EXPECT_EQ(std::filesystem::exists(BackupPath()), stopped);
        if (stopped) {
            EXPECT_EQ(TempFolder::Read(BackupPath()), damaged);
        }
        const std::string written = TempFolder::Read(BookPath());
        reports = 0;
        TCharBooks::Load();
        EXPECT_EQ(TCharBooks::LastLoad, TCharBooks::loRead);
        EXPECT_EQ(reports, 0);
        EXPECT_EQ(Describe(), loaded);
        ASSERT_TRUE(TCharBooks::Save());
        EXPECT_EQ(TempFolder::Read(BookPath()), written);
    }

    TempFolder folder;
    int reports = 0;
};

struct TDamageCase {
    const char* name;
    std::string text;
    bool stopped;
    std::string entries;  // "HostName,Port;" per entry
};

const std::string kHuge(100000, 'x');

const TDamageCase kDamages[] = {
    {"EmptyFile", "", true, ""},
    {"CrOnlyLineEnds", "#CHARACTER\rHostName a~\rPort 23\rEnd\r#END\r", false, "a,23;"},
    {"MissingFieldsKeepTheirDefaults", "#CHARACTER\nEnd\n#END\n", false, ",4002;"},
    {"NulInAKeyIsAnUnknownKey", std::string("#CHARACTER\nHost\0Name a~\nEnd\n#END\n", 29), true, ""},
    {"RegressionANulInAValueIsCutOnSave", std::string("#CHARACTER\nHostName a\0b~\nEnd\n#END\n", 33), false,
     std::string("a\0b,4002;", 9)},
    {"LoneLeadByteInAValueStays", "#CHARACTER\nHostName \xB0~\nEnd\n#END\n", false, "\xB0,4002;"},
    {"HugeValueWithoutTildeStops", "#CHARACTER\nHostName a~\nEnd\n#CHARACTER\nHost " + kHuge + "\nEnd\n#END\n", true,
     "a,4002;"},
    {"HugeKeyStops", "#CHARACTER\n" + kHuge + " 1\nEnd\n#END\n", true, ""},
    {"PortPastThirtyTwoBitsWraps", "#CHARACTER\nPort 4294967319\nEnd\n#END\n", false, ",23;"},
    {"NegativePortStays", "#CHARACTER\nPort -1\nEnd\n#END\n", false, ",-1;"},
    {"StatusWithoutDigitsStops", "#CHARACTER\nHostName a~\nStatus -\nEnd\n#END\n", true, ""},
    {"RandomBytesStop", "\x93\x01\xFF\x7F#\xB0", true, ""},
    {"SectionWithoutName", "#\n#END\n", true, ""},
};

class CharBooksDamageRows : public CharBooksDamage, public ::testing::WithParamInterface<TDamageCase> {};

TEST_P(CharBooksDamageRows, LoadsWhatItCanAndSavesItBack)
{
    const TDamageCase& c = GetParam();
    TempFolder::Write(BookPath(), c.text);
    TCharBooks::Load();
    EXPECT_EQ(TCharBooks::LastLoad, c.stopped ? TCharBooks::loStopped : TCharBooks::loRead);
    EXPECT_EQ(reports, c.stopped ? 1 : 0);
    std::string entries;
    for (const auto& e : TCharBooks::CharBookList)
        entries += e->HostName + "," + std::to_string(e->Port) + ";";
    EXPECT_EQ(entries, c.entries);
    SaveAndReadBack(c.text);
}

INSTANTIATE_TEST_SUITE_P(Books, CharBooksDamageRows, ::testing::ValuesIn(kDamages),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(CharBooksDamage, ABookThatCannotBeReadIsReportedAndNotWrittenOver)
{
    const std::string book = "#CHARACTER\r\r\nHostName a~\r\r\nEnd\r\r\n#END\r\r\n";
    TempFolder::Write(BookPath(), book);
    chmod(BookPath().c_str(), 0);
    EXPECT_TRUE(RunUnprivileged([this] {
        return !TCharBooks::Load() && TCharBooks::LastLoad == TCharBooks::loNotOpened && reports == 1 &&
            !TCharBooks::Save() && reports == 2;
    }));
    EXPECT_EQ(ReadUnreadable(BookPath()), book);
}

TEST_F(CharBooksDamage, SeededDamageLosesNothingBeforeIt)
{
    for (const char* name : {"\xC7\xD1\xB1\xDB", "b", "c"}) {  // 한글
        auto e = std::make_shared<TCharBooks>();
        e->HostName = name;
        e->CharName = "\xC0\xFC\xBB\xE7";  // 전사
        e->Host = "mud.local";
        e->TriggerFile = "Cmd\\a.cmd";
        e->FgColor = clYellow;
        e->BgColor = 0x123456;
        e->Port = 23;
        TCharBooks::CharBookList.push_back(e);
    }
    ASSERT_TRUE(TCharBooks::Save());
    const std::string original = TempFolder::Read(BookPath());
    const std::string whole = Describe();
    // Where each record's "End" line ends.
    std::vector<size_t> ends;
    for (size_t at = original.find("End\r\r\n"); at != std::string::npos; at = original.find("End\r\r\n", at + 1))
        ends.push_back(at + 6);

    TMutator mutator(20261207);
    for (int i = 0; i < 200; ++i) {
        SCOPED_TRACE("damage " + std::to_string(i));
        const std::string damaged = mutator.Damage(original);
        const size_t first = FirstDifference(original, damaged);
        size_t intact = 0;
        while (intact < ends.size() && ends[intact] <= first)
            ++intact;
        TCharBooks::FreeAll();
        TempFolder::Write(BookPath(), damaged);
        reports = 0;
        TCharBooks::Load();
        EXPECT_EQ(reports, TCharBooks::LastLoad == TCharBooks::loStopped ? 1 : 0);
        ASSERT_GE(TCharBooks::CharBookList.size(), intact);
        const std::string before = Describe(intact);
        EXPECT_EQ(before, whole.substr(0, before.size()));
        SaveAndReadBack(damaged);
        if (HasFatalFailure())
            return;
    }
}

}  // namespace
