// The rich-edit document: rich text read, written and read again to the same runs; broken and
// deeply nested rich text read as plain text; selection colours; layout onto a canvas, and how
// often a change lays a document out.

#include "platform/gui/RichDocument.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <string>
#include <vector>

#include "platform/core/Cp949.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/RtfCodec.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

// Each run as "text[attributes]": b i u s, size in half-points, colours, vertical place.
std::string Runs(const TRichDocument& d)
{
    std::string out;
    for (QTextBlock block = d.Document()->begin(); block.isValid(); block = block.next()) {
        out += block == d.Document()->begin() ? "" : "|";
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            std::string a = std::to_string(static_cast<int>(f.fontPointSize() * 2));
            a += f.fontWeight() >= QFont::Bold ? "b" : "";
            a += f.fontItalic() ? "i" : "";
            a += f.fontUnderline() ? "u" : "";
            a += f.fontStrikeOut() ? "s" : "";
            if (f.hasProperty(QTextFormat::ForegroundBrush))
                a += " fg" + f.foreground().color().name().toStdString();
            if (f.hasProperty(QTextFormat::BackgroundBrush))
                a += " bg" + f.background().color().name().toStdString();
            if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
                a += " super";
            if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
                a += " sub";
            if (const int offset = f.property(kRtfOffsetProperty).toInt())
                a += " offset" + std::to_string(offset);
            out += it.fragment().text().toStdString() + "[" + a + "]";
        }
    }
    return out;
}

struct TRtfCase {
    const char* name;
    const char* rtf;
    const char* runs;
};

const TRtfCase kRtf[] = {
    {"Styles", R"({\rtf1 a{\b b\i c}\ul d\ulnone\strike e})", "a[24]b[24b]c[24bi]d[24u]e[24s]"},
    {"SizesAndColourTable",
     R"({\rtf1{\colortbl ;\red255\green0\blue0;\red0\green0\blue255;}\fs40 x\cf1 y\highlight2 z})",
     "x[40]y[40 fg#ff0000]z[40 fg#ff0000 bg#0000ff]"},
    {"HangulBytes", R"({\rtf1\ansicpg949 \'b0\'a1\'b3\'aa})", "가나[24]"},
    {"UnicodeUnitSkipsItsFallback", R"({\rtf1\uc1\u44032?\u-10179\'3f\u-8704\'3f!})", "가😀![24]"},
    {"UnknownDestinationsAreSkipped", R"({\rtf1{\*\generator x;}{\info{\title t}}{\*\unknown {y}}a})", "a[24]"},
    {"ParagraphsLinesTabs", R"({\rtf1 a\par b\line c\tab d\
e})",
     "a[24]|b\xe2\x80\xa8"
     "c\td[24]|e[24]"},
    {"ScriptsAndOffsets", R"({\rtf1 a{\super b}{\sub c}{\up6 d}{\dn4 e}})",
     "a[24]b[24 super]c[24 sub]d[24 offset6]e[24 offset-4]"},
    {"EscapedBracesAndBackslash", R"({\rtf1 \{x\}\\})", "{x}\\[24]"},
    {"PlainResetsCharacterFormat", R"({\rtf1\b\fs30 a\plain b})", "a[30b]b[24]"},
};

}  // namespace

class RtfRoundTrip : public ::testing::TestWithParam<TRtfCase> {};

TEST_P(RtfRoundTrip, ReadsAndWritesTheSameRuns)
{
    TestApplication();
    TRichDocument d;
    ASSERT_TRUE(d.LoadFromBytes(Utf8ToCp949(GetParam().rtf)));
    EXPECT_EQ(Runs(d), GetParam().runs);
    const std::string saved = d.SaveToBytes();
    TRichDocument again;
    ASSERT_TRUE(again.LoadFromBytes(saved)) << saved;
    EXPECT_EQ(Runs(again), GetParam().runs) << saved;
    EXPECT_EQ(again.SaveToBytes(), saved);
}

INSTANTIATE_TEST_SUITE_P(Texts, RtfRoundTrip, ::testing::ValuesIn(kRtf),
                         [](const auto& param) { return std::string(param.param.name); });

struct TPlainCase {
    const char* name;
    std::string bytes;
    std::string plain;  // empty: the bytes themselves
};

class RtfAsPlainText : public ::testing::TestWithParam<TPlainCase> {};

TEST_P(RtfAsPlainText, ReadsTheBytesAsText)
{
    TestApplication();
    TRichDocument d;
    EXPECT_FALSE(d.LoadFromBytes(GetParam().bytes));
    EXPECT_EQ(d.PlainText(), GetParam().plain.empty() ? GetParam().bytes : GetParam().plain);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RtfAsPlainText,
    ::testing::Values(TPlainCase{"NotRichText", "ab\r\ncd\ref", "ab\r\ncd\r\nef"},
                      TPlainCase{"GroupLeftOpen", "{\\rtf1 {\\b x}", ""},
                      TPlainCase{"CutInsideAnEscape", "{\\rtf1 \\'b", ""},
                      TPlainCase{"NestedTooDeep", "{\\rtf1" + std::string(200, '{') + "x" + std::string(201, '}'), ""}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(RichDocument, PlainTextJoinsLinesWithCrLf)
{
    TestApplication();
    TRichDocument d;
    d.LoadFromBytes(R"({\rtf1 a\par b\line c})");
    EXPECT_EQ(d.PlainText(), "a\r\nb\r\nc");
    EXPECT_EQ(d.Length(), 5);
}

// Plain text loaded and saved came back at 1 point: its runs name no size, and the writer wrote
// the smallest size instead of the document's.
TEST(RichDocument, RegressionPlainTextSavedKeepsTheDocumentsSize)
{
    TestApplication();
    TRichDocument d;
    TFont font;
    font.SetSize(12);
    d.SetDefaultFont(&font);
    d.LoadFromBytes("plain");
    TRichDocument back;
    back.LoadFromBytes(d.SaveToBytes());
    EXPECT_EQ(Runs(back), "plain[24]");
}

// Putting runs back on the baseline joined them while the change still walked them: the walk
// went on over freed runs.
TEST(RichDocument, RegressionAChangeThatJoinsRunsLeavesOneRun)
{
    TestApplication();
    TRichDocument d;
    d.LoadFromBytes(R"({\rtf1 H{\dn4 2}O})");
    d.SetSelection(0, 3);
    d.SetSelOffset(0);
    EXPECT_EQ(Runs(d), "H2O[24]");
}

TEST(RichDocument, SelectionColourReachesOnlyTheSelection)
{
    TestApplication();
    TRichDocument d;
    d.LoadFromBytes(R"({\rtf1 abc{\b de}f})");
    d.SetSelection(2, 2);
    d.SetSelColor(clRed);
    EXPECT_EQ(Runs(d), "ab[24]c[24 fg#ff0000]d[24b fg#ff0000]e[24b]f[24]");
    d.SetSelection(0, 1);
    d.SetSelOffset(-40);
    EXPECT_EQ(Runs(d).substr(0, 16), "a[24 offset-4]b[");
}

TEST(RichDocument, EachFontIsWrittenOnceWithItsOwnBytes)
{
    TestApplication();
    TRichDocument d;
    d.LoadFromBytes(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 \'b1\'bc\'b8\'b2;}}{\f1 a}{\f0 b}{\f1 c}{\f0 d}})");
    const std::string saved = d.SaveToBytes();
    // The default font, then the two the runs name.
    EXPECT_NE(saved.find(R"({\f1\fnil\fcharset129 \'b1\'bc\'b8\'b2;}{\f2\fnil\fcharset129 Arial;}})"),
              std::string::npos)
        << saved;
}

// Qt tells a document's layout of every change made outside one edit of the document: reading
// or changing a run at a time laid the whole text out again at each run.
TEST(RichDocument, RegressionALaidOutDocumentIsLaidOutOnceAChangeNotOnceARun)
{
    struct TCountingLayout : QAbstractTextDocumentLayout {
        using QAbstractTextDocumentLayout::QAbstractTextDocumentLayout;
        int Changes = 0;
        void draw(QPainter*, const PaintContext&) override {}
        int hitTest(const QPointF&, Qt::HitTestAccuracy) const override { return -1; }
        int pageCount() const override { return 1; }
        QSizeF documentSize() const override { return {}; }
        QRectF frameBoundingRect(QTextFrame*) const override { return {}; }
        QRectF blockBoundingRect(const QTextBlock&) const override { return {}; }
        void documentChanged(int, int, int) override { ++Changes; }
    };
    TestApplication();
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 100; ++i)
        rtf += "{\\b a}{\\i b}";
    rtf += "}";
    for (const std::string change : {"read", "colour", "offset"}) {
        TRichDocument d;
        d.LoadFromBytes(rtf);
        auto* layout = new TCountingLayout(d.Document());
        d.Document()->setDocumentLayout(layout);
        layout->Changes = 0;
        d.SetSelection(0, d.Length());
        if (change == "read")
            d.LoadFromBytes(rtf);
        else if (change == "colour")
            d.SetSelColor(clRed);
        else
            d.SetSelOffset(40);
        EXPECT_LE(layout->Changes, 3) << change;
    }
}

// The text laid out for the canvas is kept between formats: every change must reach the next.
TEST(RichDocument, RegressionAFormatAfterAChangeShowsTheChange)
{
    TestApplication();
    TBitmap b;
    b.SetSize(100, 40);
    const auto redShown = [&](const TRichDocument& d) {
        b.Canvas()->FillRect(TRect{0, 0, 100, 40});
        d.FormatRange(b.Canvas(), TRect{0, 0, 100 * 15, 40 * 15});
        for (int i = 0; i < 100 * 40; ++i)
            if (b.PixelColor(i % 100, i / 100) == clRed)
                return true;
        return false;
    };
    TRichDocument d;
    d.LoadFromBytes(R"({\rtf1 WWW})");
    EXPECT_FALSE(redShown(d));
    d.SetSelection(0, 3);
    d.SetSelColor(clRed);
    EXPECT_TRUE(redShown(d));
    d.LoadFromBytes(R"({\rtf1 MMM})");
    EXPECT_FALSE(redShown(d));
    QTextCharFormat red;  // a change made to the Qt document itself
    red.setForeground(QColor(Qt::red));
    QTextCursor(d.Document()).insertText("W", red);
    EXPECT_TRUE(redShown(d));
}

TEST(RichDocument, FormatsIntoARectangleOfTheCanvas)
{
    TestApplication();
    TBitmap b;
    b.SetSize(200, 100);
    TRichDocument d;
    d.LoadFromBytes(R"({\rtf1{\colortbl ;\red255\green0\blue0;}\cf1\fs24 WWW\par WWW\par WWW})");
    // 1440 twips an inch at 96 pixels: 15 twips a pixel; room for two 12-point lines only.
    const int fitted = d.FormatRange(b.Canvas(), TRect{10 * 15, 10 * 15, 190 * 15, 50 * 15});
    EXPECT_EQ(fitted, 7);
    bool red = false, outside = false;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const bool isRed = b.PixelColor(x, y) == clRed;
            red |= isRed;
            outside |= isRed && (x < 10 || y < 10 || x >= 190 || y >= 50);
        }
    EXPECT_TRUE(red);
    EXPECT_FALSE(outside);
    EXPECT_GT(d.RequestedHeight(b.Canvas(), 10), d.RequestedHeight(b.Canvas(), 180));
}

// A layout is kept for each of the last widths the text was formatted at, and the one used
// longest ago makes way for a new width; whatever was kept, the text shows as laid out anew.
TEST(RichDocument, LaysOutOnlyAtWidthsNotKept)
{
    TestApplication();
    const std::string rtf = R"({\rtf1 {\b several} words that wrap {\i differently} at each width})";
    const auto shown = [](const TRichDocument& d, int width) {
        TBitmap b;
        b.SetSize(width, 80);
        b.Canvas()->FillRect(TRect{0, 0, width, 80});
        d.FormatRange(b.Canvas(), TRect{0, 0, width * 15, 80 * 15});
        return b.Snapshot();
    };
    const struct {
        const char* name;
        std::vector<int> widths;  // formatted at in turn, in pixels
        int layouts;
    } cases[] = {{"OneWidthAgain", {100, 100, 100}, 1},
                 {"TwoWidthsInTurn", {100, 200, 100, 200, 100}, 2},
                 {"AsManyWidthsAsAreKept", {60, 80, 100, 120, 60, 120}, 4},
                 {"ANewWidthTakesTheOldestsPlace", {60, 80, 100, 120, 140, 80, 60}, 6}};
    for (const auto& c : cases) {
        TRichDocument d, fresh;
        d.LoadFromBytes(rtf);
        fresh.LoadFromBytes(rtf);
        for (const int width : c.widths)
            shown(d, width);
        EXPECT_TRUE(shown(d, c.widths.back()) == shown(fresh, c.widths.back())) << c.name;
        EXPECT_EQ(d.LayoutsMade(), c.layouts) << c.name;
    }
}

namespace {

// Rich text of the UTF-16 text: lines (U+2028), paragraphs (U+2029) and tabs as control words,
// every other character as a Unicode escape.
std::string RtfOf(const std::u16string& text)
{
    std::string rtf = "{\\rtf1 ";
    for (const char16_t c : text)
        rtf += c == u'\u2028' ? "\\line "
            : c == u'\u2029'  ? "\\par "
            : c == u'\t'      ? "\\tab "
                              : "\\u" + std::to_string(c) + "?";
    return rtf + "}";
}

// Unit repeated to Length characters.
std::u16string Repeated(std::u16string_view unit, size_t length)
{
    std::u16string text;
    while (text.size() < length)
        text += unit;
    return text.substr(0, length);
}

constexpr size_t kLimit = TRichDocument::kLongestUnbrokenRun;
// A column wide enough that the limit on characters decides.
constexpr int kWide = 4000;
// Text without a size of its own is 12-point: 16 pixels an em at 96 dots an inch. Columns of this
// many ems hold at least as many characters a line.
constexpr int kEm = 16;
constexpr size_t kLines = TRichDocument::kMostLinesOfARun;

struct TRunCase {
    const char* name;
    std::string rtf;
    int width;  // laid out at, in pixels at 96 dots an inch
    bool anywhere;
};

TRunCase Row(const char* name, const std::u16string& text, bool anywhere, int width = kWide)
{
    return TRunCase{name, RtfOf(text), width, anywhere};
}

const TRunCase kRuns[] = {
    Row("UnspacedHangul", Repeated(u"한글줄바꿈", 600), true),
    Row("HangulWithPunctuationBetween", Repeated(u"가나,다라.", 600), true),
    Row("HangulJoinedByNoBreakSpaces", Repeated(u"가나\u00A0", 600), true),
    Row("HangulSpacedOnlyBeforePunctuation", Repeated(u"가나다라 ,마바사 .", 600), true),
    Row("HangulJoinedByZeroWidthSpaces", Repeated(u"가나\u200B", 600), true),
    Row("ThaiWithoutSpaces", Repeated(u"ภาษาไทย", 600), true),
    Row("ThaiWordsEndingInMarksSpaced", Repeated(u"ภาษาไทยกิ ", 20000), false),
    Row("HanWithoutSpaces", Repeated(u"漢字文章", 600), true),
    Row("OneLetter", Repeated(u"a", 600), true),
    Row("Digits", Repeated(u"0123456789", 600), true),
    Row("MixedScriptsWithoutSpaces", Repeated(u"a가漢ก1-", 600), true),
    Row("HangulSpacedEveryEighth", Repeated(u"가나다라마바사 ", 20000), false),
    Row("HangulSpacedByIdeographicSpaces", Repeated(u"가나다라마바사\u3000", 20000), false),
    Row("HangulSpacedByTabs", Repeated(u"가나다라마바사\t", 20000), false),
    Row("ArabicWords", Repeated(u"\u0627\u0644\u0639\u0631\u0628\u064A\u0629 ", 20000), false),
    Row("WordsEndingInCombiningMarks", Repeated(u"cafe\u0301 ", 20000), false),
    Row("LatinWords", Repeated(u"words of text ", 20000), false),
    Row("HangulWordsListedWithCommas", Repeated(u"칼, 방패, 갑옷. ", 20000), false),
    Row("RunsAtTheLimit", Repeated(u"가", kLimit) + u" " + Repeated(u"a", kLimit) + u"   ", false),
    Row("RunPastTheLimit", Repeated(u"가", 10) + u" " + Repeated(u"가", kLimit + 1), true),
    Row("RunsAtTheLimitOnLinesParagraphsAndTabs",
        Repeated(u"가", kLimit) + u"\u2028" + Repeated(u"ก", kLimit) + u"\u2029" + Repeated(u"a", kLimit) + u"\t" +
            Repeated(u"b", kLimit),
        false),
    // In a narrow column a run spans many lines long before the limit.
    Row("RunOfItsLinesAtTheWidth", Repeated(u"가", 10) + u" " + Repeated(u"a", kLines * 10), false, 10 * kEm),
    Row("RunPastItsLinesAtTheWidth", Repeated(u"가", 10) + u" " + Repeated(u"a", kLines * 10 + 1), true, 10 * kEm),
    Row("ShortWordsInAColumnNarrowerThanACharacter", Repeated(u"가나다라마바사 ", 2000), false, kEm - 1),
    Row("LongerWordsInAColumnNarrowerThanACharacter", Repeated(u"abcdefghijklmnopq ", 2000), true, kEm - 1),
    // The largest font decides how few characters a line holds.
    TRunCase{"RunPastTheLinesOfTheLargestFont", "{\\rtf1 {\\fs96 A} " + std::string(kLines * 10 + 1, 'a') + "}",
             40 * kEm, true},
    TRunCase{"TheSameRunWithoutTheLargeFont", "{\\rtf1 A " + std::string(kLines * 10 + 1, 'a') + "}", 40 * kEm, false},
};

}  // namespace

class RichDocumentLongRuns : public ::testing::TestWithParam<TRunCase> {};

// A run of Hangul without white space was laid out line by line: each Hangul syllable is a place
// to break a line, so the run was not taken for a long word, while Qt lays out each of its lines
// to the run's end (300,000 syllables took 13 s). A text breaks its lines anywhere when it holds
// a run longer than the limit without a break after white space, in any script; and, as a run
// of 512 letters cost 15 times a spaced text in a column of two letters, when a run spans more
// than kMostLinesOfARun lines of the column.
TEST_P(RichDocumentLongRuns, RegressionARunWithoutWhiteSpaceBreaksAnywhereInAnyScript)
{
    TestApplication();
    TRichDocument d;
    ASSERT_TRUE(d.LoadFromBytes(GetParam().rtf));
    EXPECT_EQ(d.BreaksLinesAnywhere(96, GetParam().width), GetParam().anywhere);
}

// Whatever the guard decides, every character of the text is laid out: a rectangle as tall as
// the text asks for holds all of it.
TEST_P(RichDocumentLongRuns, EveryCharacterIsLaidOut)
{
    TestApplication();
    TRichDocument d;
    ASSERT_TRUE(d.LoadFromBytes(GetParam().rtf));
    TBitmap b;
    b.SetSize(40, 40);
    const int width = GetParam().width;
    const int height = d.RequestedHeight(b.Canvas(), width);
    EXPECT_EQ(d.FormatRange(b.Canvas(), TRect{0, 0, width * 15, (height + 1) * 15}), d.Length());
}

INSTANTIATE_TEST_SUITE_P(Texts, RichDocumentLongRuns, ::testing::ValuesIn(kRuns),
                         [](const auto& param) { return std::string(param.param.name); });

namespace {

struct TTallCase {
    const char* name;
    std::string rtf;
    int laidOut;  // characters laid out; -1: all of them
};

// Spaced words of Length letters, in the font size given in half-points.
std::string Words(int length, int halfPoints)
{
    std::string rtf = "{\\rtf1\\fs" + std::to_string(halfPoints) + " ";
    for (int i = 0; i < length; ++i)
        rtf += i % 8 == 7 ? ' ' : 'a';
    return rtf + "}";
}

// A line is reckoned at most twice its font's size: 32 pixels for 12-point text at 96 dots an
// inch, 4,368 for 1,638-point text.
constexpr int kMostCharacters = TRichDocument::kTallestLayout / 32;

const TTallCase kTall[] = {
    {"AtTheTallest", Words(kMostCharacters, 24), -1},
    {"PastTheTallest", Words(kMostCharacters + 1, 24), kMostCharacters},
    {"HugeLettersPastWhereQtStops", Words(40000, 3276), TRichDocument::kTallestLayout / 4368},
};

}  // namespace

class RichDocumentTallTexts : public ::testing::TestWithParam<TTallCase> {};

// Qt's layout of a document does not end once it passes about 8.4 million pixels from its top:
// 28,000 letters of the largest size in a column 300 pixels wide froze the window for good. A
// text is laid out no further than the characters that could take kTallestLayout pixels.
TEST_P(RichDocumentTallTexts, RegressionATextTallerThanQtLaysOutIsLaidOutOnlySoFar)
{
    TestApplication();
    const TTallCase& c = GetParam();
    TRichDocument d;
    ASSERT_TRUE(d.LoadFromBytes(c.rtf));
    TBitmap b;
    b.SetSize(40, 40);
    const int height = d.RequestedHeight(b.Canvas(), 300);
    EXPECT_LE(height, TRichDocument::kTallestLayout);
    const int fitted = d.FormatRange(b.Canvas(), TRect{0, 0, 300 * 15, (height + 1) * 15});
    EXPECT_EQ(fitted, c.laidOut < 0 ? d.Length() : c.laidOut);
}

INSTANTIATE_TEST_SUITE_P(Texts, RichDocumentTallTexts, ::testing::ValuesIn(kTall),
                         [](const auto& param) { return std::string(param.param.name); });
