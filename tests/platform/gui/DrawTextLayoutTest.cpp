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
        for (const TDrawTextRun& r : line.Runs) s += r.Text;
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
    EXPECT_EQ(place(DT_RIGHT), std::pair(110 - 32, 20));
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

TEST(DrawTextLayoutLines, LineBreaksEndLinesUnlessSingleLine)
{
    const TRect r{0, 0, 200, 100};
    EXPECT_EQ(Texts(LayoutDrawText(kFont, "a\r\nb", r, 0)), (Lines{"a", "b"}));
    EXPECT_EQ(Texts(LayoutDrawText(kFont, "a\n\nb", r, 0)), (Lines{"a", "", "b"}));
    EXPECT_EQ(Texts(LayoutDrawText(kFont, "a\rb\n", r, 0)), (Lines{"a", "b"}));
    EXPECT_EQ(Texts(LayoutDrawText(kFont, "a\r\nb", r, DT_SINGLELINE)), (Lines{"a\r\nb"}));
    const TDrawTextLayout l = LayoutDrawText(kFont, "a\nb", TRect{5, 7, 200, 100}, 0);
    EXPECT_EQ(l.Lines.at(1).Y, 7 + 16);
}

TEST(DrawTextLayoutWrap, BreaksAtBlanksOnly)
{
    const TRect r{0, 0, 64, 100};  // eight characters
    EXPECT_EQ(Texts(LayoutDrawText(kFont, "aaa bbb ccc", r, DT_WORDBREAK)), (Lines{"aaa bbb", "ccc"}));
    // The blanks at a break vanish; blanks at the start of a paragraph stay.
    EXPECT_EQ(Texts(LayoutDrawText(kFont, "  aaa    bbbbbb", r, DT_WORDBREAK)),
              (Lines{"  aaa", "bbbbbb"}));
    // A word wider than the line stays whole on a line of its own.
    EXPECT_EQ(Texts(LayoutDrawText(kFont, "abcdefghijkl mn op", TRect{0, 0, 40, 100}, DT_WORDBREAK)),
              (Lines{"abcdefghijkl", "mn op"}));
    // Single line overrides word break.
    EXPECT_EQ(Texts(LayoutDrawText(kFont, "aaa bbb ccc", r, DT_WORDBREAK | DT_SINGLELINE)),
              (Lines{"aaa bbb ccc"}));
    // Each paragraph wraps on its own.
    EXPECT_EQ(Texts(LayoutDrawText(kFont, "aaa bbb ccc\r\ndd", r, DT_WORDBREAK)),
              (Lines{"aaa bbb", "ccc", "dd"}));
}

TEST(DrawTextLayoutWrap, HangulPairIsNeverSplit)
{
    const std::string four = kHan + kGul + kHan + kGul;  // 64 pixels, no blank
    // No blank to break at: the text stays whole, however narrow the rectangle.
    EXPECT_EQ(Texts(LayoutDrawText(kFont, four, TRect{0, 0, 40, 100}, DT_WORDBREAK)), (Lines{four}));
    // Breaking inside a word falls between characters, never inside a pair.
    EXPECT_EQ(Texts(LayoutDrawText(kFont, four, TRect{0, 0, 40, 100}, DT_WORDBREAK | DT_EDITCONTROL)),
              (Lines{kHan + kGul, kHan + kGul}));
    EXPECT_EQ(Texts(LayoutDrawText(kFont, four, TRect{0, 0, 24, 100}, DT_WORDBREAK | DT_EDITCONTROL)),
              (Lines{kHan, kGul, kHan, kGul}));
    // Even a rectangle narrower than one character takes a whole character a line.
    EXPECT_EQ(Texts(LayoutDrawText(kFont, kHan + kGul, TRect{0, 0, 8, 100}, DT_WORDBREAK | DT_EDITCONTROL)),
              (Lines{kHan, kGul}));
    // Hangul words separated by blanks wrap at the blank; an odd byte offset does not matter.
    const std::string text = "a" + kHan + kGul + " " + kHan + kGul;
    EXPECT_EQ(Texts(LayoutDrawText(kFont, text, TRect{0, 0, 48, 100}, DT_WORDBREAK)),
              (Lines{"a" + kHan + kGul, kHan + kGul}));
}

TEST(DrawTextLayoutWrap, EditControlHidesAPartlyVisibleLastLine)
{
    const std::string text = "aaa bbb ccc ddd";
    // Room for two and a half lines of 16 pixels.
    EXPECT_EQ(Texts(LayoutDrawText(kFont, text, TRect{0, 0, 32, 40}, DT_WORDBREAK)),
              (Lines{"aaa", "bbb", "ccc", "ddd"}));
    EXPECT_EQ(Texts(LayoutDrawText(kFont, text, TRect{0, 0, 32, 40}, DT_WORDBREAK | DT_EDITCONTROL)),
              (Lines{"aaa", "bbb"}));
    EXPECT_EQ(Texts(LayoutDrawText(kFont, text, TRect{0, 0, 32, 8}, DT_WORDBREAK | DT_EDITCONTROL)),
              (Lines{"aaa"}));
    // Measuring counts every line.
    EXPECT_EQ(LayoutDrawText(kFont, text, TRect{0, 0, 32, 40}, DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT)
                  .Bounds.Height(),
              64);
}

TEST(DrawTextLayoutEllipsis, EndEllipsisCutsWholeCharacters)
{
    EXPECT_EQ(Texts(LayoutDrawText(kFont, "abcdefghij", TRect{0, 0, 48, 16}, DT_SINGLELINE | DT_END_ELLIPSIS)),
              (Lines{"abc..."}));
    // Text that fits is left alone.
    EXPECT_EQ(Texts(LayoutDrawText(kFont, "abcdef", TRect{0, 0, 48, 16}, DT_SINGLELINE | DT_END_ELLIPSIS)),
              (Lines{"abcdef"}));
    const std::string four = kHan + kGul + kHan + kGul;
    EXPECT_EQ(Texts(LayoutDrawText(kFont, four, TRect{0, 0, 56, 16}, DT_SINGLELINE | DT_END_ELLIPSIS)),
              (Lines{kHan + kGul + "..."}));
    // 50 pixels would hold three bytes and "...": the pair is not cut, one character stays.
    EXPECT_EQ(Texts(LayoutDrawText(kFont, four, TRect{0, 0, 50, 16}, DT_SINGLELINE | DT_END_ELLIPSIS)),
              (Lines{kHan + "..."}));
    // Nothing fits: only the ellipsis.
    EXPECT_EQ(Texts(LayoutDrawText(kFont, four, TRect{0, 0, 10, 16}, DT_SINGLELINE | DT_END_ELLIPSIS)),
              (Lines{"..."}));
}

TEST(DrawTextLayoutEllipsis, PathEllipsisKeepsTheLastPart)
{
    const std::string path = "C:\\dir\\sub\\file.txt";  // 19 characters
    EXPECT_EQ(Texts(LayoutDrawText(kFont, path, TRect{0, 0, 8 * 16, 16}, DT_SINGLELINE | DT_PATH_ELLIPSIS)),
              (Lines{"C:\\d...\\file.txt"}));
    // Too narrow for the last part too: an end ellipsis instead.
    EXPECT_EQ(Texts(LayoutDrawText(kFont, path, TRect{0, 0, 8 * 8, 16}, DT_SINGLELINE | DT_PATH_ELLIPSIS)),
              (Lines{"C:\\di..."}));
    // A backslash that is the trail byte of a pair is not a separator.
    const std::string tricky = "ab\\cd\\" + std::string("\x95\x5C") + "xyz";  // ends in one name
    const TDrawTextLayout l =
        LayoutDrawText(kFont, tricky, TRect{0, 0, 8 * 10, 16}, DT_SINGLELINE | DT_PATH_ELLIPSIS);
    EXPECT_EQ(Texts(l), (Lines{"a...\\\x95\x5Cxyz"}));
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
    EXPECT_EQ(l.Lines[0].UnderlineWidth, 0);
    l = LayoutDrawText(kFont, "&File", r, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(Texts(l), (Lines{"File"}));
    EXPECT_EQ(l.Lines[0].UnderlineWidth, 0);
}

TEST(DrawTextLayoutPrefix, UnderlineFollowsItsLineAfterWrapAndEllipsis)
{
    TDrawTextLayout l = LayoutDrawText(kFont, "aaa b&bb", TRect{0, 0, 40, 100}, DT_WORDBREAK);
    ASSERT_EQ(Texts(l), (Lines{"aaa", "bbb"}));
    EXPECT_EQ(l.Lines[0].UnderlineWidth, 0);
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
    TDrawTextLayout l = LayoutDrawText(kFont, "a\tbc\tdefghijkl\tx", TRect{0, 0, 400, 16},
                                       DT_SINGLELINE | DT_EXPANDTABS);
    ASSERT_EQ(l.Lines[0].Runs.size(), 4u);
    EXPECT_EQ(l.Lines[0].Runs[0].X, 0);
    EXPECT_EQ(l.Lines[0].Runs[1].X, 64);
    EXPECT_EQ(l.Lines[0].Runs[2].X, 128);
    EXPECT_EQ(l.Lines[0].Runs[3].X, 256);  // "defghijkl" passes the stop at 192
    EXPECT_EQ(l.Lines[0].Width, 264);
    // Without the flag a tab is an ordinary character.
    l = LayoutDrawText(kFont, "a\tb", TRect{0, 0, 400, 16}, DT_SINGLELINE);
    ASSERT_EQ(l.Lines[0].Runs.size(), 1u);
    EXPECT_EQ(l.Lines[0].Width, 24);
}
