// The text routines of the HTML cell engine: entities, unwrapping, stripping, attributes and
// colours, one named case a row.

#include "grid/model/HtmlTags.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

struct THtmlTextCase {
    const char* name;
    std::function<AnsiString(std::string_view)> routine;
    const char* in;
    const char* out;
};

AnsiString Attribute(std::string_view attrs) { return AttributeValue(attrs, "width", true); }

AnsiString ColorHex(std::string_view value)
{
    char buffer[16];
    snprintf(buffer, sizeof buffer, "%06X", static_cast<unsigned>(AttributeColor(value, 0x123456)));
    return buffer;
}

const THtmlTextCase kTextCases[] = {
    {"AmpBeforeLtGivesLtEntity", DecodeHtmlEntities, "&amp;lt;", "&lt;"},
    {"EntityRightAfterAReplacementStays", DecodeHtmlEntities, "&lt;&gt;", "<&gt;"},
    {"EntitiesApartAllDecode", DecodeHtmlEntities, "a&lt;b&GT;c&quot;", "a<b>c\""},
    {"LaterEntityBehindUnknownOneEndsDecoding", DecodeHtmlEntities, "&x;&gt;&lt;", "&x;&gt;<"},
    {"HashTagLosesItsBrackets", UnwrapHashTag, "a<#b>c<#d>", "a#bc<#d>"},
    {"BreaksBecomeLineEnds", StripHtmlTags, "a<BR>b<hr>c<B>d</B>", "a\r\nb\r\ncd"},
    {"UnclosedTagEndsStrippedText", StripHtmlTags, "ab<B c", "ab"},
    {"StripKeepsEntities", StripHtmlTags, "&lt;<I>x</I>", "&lt;x"},
    {"QuotedValueIsRead", Attribute, " src=\"a\" width=\"12\" h", "12"},
    {"UnquotedValueIsNotRead", Attribute, " width=12", ""},
    {"UpperCaseWidthIsNotWidth", Attribute, " WIDTH=\"12\"", ""},
    {"HexColourIsBlueGreenRed", ColorHex, "#FF8001", "0180FF"},
    {"RegressionShortHexLeavesColour", ColorHex, "#FF80", "123456"},
    {"HexNeedsHashFirst", ColorHex, "x#FF8001", "123456"},
    {"ColourName", ColorHex, "clTeal", "808000"},
    {"UnknownColourNameIsBlack", ColorHex, "clNothing", "000000"},
    {"ValueWithoutNameOrHashKeepsColour", ColorHex, "red", "123456"},
};

}  // namespace

class HtmlText : public ::testing::TestWithParam<THtmlTextCase> {};

TEST_P(HtmlText, Gives) { EXPECT_EQ(GetParam().routine(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(Routines, HtmlText, ::testing::ValuesIn(kTextCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(HtmlTags, RegressionReplaceEntityKeepsWholeText)
{
    AnsiString text = "&lt;" + std::string(1000, 'x') + "!";
    int mark = 0;
    ASSERT_TRUE(ReplaceEntity("&lt;", "<", text, mark));
    EXPECT_EQ(text, "<" + std::string(1000, 'x') + "!");
    EXPECT_EQ(mark, 2);
}

TEST(HtmlTags, SearchesNeverStartOnTrailByte)
{
    // "똠" is 8C 63: its trail byte is a "c".
    EXPECT_EQ(PosNoCase("C", "\x8c\x63"), 0);
    EXPECT_EQ(PosNoCase("C", "\x8c\x63x c"), 5);
}

TEST(HtmlTags, TagIntValueReadsLeadingNumber)
{
    EXPECT_EQ(TagIntValue("12px"), 12);
    EXPECT_EQ(TagIntValue("-3"), -3);
    EXPECT_EQ(TagIntValue("99999999999"), INT_MAX);
    EXPECT_EQ(TagIntValue("x"), 0);
}
