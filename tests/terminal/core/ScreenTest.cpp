// What byte streams leave on the screen: controls, escapes, wrapping, cursor moves, erasing,
// inserting and deleting, scroll regions and the scroll-back.
#include "TermTestSupport.h"

namespace {

const std::string X78(78, 'x'), X79(79, 'x'), Blank80(80, ' ');
const std::string Rows25 = Numbered("r", 1, 25, true);

const Scenario kScenarios[] = {
    // Controls and escapes.
    {"PrintedBytesAndControlsAreReportedOneByOne", {{"abc\r\n", {"e=abc\r\n", "L0=abc", "x=0", "y=1"}}}},
    {"SequencesAreNotReportedButTheirTextIs", {{"\x1b[1;31mHP\x1b[0m:\t9\a\b\r\n", {"e=HP:\t9\a\b\r\n"}}}},
    {"CarriageReturnStaysOnTheLineAndFiresOnLine",  // and fires nothing on an empty line
     {{"hello\rHE", {"L0=HEllo", "n=1", "o=hello"}}, {"\r", {}}, {"\n\r", {"n=2"}}}},
    {"TabIsAlwaysEightBlanksInOneRun", {{"abc\t", {"x=11"}}, {"d", {"L0=abc        d", "c0=1"}}}},
    {"ShiftInIsDroppedRightAfterColourOnly",
     {{"\x1b[0m\x0f"
       "a\x0f",
       {"L0=a\x0f", "e=a\x0f"}}}},
    {"NulOnlyFlushes", {{std::string("a\0b", 3), {"L0=ab", "e=ab"}}}},
    // 0x84 (index) after a lead byte: the lead byte is written on its own, the cursor moves
    // down; 0x9B opens a control sequence.
    {"C1BytesActEvenAfterALeadByte",
     {{"a\xB0\x84z", {"L0=a\xB0", "y=1", "L1=  z"}},
      {"\x85q\x8dr", {"L2=q", "L1= rz"}},
      {"\x9b"
       "2Ax",
       {"L0=a\xB0x"}}}},
    // The digit after ESC # is swallowed; ESC G puts the cursor on column 79, which wraps at
    // once; a byte with no meaning anywhere ends the escape and is printed.
    {"EscapeSelection",
     {{"\x1b#3ab", {"L0=ab"}}, {"\x1b=\x1b>c", {"L0=abc"}}, {"\x1bGz", {"y=1"}}, {"\x1bqx", {"L1=zqx"}}}},
    // 'H' is collected while the escape stays open, then '[' still opens the sequence, whose
    // move happens before the collected text is written.
    {"ListedByteAfterEscapeIsPrintedAndKeepsTheEscapeOpen", {{"\x1bH[2C!", {"L0=  H!"}}}},
    {"AtSignIsTextWithoutAlphaUse", {{"@[1;31mx", {"L0=@[1;31mx"}}}},
    {"HangulByteEndsAnOpenSequence",
     {{"\x1b[3\xB0\xA1"
       "A",
       {"L0=\xB0\xA1"
        "A"}}}},
    // Wrapping: the wrap's CR still reports the line, the wrap itself is no piece.
    {"SeventyNineCharactersWrapAndTheWrapIsNotReported",
     {{X79, {"y=1", "x=0", "L0=" + X79, "E=79", "n=1"}}, {"y", {"L1=y"}}}},
    {"HangulPairIsNeverSplit",
     {{X78 +
           "\xC7\xD1"
           "z",
       {"L0=" + X78 + "\xC7\xD1", "L1=z", "E=81"}}}},
    {"PairSplitAcrossCallsCompletes",  // nothing drawn until the trail byte arrives
     {{"a\xC7", {"L0=", "k=a\xC7"}},
      {"\xD1"
       "b",
       {"L0=a\xC7\xD1"
        "b",
        "e=a\xC7\xD1"
        "b"}}}},
    {"PairSplitAcrossCallsAtTheWrapColumn", {{X78 + "\xC7", {"y=0"}}, {"\xD1", {"L0=" + X78 + "\xC7\xD1", "y=1"}}}},
    {"NarrowScreenWrapsEveryByteWithoutLooping",
     {{"ab\xC7\xD1", {"L0=a", "L1=b", "L2=\xC7\xD1"}}},
     [](TTerminalCore& t) { t.SetColumns(1); }},
    {"CursorMovedPastTheEdgeWrapsAtOnce", {{"\x1b[999999C", {"y=1", "x=0"}}}},
    // ESC then a digit: the digit is printed while the escape stays open, then the move.
    {"TextCollectedBeforeAHugeMoveStaysBounded",
     {{"\x1b"
       "5[999999C\x1b"
       "5[1;999999H",
       {"W0=81", "W1=81", "W2=81", "W3=81"}}}},
    // Cursor moves: one parameter of H is the row only; 0 counts as 1 in relative moves, whose
    // last parameter counts.
    {"PositionIsOneBased",
     {{"\x1b[5;10H", {"y=4", "x=9"}},
      {"\x1b[7f", {"y=6", "x=0"}},
      {"\x1b[;3H", {"y=0", "x=2"}},
      {"\x1b[0;0H", {"y=0", "x=0"}},
      {"\x1b[99;1H", {"y=24"}}}},
    {"PositionIsRelativeToTheLiveScreen", {{Repeat("line\r\n", 30), {"m=6", "v=6"}}, {"\x1b[1;1Htop", {"L6=tope"}}}},
    {"RelativeMovesUseTheLastParameterAndClamp",
     {{"\x1b[10;10H\x1b[3A", {"y=6"}},
      {"\x1b[A", {"y=5"}},
      {"\x1b[0A", {"y=4"}},
      {"\x1b[99A", {"y=0"}},
      {"\x1b[99B", {"y=24"}},
      {"\x1b[5C", {"x=14"}},
      {"\x1b[2;4D", {"x=10"}},
      {"\x1b[99D", {"x=0"}}}},
    {"HugeParametersSaturate",
     {{"\x1b[99999999999999999999A\x1b[4294967297B\x1b[" + std::string(5000, '9') + "D",
       {"y=24", "x=0", "param=" + std::to_string(TTerminalCore::kMaxParamValue)}}}},
    {"ManyParametersAreBounded",
     {{"\x1b[" + Repeat("1;", 100000) + "31mx", {"params=" + std::to_string(TTerminalCore::kMaxParams), "L0=x"}}}},
    {"ReverseIndexControlNeverLeavesTheScreen",
     {{Repeat("\r\n", 30) + "\x8d\x8d", {"r=22"}}, {"\x1b[1;1H\x8d", {"r=0"}}}},
    // Erasing: erase in line clears one past the right edge; mode 3 has no effect.
    {"EraseLineModes",
     {{"abcdefgh\x1b[1;4H\x1b[K", {"L0=abc" + std::string(78, ' ')}},
      {"\r\nabcdefgh\x1b[2;4H\x1b[1K", {"L1=    efgh"}},
      {"\x1b[2K", {"L1=" + Blank80, "c1=1"}},
      {"\x1b[3K", {"L1=" + Blank80}}}},
    {"EraseCharactersIsClampedToTheScreen", {{"\x1b[1;70H\x1b[999999X", {"S0=80"}}}},
    {"ClearScreenKeepsThePreviousScreenInTheScrollBack",
     {{Numbered("row", 1, 25, true), {"m=0"}}, {"\x1b[2J", {"m=25", "y=25", "x=0", "L0=row1", "L24=row25", "B0=24"}}}},
    // The line the cursor lands on is blank, so a shorter new line shows nothing of the old one.
    {"ClearScreenDoesNotLeaveOldTextUnderNewText",
     {{Repeat("\r\n", 24) + "Welcome to the game\x1b[2JHi\r\n", {"o=Hi"}}}},
    // J 1 clears the rows above and the cells left of the cursor; at the top left, J clears
    // the whole screen.
    {"EraseBelowAndAbove",
     {{"aaaa\r\nbbbb\r\ncccc\x1b[2;3H\x1b[J", {"R0=aaaa", "R1=bb", "R2="}},
      {"\x1b[2;1Hxyzw\x1b[2;3H\x1b[1J", {"R0=", "R1=  zw"}},
      {"\x1b[1;1H\x1b[J", {"m=25"}}}},
    // Lines: nothing is pushed below the screen.
    {"InsertAndDeleteLines",
     {{Rows25 + "\x1b[3;1H\x1b[2L", {"R1=r2", "R2=", "R3=", "R4=r3", "R24=r23", "L25=", "L26="}},
      {"\x1b[2;1H\x1b[3M", {"R0=r1", "R1=r3", "R21=r23", "R22="}},
      {"\x1b[999L", {"B1=24", "R0=r1"}}}},
    // The line scrolled in at the bottom is blank, not r25.
    {"ReverseIndexAtTheTopScrollsOnlyTheScreen",
     {{Rows25 + "\x1b[1;1H\x1bM", {"R0=", "R1=r1", "R24=r24"}}, {"\x1b[25;1H\r\n", {"R24="}}}},
    // Regions: a region needs two rows, the whole screen is none.
    {"WholeScreenRegionIsOff",
     {{"\x1b[1;25r", {"g=0"}},
      {"\x1b[r", {"g=0"}},
      {"\x1b[5;5r", {"g=0"}},
      {"\x1b[1;24r", {"g=1"}},
      {"\x1b[3;99r", {"g=1", "b=25"}}}},
    {"SettingARegionHomesTheCursor", {{"\x1b[10;10H\x1b[5;20r", {"x=0", "y=0"}}}},
    // The line that left the region went into the scroll-back.
    {"LineFeedOnTheBottomRowScrollsOnlyTheRegion",
     {{Rows25 + "\x1b[5;10r\x1b[10;1H\nnew",
       {"R3=r4", "R4=r6", "R8=r10", "R9=new", "R10=r11", "R24=r25", "m=1", "L0=r5"}}}},
    {"LineFeedElsewhereOnlyMovesTheCursor", {{Rows25 + "\x1b[5;10r\x1b[3;1H\n", {"y=3", "m=0"}}}},
    // Below the region only the screen limits the cursor.
    {"CursorMovesStopAtTheRegion",
     {{"\x1b[5;10r\x1b[7;1H\x1b[9A", {"y=4"}},
      {"\x1b[9B", {"y=9"}},
      {"\x1b[15;1H\x1b[2A", {"y=12"}},
      {"\x1b[99B", {"y=24"}}}},
    {"ReverseIndexOnTheTopRowScrollsTheRegionDown",
     {{Rows25 + "\x1b[5;10r\x1b[5;1H\x1bMtop", {"R3=r4", "R4=top", "R5=r5", "R9=r9", "R10=r11"}}}},
    {"RegionScrollWithAFullBuffer",
     {{Numbered("x", 0, 10099), {"m=9975"}},
      {Rows25 + "\x1b[2;5r\x1b[5;1H\n", {"R0=r1", "R1=r3", "R3=r5", "R4=", "R5=r6", "l-1=r2", "m=9975"}}}},
    // The scroll-back: 9999 lines of text and the empty cursor line.
    {"TwentyThousandLinesKeepTheNewestTenThousand",
     {{Numbered("n", 0, 19999), {"m=9975", "y=9999", "L9998=n19999", "L0=n10001", "R23=n19999"}}}},
    // The digit and A B C are swallowed, 'm' still acts; a byte outside the language ends the
    // sequence and is printed.
    {"CaretSubModeSwallowsItsBytes", {{"\x1b[^1ABCm!", {"L0=!", "y=0", "h=0"}}, {"\x1b[^x", {"L0=!x"}}}},
};

}  // namespace

TEST(Screen, EveryScenario)
{
    for (const Scenario& s : kScenarios)
        RunScenario(s);
}

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
    Check(r, "r=9");
    Check(r, "R8=n23");
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
    Check(r, "R28=n2");
    EXPECT_EQ(r.t.MaxLinePos() + r.t.PageSize(), 9999);
}
