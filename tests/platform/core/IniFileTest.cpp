#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/IniFile.h"
#include "platform/core/StringList.h"
#include "tests/platform/core/Cases.h"
#include "tests/platform/core/Cp949Text.h"

TEST(IniRead, SectionsAndKeysIgnoreCaseAndBlanks)
{
    TempFolder folder;
    TempFolder::Write(folder.File("a.ini"), "[Main]\r\n  Name = Value with blanks  \r\nCount=5\r\n");
    TIniFile ini("a.ini");
    EXPECT_EQ(ini.ReadString("main", "NAME", "d"), "Value with blanks");
    EXPECT_EQ(ini.ReadInteger("MAIN", "count", 0), 5);
    EXPECT_EQ(ini.ReadString("Main", "Missing", "d"), "d");
}

TEST(IniRead, OnePairOfMatchingQuotesIsStripped)
{
    TempFolder folder;
    TempFolder::Write(folder.File("q.ini"), "[S]\nA=\"quoted\"\nB='single'\nC=\"mismatched'\nD=\"\"inner\"\"\nE=\"\n");
    TIniFile ini("q.ini");
    Each(TextChecks{
        CHECK_ROW(ini.ReadString("S", "A", ""), "quoted"), CHECK_ROW(ini.ReadString("S", "B", ""), "single"),
        CHECK_ROW(ini.ReadString("S", "C", ""), "\"mismatched'"), CHECK_ROW(ini.ReadString("S", "E", ""), "\""),
        CHECK_ROW(ini.ReadString("S", "D", ""), "\"inner\"")});  // a value written with extra quotes keeps its own
}

TEST(IniRead, NumbersAndBooleans)
{
    TempFolder folder;
    TempFolder::Write(folder.File("n.ini"), "[N]\nHex=$1F\nC=0x10\nBad=12abc\nT=1\nF=0\nNeg=-3\n");
    TIniFile ini("n.ini");
    Each(NumberChecks{CHECK_ROW(ini.ReadInteger("N", "Hex", 0), 31), CHECK_ROW(ini.ReadInteger("N", "C", 0), 16),
                      CHECK_ROW(ini.ReadInteger("N", "Bad", 7), 7), CHECK_ROW(ini.ReadInteger("N", "Neg", 0), -3)});
    EXPECT_TRUE(ini.ReadBool("N", "T", false));
    EXPECT_FALSE(ini.ReadBool("N", "F", true));
    EXPECT_TRUE(ini.ReadBool("N", "Neg", false));
}

TEST(IniWrite, CommentsAndUnknownLinesSurviveARewrite)
{
    TempFolder folder;
    std::string before = "; settings\n"
                         "stray line before any section\n"
                         "[Main]\n"
                         "; a comment inside\n"
                         "Name=old\n"
                         "not a key\n"
                         "\n"
                         "[Other]\n"
                         "X=1\n";
    TempFolder::Write(folder.File("c.ini"), before);
    TIniFile ini("c.ini");
    ini.WriteString("MAIN", "name", "new");
    ini.WriteString("Main", "Added", kHan);
    ini.WriteInteger("Third", "N", 3);
    ini.UpdateFile();
    EXPECT_EQ(TempFolder::Read(folder.File("c.ini")),
              "; settings\r\n"
              "stray line before any section\r\n"
              "[Main]\r\n"
              "; a comment inside\r\n"
              "name=new\r\n"
              "not a key\r\n"
              "Added=" +
                  kHan +
                  "\r\n"
                  "\r\n"
                  "[Other]\r\n"
                  "X=1\r\n"
                  "[Third]\r\n"
                  "N=3\r\n");
    EXPECT_EQ(ini.ReadString("Main", "Added", ""), kHan);
}

TEST(IniWrite, ListingErasingAndDeleting)
{
    TempFolder folder;
    TIniFile ini("l.ini");
    ini.WriteString("A", "k1", "v1");
    ini.WriteString("A", "k2", "v2");
    ini.WriteBool("B", "flag", true);
    TStringList list;
    ini.ReadSections(&list);
    EXPECT_EQ(Lines(list), (V{"A", "B"}));
    ini.ReadSection("a", &list);
    EXPECT_EQ(Lines(list), (V{"k1", "k2"}));
    ini.ReadSectionValues("A", &list);
    EXPECT_EQ(Lines(list), (V{"k1=v1", "k2=v2"}));
    EXPECT_TRUE(ini.SectionExists("b"));
    ini.DeleteKey("A", "k1");
    EXPECT_FALSE(ini.ValueExists("A", "k1"));
    ini.EraseSection("A");
    EXPECT_FALSE(ini.SectionExists("A"));
    ini.UpdateFile();
    EXPECT_EQ(TempFolder::Read(folder.File("l.ini")), "[B]\r\nflag=1\r\n");
}

TEST(IniWrite, ALineBreakInAValueCannotInjectLines)
{
    TempFolder folder;
    TIniFile ini("i.ini");
    EXPECT_THROW(ini.WriteString("S", "K", "first\r\n[Evil]\r\nX=1"), EIniFileException);
    EXPECT_EQ(ini.ReadString("S", "K", "none"), "none");
    EXPECT_FALSE(ini.SectionExists("Evil"));
}

TEST(IniWrite, TwoObjectsOnOneFileSeeEachOthersWrites)
{
    TempFolder folder;
    TIniFile a("shared.ini");
    TIniFile b("shared.ini");
    a.WriteString("S", "K", "from a");
    EXPECT_EQ(b.ReadString("S", "K", ""), "from a");
    b.WriteString("S", "L", "from b");
    EXPECT_EQ(a.ReadString("S", "L", ""), "from b");
}

TEST(IniWrite, AFailedWriteRaisesAndChangesNothing)
{
    TempFolder folder;
    TIniFile ini("f.ini");
    ini.WriteString("S", "K", "old");
    ini.UpdateFile();
    // The message says why, as the writer reported it.
    const std::string path = folder.File("f.ini");
    InjectAtomicWriteFailure(TAtomicWriteStep::Create);
    ExpectRaises<EIniFileException>([&] { ini.WriteString("S", "K", "new"); },
                                    "Unable to write to f.ini. Cannot create file " + path + ". Permission denied");
    ini.WriteString("S", "K", "new");
    InjectAtomicWriteFailure(TAtomicWriteStep::Write);
    ExpectRaises<EIniFileException>(
        [&] { ini.UpdateFile(); }, "Unable to write to f.ini. Cannot write file " + path + ". No space left on device");
    EXPECT_EQ(TempFolder::Read(folder.File("f.ini")), "[S]\r\nK=old\r\n");
}

// A write of one key the reader must read back as written, or refuse, naming what it refused.
struct TRoundTripCase {
    const char* name;
    const char* section;
    const char* ident;
    const char* value;
    const char* readBack;  // null: refused
};
class RegressionTheWriterSavedWhatItsReaderCannotRead : public ::testing::TestWithParam<TRoundTripCase> {};

TEST_P(RegressionTheWriterSavedWhatItsReaderCannotRead, ReadsItBackOrRefusesIt)
{
    const TRoundTripCase& c = GetParam();
    TempFolder folder;
    const std::string before = "[Print]\r\nTitleText=old\r\n";
    TempFolder::Write(folder.File("p.ini"), before);
    {
        TIniFile ini("p.ini");
        if (!c.readBack) {
            EXPECT_THROW(ini.WriteString(c.section, c.ident, c.value), EIniFileException);
            TStringList sections;
            ini.ReadSections(&sections);
            EXPECT_EQ(Lines(sections), (V{"Print"}));
        } else {
            ini.WriteString(c.section, c.ident, c.value);
        }
    }
    if (!c.readBack)
        EXPECT_EQ(TempFolder::Read(folder.File("p.ini")), before);
    else
        EXPECT_EQ(TIniFile("p.ini").ReadString(c.section, c.ident, "(none)"), c.readBack);
}

const TRoundTripCase kRoundTrips[] = {
    {"SectionHoldingABracket", "S]x", "K", "v", nullptr},
    {"SectionHoldingALineBreak", "S\r\n[Print", "K", "v", nullptr},
    {"TitleTextOfTwoLines", "Print", "TitleText", "line1\r\nline2", nullptr},
    {"PageNumSepWithALineFeed", "Print", "PageNumSep", "-\n-", nullptr},
    {"DateFormatWithACarriageReturn", "Print", "DateFormat", "yyyy\rmm", nullptr},
    {"KeyHoldingAnEqualsSign", "Print", "a=b", "v", nullptr},
    {"KeyLookingLikeAComment", "Print", ";K", "v", nullptr},
    {"KeyLookingLikeASection", "Print", "[K", "v", nullptr},
    {"LineBreakAmongTheBlanksAtTheEnd", "Print", "PagePrefix", "p.\r\n", "p."},
    {"SectionStartingWithABracket", "[S", "K", "v", "v"},
    {"KeyHoldingABracket", "Print", "a]b", "v", "v"},
};
INSTANTIATE_TEST_SUITE_P(Writes, RegressionTheWriterSavedWhatItsReaderCannotRead, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(IniWrite, RegressionEachKeyRewroteAndSyncedTheWholeFile)
{
    TempFolder folder;
    TempFolder::Write(folder.File("cols.ini"), "; widths\r\n");
    {
        TIniFile ini("cols.ini");
        for (int i = 0; i < 1000; ++i)
            ini.WriteInteger("Columns", "col" + std::to_string(i), i);
        // Held in memory: the file is written once, when the object goes.
        EXPECT_EQ(TempFolder::Read(folder.File("cols.ini")), "; widths\r\n");
        EXPECT_EQ(ini.ReadInteger("columns", "COL999", -1), 999);
    }
    TIniFile ini("cols.ini");
    EXPECT_EQ(ini.ReadInteger("Columns", "col0", -1), 0);
    EXPECT_EQ(ini.ReadInteger("Columns", "col999", -1), 999);
}

TEST(IniWrite, HeldChangesGoOverWhatAnotherProgramWroteMeanwhile)
{
    TempFolder folder;
    TempFolder::Write(folder.File("m.ini"), "[A]\r\nx=1\r\n");
    TIniFile ini("m.ini");
    ini.WriteString("A", "y", "2");
    ini.DeleteKey("A", "x");
    TempFolder::Write(folder.File("m.ini.new"), "[A]\r\nx=1\r\nz=3\r\n[B]\r\nw=4\r\n");
    std::filesystem::rename(folder.File("m.ini.new"), folder.File("m.ini"));
    EXPECT_EQ(ini.ReadString("B", "w", ""), "4");
    ini.UpdateFile();
    EXPECT_EQ(TempFolder::Read(folder.File("m.ini")), "[A]\r\nz=3\r\ny=2\r\n[B]\r\nw=4\r\n");
}

// A settings file that cannot be written, and why the failure says it cannot.
struct TIniFailureCase {
    const char* name;
    const char* file;
    std::function<bool(const std::string& path)> make;
    const char* reason;
    friend void PrintTo(const TIniFailureCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionASettingsFileFailedWithoutSayingWhy : public ::testing::TestWithParam<TIniFailureCase> {};

TEST_P(RegressionASettingsFileFailedWithoutSayingWhy, TheFailureGivesTheReason)
{
    const TIniFailureCase& c = GetParam();
    TempFolder folder;
    ASSERT_TRUE(c.make(folder.File(c.file)));
    const std::string start = "Unable to write to " + std::string(c.file) + ". ";
    TIniFile ini(c.file);
    try {
        ini.WriteString("S", "K", "new");
        ini.UpdateFile();
        ADD_FAILURE() << "written";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message.rfind(start, 0), 0u) << e.Message;
        EXPECT_NE(e.Message.find(c.reason), std::string::npos) << e.Message;
    }
}

const TIniFailureCase kIniFailures[] = {
    // Refused at the change.
    {"ReadOnlyFile", "r.ini",
     [](const std::string& path) {
         TempFolder::Write(path, "[S]\r\nK=old\r\n");
         return chmod(path.c_str(), 0444) == 0;
     },
     "The file is read-only."},
    {"MissingFolder", "no/such.ini", [](const std::string&) { return true; }, "No such file or directory"},
    {"Folder", "d.ini", [](const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }, "not a regular file"},
};
INSTANTIATE_TEST_SUITE_P(Files, RegressionASettingsFileFailedWithoutSayingWhy, ::testing::ValuesIn(kIniFailures),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(IniWrite, AReadOnlyFileIsRefusedAtTheFirstChange)
{
    TempFolder folder;
    TempFolder::Write(folder.File("r.ini"), "[S]\r\nK=old\r\n");
    chmod(folder.File("r.ini").c_str(), 0444);
    TIniFile ini("r.ini");
    EXPECT_THROW(ini.WriteString("S", "K", "new"), EIniFileException);
    EXPECT_EQ(ini.ReadString("S", "K", ""), "old");
}
