// What the terminal reports and to whom: printed pieces, held text, handlers that feed text
// back, the painter's bell and the extension's own sequences.
#include "TermTestSupport.h"

namespace {

// Records the own sequences and takes hex digits as data while "picture mode" is on.
struct FakeExtension : ITerminalExtension {
    std::vector<std::string> seen;
    bool dataMode = false;
    std::string data;
    void Sequence(TTerminalCore& t, unsigned char final) override
    {
        std::string s(1, static_cast<char>(final));
        for (int i = 0; i < t.ParamCount(); ++i)
            s += " " + std::to_string(t.Param(i).Value);
        s += t.CurParam().Empty ? " -" : " " + std::to_string(t.CurParam().Value);
        s += " m" + std::to_string(t.SubMode());
        seen.push_back(s);
        if (final == ',' && t.SubMode() == saStar)
            dataMode = true;
    }
    bool DataByte(TTerminalCore&, unsigned char ch) override
    {
        if (!dataMode || !std::isxdigit(ch))
            return false;
        data.push_back(static_cast<char>(ch));
        if (data.size() % 4 == 0)
            dataMode = false;
        return true;
    }
};

struct BeepCounter : ITerminalPainter {
    int beeps = 0;
    void Beep() override { ++beeps; }
};

// Every test starts from a fresh recording terminal.
struct AfterPut : ::testing::Test {
    RecordingTerminal r;
};
using ExtensionHook = AfterPut;

}  // namespace

TEST_F(AfterPut, BellBeepsAndBackspaceStopsAtColumnZero)
{
    BeepCounter p;
    r.t.SetPainter(&p);
    r.Feed("\a\b\bab\bX");
    EXPECT_EQ(p.beeps, 1);
    Check(r, "line0=aX");
}

TEST_F(AfterPut, ReportComesBeforeTheByteTakesEffect)
{
    std::vector<int> columns;
    r.t.OnAfterPut = [&](const AnsiString& s) {
        if (s == "\b")
            columns.push_back(r.t.CurX());
    };
    r.Feed("abc\b");
    EXPECT_EQ(columns, std::vector<int>{3});
    EXPECT_EQ(r.t.CurX(), 2);
}

TEST_F(AfterPut, HeldTextIsShownInOrderWhenTheViewReturnsOrSelectingEnds)
{
    r.Feed(Numbered("l", 0, 39));
    r.events.clear();
    ASSERT_TRUE(r.t.ScrollView(3));
    r.Feed("one ");
    r.Feed("two");
    EXPECT_TRUE(r.events.empty());
    r.t.ScrollView(r.t.MaxLinePos());
    Check(r, "reported=one two");
    Check(r, "row24=one two");

    RecordingTerminal s;
    s.t.SetSelecting(true);
    s.Feed("abc");
    EXPECT_TRUE(s.events.empty());
    s.t.SetSelecting(false);
    s.t.ReleasePending();
    Check(s, "reported=abc");

    // Painting local text skips the gate.
    RecordingTerminal q;
    q.Feed(Numbered("n", 0, 39));
    q.t.ScrollView(0);
    q.t.PaintString("local");
    Check(q, "row24=local");
    EXPECT_TRUE(q.t.PendingText().empty());
}

TEST_F(AfterPut, HandlerFeedingTextBackIsDecodedAtOnceAndOnlyOnce)
{
    std::string seen;
    r.t.OnAfterPut = [&](const AnsiString& s) {
        seen += s;
        if (s == "!")
            r.t.DecodeText("<ok>");
    };
    r.Feed("a!b");
    // The echo is decoded while '!' is reported, before '!' itself is collected.
    EXPECT_EQ(seen, "a!<ok>b");
    EXPECT_EQ(r.Line(0), "a<ok>!b");
}

TEST_F(AfterPut, HandlerFeedingPendingTextBackDoesNotDecodeItTwice)
{
    r.Feed(Repeat("\r\n", 40));
    r.t.ScrollView(0);
    r.Feed("xy");
    std::string seen;
    bool fed = false;
    r.t.OnAfterPut = [&](const AnsiString& s) {
        seen += s;
        if (!fed) {
            fed = true;
            r.t.DecodeText("z");
        }
    };
    r.t.ScrollView(r.t.MaxLinePos());
    EXPECT_EQ(seen, "xzy");
}

TEST_F(AfterPut, EndlessEchoDoesNotExhaustTheStack)
{
    int calls = 0;
    r.t.OnAfterPut = [&](const AnsiString&) {
        if (++calls < 20000)
            r.t.DecodeText("e");
    };
    r.Feed("s");
    EXPECT_EQ(calls, 20000);
    EXPECT_TRUE(r.t.PendingText().empty());
}

TEST_F(AfterPut, LineHandlerMayRewriteTheScreen)
{
    r.t.OnLine = [&](const AnsiString& line) {
        if (line == "prompt")
            r.t.DecodeText("\x1b[2J\x1b[1;1Hcleared\r\n");
    };
    r.Feed("prompt\r\nafter");
    Check(r, "row0=cleared");
    Check(r, "row2=after");
}

TEST_F(ExtensionHook, OwnFinalsAndDataBytesReachTheExtension)
{
    FakeExtension ext;
    r.t.SetExtension(&ext);
    r.Feed("\x1b[0;100;2%\x1b[=12F\x1b[>10;5b\x1b[d");
    EXPECT_EQ(ext.seen, (std::vector<std::string>{"% 0 100 2 m0", "F 12 m2", "b 10 5 m3", "d - m0"}));
    EXPECT_TRUE(r.events.empty());
    // Data bytes are taken before their ordinary meaning.
    r.Feed("\x1b[*,FF00zz");
    EXPECT_EQ(ext.data, "FF00");
    Check(r, "reported=zz");
}
