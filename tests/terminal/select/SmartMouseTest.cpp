#include <gtest/gtest.h>

#include "terminal/select/SmartMouse.h"
#include "tests/platform/core/Cp949Text.h"

namespace {

// The column (as the mouse gives it) whose 1-based index points at the first byte of `what`.
int ColOf(const AnsiString& line, const AnsiString& what, int extra = 0)
{
    return static_cast<int>(line.find(what)) + 1 + extra;
}

void ExpectItem(const TSmartItem& item, const AnsiString& text, int start, int end, bool link = false)
{
    ASSERT_TRUE(item.Found);
    EXPECT_EQ(item.Text, text);
    EXPECT_EQ(item.StartCol, start);
    EXPECT_EQ(item.EndCol, end);
    EXPECT_EQ(item.IsLink, link);
}

TEST(SmartMouseMenu, MenuLineGivesItsNumberWhereverTheMouseIs)
{
    const AnsiString line = K("  12 : 북쪽으로 간다   ");
    ExpectItem(SmartMouse(line, 20), "12", 2, static_cast<int>(line.size()) - 3);
    // Marks before the number are skipped; '#' and ':' may stand before it.
    ExpectItem(SmartMouse("* #3 Go", 5), "3", 2, 7);
    ExpectItem(SmartMouse("T:7:north", 5), "7", 1, 9);
}

TEST(SmartMouseMenu, NumberNotEndedByBlankHashOrColonIsNoMenuLine)
{
    // "10kg" and a number that runs to the end are no menu lines; nothing else matches either.
    EXPECT_FALSE(SmartMouse("10kg of gold", 3).Found);
    EXPECT_FALSE(SmartMouse("   42", 4).Found);
}

TEST(SmartMouseDotted, NumberBeforeFullStopEndsAtTheNextItem)
{
    const AnsiString line = K("1.북쪽  2.남쪽  3.동쪽");
    const int col = ColOf(line, K("남쪽"));
    const int two = static_cast<int>(line.find("2."));
    // The item ends before "3." and its blanks.
    ExpectItem(SmartMouse(line, col), "2", two, two + 2 + 4);
    // Uppercase letters number items too.
    ExpectItem(SmartMouse("A.look B.get", 9), "B", 7, 12);
}

TEST(SmartMouseDotted, ItemStopsAtColonBarAndBlanksBeforeDash)
{
    ExpectItem(SmartMouse("5.sword : 100 gold", 4), "5", 0, 7);
    ExpectItem(SmartMouse("5.sword|shield", 4), "5", 0, 7);
    ExpectItem(SmartMouse("5.sword  - a blade", 4), "5", 0, 7);
    // A box-drawing character (lead byte A6) ends it as well.
    const AnsiString boxed = "7.axe" + K("│") + "x";
    ExpectItem(SmartMouse(boxed, 4), "7", 0, 5);
}

TEST(SmartMouseDotted, FullWidthDigitsBecomeAsciiDigits)
{
    const AnsiString line = K("１２.검  ３.방패");
    ExpectItem(SmartMouse(line, 6), "12", 0, 7);
    const int three = static_cast<int>(line.find(K("３")));
    ExpectItem(SmartMouse(line, static_cast<int>(line.size())), "3", three, static_cast<int>(line.size()));
}

TEST(SmartMouseDotted, TrailByteThatLooksLikeADigitOrLetterIsNoNumber)
{
    // 갂 is 81 41: its second byte reads 'A', yet "갂." is no item "A.".
    EXPECT_FALSE(SmartMouse("\x81\x41.abc", 4).Found);
}

TEST(SmartMouseBracket, BracketedNumber)
{
    const AnsiString line = K("상점 [ 3] 칼   [12] 방패 | 끝");
    ExpectItem(SmartMouse(line, ColOf(line, "]")), "3", ColOf(line, "[") - 1, ColOf(line, "] ") + 3);
    const int second = static_cast<int>(line.find("[12]"));
    const int bar = static_cast<int>(line.find('|'));
    ExpectItem(SmartMouse(line, bar), "12", second, bar - 1);
}

TEST(SmartMouseBracket, BracketAtLineStartOrWithOtherCharactersIsNotTaken)
{
    EXPECT_FALSE(SmartMouse("[3] first", 3).Found);
    // "[a3]": 'a' cancels; the prompt and word recognisers find nothing either.
    EXPECT_FALSE(SmartMouse("xx [a3] yy", 6).Found);
}

TEST(SmartMouseLink, WebAddressRunsToTheNextBlank)
{
    const AnsiString line = "see http://mud.example.org/x now";
    ExpectItem(SmartMouse(line, 2), "http://mud.example.org/x", 4, 28, true);
    ExpectItem(SmartMouse("go www2.mud.kr", 1 + 1), "www2.mud.kr", 3, 14, true);
}

TEST(SmartMousePrompt, EnterWordsGiveEmptyTextAndCoverTheWord)
{
    const AnsiString line = K("계속하려면 [Enter]를 누르세요");
    const int at = static_cast<int>(line.find("[Enter]"));
    ExpectItem(SmartMouse(line, 2), "", at, at + 7);
    ExpectItem(SmartMouse("press ENTER", 2), "", 6, 11);
    const AnsiString korean = K("엔터키를 치세요");
    ExpectItem(SmartMouse(korean, 2), "", 0, 6);
    const AnsiString shortWord = K("그냥 엔터");
    ExpectItem(SmartMouse(shortWord, 2), "", 5, 9);
}

TEST(SmartMousePrompt, YesPromptAnswersY)
{
    const AnsiString line = K("정말 'Y' 를 누르면 끝납니다");
    const int at = static_cast<int>(line.find("'Y'"));
    ExpectItem(SmartMouse(line, 2), "Y", at + 1, at + 2);
}

TEST(SmartMouseWord, HangulWordWithCommandInParentheses)
{
    const AnsiString line = K("출구: 북쪽(north) 남쪽(south)");
    const int south = static_cast<int>(line.find(K("남쪽")));
    ExpectItem(SmartMouse(line, south + 2), "south", south, south + 4 + 7);
}

TEST(SmartMouseWord, EnglishWordBetweenDelimiters)
{
    const AnsiString line = "exits [north, south ,east]";
    const int s = static_cast<int>(line.find("south"));
    ExpectItem(SmartMouse(line, s + 2), "south", s - 1, s + 6);
    // Blanks between letters are dropped from the text.
    ExpectItem(SmartMouse("x(go on)", 3), "goon", 2, 7);
    // A delimiter in the first column, or a character that is none, gives nothing.
    EXPECT_FALSE(SmartMouse("(north)", 3).Found);
    EXPECT_FALSE(SmartMouse("a north-east b", 4).Found);
}

TEST(SmartMouseBounds, FirstColumnAndColumnsPastTheLineRecogniseNothing)
{
    EXPECT_FALSE(SmartMouse("1 north", 0).Found);
    EXPECT_FALSE(SmartMouse("[Enter]", 8).Found);
    EXPECT_TRUE(SmartMouse("[Enter]", 7).Found);
}

TEST(SmartMouseHover, RectangleIsTheCellsWidenedByThree)
{
    TSmartItem item;
    item.StartCol = 2;
    item.EndCol = 9;
    EXPECT_EQ(SmartHoverRect(item, 4, 8, 16), (THoverRect{13, 61, 75, 83}));
    EXPECT_TRUE(THoverRect{}.IsNone());
}

}  // namespace
