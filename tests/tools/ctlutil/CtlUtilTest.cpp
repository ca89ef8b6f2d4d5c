// ctlrun's "util" lines against the edge cases of the date, file and INI-storage routines, run
// in order on one temporary program folder with the date fixed at 15 March 2026.

#include "tools/ctlutil/CtlUtil.h"

#include <gtest/gtest.h>

#include "controls/core/FileTree.h"
#include "platform/core/DateTime.h"
#include "platform/core/FormatSettings.h"
#include "tests/platform/core/TempFolder.h"

namespace {

struct TUtilCase {
    const char* name;
    const char* setup;  // util lines run first, "|"-separated, their output unchecked
    const char* line;
    const char* output;
    bool root = false;  // names the root folder: every folder open is refused, and none may come
};
class UtilLine : public ::testing::TestWithParam<TUtilCase> {
protected:
    void SetUp() override
    {
        saved_ = FormatSettings();
        RunUtil("today 2026-03-15T10:00:00");
        TempFolder::Write(folder_.File("full"), std::string(8192, 'x'));
        std::string setup = GetParam().setup;
        for (size_t start = 0; start < setup.size();) {
            const size_t end = std::min(setup.find('|', start), setup.size());
            RunUtil(setup.substr(start, end - start));
            start = end + 1;
        }
    }
    void TearDown() override
    {
        FormatSettings() = saved_;
        SetDateTimeClock(nullptr);
    }

private:
    TFormatSettings saved_;
    TempFolder folder_;
};

TEST_P(UtilLine, Prints)
{
    int opens = 0;
    TFolderOpenHook old;
    if (GetParam().root)
        old = SetFolderOpenHook([&opens](const std::string&) {
            ++opens;
            return false;
        });
    EXPECT_EQ(RunUtil(GetParam().line), GetParam().output);
    if (GetParam().root)
        SetFolderOpenHook(std::move(old));
    EXPECT_EQ(opens, 0);
}

#define DOTS "locale shortdate=dd.MM.yyyy datesep=."
const TUtilCase kLines[] = {
    {"LeapCentury", "", "IsLeapYear 1900", "RESULT False"},
    {"MonthThirteen", "", "DaysPerMonth 2024 13", "RESULT 0"},
    {"IncMonthKeepsTheTime", "", "IncMonth 2024-01-31T10:30:00 1", "RESULT 2024-02-29 10:30:00"},
    {"IncTimeBelowZeroWrapsIntoTheDay", "", "IncTime NULL 0 0 0 -1", "RESULT 1899-12-30 23:59:59.999"},
    {"DateDiffOutArguments", "", "DateDiff 2023-01-31 2023-03-01", "RESULT 1 1 0"},
    {"MonthsBetweenAQuarter", "", "MonthsBetween 2023-01-01 2023-02-04", "RESULT 1.25"},
    {"DaysBetweenBackwards", "", "DaysBetween 2024-03-10 2024-03-05", "RESULT 0"},
    {"Today", "today 2031-07-01", "CurrentYear", "RESULT 2031"},
    {"DayAndMonthOnly", DOTS, "StrToDateDef 5.3 NULL", "RESULT 2026-03-05"},
    {"SeventyIsLastCentury", DOTS, "StrToDateDef 5.3.70 NULL", "RESULT 1970-03-05"},
    {"NoLeapDay", DOTS, "StrToDateDef 29.2.2023 2000-01-01T12:00:00", "RESULT 2000-01-01"},
    {"FixedPositions", "locale datesep=/", "StrToDateFmt DD/MM/YYYY \\x205x03-2024", "RESULT 2024-03-05"},
    {"FiveDigits", "locale datesep=/", "StrToDateFmt DD/MM/YYYY 12345/3/2024",
     "ERROR EConvertError: ''12345/3/2024'' is not a valid date"},
    {"EmptyText", "", "StrToDateFmt DD/MM/YYYY", "RESULT NULL"},
    {"DayFirstOrder", "", "GetDateOrder dd.MM.yyyy", "RESULT doDMY"},
    {"MonthByName", "locale longmonths=January,February,March", "MonthFromName mar 3", "RESULT 3"},
    {"DriveLetter", "", "NormalDir c", "RESULT c:\\\\"},
    {"DriveRoot", "", "RemoveBackSlash C:\\\\", "RESULT C:\\\\"},
    {"FolderSize", "", "GetFileSize .", "RESULT -1"},
    {"CopyIntoSubfolder", "CopyFile full sub\\\\copy -", "GetFileSize sub\\\\copy", "RESULT 8192"},
    {"RegressionCopyOntoItself", "", "CopyFile full . -", "ERROR EFCreateError: Cannot create file .\\\\full"},
    {"MissingFolder", "", "ClearDir nowhere 1", "RESULT False"},
    {"RootRefused", "", "ClearDir \\\\ 0", "RESULT False", true},
    {"RegressionNetworkPrefixIsTheRoot", "", "ClearDir \\\\\\\\ 1", "RESULT False", true},
    {"ClearAndRemove", "CopyFile full sub\\\\deeper\\\\copy -", "ClearDir sub 1", "RESULT True"},
    {"QuotedValueKeepsItsQuotes", "IniWriteString t.ini S K 'abc'", "IniReadString t.ini S K none", "RESULT 'abc'"},
    {"RegistryReadBack", "IniWriteInteger reg:Software\\\\T Main Count 7",
     "IniReadInteger reg:Software\\\\T Main Count 0", "RESULT 7"},
    {"BadIniIntegerGivesDefault", "IniWriteString t.ini S K x", "IniReadInteger t.ini S K 5", "RESULT 5"},
    {"RegressionBackslashN", "", "StrToIniStr C:\\\\new", "RESULT C:\\\\\\\\new"},
    {"BackAgain", "", "IniStrToStr C:\\\\\\\\new", "RESULT C:\\\\new"},
    {"RegressionMaskWithoutNumber", "", "GetUniqueFileNameInDir . full", "RESULT"},
    {"SplitCommandLineQuotesATwoWordToken", "", "SplitCommandLine a.exe \"b c\" d", "RESULT a.exe|\"b c\" d"},
    {"DropTOfALoneT", "", "DropT T", "RESULT T"},
    {"PointOnTheBottomRightCorner", "", "PointInRect 30 40 10 20 30 40", "RESULT True"},
    {"UnknownRoutine", "", "Nothing 1", "ERROR unknown routine Nothing"},
    {"BadDate", "", "ExtractDay 2024-02-30", "ERROR bad value 2024-02-30"},
};
// The test files compile together: the row macros end with their table.
#undef DOTS
INSTANTIATE_TEST_SUITE_P(Rows, UtilLine, ::testing::ValuesIn(kLines),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
