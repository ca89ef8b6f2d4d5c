#include <gtest/gtest.h>

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
        for (int i = 0; i < t.ParamCount(); ++i) s += " " + std::to_string(t.Param(i).Value);
        s += t.CurParam().Empty ? " -" : " " + std::to_string(t.CurParam().Value);
        s += " m" + std::to_string(t.SubMode());
        seen.push_back(s);
        if (final == ',' && t.SubMode() == saStar) dataMode = true;
    }
    bool DataByte(TTerminalCore&, unsigned char ch) override
    {
        if (!dataMode || !std::isxdigit(ch)) return false;
        data.push_back(static_cast<char>(ch));
        if (data.size() % 4 == 0) dataMode = false;
        return true;
    }
};

TEST(ExtensionHook, OwnFinalsReachTheExtensionWithTheirParameters)
{
    RecordingTerminal r;
    FakeExtension ext;
    r.t.SetExtension(&ext);
    r.Feed("\x1b[0;100;2%\x1b[=12F\x1b[>10;5b\x1b[d");
    EXPECT_EQ(ext.seen, (std::vector<std::string>{"% 0 100 2 m0", "F 12 m2", "b 10 5 m3", "d - m0"}));
    EXPECT_TRUE(r.events.empty());
    EXPECT_EQ(r.Line(0), "");
}

TEST(ExtensionHook, DataBytesAreTakenBeforeTheirOrdinaryMeaning)
{
    RecordingTerminal r;
    FakeExtension ext;
    r.t.SetExtension(&ext);
    r.Feed("\x1b[*,FF00zz");
    EXPECT_EQ(ext.data, "FF00");
    EXPECT_EQ(r.Line(0), "zz");
    EXPECT_EQ(r.events, Pieces("zz"));
}

TEST(ExtensionHook, CaretSubModeSwallowsItsBytes)
{
    RecordingTerminal r;
    r.Feed("\x1b[^1ABCm!");  // the digit and A B C are swallowed, 'm' still acts (no bold)
    EXPECT_EQ(r.Line(0), "!");
    EXPECT_EQ(r.t.CurY(), 0);
    EXPECT_FALSE(r.t.Bright());
    r.Feed("\x1b[^x");  // a byte outside the language ends the sequence and is printed
    EXPECT_EQ(r.Line(0), "!x");
}

}  // namespace
