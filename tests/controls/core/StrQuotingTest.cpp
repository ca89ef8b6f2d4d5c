#include <gtest/gtest.h>

#include "controls/core/StrUtils.h"
#include "tests/controls/core/HangulText.h"

using namespace hangul;

TEST(StrQuoting, QuotedStringDoublesInnerQuotes)
{
    EXPECT_EQ(QuotedString("abc", '\''), "'abc'");
    EXPECT_EQ(QuotedString("it's", '\''), "'it''s'");
    EXPECT_EQ(QuotedString("", '"'), "\"\"");
    EXPECT_EQ(QuotedString(kHanGeul, '"'), "\"" + kHanGeul + "\"");
    // 'c' as the quote: the trail byte of 똠 is not doubled.
    EXPECT_EQ(QuotedString(kDdom + "c", 'c'), "c" + kDdom + "ccc");
}

TEST(StrQuoting, ExtractQuotedStringUndoesTheQuoting)
{
    EXPECT_EQ(ExtractQuotedString("'it''s'", '\''), "it's");
    EXPECT_EQ(ExtractQuotedString("'abc' tail", '\''), "abc");
    EXPECT_EQ(ExtractQuotedString("'open", '\''), "open");
    EXPECT_EQ(ExtractQuotedString("plain", '\''), "plain");
    EXPECT_EQ(ExtractQuotedString("", '\''), "");
    EXPECT_EQ(ExtractQuotedString("''", '\''), "");
    for (const AnsiString& s : {AnsiString("a'b''c"), kHanGeul + "'", AnsiString("'"), kDdom + "c"})
        EXPECT_EQ(ExtractQuotedString(QuotedString(s, '\''), '\''), s);
    EXPECT_EQ(ExtractQuotedString(QuotedString(kDdom + "c", 'c'), 'c'), kDdom + "c");
}

TEST(StrCmdLine, FindsTheParameterAfterTheSwitch)
{
    std::vector<AnsiString> params = {"prog", "-host", "mud.example", "/Port", "4002", "-last"};
    TSysCharSet switches{'-', '/'};
    EXPECT_EQ(GetCmdLineArg("host", switches, params), "mud.example");
    EXPECT_EQ(GetCmdLineArg("PORT", switches, params), "4002");
    EXPECT_EQ(GetCmdLineArg("last", switches, params), "");  // nothing follows it
    EXPECT_EQ(GetCmdLineArg("mud.example", switches, params), "");
    EXPECT_EQ(GetCmdLineArg("host", TSysCharSet{'/'}, params), "");
    EXPECT_EQ(GetCmdLineArg("prog", switches, {"-prog"}), "");
    std::vector<AnsiString> korean = {"prog", "-" + kHanGeul, kGa};
    EXPECT_EQ(GetCmdLineArg(kHanGeul, switches, korean), kGa);
}

TEST(StrCmdLine, ReadsThisProcessCommandLine)
{
    // The test runner passes no switch of this name.
    EXPECT_EQ(GetCmdLineArg("no-such-switch", TSysCharSet{'-'}), "");
}
