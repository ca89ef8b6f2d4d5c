// Key names written to the registry's file must read back after a restart, or be refused and
// leave the file as it was.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "platform/core/Exceptions.h"
#include "platform/core/RegIniFile.h"
#include "platform/core/StringList.h"
#include "tests/platform/core/Cases.h"
#include "tests/platform/core/RegistryHive.h"

namespace {

struct TSectionCase {
    const char* name;
    const char* section;
    bool stored;  // false: refused
    friend void PrintTo(const TSectionCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionARegistrySectionHoldingALineBreakWasReportedSaved : public ::testing::TestWithParam<TSectionCase> {};

TEST_P(RegressionARegistrySectionHoldingALineBreakWasReportedSaved, ReadsBackAfterARestartOrIsRefused)
{
    const TSectionCase& c = GetParam();
    std::string saved;
    {
        TempFolder folder;
        TRegIniFile ini("Software\\Hanmud");
        ini.WriteString("Main", "Title", "kept");
        const std::string before = TempFolder::Read(HivePath(folder));
        if (c.stored) {
            ini.WriteString(c.section, "Value", "v");
        } else {
            EXPECT_THROW(ini.WriteString(c.section, "Value", "v"), ERegistryException);
            EXPECT_THROW(ini.WriteInteger(c.section, "Number", 1), ERegistryException);
            EXPECT_EQ(TempFolder::Read(HivePath(folder)), before);
        }
        saved = TempFolder::Read(HivePath(folder));
    }
    // The next run finds only the file.
    TempFolder folder;
    std::filesystem::create_directories(folder.File("Registry"));
    TempFolder::Write(HivePath(folder), saved);
    TRegIniFile ini("Software\\Hanmud", KEY_READ);
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(Lines(sections), c.stored ? (V{"Main", c.section}) : (V{"Main"}));
    EXPECT_EQ(ini.ReadString(c.section, "Value", "none"), c.stored ? "v" : "none");
    EXPECT_EQ(ini.ReadString("Main", "Title", ""), "kept");
}

const TSectionCase kSections[] = {
    {"CarriageReturn", "a\rb", false},
    {"LineFeed", "a\nb", false},
    {"LineBreakBeforeAKeyLine", "a\r\n[Software\\Hanmud\\Evil", false},
    {"LineBreakAtTheEnd", "Main\n", false},
    {"ClosingBracket", "a]b", true},
    {"OpeningBracket", "[a", true},
    {"Quote", "\"a\"", true},
};
INSTANTIATE_TEST_SUITE_P(Sections, RegressionARegistrySectionHoldingALineBreakWasReportedSaved,
                         ::testing::ValuesIn(kSections),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(RegistryKeyName, AKeyPathHoldingALineBreakIsNeverMade)
{
    TempFolder folder;
    TRegistry reg;
    for (const char* path : {"\\Software\\a\rb", "\\Software\\a\nb", "\\Software\\a\r\n[b]"}) {
        EXPECT_FALSE(reg.CreateKey(path)) << path;
        EXPECT_FALSE(reg.OpenKey(path, true)) << path;
        EXPECT_FALSE(reg.KeyExists(path)) << path;
    }
    EXPECT_FALSE(std::filesystem::exists(HivePath(folder)));
}

}  // namespace
