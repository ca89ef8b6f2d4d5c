// The registry's file read back damaged: named damages, then a few hundred seeded ones. Reading
// never fails, and a write keeps the values of every key the damage left whole.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/core/RegistryStore.h"
#include "tests/platform/core/Mutate.h"
#include "tests/platform/core/RegistryHive.h"
#include "tests/platform/core/Unprivileged.h"

namespace {

void WriteHive(const TempFolder& folder, const std::string& text)
{
    std::filesystem::create_directories(folder.File("Registry"));
    TempFolder::Write(HivePath(folder), text);
}

TRegistryValue Text(const char* name, const char* text) { return {name, false, text, 0}; }
TRegistryValue Number(const char* name, uint32_t number) { return {name, true, "", number}; }

// A value as "name=text" or "name=#number"; "-" when absent.
std::string Show(std::string_view path, std::string_view name)
{
    const std::optional<TRegistryValue> v = RegistryStore::FindValue(kUser, path, name);
    if (!v)
        return "-";
    return v->Name + "=" + (v->IsInteger ? "#" + std::to_string(v->Number) : v->Text);
}

struct TRegistryDamageCase {
    const char* name;
    std::string text;
    const char* title;  // Show("Software\\Main", "Title")
    const char* count;  // Show("Software\\Main", "Count")
};

const TRegistryDamageCase kRegistryDamages[] = {
    {"EmptyFile", "", "-", "-"},
    {"CrOnlyLineEnds", "[Software\\Main]\r\"Title\"=\"t\"\r\"Count\"=dword:00000003\r", "Title=t", "Count=#3"},
    {"LfOnlyLineEnds", "[Software\\Main]\n\"Title\"=\"t\"\n\"Count\"=dword:00000003\n", "Title=t", "Count=#3"},
    {"ValueWithoutClosingQuoteReadsToTheLineEnd", "[Software\\Main]\r\n\"Title\"=\"t\r\n", "Title=t", "-"},
    {"NameWithoutEqualsIsSkipped", "[Software\\Main]\r\n\"Title\"\"t\"\r\n\"Count\"=dword:1\r\n", "-", "Count=#1"},
    {"DwordOfGarbageIsZero", "[Software\\Main]\r\n\"Count\"=dword:zz\r\n", "-", "Count=#0"},
    {"DwordPastThirtyTwoBits", "[Software\\Main]\r\n\"Count\"=dword:1ffffffff\r\n", "-", "Count=#4294967295"},
    {"EscapeAtTheLineEnd", "[Software\\Main]\r\n\"Title\"=\"a\\\r\n", "Title=a\\", "-"},
    {"ValuesBeforeAnyKeyAreSkipped", "\"Title\"=\"t\"\r\n[Software\\Main]\r\n", "-", "-"},
    {"RandomBytes", "\x93\x01\xFF\x7F[\xB0]\"", "-", "-"},
};

class RegistryDamage : public ::testing::TestWithParam<TRegistryDamageCase> {};

TEST_P(RegistryDamage, ReadsWhatItCanAndWritesKeepingIt)
{
    const TRegistryDamageCase& c = GetParam();
    TempFolder folder;
    WriteHive(folder, c.text);
    EXPECT_EQ(Show("Software\\Main", "Title"), c.title);
    EXPECT_EQ(Show("Software\\Main", "Count"), c.count);
    ASSERT_TRUE(RegistryStore::SetValue(kUser, "Software\\Other", Text("X", "1")));
    EXPECT_EQ(Show("Software\\Main", "Title"), c.title);
    EXPECT_EQ(Show("Software\\Main", "Count"), c.count);
    EXPECT_EQ(Show("Software\\Other", "X"), "X=1");
}

INSTANTIATE_TEST_SUITE_P(Files, RegistryDamage, ::testing::ValuesIn(kRegistryDamages),
                         [](const auto& param) { return std::string(param.param.name); });

// Regressions: a key line damaged gave the values below it to the key above.
struct TKeyLineCase {
    const char* name;
    const char* line;
};

const TKeyLineCase kKeyLines[] = {
    {"RegressionAKeyLineThatLostItsBracketGaveItsValuesToTheKeyAbove", "[Software\\Window"},
    {"RegressionAKeyLineWithBytesBeforeItGaveItsValuesToTheKeyAbove", "\x01-99[Software\\Window]"},
};

class RegistryKeyLine : public ::testing::TestWithParam<TKeyLineCase> {};

TEST_P(RegistryKeyLine, KeepsItsValues)
{
    TempFolder folder;
    WriteHive(folder,
              std::string("[Software\\Main]\r\n\"Title\"=\"a\"\r\n\r\n") + GetParam().line +
                  "\r\n\"Left\"=dword:7\r\n");
    ASSERT_TRUE(RegistryStore::SetValue(kUser, "Software\\Other", Text("X", "1")));
    EXPECT_EQ(Show("Software\\Main", "Left"), "-");
    EXPECT_EQ(Show("Software\\Window", "Left"), "Left=#7");
    EXPECT_EQ(Show("Software\\Main", "Title"), "Title=a");
}

INSTANTIATE_TEST_SUITE_P(Files, RegistryKeyLine, ::testing::ValuesIn(kKeyLines),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(RegistryDamage, RegressionAKeyNamedTwiceHidTheValuesUnderItsSecondLine)
{
    TempFolder folder;
    WriteHive(folder,
              "[Software\\Main]\r\n\"Title\"=\"a\"\r\n\r\n[Software]\r\n\r\n[SOFTWARE\\main]\r\n\"Left\"=dword:7\r\n");
    EXPECT_EQ(Show("Software\\Main", "Left"), "Left=#7");
    ASSERT_TRUE(RegistryStore::SetValue(kUser, "Software\\Main", Text("Title", "b")));
    EXPECT_EQ(Show("Software\\Main", "Title"), "Title=b");
    EXPECT_EQ(Show("Software\\Main", "Left"), "Left=#7");
}

TEST(RegistryDamage, RegressionARegistryFileThatCannotBeReadWasWrittenOver)
{
    TempFolder folder;
    const std::string hive = "[Software\\Main]\r\n\"Title\"=\"a\"\r\n";
    WriteHive(folder, hive);
    chmod(HivePath(folder).c_str(), 0);
    EXPECT_TRUE(RunUnprivileged([] {
        return Show("Software\\Main", "Title") == "-" &&
            !RegistryStore::SetValue(kUser, "Software\\Other", Text("X", "1")) && Show("Software\\Other", "X") == "-";
    }));
    EXPECT_EQ(ReadUnreadable(HivePath(folder)), hive);
}

TEST(RegistryDamage, ManyKeysAreFoundAndForgottenByAnyCase)
{
    TempFolder folder;
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "[Software\\K" + std::to_string(i) + "]\r\n\"V\"=dword:" + std::to_string(i) + "\r\n";
    WriteHive(folder, text + "[SOFTWARE\\k17]\r\n\"W\"=\"second line\"\r\n\"v\"=dword:99\r\n");
    EXPECT_EQ(Show("software\\k2999", "v"), "V=#10649");  // dword values are hexadecimal
    EXPECT_EQ(Show("Software\\K17", "w"), "W=second line");
    EXPECT_EQ(Show("Software\\K17", "V"), "V=#23");  // the first of two values wins
    ASSERT_TRUE(RegistryStore::DeleteKey(kUser, "software\\K17"));
    EXPECT_EQ(Show("Software\\K17", "W"), "-");
    EXPECT_EQ(Show("Software\\K18", "V"), "V=#24");
    ASSERT_TRUE(RegistryStore::DeleteValue(kUser, "Software\\K18", "v"));
    ASSERT_TRUE(RegistryStore::SetValue(kUser, "Software\\K18", Number("Z", 5)));
    ASSERT_TRUE(RegistryStore::SetValue(kUser, "software\\k18", Number("z", 6)));
    EXPECT_EQ(RegistryStore::ValueNames(kUser, "Software\\K18"), (std::vector<AnsiString>{"z"}));
    EXPECT_EQ(Show("Software\\K18", "Z"), "z=#6");
    EXPECT_EQ(RegistryStore::SubKeyNames(kUser, "Software").size(), 2999u);
}

TEST(RegistryDamageSeeded, AWriteKeepsTheValuesOfEveryWholeKey)
{
    const char* keys[] = {"Software\\Hanmud\\Main", "Software\\Hanmud\\Window", "Software\\Recent"};
    const std::vector<const char*> names[] = {{"Title", "Count"}, {"Left", "Top"}, {"File1"}};
    std::string original;
    std::vector<std::string> blocks, holds;  // each key's lines in the file, and its values
    // A key's own values. Values the damage moved into it from a key whose line it destroyed
    // are not looked at: such a line cannot be told from a value line.
    const auto holding = [&](size_t k) {
        std::string shown;
        for (const char* name : names[k])
            shown += Show(keys[k], name);
        return shown;
    };
    {
        TempFolder folder;
        RegistryStore::SetValue(kUser, keys[0], Text("Title", "\xC7\xD1\xB1\xDB \"q\"\r\n\\"));  // 한글
        RegistryStore::SetValue(kUser, keys[0], Number("Count", 4000000000u));
        RegistryStore::SetValue(kUser, keys[1], Number("Left", 10));
        RegistryStore::SetValue(kUser, keys[1], Number("Top", 20));
        RegistryStore::SetValue(kUser, keys[2], Text("File1", "Cmd\\a.cmd"));
        original = TempFolder::Read(HivePath(folder));
        for (size_t k = 0; k < std::size(keys); ++k) {
            const size_t at = original.find(std::string("[") + keys[k] + "]");
            blocks.push_back(original.substr(at, original.find("\r\n\r\n", at) + 4 - at));
            holds.push_back(holding(k));
        }
    }
    TMutator mutator(20261207);
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE("damage " + std::to_string(i));
        const std::string damaged = mutator.Damage(original);
        TempFolder folder;  // a fresh file each time, never taken for the one read before
        WriteHive(folder, damaged);
        ASSERT_TRUE(RegistryStore::SetValue(kUser, "Software\\Other", Text("X", "1")));
        for (size_t k = 0; k < blocks.size(); ++k) {
            // A key whose lines are whole, and whose name the damage made nowhere else.
            const size_t at = damaged.find(blocks[k]);
            const std::string header = blocks[k].substr(0, blocks[k].find('\n'));
            const bool lineStart =
                at == 0 || (at != std::string::npos && (damaged[at - 1] == '\n' || damaged[at - 1] == '\r'));
            if (!lineStart || damaged.find(header) != damaged.rfind(header))
                continue;
            EXPECT_EQ(holding(k), holds[k]) << keys[k];
        }
        EXPECT_EQ(Show("Software\\Other", "X"), "X=1");
        if (HasFailure())
            return;
    }
}

}  // namespace
