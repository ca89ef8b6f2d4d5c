// Settings files read back damaged: named damages, then a few hundred seeded ones. Reading never
// fails, a bad number reads as the default, and a write changes its one line and keeps every
// other line of the file.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/core/Exceptions.h"
#include "platform/core/IniFile.h"
#include "platform/core/StringList.h"
#include "tests/platform/core/Mutate.h"
#include "tests/platform/core/Unprivileged.h"

namespace {

std::vector<AnsiString> LinesOf(const std::string& text)
{
    TStringList list;
    list.SetText(text);
    std::vector<AnsiString> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list.Strings(i));
    return lines;
}

// Reads everything the file holds, writes one key and checks that it reads back and that the
// file's other lines are all still there, in their order.
void WriteKeepsTheRest(const std::string& path, const std::string& before)
{
    TIniFile ini("s.ini");
    TStringList sections, values;
    ini.ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i)
        ini.ReadSectionValues(sections.Strings(i), &values);
    ini.WriteString("Window", "Width", "5");
    EXPECT_EQ(ini.ReadString("Window", "Width", ""), "5");
    const std::vector<AnsiString> old = LinesOf(before), now = LinesOf(TempFolder::Read(path));
    ASSERT_LE(old.size(), now.size());
    ASSERT_LE(now.size(), old.size() + 2);
    if (now.size() == old.size()) {
        // The key was there: only its line changed.
        size_t changed = 0;
        for (size_t i = 0; i < old.size(); ++i)
            changed += now[i] != old[i];
        EXPECT_LE(changed, 1u);
        return;
    }
    // The key (and maybe its section) was added: the old lines are all there, in order.
    size_t o = 0;
    for (size_t n = 0; n < now.size() && o < old.size(); ++n)
        o += now[n] == old[o];
    EXPECT_EQ(o, old.size());
}

struct TIniDamageCase {
    const char* name;
    std::string text;
    std::string left;  // ReadString("Window", "Left", "def"); "?" when not checked
    int top;           // ReadInteger("Window", "Top", -1)
};

const TIniDamageCase kIniDamages[] = {
    {"EmptyFile", "", "def", -1},
    {"CrOnlyLineEnds", "[Window]\rLeft=3\rTop=4\r", "3", 4},
    {"LfOnlyLineEnds", "[Window]\nLeft=3\nTop=4\n", "3", 4},
    {"NulInAValueStays", std::string("[Window]\r\nLeft=a\0b\r\nTop=4\r\n", 28), std::string("a\0b", 3), 4},
    {"HugeLine", "[Window]\r\nLeft=" + std::string(1 << 20, 'x') + "\r\nTop=4\r\n", "?", 4},
    {"NumberPastThirtyTwoBitsIsTheDefault", "[Window]\r\nTop=99999999999\r\n", "def", -1},
    {"NumberWithGarbageIsTheDefault", "[Window]\r\nTop=4x\r\n", "def", -1},
    {"EmptyNumberIsTheDefault", "[Window]\r\nTop=\r\n", "def", -1},
    {"LoneLeadByteStays", "[Window]\r\nLeft=\xB0\r\n", "\xB0", -1},
    {"SectionCutShortStillNamesIt", "[Window\r\nLeft=3\r\n", "3", -1},
    {"LineWithoutEqualsIsKept", "[Window]\r\nLeft\r\nTop=4\r\n", "def", 4},
    {"RandomBytes", "\x93\x01\xFF\x7F[\xB0=", "def", -1},
};

class IniFileDamage : public ::testing::TestWithParam<TIniDamageCase> {};

TEST_P(IniFileDamage, ReadsWhatItCanAndWritesKeepingTheRest)
{
    const TIniDamageCase& c = GetParam();
    TempFolder folder;
    TempFolder::Write(folder.File("s.ini"), c.text);
    TIniFile ini("s.ini");
    const AnsiString left = ini.ReadString("Window", "Left", "def");
    if (c.left != "?") {
        EXPECT_EQ(left, c.left);
    }
    EXPECT_EQ(ini.ReadInteger("Window", "Top", -1), c.top);
    WriteKeepsTheRest(folder.File("s.ini"), c.text);
}

INSTANTIATE_TEST_SUITE_P(Files, IniFileDamage, ::testing::ValuesIn(kIniDamages),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(IniFileDamageFolder, AFolderInPlaceOfTheFileReadsDefaultsAndRefusesWrites)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.File("s.ini"));
    TIniFile ini("s.ini");
    EXPECT_EQ(ini.ReadString("Window", "Left", "def"), "def");
    EXPECT_THROW(ini.WriteString("Window", "Left", "1"), EIniFileException);
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("s.ini")));
}

TEST(IniFileDamageFolder, AFileThatCannotBeReadIsNotWrittenOver)
{
    TempFolder folder;
    TempFolder::Write(folder.File("s.ini"), "[Window]\r\nLeft=3\r\n");
    chmod(folder.File("s.ini").c_str(), 0);
    EXPECT_TRUE(RunUnprivileged([] {
        TIniFile ini("s.ini");
        if (ini.ReadString("Window", "Left", "def") != "def")
            return false;
        try {
            ini.WriteString("Window", "Top", "1");
        } catch (const EIniFileException&) {
            return true;
        }
        return false;
    }));
    EXPECT_EQ(ReadUnreadable(folder.File("s.ini")), "[Window]\r\nLeft=3\r\n");
}

TEST(IniFileDamageSeeded, AWriteKeepsEveryOtherLine)
{
    const std::string original = "; window settings\r\n[Window]\r\nLeft=10\r\nTop=20\r\nWidth=640\r\n\r\n"
                                 "[Fonts]\r\nName=\"\xB1\xBC\xB8\xB2\"\r\nSize=12\r\n[Recent]\r\nFile1=Cmd\\a.cmd\r\n";
    TempFolder folder;
    TMutator mutator(20261207);
    for (int i = 0; i < 300; ++i) {
        SCOPED_TRACE("damage " + std::to_string(i));
        const std::string damaged = mutator.Damage(original);
        TempFolder::Write(folder.File("s.ini"), damaged);
        WriteKeepsTheRest(folder.File("s.ini"), damaged);
        if (HasFailure())
            return;
    }
}

}  // namespace
