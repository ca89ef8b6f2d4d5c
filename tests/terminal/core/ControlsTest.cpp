#include <gtest/gtest.h>

#include "TermTestSupport.h"

namespace {

struct BeepCounter : ITerminalPainter {
    int beeps = 0;
    void Beep() override { ++beeps; }
};

TEST(Controls, PrintedBytesAndControlsAreReportedOneByOne)
{
    RecordingTerminal r;
    r.Feed("abc\r\n");
    EXPECT_EQ(r.events, Pieces("abc\r\n"));
    EXPECT_EQ(r.Line(0), "abc");
    EXPECT_EQ(r.t.CurX(), 0);
    EXPECT_EQ(r.t.CurY(), 1);
}

TEST(Controls, CarriageReturnStaysOnTheLineAndFiresOnLine)
{
    RecordingTerminal r;
    r.Feed("hello\rHE");
    EXPECT_EQ(r.Line(0), "HEllo");
    EXPECT_EQ(r.lines, std::vector<std::string>{"hello"});
    r.Feed("\r");  // nothing on an empty line
    r.Feed("\n\r");
    EXPECT_EQ(r.lines.size(), 2u);
}

TEST(Controls, BellBeepsAndBackspaceStopsAtColumnZero)
{
    RecordingTerminal r;
    BeepCounter p;
    r.t.SetPainter(&p);
    r.Feed("\a\b\bab\bX");
    EXPECT_EQ(p.beeps, 1);
    EXPECT_EQ(r.Line(0), "aX");
    EXPECT_EQ(r.events, Pieces("\a\b\bab\bX"));
}

TEST(Controls, TabIsAlwaysEightBlanks)
{
    RecordingTerminal r;
    r.Feed("abc\t");
    EXPECT_EQ(r.t.CurX(), 11);
    r.Feed("d");
    EXPECT_EQ(r.Line(0), "abc        d");
    EXPECT_EQ(r.Runs(0).size(), 1u);  // same colours merge
}

TEST(Controls, ShiftInIsDroppedRightAfterColourOnly)
{
    RecordingTerminal r;
    r.Feed("\x1b[0m\x0f" "a\x0f");
    EXPECT_EQ(r.Line(0), "a\x0f");
    EXPECT_EQ(r.events, Pieces("a\x0f"));
}

TEST(Controls, NulOnlyFlushes)
{
    RecordingTerminal r;
    r.Feed(std::string("a\0b", 3));
    EXPECT_EQ(r.Line(0), "ab");
    EXPECT_EQ(r.events, Pieces("ab"));
}

TEST(Controls, C1BytesActEvenAfterALeadByte)
{
    // 0x84 (index) after a lead byte: the lead byte is written on its own, the cursor moves down.
    RecordingTerminal r;
    r.Feed("a\xB0\x84z");
    EXPECT_EQ(r.Line(0), "a\xB0");
    EXPECT_EQ(r.t.CurY(), 1);
    EXPECT_EQ(r.t.Data().Strings(1), std::string(2, ' ') + "z");
    r.Feed("\x85q\x8dr");
    EXPECT_EQ(r.Line(2), "q");
    EXPECT_EQ(r.Line(1), " rz");
    r.Feed("\x9b" "2Ax");  // 0x9B opens a control sequence
    EXPECT_EQ(r.Line(0), "a\xB0x");
}

TEST(Controls, EscapeSelection)
{
    RecordingTerminal r;
    r.Feed("\x1b#3ab");  // the digit after ESC # is swallowed
    EXPECT_EQ(r.Line(0), "ab");
    r.Feed("\x1b=\x1b>c");
    EXPECT_EQ(r.Line(0), "abc");
    r.Feed("\x1bGz");  // column 79 wraps at once
    EXPECT_EQ(r.t.CurY(), 1);
    r.Feed("\x1bqx");  // a byte with no meaning anywhere ends the escape and is printed
    EXPECT_EQ(r.Line(1), "zqx");
}

TEST(Controls, ListedByteAfterEscapeIsPrintedAndKeepsTheEscapeOpen)
{
    RecordingTerminal r;
    // 'H' is collected while the escape stays open, then '[' still opens the sequence, whose
    // move happens before the collected text is written.
    r.Feed("\x1bH[2C!");
    EXPECT_EQ(r.Line(0), "  H!");
}

TEST(Controls, AtSignActsAsEscapeWithAlphaUse)
{
    RecordingTerminal r;
    r.t.AlphaUse = true;
    r.Feed("@[1;31mx");
    EXPECT_EQ(r.Line(0), "x");
    EXPECT_EQ(r.RowRuns(0)[0].FontColor, clRed);
    RecordingTerminal plain;
    plain.Feed("@[1;31mx");
    EXPECT_EQ(plain.Line(0), "@[1;31mx");
}

TEST(Controls, HangulByteEndsAnOpenSequence)
{
    RecordingTerminal r;
    r.Feed("\x1b[3\xB0\xA1" "A");
    EXPECT_EQ(r.Line(0), "\xB0\xA1" "A");
}

}  // namespace
