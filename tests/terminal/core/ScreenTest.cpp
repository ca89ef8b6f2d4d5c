// What byte streams leave on the screen: controls, escapes, wrapping, cursor moves, erasing,
// inserting and deleting, scroll regions and the scroll-back.
#include "TermTestSupport.h"

namespace {

const std::string X78(78, 'x'), X79(79, 'x'), Blank80(80, ' ');
const std::string Rows25 = Numbered("r", 1, 25, true);

const Scenario kScreenScenarios[] = {
    // Controls and escapes.
    {"PrintedBytesAndControlsAreReportedOneByOne",
     {{"abc\r\n", {"reported=abc\r\n", "line0=abc", "curX=0", "curY=1"}}}},
    {"SequencesAreNotReportedButTheirTextIs", {{"\x1b[1;31mHP\x1b[0m:\t9\a\b\r\n", {"reported=HP:\t9\a\b\r\n"}}}},
    {"CarriageReturnStaysOnTheLineAndFiresOnLine",  // and fires nothing on an empty line
     {{"hello\rHE", {"line0=HEllo", "lineEvents=1", "lastLine=hello"}}, {"\r", {}}, {"\n\r", {"lineEvents=2"}}}},
    {"TabIsAlwaysEightBlanksInOneRun", {{"abc\t", {"curX=11"}}, {"d", {"line0=abc        d", "runs0=1"}}}},
    {"ShiftInIsDroppedRightAfterColourOnly",
     {{"\x1b[0m\x0f"
       "a\x0f",
       {"line0=a\x0f", "reported=a\x0f"}}}},
    {"NulOnlyFlushes", {{std::string("a\0b", 3), {"line0=ab", "reported=ab"}}}},
    // 0x84 (index) after a lead byte: the lead byte is written on its own, the cursor moves
    // down; 0x9B opens a control sequence.
    {"C1BytesActEvenAfterALeadByte",
     {{"a\xB0\x84z", {"line0=a\xB0", "curY=1", "line1=  z"}},
      {"\x85q\x8dr", {"line2=q", "line1= rz"}},
      {"\x9b"
       "2Ax",
       {"line0=a\xB0x"}}}},
    // The digit after ESC # is swallowed; ESC G puts the cursor on column 79, which wraps at
    // once; a byte with no meaning anywhere ends the escape and is printed.
    {"EscapeSelection",
     {{"\x1b#3ab", {"line0=ab"}}, {"\x1b=\x1b>c", {"line0=abc"}}, {"\x1bGz", {"curY=1"}}, {"\x1bqx", {"line1=zqx"}}}},
    // 'H' is collected while the escape stays open, then '[' still opens the sequence, whose
    // move happens before the collected text is written.
    {"ListedByteAfterEscapeIsPrintedAndKeepsTheEscapeOpen", {{"\x1bH[2C!", {"line0=  H!"}}}},
    {"AtSignIsTextWithoutAlphaUse", {{"@[1;31mx", {"line0=@[1;31mx"}}}},
    {"HangulByteEndsAnOpenSequence",
     {{"\x1b[3\xB0\xA1"
       "A",
       {"line0=\xB0\xA1"
        "A"}}}},
    // Wrapping: the wrap's CR still reports the line, the wrap itself is no piece.
    {"SeventyNineCharactersWrapAndTheWrapIsNotReported",
     {{X79, {"curY=1", "curX=0", "line0=" + X79, "reportedCount=79", "lineEvents=1"}}, {"y", {"line1=y"}}}},
    {"HangulPairIsNeverSplit",
     {{X78 +
           "\xC7\xD1"
           "z",
       {"line0=" + X78 + "\xC7\xD1", "line1=z", "reportedCount=81"}}}},
    {"PairSplitAcrossCallsCompletes",  // nothing drawn until the trail byte arrives
     {{"a\xC7", {"line0=", "collected=a\xC7"}},
      {"\xD1"
       "b",
       {"line0=a\xC7\xD1"
        "b",
        "reported=a\xC7\xD1"
        "b"}}}},
    {"PairSplitAcrossCallsAtTheWrapColumn",
     {{X78 + "\xC7", {"curY=0"}}, {"\xD1", {"line0=" + X78 + "\xC7\xD1", "curY=1"}}}},
    {"NarrowScreenWrapsEveryByteWithoutLooping",
     {{"ab\xC7\xD1", {"line0=a", "line1=b", "line2=\xC7\xD1"}}},
     [](TTerminalCore& t) { t.SetColumns(1); }},
    {"CursorMovedPastTheEdgeWrapsAtOnce", {{"\x1b[999999C", {"curY=1", "curX=0"}}}},
    // ESC then a digit: the digit is printed while the escape stays open, then the move.
    {"TextCollectedBeforeAHugeMoveStaysBounded",
     {{"\x1b"
       "5[999999C\x1b"
       "5[1;999999H",
       {"lengthAtMost0=81", "lengthAtMost1=81", "lengthAtMost2=81", "lengthAtMost3=81"}}}},
    // Cursor moves: one parameter of H is the row only; 0 counts as 1 in relative moves, whose
    // last parameter counts.
    {"PositionIsOneBased",
     {{"\x1b[5;10H", {"curY=4", "curX=9"}},
      {"\x1b[7f", {"curY=6", "curX=0"}},
      {"\x1b[;3H", {"curY=0", "curX=2"}},
      {"\x1b[0;0H", {"curY=0", "curX=0"}},
      {"\x1b[99;1H", {"curY=24"}}}},
    {"PositionIsRelativeToTheLiveScreen",
     {{Repeat("line\r\n", 30), {"maxLinePos=6", "linePos=6"}}, {"\x1b[1;1Htop", {"line6=tope"}}}},
    {"RelativeMovesUseTheLastParameterAndClamp",
     {{"\x1b[10;10H\x1b[3A", {"curY=6"}},
      {"\x1b[A", {"curY=5"}},
      {"\x1b[0A", {"curY=4"}},
      {"\x1b[99A", {"curY=0"}},
      {"\x1b[99B", {"curY=24"}},
      {"\x1b[5C", {"curX=14"}},
      {"\x1b[2;4D", {"curX=10"}},
      {"\x1b[99D", {"curX=0"}}}},
    {"HugeParametersSaturate",
     {{"\x1b[99999999999999999999A\x1b[4294967297B\x1b[" + std::string(5000, '9') + "D",
       {"curY=24", "curX=0", "param=" + std::to_string(TTerminalCore::kMaxParamValue)}}}},
    {"ManyParametersAreBounded",
     {{"\x1b[" + Repeat("1;", 100000) + "31mx", {"params=" + std::to_string(TTerminalCore::kMaxParams), "line0=x"}}}},
    {"ReverseIndexControlNeverLeavesTheScreen",
     {{Repeat("\r\n", 30) + "\x8d\x8d", {"cursorRow=22"}}, {"\x1b[1;1H\x8d", {"cursorRow=0"}}}},
    // Erasing: erase in line clears one past the right edge; mode 3 has no effect.
    {"EraseLineModes",
     {{"abcdefgh\x1b[1;4H\x1b[K", {"line0=abc" + std::string(78, ' ')}},
      {"\r\nabcdefgh\x1b[2;4H\x1b[1K", {"line1=    efgh"}},
      {"\x1b[2K", {"line1=" + Blank80, "runs1=1"}},
      {"\x1b[3K", {"line1=" + Blank80}}}},
    {"EraseCharactersIsClampedToTheScreen", {{"\x1b[1;70H\x1b[999999X", {"length0=80"}}}},
    {"ClearScreenKeepsThePreviousScreenInTheScrollBack",
     {{Numbered("row", 1, 25, true), {"maxLinePos=0"}},
      {"\x1b[2J", {"maxLinePos=25", "curY=25", "curX=0", "line0=row1", "line24=row25", "blankRows0=24"}}}},
    // The line the cursor lands on is blank, so a shorter new line shows nothing of the old one.
    {"ClearScreenDoesNotLeaveOldTextUnderNewText",
     {{Repeat("\r\n", 24) + "Welcome to the game\x1b[2JHi\r\n", {"lastLine=Hi"}}}},
    // J 1 clears the rows above and the cells left of the cursor; at the top left, J clears
    // the whole screen.
    {"EraseBelowAndAbove",
     {{"aaaa\r\nbbbb\r\ncccc\x1b[2;3H\x1b[J", {"row0=aaaa", "row1=bb", "row2="}},
      {"\x1b[2;1Hxyzw\x1b[2;3H\x1b[1J", {"row0=", "row1=  zw"}},
      {"\x1b[1;1H\x1b[J", {"maxLinePos=25"}}}},
    // Lines: nothing is pushed below the screen.
    {"InsertAndDeleteLines",
     {{Rows25 + "\x1b[3;1H\x1b[2L", {"row1=r2", "row2=", "row3=", "row4=r3", "row24=r23", "line25=", "line26="}},
      {"\x1b[2;1H\x1b[3M", {"row0=r1", "row1=r3", "row21=r23", "row22="}},
      {"\x1b[999L", {"blankRows1=24", "row0=r1"}}}},
    // The line scrolled in at the bottom is blank, not r25.
    {"ReverseIndexAtTheTopScrollsOnlyTheScreen",
     {{Rows25 + "\x1b[1;1H\x1bM", {"row0=", "row1=r1", "row24=r24"}}, {"\x1b[25;1H\r\n", {"row24="}}}},
    // Regions: a region needs two rows, the whole screen is none.
    {"WholeScreenRegionIsOff",
     {{"\x1b[1;25r", {"regionOn=0"}},
      {"\x1b[r", {"regionOn=0"}},
      {"\x1b[5;5r", {"regionOn=0"}},
      {"\x1b[1;24r", {"regionOn=1"}},
      {"\x1b[3;99r", {"regionOn=1", "regionBottom=25"}}}},
    {"SettingARegionHomesTheCursor", {{"\x1b[10;10H\x1b[5;20r", {"curX=0", "curY=0"}}}},
    // The line that left the region went into the scroll-back.
    {"LineFeedOnTheBottomRowScrollsOnlyTheRegion",
     {{Rows25 + "\x1b[5;10r\x1b[10;1H\nnew",
       {"row3=r4", "row4=r6", "row8=r10", "row9=new", "row10=r11", "row24=r25", "maxLinePos=1", "line0=r5"}}}},
    {"LineFeedElsewhereOnlyMovesTheCursor", {{Rows25 + "\x1b[5;10r\x1b[3;1H\n", {"curY=3", "maxLinePos=0"}}}},
    // Below the region only the screen limits the cursor.
    {"CursorMovesStopAtTheRegion",
     {{"\x1b[5;10r\x1b[7;1H\x1b[9A", {"curY=4"}},
      {"\x1b[9B", {"curY=9"}},
      {"\x1b[15;1H\x1b[2A", {"curY=12"}},
      {"\x1b[99B", {"curY=24"}}}},
    {"ReverseIndexOnTheTopRowScrollsTheRegionDown",
     {{Rows25 + "\x1b[5;10r\x1b[5;1H\x1bMtop", {"row3=r4", "row4=top", "row5=r5", "row9=r9", "row10=r11"}}}},
    {"RegionScrollWithAFullBuffer",
     {{Numbered("x", 0, 10099), {"maxLinePos=9975"}},
      {Rows25 + "\x1b[2;5r\x1b[5;1H\n",
       {"row0=r1", "row1=r3", "row3=r5", "row4=", "row5=r6", "liveLine-1=r2", "maxLinePos=9975"}}}},
    // The scroll-back: 9999 lines of text and the empty cursor line.
    {"TwentyThousandLinesKeepTheNewestTenThousand",
     {{Numbered("n", 0, 19999), {"maxLinePos=9975", "curY=9999", "line9998=n19999", "line0=n10001", "row23=n19999"}}}},
    // The digit and A B C are swallowed, 'm' still acts; a byte outside the language ends the
    // sequence and is printed.
    {"CaretSubModeSwallowsItsBytes", {{"\x1b[^1ABCm!", {"line0=!", "curY=0", "bright=0"}}, {"\x1b[^x", {"line0=!x"}}}},
};

}  // namespace

class ScreenScenario : public ::testing::TestWithParam<Scenario> {};

TEST_P(ScreenScenario, LeavesTheScreen) { RunScenario(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Screen, ScreenScenario, ::testing::ValuesIn(kScreenScenarios), ScenarioName);

TEST(Screen, IsHanLeadByteCountsBackToTheLastSingleByte)
{
    const std::string s = "a\xC7\xD1\xB1";
    const bool lead[] = {false, false, true, false, true, false};
    for (int i = 0; i <= 5; ++i)
        EXPECT_EQ(TTerminalCore::IsHanLeadByte(s, i), lead[i]) << i;
    EXPECT_TRUE(TTerminalCore::IsHanLeadByte(s));
}

TEST(Screen, ScrollViewIsClampedToTheBuffer)
{
    RecordingTerminal r;
    r.Feed(Numbered("n", 0, 99));
    EXPECT_TRUE(r.t.ScrollView(-5));
    EXPECT_EQ(r.t.LinePos(), 0);
    EXPECT_TRUE(r.t.ScrollView(100000));
    EXPECT_EQ(r.t.LinePos(), r.t.MaxLinePos());
    EXPECT_FALSE(r.t.ScrollView(100000));
}

TEST(Screen, ShrinkingKeepsTheCursorLineOnTheLastRow)
{
    RecordingTerminal r;
    std::vector<int> counts;
    r.t.OnChangeRow = [&](int n) { counts.push_back(n); };
    r.Feed(Numbered("n", 0, 23));
    r.t.SetRow(9);
    Check(r, "cursorRow=9");
    Check(r, "row8=n23");
    r.t.SetRow(9);  // unchanged: no event
    r.t.SetRow(0);  // ignored
    EXPECT_EQ(counts, std::vector<int>{10});
}

TEST(Screen, GrowingWithAFullBufferKeepsScrollingOnLineFeed)
{
    RecordingTerminal r;
    r.Feed(Numbered("n", 0, 11999));
    r.t.SetRow(29);
    EXPECT_EQ(r.t.MaxLinePos() + r.t.PageSize(), 9999);
    r.Feed(Numbered("n", 0, 2));
    Check(r, "row28=n2");
    EXPECT_EQ(r.t.MaxLinePos() + r.t.PageSize(), 9999);
}
