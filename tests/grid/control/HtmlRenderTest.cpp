// The HTML cell engine on a bitmap, with DejaVu Sans Mono at a fixed pixel size so every ASCII
// byte has one known width: layout, plain text, hit tests, pictures and bad input.

#include "grid/control/HtmlRender.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "grid/control/HtmlImages.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Resources.h"
#include "tests/TempName.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

class HtmlCanvas {
public:
    HtmlCanvas()
    {
        TestApplication();
        Bitmap.SetSize(400, 200);
        Canvas()->Font()->SetName("DejaVu Sans Mono");
        Canvas()->Font()->SetHeight(-13);
        Canvas()->Font()->SetColor(clBlack);
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(TRect{0, 0, 400, 200});
        Cw = Canvas()->TextWidth("a");
        Lh = Canvas()->TextHeight("gh");
    }
    TCanvas* Canvas() { return Bitmap.Canvas(); }
    THtmlRenderResult Measure(std::string_view text, int width, int height = 200)
    {
        THtmlRenderOptions o;
        o.MeasureOnly = true;
        return RenderHtml(Canvas(), text, TRect{0, 0, width, height}, o);
    }
    THtmlRenderResult HitTest(std::string_view text, int x, int y)
    {
        THtmlRenderOptions o;
        o.HitTestOnly = true;
        o.X = x;
        o.Y = y;
        return RenderHtml(Canvas(), text, TRect{0, 0, 400, 200}, o);
    }
    // Whether any pixel of the area has the colour.
    bool Has(const TRect& r, TColor c)
    {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (Bitmap.PixelColor(x, y) == c)
                    return true;
        return false;
    }

    bool Blank(const TRect& r)
    {
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (Bitmap.PixelColor(x, y) != clWhite)
                    return false;
        return true;
    }

    TBitmap Bitmap;
    int Cw = 0, Lh = 0;
};

// Sizes are counted in character widths (Cw) and line heights (Lh); the layout box is one pixel
// narrower than the rectangle.
struct TLayoutCase {
    const char* name;
    const char* text;
    int widthInChars;  // of the layout box; 0: wide
    int width;         // the result, in characters (plus Extra pixels)
    int extra;
    int lines;
    const char* plain;
};

const TLayoutCase kLayouts[] = {
    {"EmptyTextIsOneLineHigh", "", 0, 0, 0, 1, ""},
    {"RegressionPlainTextHoldsEveryWordOnce", "aaa bbb ccc", 8, 7, 0, 2, "aaa bbb ccc"},
    {"WordWiderThanBoxStaysOnItsLine", "abcdefghij k", 5, 10, 0, 2, "abcdefghij k"},
    {"BreakTagEndsTheLine", "a<BR>bb", 0, 2, 0, 2, "a\rbb"},
    {"SecondBulletStartsNextLine", "<UL><LI>a<LI>b</UL>", 0, 1, 12, 2, "ab"},
    {"BulletOutsideListTakesFirstLevel", "<LI>a", 0, 1, 12, 1, "a"},
    {"HiddenWordsCountInPlainTextOnly", "a<Z>bbb</Z>c", 0, 2, 0, 1, "abbbc"},
    {"IndentMovesTheLine", "<IND x=\"50\">a", 0, 1, 50, 1, "a"},
    {"EntitiesDecodeOnce", "&amp;lt; &lt;&gt;", 0, 10, 0, 1, "&lt; <&gt;"},
    {"HashTagShowsAsText", "a<#b>c", 0, 4, 0, 1, "a#bc"},
    {"UnclosedTagEndsTheText", "ab <B cd", 0, 2, 0, 1, "ab "},
    {"ParagraphEndBreaksTheLine", "<P align=\"center\">a</P>b", 0, 1, 0, 2, "ab"},
    {"HorizontalRuleBreaksTheLine", "a<HR>b", 0, 1, 0, 2, "ab"},
    {"UnknownTagsAreSkipped", "<Q>a<XYZ w=1>b", 0, 2, 0, 1, "ab"},
};

}  // namespace

class HtmlLayout : public ::testing::TestWithParam<TLayoutCase> {};

TEST_P(HtmlLayout, Measures)
{
    HtmlCanvas h;
    const TLayoutCase& c = GetParam();
    const int width = c.widthInChars > 0 ? c.widthInChars * h.Cw + 1 : 400;
    const THtmlRenderResult r = h.Measure(c.text, width);
    EXPECT_EQ(r.Width, c.width * h.Cw + c.extra);
    EXPECT_EQ(r.Height, c.lines * h.Lh);
    EXPECT_EQ(r.PlainText, c.plain);
    EXPECT_FALSE(r.Hit);
}

INSTANTIATE_TEST_SUITE_P(Texts, HtmlLayout, ::testing::ValuesIn(kLayouts),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(HtmlRender, FontHasOneWidthForEveryAsciiByte)
{
    HtmlCanvas h;
    for (char c = ' '; c < 0x7F; ++c)
        ASSERT_EQ(h.Canvas()->TextWidth(std::string(1, c)), h.Cw) << c;
}

TEST(HtmlRender, LinesBelowTheBoxAreLeftOutUnlessMeasuring)
{
    HtmlCanvas h;
    const std::string text = "a<BR>b<BR>c<BR>d";
    EXPECT_EQ(h.Measure(text, 400, h.Lh * 5 / 2).Height, 4 * h.Lh);
    const THtmlRenderResult painted = RenderHtml(h.Canvas(), text, TRect{0, 0, 400, h.Lh * 5 / 2}, {});
    EXPECT_EQ(painted.Height, 2 * h.Lh);
}

struct THitCase {
    const char* name;
    int column;  // the character under the point (the box starts one pixel in)
    int line;
    bool hit;
    const char* anchor;
};

const THitCase kHits[] = {
    {"OnLinkText", 4, 0, true, "go"},
    {"BeforeLink", 1, 0, false, ""},
    {"OnSecondLineOfLink", 0, 1, true, "go"},
    {"BelowText", 20, 3, false, ""},
};

class HtmlHit : public ::testing::TestWithParam<THitCase> {};

TEST_P(HtmlHit, FindsLink)
{
    HtmlCanvas h;
    const THitCase& c = GetParam();
    const THtmlRenderResult r =
        h.HitTest("ab <A href=\"go\">link<BR>more</A> cd", 1 + c.column * h.Cw + h.Cw / 2, c.line * h.Lh + h.Lh / 2);
    EXPECT_EQ(r.Hit, c.hit);
    EXPECT_EQ(r.AnchorValue, c.anchor);
}

INSTANTIATE_TEST_SUITE_P(Points, HtmlHit, ::testing::ValuesIn(kHits),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(HtmlRender, HoveredLinkReportsItsRectangleAndNumber)
{
    HtmlCanvas h;
    const THtmlRenderResult r = h.HitTest("<A href=\"a\">x</A> ab <A href=\"b\">link</A>", 1 + 6 * h.Cw, h.Lh / 2);
    EXPECT_EQ(r.AnchorValue, "b");
    EXPECT_EQ(r.MouseLink, 2);
    EXPECT_EQ(r.LinkCount, 2);
    EXPECT_EQ(r.HoverRect.Left, 1 + 5 * h.Cw);
    EXPECT_EQ(r.HoverRect.Right, 1 + 9 * h.Cw);
}

TEST(HtmlRender, CentredLineIsHitWhereItIsDrawn)
{
    HtmlCanvas h;
    const char* text = "<P align=\"center\"><A href=\"c\">xx</A>";
    EXPECT_TRUE(h.HitTest(text, 1 + (399 - 2 * h.Cw) / 2 + h.Cw, h.Lh / 2).Hit);
    EXPECT_FALSE(h.HitTest(text, 2, h.Lh / 2).Hit);
}

TEST(HtmlRender, FocusLinkGivesItsAnchor)
{
    HtmlCanvas h;
    THtmlRenderOptions o;
    o.FocusLink = 1;
    const THtmlRenderResult r =
        RenderHtml(h.Canvas(), "<A href=\"a\">x</A><A href=\"b\">y</A>", TRect{0, 0, 400, 50}, o);
    EXPECT_EQ(r.FocusAnchor, "b");
}

TEST(HtmlRender, CallLeavesFontAndBrushAsFound)
{
    HtmlCanvas h;
    h.Canvas()->Brush()->SetColor(clYellow);
    RenderHtml(h.Canvas(), "<B><I><FONT face=\"Serif\" size=\"30\" bgcolor=\"clRed\"><R a=\"90\">x",
               TRect{0, 0, 400, 200}, {});
    EXPECT_EQ(h.Canvas()->Font()->Orientation(), 0) << "an unclosed rotation is undone";
    EXPECT_TRUE(h.Canvas()->Font()->Style().Empty());
    EXPECT_EQ(h.Canvas()->Font()->Name(), "DejaVu Sans Mono");
    EXPECT_EQ(h.Canvas()->Brush()->Color(), clYellow);
    EXPECT_EQ(h.Canvas()->Brush()->Style(), bsSolid);
}

TEST(HtmlRender, LinkColourUnlessSelected)
{
    for (const bool selected : {false, true}) {
        HtmlCanvas h;
        THtmlRenderOptions o;
        o.Selected = selected;
        o.LinkColor = clRed;
        RenderHtml(h.Canvas(), "<A href=\"x\">WWW</A>", TRect{0, 0, 400, 50}, o);
        EXPECT_EQ(h.Has(TRect{0, 0, 50, 20}, clRed), !selected);
        EXPECT_EQ(h.Has(TRect{0, 0, 50, 20}, clBlack), selected);
    }
}

TEST(HtmlRender, RegressionLinkUnderlineShowsInAHangulFace)
{
    // NanumGothic puts its underline below its descent: the line would fall outside the word.
    HtmlCanvas h;
    h.Canvas()->Font()->SetName("\xb1\xbc\xb8\xb2");  // 굴림
    h.Canvas()->Font()->SetSize(9);
    THtmlRenderOptions o;
    o.LinkColor = clRed;
    const int lh = h.Canvas()->TextHeight("gh");
    RenderHtml(h.Canvas(), "<A href=\"x\">wwwww</A>", TRect{0, 0, 400, 50}, o);
    int underline = 0;
    for (int x = 0; x < 60; ++x)
        underline += h.Bitmap.PixelColor(x, lh - 1) == clRed;
    EXPECT_GT(underline, 20);
}

TEST(HtmlRender, BlinkingTextHidesInTheBackgroundPhase)
{
    for (const bool on : {false, true}) {
        HtmlCanvas h;
        THtmlRenderOptions o;
        o.BlinkOn = on;
        RenderHtml(h.Canvas(), "<BLINK>WWW</BLINK>", TRect{0, 0, 400, 50}, o);
        EXPECT_EQ(h.Has(TRect{0, 0, 50, 20}, clBlack), on);
    }
}

TEST(HtmlRender, RegressionBulletNeverLeftOfItsLine)
{
    HtmlCanvas h;
    RenderHtml(h.Canvas(), "<LI>W", TRect{40, 0, 400, 50}, {});
    EXPECT_TRUE(h.Blank(TRect{0, 0, 41, 20}));
    EXPECT_FALSE(h.Blank(TRect{41, 0, 60, 20}));
}

TEST(HtmlRender, PicturesFromImageListsAndResourcesBySize)
{
    HtmlCanvas h;
    TImageList images(nullptr, 16, 16);
    TBitmap red;
    red.SetSize(16, 16);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect{0, 0, 16, 16});
    images.Add(&red, nullptr);
    THtmlRenderOptions o;
    o.Images = &images;
    EXPECT_EQ(RenderHtml(h.Canvas(), "<IMG src=\"idx:0\">", TRect{0, 0, 400, 50}, o).Width, 16);
    EXPECT_TRUE(h.Has(TRect{1, 0, 17, 16}, clRed));
    EXPECT_EQ(RenderHtml(h.Canvas(), "<IMG src=\"idx:1\"><IMG src=\"idx:-1\">", TRect{0, 0, 400, 50}, o).Width, 0);
    o.Printing = true;
    o.ResFactor = 2;
    EXPECT_EQ(RenderHtml(h.Canvas(), "<IMG src=\"idx:0\">", TRect{0, 0, 400, 50}, o).Width, 32);
    RegisterPictureResource(rtBitmap, "HTMLCELL", {[] { return QImage(8, 6, QImage::Format_RGB32); }, {}});
    EXPECT_EQ(h.Measure("<IMG src=\"res://htmlcell\"><IMG src=\"res://none\">", 400).Width, 8);
}

TEST(HtmlRender, SystemIconsAreTheDesktopsFileTypeIcons)
{
    HtmlCanvas h;
    EXPECT_EQ(h.Measure("<IMG src=\"ssys:notes.txt\">", 400).Width, 16);
    EXPECT_EQ(h.Measure("<IMG src=\"lsys:notes.txt\">", 400).Width, 32);
    EXPECT_EQ(h.Measure("<IMG src=\"ssys:3\">", 400).Width, 0) << "system list indexes draw nothing";
    RenderHtml(h.Canvas(), "<IMG src=\"lsys:/tmp\">", TRect{0, 0, 400, 50}, {});
    EXPECT_FALSE(h.Blank(TRect{1, 0, 33, 32})) << "a folder icon is drawn";
}

class HtmlFileImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string name = TempPattern("htmlimg");
        ASSERT_TRUE(mkdtemp(name.data()));
        Dir = name;
        ClearHtmlFileBitmaps();
    }
    void TearDown() override { std::system(("rm -rf " + Dir).c_str()); }
    void WriteBitmap(const std::string& path, int w, int h)
    {
        TBitmap b;
        b.SetSize(w, h);
        b.Canvas()->Brush()->SetColor(clRed);
        b.Canvas()->FillRect(TRect{0, 0, w, h});
        b.SaveToFile(path);
    }
    int ImageWidth(const std::string& path, const char* size = "")
    {
        return h.Measure("<IMG src=\"file://" + path + "\"" + size + ">", 400).Width;
    }
    std::string Dir;
    HtmlCanvas h;
};

TEST_F(HtmlFileImage, BitmapFileGivesItsSizeAndIsReadAgainWhenChanged)
{
    const std::string path = Dir + "/a.bmp";
    WriteBitmap(path, 20, 10);
    EXPECT_EQ(ImageWidth(path), 20);
    EXPECT_EQ(ImageWidth(path, " width=\"7\" height=\"5\""), 7);
    EXPECT_EQ(ImageWidth(path, " WIDTH=\"7\" height=\"5\""), 20);
    WriteBitmap(path, 30, 10);
    EXPECT_EQ(ImageWidth(path), 30);
    // Stretched far beyond the canvas, only the visible part is scaled.
    RenderHtml(h.Canvas(), "<IMG src=\"file://" + path + "\" width=\"65535\" height=\"65535\">", TRect{0, 0, 400, 200},
               {});
    EXPECT_TRUE(h.Has(TRect{390, 190, 400, 200}, clRed));
}

TEST_F(HtmlFileImage, RegressionOnlyRegularFilesOfAtMost16MiBAreRead)
{
    const std::string fifo = Dir + "/pipe.bmp", big = Dir + "/big.bmp", missing = Dir + "/none.bmp";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(truncate((WriteBitmap(big, 4, 4), big).c_str(), kMaxHtmlImageFileBytes + 1), 0);
    EXPECT_EQ(ImageWidth(fifo), 0);
    EXPECT_EQ(ImageWidth(big), 0);
    EXPECT_EQ(ImageWidth(missing), 0);
    EXPECT_EQ(ImageWidth(Dir), 0);
}

TEST(HtmlRender, AnyTextMeasuresAndPaintsWithoutRaising)
{
    HtmlCanvas h;
    const char* pieces[] = {"<",
                            ">",
                            "<A href=\"",
                            "</A>",
                            "<B>",
                            "<LI>",
                            "<UL>",
                            "</UL>",
                            "<#",
                            "&lt;",
                            "&",
                            " ",
                            "x",
                            "\xB0\xA1",
                            "<FONT size=\"99999999\">",
                            "<IMG src=\"idx:9\" width=\"999999\" height=\"9\">",
                            "<P align=\"right\" bgcolor=\"#12\">",
                            "</P>",
                            "<R a=\"-720\">",
                            "<SUB>",
                            "<SUP>",
                            "<Z>",
                            "<IND x=\"2147483647\">",
                            "<BR>",
                            "<IMG src=\"ssys:7\">",
                            "<BODY bgcolor=\"clRed\">"};
    std::mt19937 random(27);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int i = 0; i < 40; ++i)
            text += pieces[random() % std::size(pieces)];
        THtmlRenderOptions o;
        o.MeasureOnly = round % 3 == 0;
        o.HitTestOnly = round % 3 == 1;
        EXPECT_NO_THROW(RenderHtml(h.Canvas(), text, TRect{0, 0, 120, 60}, o)) << text;
    }
    // A long text full of hash tags takes one pass over it.
    std::string tags;
    for (int i = 0; i < 20000; ++i)
        tags += "a <#b";
    EXPECT_EQ(h.Measure(tags, 400).PlainText.size(), tags.size() - 20000);
}
