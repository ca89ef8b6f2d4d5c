// Numbers past any page or screen in stored print settings and column widths, through gridrun as a
// user's load meets them: each is cut to what a page or a screen holds, and the grid then paints,
// prints, previews and draws as usual. The sanitizer build runs these too: an overflow anywhere
// on the way stops gridrun there.

#include <QTemporaryDir>

#include "tests/grid/tool/GridRunSupport.h"

namespace {

struct TStoredCase {
    const char* name;
    const char* stored;  // lines of the INI file; [Print] for print settings, [Cols] for widths
    const char* asked;   // the property gridrun prints after the load
    const char* shows;   // what it prints for it
};
void PrintTo(const TStoredCase& c, std::ostream* os) { *os << c.name; }

class GridRunStoredNumbers : public ::testing::TestWithParam<TStoredCase> {};

}  // namespace

// Fault: stored numbers went into the page layout, the fonts and the column geometry as read,
// and overflowed there (FontSize=2147483647, spacings and sizes of INT_MAX and INT_MIN, col1 =
// 2147483647).
TEST_P(GridRunStoredNumbers, RegressionAreCutToWhatAPageOrScreenHolds)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    std::ofstream(folder + "/stored.ini", std::ios::binary) << GetParam().stored << "\n";
    const TRun run = GridRun("set ColCount 4\nset RowCount 6\nblock 0 0 a\\tb\\tc\\td\\ne\\tfff\\tg\\th\n"
                             "set Multilinecells true\ncell 2 2 one\\r\\ntwo\\r\\nthree\n"
                             "call LoadPrintSettings " + folder + "/stored.ini Print\n"
                             "set ColumnSize.Location clInifile\nset ColumnSize.Key " + folder + "/stored.ini\n"
                             "set ColumnSize.Section Cols\ncall LoadColSizes\n"
                             "? " + GetParam().asked + "\npng " + folder + "/grid.png\n"
                             "printer pdf " + folder + "/grid.pdf\ncall Print\n? pages\n"
                             "preview " + folder + "/preview.png 210 297\ndraw " + folder + "/draw.png 300 200\n",
                             true);
    EXPECT_EQ(run.Status, 0) << run.Out;
    EXPECT_NE(run.Out.find(std::string(GetParam().asked) + " = " + GetParam().shows + "\n"), std::string::npos)
        << run.Out;
    EXPECT_EQ(run.Out.find("error:"), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find("pages = 0\n"), std::string::npos) << run.Out;
}

INSTANTIATE_TEST_SUITE_P(
    Stored, GridRunStoredNumbers,
    ::testing::Values(
        TStoredCase{"FontSizeIntMax", "[Print]\nFontSize=2147483647", "PrintSettings.Font.Size", "1638"},
        TStoredCase{"FontSizeFarBelowZero", "[Print]\nFontSize=-100000", "PrintSettings.Font.Size", "-1638"},
        TStoredCase{"HeaderAndFooterFontSizes", "[Print]\nHeaderFontSize=2147483647\nFooterFontSize=-2147483648\n"
                                                "Date=1\nPageNr=6\nTitle=2\nTitleText=t",
                    "PrintSettings.FooterFont.Size", "-1638"},
        TStoredCase{"ColumnSpacingIntMax", "[Print]\nColumnSpacing=2147483647", "PrintSettings.ColumnSpacing",
                    "100000"},
        TStoredCase{"ColumnSpacingIntMin", "[Print]\nColumnSpacing=-2147483648", "PrintSettings.ColumnSpacing",
                    "-100000"},
        TStoredCase{"RowAndTitleSpacings", "[Print]\nRowSpacing=-2147483648\nTitleSpacing=2147483647",
                    "PrintSettings.RowSpacing", "-100000"},
        TStoredCase{"FixedSizes", "[Print]\nUseFixedWidth=Y\nUseFixedHeight=Y\nFixedWidth=2147483647\n"
                                  "FixedHeight=-2147483648",
                    "PrintSettings.FixedWidth", "100000"},
        TStoredCase{"Margins", "[Print]\nLeftSize=2147483647\nRightSize=-2147483648\nHeaderSize=-2147483648\n"
                               "FooterSize=2147483647\nCentered=N\nFitToPage=3",
                    "PrintSettings.LeftSize", "100000"},
        TStoredCase{"ColumnWidthIntMax", "[Cols]\ncol1=2147483647", "ColWidths 1", "65535"},
        TStoredCase{"ColumnWidthIntMinKeepsTheWidth", "[Cols]\ncol1=-2147483648", "ColWidths 1", "64"}),
    [](const auto& row) { return std::string(row.param.name); });
