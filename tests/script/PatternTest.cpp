#include <gtest/gtest.h>

#include <vector>

#include "script/Pattern.h"

namespace {

using Strings = std::vector<AnsiString>;

// The captures of a match, or {"NO"} when there is none.
Strings Captures(std::string_view pattern, std::string_view line)
{
    const TCompiledPattern p = CompilePattern(pattern);
    TMatchResult r;
    if (!MatchPattern(p, line, r))
        return {"NO"};
    Strings out;
    for (int i = 0; i < r.Count; ++i)
        out.push_back(AnsiString(line.substr(r.Captures[i].Begin, r.Captures[i].Length)));
    return out;
}

bool Matches(std::string_view pattern, std::string_view line) { return Captures(pattern, line) != Strings{"NO"}; }

const Strings No{"NO"};

TEST(PatternTest, DigitsFollowingALiteral)
{
    EXPECT_EQ(Captures("hp %d", "hp 120/200"), Strings{"120"});
    EXPECT_EQ(Captures("hp %d", "hp x"), No);
    // A later occurrence that is followed by a digit is taken.
    EXPECT_EQ(Captures("hp %d", "hp x hp 7"), Strings{"7"});
    EXPECT_EQ(Captures("hp %d/%d", "hp 120/200 sp"), (Strings{"120", "200"}));
}

TEST(PatternTest, WordBeforeALiteral)
{
    EXPECT_EQ(Captures("%s tells you %*", "Bob tells you hi"), (Strings{"Bob", "hi"}));
    // The word would start after the comma, where the literal begins.
    EXPECT_EQ(Captures("%s tells you %*", "Bob, tells you hi"), No);
    // The word starts after the last word-ending character before the literal.
    EXPECT_EQ(Captures("%s says", "[guard] Kim says"), Strings{"Kim"});
    EXPECT_EQ(Captures("x %s tells", "x a,b tells"), Strings{"b"});
    // A word-ending character right at the start is kept; anywhere else it fails the word.
    EXPECT_EQ(Captures("x%s tells", "x,b tells"), Strings{",b"});
    EXPECT_EQ(Captures("tells %s", "Bob tells x,y"), No);
    EXPECT_EQ(Captures("tells %s", "Bob tells "), No);
    EXPECT_EQ(Captures("%s hits", "hits hits"), Strings{"hits"});
}

TEST(PatternTest, WordBeforeDigits)
{
    EXPECT_EQ(Captures("%s%d coins", "gold42 coins"), (Strings{"gold", "42"}));
    EXPECT_EQ(Captures("you have %s%d", "you have 5"), No);
}

TEST(PatternTest, DigitsFirstAndAnyText)
{
    EXPECT_EQ(Captures("%d gold", "you get 15 gold"), Strings{"15"});
    EXPECT_EQ(Captures("%d gold", "you get gold"), No);
    EXPECT_EQ(Captures("%*abc", "abcdef"), No);
    EXPECT_EQ(Captures("%*abc", "xyabcdef"), Strings{"xy"});
    EXPECT_EQ(Captures("abc%*", "abc"), Strings{""});
    EXPECT_EQ(Captures("a%*b%*c", "a1b2c3"), (Strings{"1", "2"}));
}

TEST(PatternTest, Anchors)
{
    EXPECT_FALSE(Matches("^abc", "xabc"));
    EXPECT_TRUE(Matches("^abc", "abcd"));
    EXPECT_TRUE(Matches("^^abc", "x^abc"));
    // Only the first character is compared; the literal then goes to its first occurrence.
    EXPECT_TRUE(Matches("^ab", "a ab"));
    // An anchored capture must be the beginning of the line.
    EXPECT_EQ(Captures("^%d hp", "12 hp"), Strings{"12"});
    EXPECT_EQ(Captures("^%d hp", "x 12 hp"), No);
    EXPECT_EQ(Captures("^%s says", "Kim says"), Strings{"Kim"});
}

TEST(PatternTest, PatternsThatNeverMatch)
{
    for (const char* p : {"", "%s", "%*", "%d", "^", "%s%*"})
        EXPECT_FALSE(CompilePattern(p).Valid) << p;
    EXPECT_FALSE(Matches("%s", "anything"));
    // '%' before another character is literal text.
    EXPECT_TRUE(Matches("50%x", "it is 50%x off"));
    // More than ten captures, or a pattern beyond 999 bytes, is refused.
    EXPECT_FALSE(CompilePattern("a%*a%*a%*a%*a%*a%*a%*a%*a%*a%*a%*").Valid);
    EXPECT_TRUE(CompilePattern("a%*a%*a%*a%*a%*a%*a%*a%*a%*a%*").Valid);
    EXPECT_FALSE(CompilePattern(AnsiString(1000, 'a')).Valid);
    EXPECT_TRUE(CompilePattern(AnsiString(999, 'a')).Valid);
}

TEST(PatternTest, NeverStartsOnTheSecondByteOfAPair)
{
    // 똠 is 8C 63: its second byte is 'c'.
    EXPECT_FALSE(Matches("cat", "\x8C" "cat"));
    EXPECT_TRUE(Matches("cat", "\x8C" "c cat"));
    EXPECT_TRUE(Matches("cat", "cat"));
    // Hangul literals: 한 C7 D1, 국 B1 B9.
    EXPECT_EQ(Captures("\xC7\xD1 %d", "\xB1\xB9\xC7\xD1 42"), Strings{"42"});
    // D1 C7 inside "xC7 D1 C7 D1" must not be read as a character.
    EXPECT_EQ(Captures("\xD1\xC7", "\xC7\xD1\xC7\xD1"), No);
    EXPECT_EQ(Captures("^\xC7\xD1", "\xC7\xB1 \xC7\xD1"), No);
}

TEST(PatternTest, CapturesAreCutAt1024BytesWithoutSplittingAPair)
{
    const AnsiString longText(1500, 'x');
    const Strings got = Captures("say %*", "say " + longText);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].size(), 1024u);

    AnsiString hangul = "say x";
    for (int i = 0; i < 700; ++i)
        hangul += "\xC7\xD1";
    const Strings cut = Captures("say %*", hangul);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].size(), 1023u);  // 'x' and 511 whole pairs
    // A digits capture is cut at its first non-digit.
    EXPECT_EQ(Captures("hp %d%*", "hp 12abc"), (Strings{"12", "abc"}));
}

TEST(PatternTest, StaticPatterns)
{
    EXPECT_TRUE(IsStaticPattern("hp %d/%d (%s)"));
    EXPECT_TRUE(IsStaticPattern("50% off (sale)"));
    EXPECT_FALSE(IsStaticPattern("@(target) arrives"));
    EXPECT_FALSE(IsStaticPattern("%random(1,2) x"));
    EXPECT_FALSE(IsStaticPattern("%s(%d)"));  // read as a call, so expanded each time
}

TEST(PatternTest, WakeShapes)
{
    EXPECT_EQ(CompilePattern("hp %d/").Wake, TWakeShape::EndsLiteral);
    EXPECT_EQ(CompilePattern("%s tells you %*").Wake, TWakeShape::EndsLiteral);
    EXPECT_EQ(CompilePattern("%s tells you %*").WakeLiteral, " tells you ");
    EXPECT_EQ(CompilePattern("tells %s").Wake, TWakeShape::EndsWord);
    EXPECT_EQ(CompilePattern("hp %d").Wake, TWakeShape::EndsDigits);
    EXPECT_EQ(CompilePattern("a%*%d").Wake, TWakeShape::Always);
}

} // namespace
