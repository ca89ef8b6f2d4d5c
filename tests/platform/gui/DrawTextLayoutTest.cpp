#include "platform/gui/DrawTextLayout.h"

#include <gtest/gtest.h>

namespace {

// A fixed-pitch test font: 8 pixels a byte (so 16 for a Hangul pair), 16 high.
class TFixedMetrics : public TTextMetrics {
public:
    int TextWidth(std::string_view text) const override { return 8 * static_cast<int>(text.size()); }
    int LineHeight() const override { return 16; }
    int AveCharWidth() const override { return 8; }
};

const TFixedMetrics kFont;

// "한" and "글" in cp949.
const std::string kHan = "\xC7\xD1";
const std::string kGul = "\xB1\xDB";

std::vector<std::string> Texts(const TDrawTextLayout& l)
{
    std::vector<std::string> v;
    for (const TDrawTextLine& line : l.Lines) {
        std::string s;
        for (const TDrawTextRun& r : line.Runs)
            s += r.Text;
        v.push_back(s);
    }
    return v;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(DrawTextLayoutAlign, SingleLinePlacement)
{
    const TRect r{10, 20, 110, 60};  // 100 x 40
    auto place = [&](unsigned flags) {
        const TDrawTextLayout l = LayoutDrawText(kFont, "abcd", r, flags | DT_SINGLELINE);
        return std::pair(l.Lines.at(0).Left, l.Lines.at(0).Y);
    };
    EXPECT_EQ(place(DT_LEFT | DT_TOP), std::pair(10, 20));
    EXPECT_EQ(place(DT_CENTER), std::pair(10 + (100 - 32) / 2, 20));
    EXPECT_EQ(place(DT_VCENTER), std::pair(10, 20 + (40 - 16) / 2));
    EXPECT_EQ(place(DT_BOTTOM | DT_RIGHT), std::pair(78, 60 - 16));
    // DrawText's result for a vertically placed line reaches from the top to the text's bottom.
    EXPECT_EQ(LayoutDrawText(kFont, "abcd", r, DT_SINGLELINE | DT_BOTTOM).Height, 40);
    EXPECT_EQ(LayoutDrawText(kFont, "abcd", r, DT_SINGLELINE).Height, 16);
}

TEST(DrawTextLayoutAlign, VerticalPlacementNeedsSingleLine)
{
    const TDrawTextLayout l = LayoutDrawText(kFont, "ab", TRect{0, 0, 100, 100}, DT_VCENTER | DT_BOTTOM);
    EXPECT_EQ(l.Lines.at(0).Y, 0);
}

TEST(DrawTextLayoutLines, BreaksWrapsAndEllipses)
{
    const std::string four = kHan + kGul + kHan + kGul;  // 64 pixels, no blank
    const std::string path = "C:\\dir\\sub\\file.txt";   // 19 characters
    const std::string text = "aaa bbb ccc ddd";
    const unsigned wb = DT_WORDBREAK, ec = DT_WORDBREAK | DT_EDITCONTROL, end = DT_SINGLELINE | DT_END_ELLIPSIS;
    const unsigned pe = DT_SINGLELINE | DT_PATH_ELLIPSIS;
    struct Case {
        std::string text;
        int width, height;
        unsigned flags;
        Lines want;
    };
    const Case cases[] = {
        // Line breaks end lines unless single line.
        {"a\r\nb", 200, 100, 0, {"a", "b"}},
        {"a\n\nb", 200, 100, 0, {"a", "", "b"}},
        {"a\rb\n", 200, 100, 0, {"a", "b"}},
        {"a\r\nb", 200, 100, DT_SINGLELINE, {"a\r\nb"}},
        // Word break at blanks only (eight characters a line): blanks at a break vanish, blanks at
        // the start of a paragraph stay, a word wider than the line stays whole, single line
        // overrides, each paragraph wraps on its own.
        {"aaa bbb ccc", 64, 100, wb, {"aaa bbb", "ccc"}},
        {"  aaa    bbbbbb", 64, 100, wb, {"  aaa", "bbbbbb"}},
        {"abcdefghijkl mn op", 40, 100, wb, {"abcdefghijkl", "mn op"}},
        {"aaa bbb ccc", 64, 100, wb | DT_SINGLELINE, {"aaa bbb ccc"}},
        {"aaa bbb ccc\r\ndd", 64, 100, wb, {"aaa bbb", "ccc", "dd"}},
        // A Hangul pair is never split: no blank keeps the text whole; inside a word the break
        // falls between characters, even in a rectangle narrower than one character.
        {four, 40, 100, wb, {four}},
        {four, 40, 100, ec, {kHan + kGul, kHan + kGul}},
        {four, 24, 100, ec, {kHan, kGul, kHan, kGul}},
        {kHan + kGul, 8, 100, ec, {kHan, kGul}},
        {"a" + kHan + kGul + " " + kHan + kGul, 48, 100, wb, {"a" + kHan + kGul, kHan + kGul}},
        // Room for two and a half lines: an edit control hides the partly visible last line.
        {text, 32, 40, wb, {"aaa", "bbb", "ccc", "ddd"}},
        {text, 32, 40, ec, {"aaa", "bbb"}},
        {text, 32, 8, ec, {"aaa"}},
        // An end ellipsis cuts whole characters; 50 pixels would hold three bytes and "...".
        {"abcdefghij", 48, 16, end, {"abc..."}},
        {"abcdef", 48, 16, end, {"abcdef"}},
        {four, 56, 16, end, {kHan + kGul + "..."}},
        {four, 50, 16, end, {kHan + "..."}},
        {four, 10, 16, end, {"..."}},
        // A path ellipsis keeps the last part, or cuts at the end when even that is too wide; a
        // backslash that is the trail byte of a pair is not a separator.
        {path, 8 * 16, 16, pe, {"C:\\d...\\file.txt"}},
        {path, 8 * 8, 16, pe, {"C:\\di..."}},
        {"ab\\cd\\\x95\x5Cxyz", 8 * 10, 16, pe, {"a...\\\x95\x5Cxyz"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Texts(LayoutDrawText(kFont, c.text, TRect{0, 0, c.width, c.height}, c.flags)), c.want)
            << c.text << " " << c.width << "x" << c.height << " " << c.flags;
    EXPECT_EQ(LayoutDrawText(kFont, "a\nb", TRect{5, 7, 200, 100}, 0).Lines.at(1).Y, 7 + 16);
    // Measuring counts every line.
    EXPECT_EQ(LayoutDrawText(kFont, text, TRect{0, 0, 32, 40}, ec | DT_CALCRECT).Bounds.Height(), 64);
}

TEST(DrawTextLayoutPrefix, AmpersandUnderlinesTheNextCharacter)
{
    const TRect r{4, 0, 200, 16};
    TDrawTextLayout l = LayoutDrawText(kFont, "Save &As", r, DT_SINGLELINE);
    EXPECT_EQ(Texts(l), (Lines{"Save As"}));
    EXPECT_EQ(l.Lines[0].UnderlineX, 4 + 5 * 8);
    EXPECT_EQ(l.Lines[0].UnderlineWidth, 8);

    l = LayoutDrawText(kFont, "a&&b", r, DT_SINGLELINE);
    EXPECT_EQ(Texts(l), (Lines{"a&b"}));
    EXPECT_EQ(l.Lines[0].UnderlineWidth, 0);

    l = LayoutDrawText(kFont, "&" + kHan + "x", r, DT_SINGLELINE);
    EXPECT_EQ(Texts(l), (Lines{kHan + "x"}));
    EXPECT_EQ(l.Lines[0].UnderlineX, 4);
    EXPECT_EQ(l.Lines[0].UnderlineWidth, 16);

    EXPECT_EQ(Texts(LayoutDrawText(kFont, "ab&", r, DT_SINGLELINE)), (Lines{"ab"}));
    l = LayoutDrawText(kFont, "&File", r, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(Texts(l), (Lines{"&File"}));
    l = LayoutDrawText(kFont, "&File", r, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(Texts(l), (Lines{"File"}));
    EXPECT_EQ(l.Lines[0].UnderlineWidth, 0);
}

TEST(DrawTextLayoutPrefix, UnderlineFollowsItsLineAfterWrapAndEllipsis)
{
    TDrawTextLayout l = LayoutDrawText(kFont, "aaa b&bb", TRect{0, 0, 40, 100}, DT_WORDBREAK);
    ASSERT_EQ(Texts(l), (Lines{"aaa", "bbb"}));
    EXPECT_EQ(l.Lines[1].UnderlineX, 8);
    EXPECT_EQ(l.Lines[1].UnderlineWidth, 8);
    // The underlined character cut off by the ellipsis loses its underline.
    l = LayoutDrawText(kFont, "abcdefg&h", TRect{0, 0, 48, 16}, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(Texts(l), (Lines{"abc..."}));
    EXPECT_EQ(l.Lines[0].UnderlineWidth, 0);
    l = LayoutDrawText(kFont, "a&bcdefgh", TRect{0, 0, 48, 16}, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(l.Lines[0].UnderlineX, 8);
}

TEST(DrawTextLayoutCalcRect, ReportsTheTextBounds)
{
    TDrawTextLayout l = LayoutDrawText(kFont, "ab\ncdef", TRect{3, 5, 200, 200}, DT_CALCRECT);
    EXPECT_EQ(l.Bounds, (TRect{3, 5, 3 + 32, 5 + 32}));
    EXPECT_EQ(l.Height, 32);
    // Word break narrows the rectangle to the widest line, or widens it for a long word.
    l = LayoutDrawText(kFont, "aaa bbb ccc", TRect{0, 0, 64, 0}, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(l.Bounds, (TRect{0, 0, 56, 32}));
    l = LayoutDrawText(kFont, "abcdefghij x", TRect{0, 0, 40, 0}, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(l.Bounds, (TRect{0, 0, 80, 32}));
    // Centring does not move the measured rectangle.
    l = LayoutDrawText(kFont, "ab", TRect{10, 0, 100, 0}, DT_CALCRECT | DT_CENTER | DT_SINGLELINE);
    EXPECT_EQ(l.Bounds, (TRect{10, 0, 26, 16}));
    // An empty text has no height; a blank has one line.
    l = LayoutDrawText(kFont, "", TRect{0, 0, 100, 0}, DT_CALCRECT);
    EXPECT_EQ(l.Bounds, (TRect{0, 0, 0, 0}));
    l = LayoutDrawText(kFont, " ", TRect{0, 0, 100, 0}, DT_CALCRECT);
    EXPECT_EQ(l.Bounds.Height(), 16);
}

TEST(DrawTextLayoutTabs, ExpandedTabsGoToEveryEighthAverageCharacter)
{
    TDrawTextLayout l =
        LayoutDrawText(kFont, "a\tbc\tdefghijkl\tx", TRect{0, 0, 400, 16}, DT_SINGLELINE | DT_EXPANDTABS);
    ASSERT_EQ(l.Lines[0].Runs.size(), 4u);
    EXPECT_EQ(l.Lines[0].Runs[1].X, 64);
    EXPECT_EQ(l.Lines[0].Runs[2].X, 128);
    EXPECT_EQ(l.Lines[0].Runs[3].X, 256);  // "defghijkl" passes the stop at 192
    EXPECT_EQ(l.Lines[0].Width, 264);
    // Without the flag a tab is an ordinary character.
    l = LayoutDrawText(kFont, "a\tb", TRect{0, 0, 400, 16}, DT_SINGLELINE);
    ASSERT_EQ(l.Lines[0].Runs.size(), 1u);
    EXPECT_EQ(l.Lines[0].Width, 24);
}

namespace {

// The fixed-pitch font, counting the bytes it measures.
class TCountingMetrics : public TFixedMetrics {
public:
    int TextWidth(std::string_view text) const override
    {
        Measured += text.size();
        return TFixedMetrics::TextWidth(text);
    }
    mutable size_t Measured = 0;
};

// Two million bytes drawn into 100 x 40 pixels: the first line laid out starts with Shown at Left.
struct THugeLineCase {
    const char* name;
    std::string text;
    unsigned flags;
    std::string shown;
    int left;
};
void PrintTo(const THugeLineCase& c, std::ostream* os) { *os << c.name; }

const std::string kMillion(1000000, 'x');

class DrawTextHugeLine : public ::testing::TestWithParam<THugeLineCase> {};

}  // namespace

// Fault: painting a 60 MB single-line cell measured all of it (2.15 GB, 22 s a paint). A drawn
// line is laid out as far as it can show (a character is a pixel wide at least), lines as far as
// the rectangle reaches; measuring (DT_CALCRECT) still takes the whole.
TEST_P(DrawTextHugeLine, RegressionOnlyWhatCanShowIsMeasured)
{
    TCountingMetrics font;
    const TDrawTextLayout l = LayoutDrawText(font, GetParam().text, TRect{10, 0, 110, 40}, GetParam().flags);
    ASSERT_LE(l.Lines.size(), 4u);
    EXPECT_EQ(Texts(l).front().substr(0, GetParam().shown.size()), GetParam().shown);
    EXPECT_EQ(l.Lines.front().Left, GetParam().left);
    EXPECT_LT(font.Measured, size_t{1} << 20) << "bytes measured";
    EXPECT_EQ(LayoutDrawText(kFont, kMillion, TRect{}, DT_SINGLELINE | DT_CALCRECT).Bounds.Width(), 8000000);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DrawTextHugeLine,
    ::testing::Values(
        THugeLineCase{"LeftShowsItsStart", "ab" + kMillion, DT_SINGLELINE, "abxx", 10},
        // The last 356 characters (100 pixels and the slack) end at the right edge.
        THugeLineCase{"RightShowsItsEnd", kMillion + "yz", DT_SINGLELINE | DT_RIGHT, std::string(354, 'x') + "yz",
                      110 - 8 * 356},
        THugeLineCase{"CentreShowsItsMiddle", kMillion + "mid" + kMillion, DT_SINGLELINE | DT_CENTER,
                      std::string(177, 'x') + "mid", 10 + (100 - 8 * 356) / 2},
        THugeLineCase{"EllipsisCutsItsStart", "ab" + kMillion, DT_SINGLELINE | DT_END_ELLIPSIS, "abxxxxxxx...", 10},
        THugeLineCase{"AWordWiderThanTheLineIsCut", "ab" + kMillion, DT_WORDBREAK | DT_EDITCONTROL, "abxx", 10},
        THugeLineCase{"LinesStopPastTheRectangle", std::string(600000, '\n'), DT_LEFT, "", 10}),
    [](const auto& row) { return std::string(row.param.name); });
