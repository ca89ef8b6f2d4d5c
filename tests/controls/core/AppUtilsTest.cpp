// INI storage routines on real INI and registry files in a temporary program folder.

#include "controls/core/AppUtils.h"

#include <gtest/gtest.h>

#include "platform/core/Exceptions.h"
#include "platform/core/IniFile.h"
#include "platform/core/RegIniFile.h"
#include "platform/core/StringList.h"
#include "tests/platform/core/TempFolder.h"

namespace {

struct TIniQuoteCase {
    const char* name;
    const char* value;
    const char* line;  // as the file holds it
};
class IniQuoting : public ::testing::TestWithParam<TIniQuoteCase> {};

TEST_P(IniQuoting, ReadsBackWhatWasWritten)
{
    TempFolder folder;
    {
        TIniFile ini("test.ini");
        IniWriteString(&ini, "S", "Key", GetParam().value);
        EXPECT_EQ(IniReadString(&ini, "S", "Key", "none"), GetParam().value);
    }
    EXPECT_EQ(TempFolder::Read(folder.File("test.ini")), std::string("[S]\r\n") + GetParam().line + "\r\n");
}

const TIniQuoteCase kIniQuotes[] = {
    {"SingleQuotes", "'abc'", "Key=\"'abc'\""},
    {"DoubleQuotes", "\"abc\"", "Key=\"\"abc\"\""},
    {"LoneQuote", "\"", "Key=\"\"\""},
    {"QuoteAtOneEndOnly", "'abc", "Key='abc"},
};
INSTANTIATE_TEST_SUITE_P(Rows, IniQuoting, ::testing::ValuesIn(kIniQuotes),
                         [](const auto& row) { return std::string(row.param.name); });

struct TEscapeCase {
    const char* name;
    const char* text;
    const char* stored;
    const char* readBack;
};
class IniEscaping : public ::testing::TestWithParam<TEscapeCase> {};

TEST_P(IniEscaping, StoresOneLine)
{
    EXPECT_EQ(StrToIniStr(GetParam().text), GetParam().stored);
    EXPECT_EQ(IniStrToStr(GetParam().stored), GetParam().readBack);
}

const TEscapeCase kEscapes[] = {
    {"RegressionBackslashBeforeNSurvives", "C:\\new", "C:\\\\new", "C:\\new"},
    {"EveryLineBreakIsOne", "a\r\nb\n\rc\rd\ne", "a\\nb\\nc\\nd\\ne", "a\r\nb\r\nc\r\nd\r\ne"},
    {"TwoBreaksStayTwo", "a\n\nb", "a\\n\\nb", "a\r\n\r\nb"},
    {"HangulUntouched", "\xC7\xD1\\", "\xC7\xD1\\\\", "\xC7\xD1\\"},
};
INSTANTIATE_TEST_SUITE_P(Rows, IniEscaping, ::testing::ValuesIn(kEscapes),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(AppUtils, OldValuesStillRead)
{
    EXPECT_EQ(IniStrToStr("a\\nb"), "a\r\nb");
    EXPECT_EQ(IniStrToStr("C:\\x\\"), "C:\\x\\");  // other backslashes stay
}

TEST(AppUtils, LineOf4096BytesConvertsAndLongerRaises)
{
    EXPECT_EQ(StrToIniStr(std::string(4096, 'a')).size(), 4096u);
    EXPECT_THROW(StrToIniStr(std::string(4097, 'a')), Exception);
    EXPECT_THROW(IniStrToStr(std::string(4097, 'a')), Exception);
}

TEST(AppUtils, RegistryStoreAndForeignObjects)
{
    TempFolder folder;
    {
        TRegIniFile reg("Software\\Test");
        IniWriteInteger(&reg, "Main", "Count", 7);
        IniWriteBool(&reg, "Main", "On", true);
        IniWriteString(&reg, "Other", "Text", "'q'");
        EXPECT_EQ(IniReadInteger(&reg, "Main", "Count", 0), 7);
        EXPECT_TRUE(IniReadBool(&reg, "Main", "On", false));
        EXPECT_EQ(IniReadString(&reg, "Other", "Text", ""), "'q'");
        TStringList sections;
        IniReadSections(&reg, &sections);
        EXPECT_EQ(sections.Count(), 2);
        IniEraseSection(&reg, "Other");
        IniDeleteKey(&reg, "Main", "On");
    }
    TRegIniFile reg("Software\\Test", KEY_READ);
    EXPECT_EQ(IniReadString(&reg, "Other", "Text", "gone"), "gone");
    EXPECT_FALSE(IniReadBool(&reg, "Main", "On", false));
    TStringList other;
    IniWriteString(&other, "S", "K", "v");  // ignored
    EXPECT_EQ(IniReadInteger(&other, "S", "K", 3), 3);
    EXPECT_EQ(IniReadInteger(nullptr, "S", "K", 4), 4);
}

TEST(AppUtils, DefaultNames)
{
    EXPECT_EQ(GetDefaultIniName(), "controls_core_tests.INI");
    DefCompanyName = "Acme";
    RegUseAppTitle = true;
    AppTitleSource = [] { return AnsiString("Title"); };
    EXPECT_EQ(GetDefaultIniRegKey(), "Software\\Acme\\Title");
    AppTitleSource = nullptr;
    DefCompanyName.clear();
    EXPECT_EQ(GetDefaultIniRegKey(), "Software\\controls_core_tests");
    RegUseAppTitle = false;
    OnGetDefaultIniName = [] { return AnsiString("Own.ini"); };
    EXPECT_EQ(GetDefaultIniName(), "Own.ini");
    OnGetDefaultIniName = nullptr;
}

TEST(AppUtils, RegressionUniqueNameOfAMaskWithoutNumberStops)
{
    TempFolder folder;
    TempFolder::Write(folder.File("fixed.txt"), "");
    TempFolder::Write(folder.File("log0.txt"), "");
    TempFolder::Write(folder.File("log1.txt"), "");
    EXPECT_EQ(GetUniqueFileNameInDir("", "log%d.txt"), "log2.txt");
    EXPECT_EQ(GetUniqueFileNameInDir("", "fixed.txt"), "");
    EXPECT_EQ(GetUniqueFileNameInDir("", "new.txt"), "new.txt");
    EXPECT_EQ(GetUniqueFileNameInDir("", "%03d%%"), "000%");
    EXPECT_THROW(GetUniqueFileNameInDir("", "%s"), EConvertError);
}

}  // namespace
