// The stored print settings and column widths in real INI files (and the registry substitute for
// column widths): round trips, the defaults of an empty section, the range rules and the title
// lines' one-line form.

#include "grid/model/PrintSettingsStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/core/RegIniFile.h"
#include "tests/platform/core/TempFolder.h"

namespace {

TStoredPrintSettings Changed()
{
    TStoredPrintSettings s;
    s.ColumnSpacing = 7, s.RowSpacing = -3, s.TitleSpacing = 40, s.FixedHeight = 55, s.FixedWidth = 300;
    s.Centered = true, s.NoAutoSize = true, s.UseFixedHeight = true, s.UseFixedWidth = true;
    s.RepeatFixedRows = true, s.RepeatFixedCols = true;
    s.Borders = pbAroundVertical, s.BorderStyle = 3;
    s.Date = ppBottomRight, s.PageNr = ppTopCenter, s.Title = ppTopLeft, s.Time = ppBottomLeft;
    s.DateFormat = "yyyy-mm-dd", s.TitleText = "\xC7\xD1\xB1\xDB title";  // 한글
    s.FooterSize = 150, s.HeaderSize = 120, s.LeftSize = 90, s.RightSize = 80, s.FitToPage = fpCustom;
    s.Font = {"Courier New", 12, kStoredBoldBit | kStoredItalicBit, 255};
    s.HeaderFont = {"\xB1\xBC\xB8\xB2", 9, kStoredUnderlineBit, 0x00FF00};  // 굴림
    s.FooterFont = {"Times New Roman", 14, kStoredStrikeOutBit, 0x123456};
    s.PageNumSep = " of ", s.PageSuffix = "]", s.PagePrefix = "[page";
    s.Orientation = 1;
    s.TitleLines = "first\r\n\r\nthird C:\\new\r\n";
    return s;
}

}  // namespace

TEST(PrintSettingsStore, EverySettingSurvivesASaveAndLoad)
{
    TempFolder folder;
    const TStoredPrintSettings saved = Changed();
    {
        TIniFile ini("print.ini");
        WritePrintSettings(ini, "Grid", saved);
    }
    TIniFile ini("print.ini");
    TStoredPrintSettings loaded;
    ReadPrintSettings(ini, "Grid", loaded);
    // Line breaks come back as the CR that splits the lines again.
    EXPECT_EQ(loaded.TitleLines, "first\r\rthird C:\\new\r");
    loaded.TitleLines = saved.TitleLines;
    EXPECT_EQ(loaded, saved);
}

TEST(PrintSettingsStore, KeysAreWrittenInTheStoredOrder)
{
    TempFolder folder;
    {
        TIniFile ini("order.ini");
        WritePrintSettings(ini, "S", Changed());
    }
    const std::string text = TempFolder::Read(folder.File("order.ini"));
    const std::vector<std::string> keys = {"ColumnSpacing",
                                           "RowSpacing",
                                           "TitleSpacing",
                                           "FixedHeight",
                                           "FixedWidth",
                                           "Centered",
                                           "NoAutoSize",
                                           "UseFixedHeight",
                                           "UseFixedWidth",
                                           "RepeatFixedRows",
                                           "RepeatFixedCols",
                                           "Borders",
                                           "BorderStyle",
                                           "Date",
                                           "PageNr",
                                           "Title",
                                           "Time",
                                           "DateFormat",
                                           "TitleText",
                                           "FooterSize",
                                           "HeaderSize",
                                           "LeftSize",
                                           "RightSize",
                                           "FitToPage",
                                           "FontName",
                                           "FontSize",
                                           "FontStyle",
                                           "FontColor",
                                           "HeaderFontName",
                                           "HeaderFontSize",
                                           "HeaderFontStyle",
                                           "HeaderFontColor",
                                           "FooterFontName",
                                           "FooterFontSize",
                                           "FooterFontStyle",
                                           "FooterFontColor",
                                           "PageNumSep",
                                           "PageSuffix",
                                           "PagePrefix",
                                           "Orientation",
                                           "TitleLines"};
    size_t at = 0;
    for (const std::string& key : keys) {
        const size_t found = text.find("\r\n" + key + "=", at);
        ASSERT_NE(found, std::string::npos) << key << " after position " << at;
        at = found + 1;
    }
    EXPECT_NE(text.find("\r\nCentered=Y\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nTitleLines=first\\n\\nthird C:\\\\new\\n\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nPageNumSep=\" of \"\r\n"), std::string::npos);
}

TEST(PrintSettingsStore, AnEmptySectionGivesTheDefaults)
{
    TempFolder folder;
    TIniFile ini("missing.ini");
    TStoredPrintSettings s = Changed();
    s.Font.Style = 0, s.HeaderFont.Style = 0, s.FooterFont.Style = 0;
    ReadPrintSettings(ini, "Nothing", s);
    EXPECT_EQ(s.ColumnSpacing, 20);
    EXPECT_EQ(s.RowSpacing, 20);
    EXPECT_EQ(s.TitleSpacing, 20);
    EXPECT_EQ(s.FixedHeight, 0);
    EXPECT_EQ(s.FixedWidth, 0);
    EXPECT_TRUE(s.Centered);
    EXPECT_FALSE(s.NoAutoSize || s.UseFixedHeight || s.UseFixedWidth || s.RepeatFixedRows || s.RepeatFixedCols);
    EXPECT_EQ(s.Borders, pbNoborder);
    EXPECT_EQ(s.BorderStyle, 0);
    EXPECT_EQ(s.FitToPage, fpNever);
    for (TPrintPosition p : {s.Date, s.PageNr, s.Title, s.Time})
        EXPECT_EQ(p, ppNone);
    for (int size : {s.FooterSize, s.HeaderSize, s.LeftSize, s.RightSize})
        EXPECT_EQ(size, 100);
    for (const TStoredFont& f : {s.Font, s.HeaderFont, s.FooterFont})
        EXPECT_EQ(f, (TStoredFont{"Arial", 10, 0, 0}));
    for (const AnsiString& t : {s.DateFormat, s.TitleText, s.PageNumSep, s.PageSuffix, s.PagePrefix, s.TitleLines})
        EXPECT_EQ(t, "");
    EXPECT_EQ(s.Orientation, 0);
}

// One key's stored text and what the setting becomes, from a setting that was different.
struct RangeCase {
    const char* Name;
    const char* Line;
    std::function<bool(const TStoredPrintSettings&)> Holds;
};

class PrintSettingsRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(PrintSettingsRange, LoadsAsTheRulesSay)
{
    TempFolder folder;
    TempFolder::Write(folder.File("r.ini"), std::string("[S]\r\n") + GetParam().Line + "\r\n");
    TIniFile ini("r.ini");
    TStoredPrintSettings s;
    s.Borders = pbDouble, s.BorderStyle = 2, s.FitToPage = fpShrink, s.Date = ppTopLeft, s.Orientation = 1;
    s.Font.Style = kStoredBoldBit;
    ReadPrintSettings(ini, "S", s);
    EXPECT_TRUE(GetParam().Holds(s)) << GetParam().Line;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PrintSettingsRange,
    ::testing::Values(
        RangeCase{"BordersNineIsIgnored", "Borders=9", [](auto& s) { return s.Borders == pbDouble; }},
        RangeCase{"BordersMinusOneIsIgnored", "Borders=-1", [](auto& s) { return s.Borders == pbDouble; }},
        RangeCase{"BordersEightIsCustom", "Borders=8", [](auto& s) { return s.Borders == pbCustom; }},
        RangeCase{"BorderStyleSevenIsIgnored", "BorderStyle=7", [](auto& s) { return s.BorderStyle == 2; }},
        RangeCase{"FitToPageFiveIsIgnored", "FitToPage=5", [](auto& s) { return s.FitToPage == fpShrink; }},
        RangeCase{"DateSevenIsNone", "Date=7", [](auto& s) { return s.Date == ppNone; }},
        RangeCase{"DateSixIsBottomCentre", "Date=6", [](auto& s) { return s.Date == ppBottomCenter; }},
        RangeCase{"OrientationTwoIsIgnored", "Orientation=2", [](auto& s) { return s.Orientation == 1; }},
        RangeCase{"OrientationZeroIsPortrait", "Orientation=0", [](auto& s) { return s.Orientation == 0; }},
        RangeCase{"FontStyleZeroLeavesBold", "FontStyle=0", [](auto& s) { return s.Font.Style == kStoredBoldBit; }},
        RangeCase{"FontStyleItalicIsAddedToBold", "FontStyle=2",
                  [](auto& s) { return s.Font.Style == (kStoredBoldBit | kStoredItalicBit); }},
        RangeCase{"CenteredYesIsFalse", "Centered=yes", [](auto& s) { return !s.Centered; }},
        RangeCase{"CenteredLowerYIsFalse", "Centered=y", [](auto& s) { return !s.Centered; }},
        RangeCase{"SpacingIsKeptWithoutCheck", "RowSpacing=-500", [](auto& s) { return s.RowSpacing == -500; }},
        RangeCase{"NonNumericSizeGivesTheDefault", "LeftSize=wide", [](auto& s) { return s.LeftSize == 100; }},
        RangeCase{"OldBackslashNReadsAsALineBreak", "TitleLines=a\\nb", [](auto& s) { return s.TitleLines == "a\rb"; }},
        RangeCase{"LoneBackslashStays", "TitleLines=C:\\x", [](auto& s) { return s.TitleLines == "C:\\x"; }}),
    [](const auto& row) { return std::string(row.param.Name); });

// Fault: a title line holding a backslash before "n" came back as two lines.
TEST(PrintSettingsStore, RegressionBackslashNInATitleLineSurvives)
{
    const AnsiString text = "C:\\new\\notes\r\nsecond\r\n";
    EXPECT_EQ(TitleLinesToIni(text), "C:\\\\new\\\\notes\\nsecond\\n");
    EXPECT_EQ(TitleLinesFromIni(TitleLinesToIni(text)), "C:\\new\\notes\rsecond\r");
}

// What a column-width store holds and the widths the grid had; the widths after loading.
struct ColCase {
    const char* Name;
    std::string Section;
    std::vector<int> Before;
    std::vector<int> After;
};

class ColSizeStore : public ::testing::TestWithParam<ColCase> {};

TEST_P(ColSizeStore, LoadsWhatIsStored)
{
    TempFolder folder;
    TempFolder::Write(folder.File("cols.ini"), "[Widths]\r\n" + GetParam().Section);
    TIniFile ini("cols.ini");
    std::vector<int> widths = GetParam().Before;
    ReadColSizes(ini, "Widths", widths);
    EXPECT_EQ(widths, GetParam().After);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ColSizeStore,
    ::testing::Values(
        ColCase{
            "FewerKeysThanColumns", "col0=10\r\ncol1=20\r\ncol2=30\r\n", {64, 64, 64, 64, 64}, {10, 20, 30, 64, 64}},
        ColCase{"MoreKeysThanColumns", "col0=10\r\ncol1=20\r\ncol2=30\r\n", {64, 64}, {10, 20}},
        ColCase{"MinusOneIsIgnored", "col0=-1\r\ncol1=5\r\n", {64, 64}, {64, 5}},
        ColCase{"MissingSection", "", {64, 64}, {64, 64}}, ColCase{"NotANumber", "col0=wide\r\n", {64}, {64}}),
    [](const auto& row) { return std::string(row.param.Name); });

TEST(ColSizeStore, RoundTripThroughTheRegistrySubstitute)
{
    TempFolder folder;
    {
        TRegistryIniFile reg("Software\\hanmud\\Grid");
        WriteColSizes(reg, "Columns", {12, 0, 345});
    }
    TRegistryIniFile reg("Software\\hanmud\\Grid");
    std::vector<int> widths(4, 64);
    ReadColSizes(reg, "Columns", widths);
    EXPECT_EQ(widths, (std::vector<int>{12, 0, 345, 64}));
}
