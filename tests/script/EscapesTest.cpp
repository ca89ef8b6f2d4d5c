#include "ScriptTestFixture.h"

#include "script/Escapes.h"

TEST(EscapesTest, DollarEscapes)
{
    EXPECT_EQ(ExpandEscapes("abc$#065$E"), "abcA\x1B");
    EXPECT_EQ(ExpandEscapes("$e$$"), "\x1B$");
    EXPECT_EQ(ExpandEscapes("$G66x"), "Bx");
    // Up to three digits; above 255 the byte is taken modulo 255.
    EXPECT_EQ(ExpandEscapes("$#0651"), "A1");
    EXPECT_EQ(ExpandEscapes("$#300"), "\x2D");
    EXPECT_EQ(ExpandEscapes("$#255"), "\xFF");
    // Unknown escapes vanish with their character; a final '$' ends the text.
    EXPECT_EQ(ExpandEscapes("a$:b$\"c$"), "abc");
    EXPECT_EQ(ExpandEscapes("no escapes"), "no escapes");
}

TEST(EscapesTest, ByteZeroIsKept)
{
    EXPECT_EQ(ExpandEscapes("a$#b"), AnsiString("a\0b", 3));
}

TEST_F(ScriptTest, SendCommandAddsLineEndUnlessOneEndsTheText)
{
    state.SendCommand("abc$#065$E");
    EXPECT_EQ(Sends(), (Strings{"abcA\x1B", "\r\n"}));
    host.Clear();
    state.SendCommand("abc\r");
    state.SendCommand("def\n");
    EXPECT_EQ(Sends(), (Strings{"abc\r", "def\n"}));
    host.Clear();
    state.SendCommand("");
    state.SendCommand("|");
    EXPECT_EQ(Sends(), (Strings{"\r\n"}));
}

TEST_F(ScriptTest, SendCommandDropsOneHashBeforeEscapesAndLeavesBackslashLinesAlone)
{
    state.SendCommand("#a$E");
    state.SendCommand("\\a$E");
    state.SendCommand("#\\a$E");
    state.SendCommand("#plain");
    EXPECT_EQ(Lines(), (Strings{"a\x1B", "\\a$E", "\\a$E", "#plain"}));
}

TEST_F(ScriptTest, TypedEscapesReachTheGame)
{
    Run("abc$#065$E\r\n");
    EXPECT_EQ(Sends(), (Strings{"abcA\x1B", "\r\n"}));
}
