// The display-free routines of the control library's utility unit.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "HangulText.h"
#include "controls/core/CtrlGeometry.h"
#include "controls/core/CtrlMemory.h"
#include "controls/core/CtrlStrings.h"
#include "controls/core/CtrlSystem.h"

namespace {

std::string Name(const char* name) { return name; }

struct TSplitCase {
    const char* name;
    std::string line;
    std::string exe, params;
};
class SplitCommandLineCase : public ::testing::TestWithParam<TSplitCase> {};

TEST_P(SplitCommandLineCase, GivesExeAndParams)
{
    AnsiString exe = "old", params = "old";
    SplitCommandLine(GetParam().line, exe, params);
    EXPECT_EQ(exe, GetParam().exe);
    EXPECT_EQ(params, GetParam().params);
}

const std::string kLongToken(300, 'x');
const TSplitCase kSplits[] = {
    {"QuotedRunOfTwoWordsIsQuotedAgain", "prog.exe \"two words\" third", "prog.exe", "\"two words\" third"},
    {"QuotesInsideATokenAreDropped", "\"c:\\my dir\\a.exe\" -x a\"b\"c", "c:\\my dir\\a.exe", "-x abc"},
    {"EmptyQuotePairsBeforeATokenAreSkipped", "\t\"\"\"\"prog  \"\"arg", "prog", "arg"},
    {"UnclosedQuoteRunsToTheEnd", "prog \"open run", "prog", "\"open run\""},
    {"EmptyTokenEndsTheList", "prog \"\" after", "prog", ""},
    {"BlankLineGivesNothing", "  \r\n ", "", ""},
    {"TokensLongerThanTheOldBufferStayWhole", "prog " + kLongToken, "prog", kLongToken},
    {"HangulTokensKeepTheirBytes", hangul::kHanGeul + " " + hangul::kDdom, hangul::kHanGeul, hangul::kDdom}};
INSTANTIATE_TEST_SUITE_P(Lines, SplitCommandLineCase, ::testing::ValuesIn(kSplits),
                         [](const auto& p) { return Name(p.param.name); });

struct TTextRoutineCase {
    const char* name;
    AnsiString (*routine)(std::string_view);
    std::string in, out;
};
class TextRoutineCase : public ::testing::TestWithParam<TTextRoutineCase> {};

TEST_P(TextRoutineCase, GivesItsResult) { EXPECT_EQ(GetParam().routine(GetParam().in), GetParam().out); }

const TTextRoutineCase kTextRoutines[] = {
    {"DropTKeepsALoneT", DropT, "T", "T"},
    {"DropTDropsALowerT", DropT, "tab", "ab"},
    {"DropTKeepsOtherLetters", DropT, "Form", "Form"},
    {"UpperFirstLowersTheRest", AnsiUpperFirstChar, "hELLO wORLD", "Hello world"},
    // 똠 (8C 63) first: its trail byte is the letter c and stays lower case.
    {"UpperFirstLeavesATwoByteFirstCharacter", AnsiUpperFirstChar, hangul::kDdom + "AB", hangul::kDdom + "ab"}};
INSTANTIATE_TEST_SUITE_P(Texts, TextRoutineCase, ::testing::ValuesIn(kTextRoutines),
                         [](const auto& p) { return Name(p.param.name); });

// One pixel a byte, dots free, so widths can be counted by eye.
int ByteWidth(std::string_view s) { return static_cast<int>(s.size() - std::count(s.begin(), s.end(), '.')); }

struct TMinimizeCase {
    const char* name;
    std::string text;
    int maxWidth;
    std::string out;
};
class MinimizeTextCase : public ::testing::TestWithParam<TMinimizeCase> {};

TEST_P(MinimizeTextCase, Shortens)
{
    EXPECT_EQ(MinimizeText(GetParam().text, ByteWidth, GetParam().maxWidth), GetParam().out);
}

const TMinimizeCase kMinimize[] = {
    {"TextThatFitsIsUnchanged", "abcdef", 6, "abcdef"},
    // The first shortening already drops two characters.
    {"FirstCutDropsTwo", "abcdefgh", 7, "abcdef..."},
    {"NothingFitsGivesDots", "abcdef", -1, "..."},
    // Byte-wise the cut would keep 가 and the lead byte of 나 ("가\xB3..." is 3 wide).
    {"RegressionCutNeverLeavesALoneLeadByte", hangul::kGa + hangul::kNa + hangul::kDa + "a", 3, hangul::kGa + "..."}};
INSTANTIATE_TEST_SUITE_P(Texts, MinimizeTextCase, ::testing::ValuesIn(kMinimize),
                         [](const auto& p) { return Name(p.param.name); });

std::string Describe(const std::vector<TGradientBand>& bands)
{
    std::string out;
    for (const TGradientBand& b : bands) {
        char line[64];
        std::snprintf(line, sizeof line, "%s%d-%d:%06X", out.empty() ? "" : " ",
                      b.Rect.Height() == 10 ? b.Rect.Left : b.Rect.Top,
                      b.Rect.Height() == 10 ? b.Rect.Right : b.Rect.Bottom, b.Color);
        out += line;
    }
    return out;
}

struct TGradientCase {
    const char* name;
    TFillDirection direction;
    int colors;
    std::string bands;
};
class GradientBandsCase : public ::testing::TestWithParam<TGradientCase> {};

// A 10 x 10 rectangle from black to pure red (RGB 0000FF).
TEST_P(GradientBandsCase, LaysTheBands)
{
    EXPECT_EQ(Describe(GradientBands(Rect(0, 0, 10, 10), 0x000000, 0x0000FF, GetParam().direction, GetParam().colors)),
              GetParam().bands);
}

const TGradientCase kGradients[] = {
    // 256 colours are cut to the 10 rows: red rises by 255 * i / 9, rounded.
    {"ManyColoursGiveOnePixelBands", fdTopToBottom, 256,
     "0-1:000000 1-2:00001C 2-3:000039 3-4:000055 4-5:000071 5-6:00008E 6-7:0000AA 7-8:0000C6 8-9:0000E3 "
     "9-10:0000FF"},
    // 10 div 3 = 3 rows a band; the row left over takes the end colour.
    {"ThreeColoursLeaveAStripOfTheEndColour", fdTopToBottom, 3, "0-3:000000 3-6:000080 6-9:0000FF 9-10:0000FF"},
    // From FF down: 255 - 255 / 2 rounds away from zero to 7F (upward it gave 80).
    {"BottomToTopRunsFromTheEndColour", fdBottomToTop, 3, "0-3:0000FF 3-6:00007F 6-9:000000 9-10:000000"},
    {"LeftToRightLaysColumns", fdLeftToRight, 2, "0-5:000000 5-10:0000FF"},
    {"OneColourFillsWithTheStart", fdTopToBottom, 1, "0-10:000000"}};
INSTANTIATE_TEST_SUITE_P(Bands, GradientBandsCase, ::testing::ValuesIn(kGradients),
                         [](const auto& p) { return Name(p.param.name); });

TEST(CtrlGeometry, PointInRectCountsEveryEdge)
{
    const TRect r = Rect(10, 20, 30, 40);
    EXPECT_TRUE(PointInRect(Point(30, 40), r));
    EXPECT_TRUE(PointInRect(Point(10, 20), r));
    EXPECT_FALSE(PointInRect(Point(31, 30), r));
}

TEST(CtrlGeometry, PolygonRegionFollowsTheWindingRule)
{
    // A five-pointed star drawn in one stroke: its centre is wound twice, so it is inside.
    const std::vector<TPoint> star = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    EXPECT_TRUE(PointInPolyRgn(Point(50, 50), star));
    EXPECT_TRUE(PointInPolyRgn(Point(50, 10), star));
    EXPECT_FALSE(PointInPolyRgn(Point(5, 80), star));
}

TEST(CtrlGeometry, CenteredWindowIsPushedBackOntoTheScreen)
{
    EXPECT_EQ(CenteredOnScreen(TSize{100, 50}, TSize{800, 600}), Rect(350, 275, 450, 325));
    EXPECT_EQ(CenteredOnScreen(TSize{900, 50}, TSize{800, 600}), Rect(0, 275, 900, 325));
}

TEST(CtrlMemory, BlocksKnowTheirSizeAndStayZeroFilled)
{
    void* p = AllocMemo(4);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(GetMemoSize(p), 4);
    static_cast<char*>(p)[3] = 7;
    p = ReallocMemo(p, 64);
    EXPECT_EQ(GetMemoSize(p), 64);
    EXPECT_EQ(static_cast<char*>(p)[3], 7);
    EXPECT_EQ(static_cast<char*>(p)[63], 0);
    FreeMemo(p);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(AllocMemo(0), nullptr);
}

TEST(CtrlMemory, ForeignPointerHasNoSizeAndIsNotFreed)
{
    int local[4] = {};
    void* foreign = local;
    EXPECT_EQ(GetMemoSize(foreign), 0);
    EXPECT_EQ(ReallocMemo(foreign, 8), nullptr);
    FreeMemo(foreign);  // the address sanitizer would report a free of the stack
    EXPECT_EQ(foreign, nullptr);
}

TEST(CtrlMemory, HugeMoveShiftsOverlappingElements)
{
    void* items[5] = {&items[0], &items[1], &items[2], &items[3], &items[4]};
    HugeMove(items, 1, 0, 4);
    EXPECT_EQ(items[1], &items[0]);
    EXPECT_EQ(items[4], &items[3]);
    EXPECT_TRUE(CompareMem(items, items, 0));
    const char a[] = "abcdefg", b[] = "abcdefX";
    EXPECT_TRUE(CompareMem(a, b, 6));
    EXPECT_FALSE(CompareMem(a, b, 7));
}

TEST(CtrlSystem, VersionNamesTheKernelRelease)
{
    // "Linux 6.01.000": the minor number has two digits at least, the build three.
    const AnsiString version = GetWindowsVersion();
    int major = -1, minorEnd = 0, buildStart = 0, end = 0;
    ASSERT_EQ(std::sscanf(version.c_str(), "Linux %d.%*d%n.%n%*d%n", &major, &minorEnd, &buildStart, &end), 1);
    EXPECT_GE(major, 0);
    EXPECT_GE(buildStart - 1 - static_cast<int>(version.find('.')) - 1, 2);
    EXPECT_GE(end - buildStart, 3);
    EXPECT_EQ(end, static_cast<int>(version.size()));
}

TEST(CtrlSystem, EnvironmentValueHasNoLengthLimit)
{
    const std::string value(5000, 'v');
    setenv("HM_CTRL_TEST_VALUE", value.c_str(), 1);
    EXPECT_EQ(GetEnvVar("HM_CTRL_TEST_VALUE"), value);
    unsetenv("HM_CTRL_TEST_VALUE");
    EXPECT_EQ(GetEnvVar("HM_CTRL_TEST_VALUE"), "");
}

TEST(CtrlSystem, ErrorsCarryTheFrameworkMessages)
{
    try {
        ResourceNotFound(14000);
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message, "Resource 14000 not found");
    }
    try {
        RaiseWin32Error(2);
        FAIL();
    } catch (const EWin32Error& e) {
        EXPECT_EQ(e.ErrorCode, 2);
        EXPECT_EQ(e.Message.rfind("Win32 Error.  Code: 2.\n", 0), 0u);
    }
    EXPECT_NO_THROW(RaiseWin32Error(0));
    EXPECT_THROW(LoadDLL("libhm-no-such-library.so"), EWin32Error);
}

}  // namespace

namespace {

// A rectangle across the whole integer range is cut to the drawing plane before its width is
// taken: the bands cover -32767..32767.
TEST(GradientBands, GradientFillRectOverflowIsClamped)
{
    const auto bands = GradientBands(Rect(-1000, 0, 2147483647, 10), 0x000000, 0x0000FF, fdLeftToRight, 2);
    ASSERT_EQ(bands.size(), 3u);  // two bands of 16883 and the pixel left over
    EXPECT_EQ(bands.front().Rect.Left, -1000);
    EXPECT_EQ(bands.back().Rect.Right, kMaxScreenCoord);
    EXPECT_EQ(ClampToScreen(int64_t{-5000000000}), -kMaxScreenCoord);
}

}  // namespace
