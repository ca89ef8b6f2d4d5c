// A few million seeded random bytes, in random pieces, with the core's invariants checked after
// each piece: the cursor stays on the screen, lines and runs stay bounded and well formed, and a
// picture kept only from the painter calls shows what the buffer holds.

#include <gtest/gtest.h>

#include <random>

#include "TermTestSupport.h"

namespace {

class StreamGenerator {
public:
    explicit StreamGenerator(uint32_t seed) : FRng(seed) {}
    std::string Next()
    {
        std::string s;
        const int parts = 1 + Pick(6);
        for (int i = 0; i < parts; ++i)
            AppendPart(s);
        return s;
    }

private:
    int Pick(int n) { return static_cast<int>(FRng() % static_cast<uint32_t>(n)); }
    std::string Number()
    {
        switch (Pick(6)) {
        case 0: return "";
        case 1: return std::to_string(Pick(3));
        case 2: return std::to_string(Pick(30));
        case 3: return std::to_string(Pick(100));
        case 4: return std::string(static_cast<size_t>(1 + Pick(25)), '9');
        default: return std::to_string(Pick(50));
        }
    }
    void AppendPart(std::string& s)
    {
        static const char finals[] = "ABCDEHfJKLMPX@mrsuhlzaRe,FGObcdgip%#+-.<INTVq[";
        static const char controls[] = {0, 7, 8, 9, 10, 13, 15, 27, '\x84', '\x85', '\x8d', '\x9b'};
        switch (Pick(10)) {
        case 0:
        case 1: {  // text
            const int n = Pick(90);
            for (int i = 0; i < n; ++i)
                s.push_back(static_cast<char>(0x20 + Pick(95)));
            break;
        }
        case 2: {  // Hangul, sometimes cut in half
            const int n = Pick(40);
            for (int i = 0; i < n; ++i) {
                s.push_back(static_cast<char>(0xB0 + Pick(25)));
                if (Pick(20))
                    s.push_back(static_cast<char>(0xA1 + Pick(94)));
            }
            break;
        }
        case 3:
        case 4:
        case 5: {  // a control sequence
            s += Pick(8) ? "\x1b[" : "\x9b";
            if (Pick(6) == 0)
                s.push_back("*=>^?"[Pick(5)]);
            const int params = Pick(4);
            for (int i = 0; i < params; ++i)
                s += Number() + ";";
            s += Number();
            s.push_back(finals[Pick(static_cast<int>(sizeof finals) - 1)]);
            break;
        }
        case 6: s += "\r\n"; break;
        case 7: s.push_back(controls[Pick(static_cast<int>(sizeof controls))]); break;
        case 8: {  // escape selection
            s += "\x1b";
            s.push_back("[#78DEM=>Gq3H"[Pick(13)]);
            break;
        }
        default: {  // raw bytes
            const int n = Pick(16);
            for (int i = 0; i < n; ++i)
                s.push_back(static_cast<char>(Pick(256)));
            break;
        }
        }
    }
    std::mt19937 FRng;
};

void CheckInvariants(const TTerminalCore& t, const MirrorPainter& mirror)
{
    ASSERT_GE(t.CurX(), 0);
    ASSERT_GE(t.MaxLinePos(), 0);
    ASSERT_LE(t.MaxLinePos() + t.PageSize(), TDataList::kCount - 1);
    ASSERT_GE(t.CurY(), t.MaxLinePos());
    ASSERT_LE(t.CurY(), t.MaxLinePos() + t.PageSize());
    ASSERT_LE(t.LinePos(), t.MaxLinePos());
    // Only an unfinished pair may hold the text back from the wrap.
    ASSERT_TRUE(static_cast<int>(t.CollectedText().size()) + t.CurX() < t.Columns() - 1 ||
                TTerminalCore::IsHanLeadByte(t.CollectedText()));
    for (int row = 0; row <= t.PageSize(); ++row) {
        const int y = t.MaxLinePos() + row;
        const std::string& text = t.Data().Strings(y);
        ASSERT_LE(text.size(), static_cast<size_t>(t.Columns() + 8));
        int end = 0;
        for (const TConfig& r : t.Data().Objects(y)) {
            ASSERT_GE(r.Start, end) << "runs overlap or are out of order on row " << row;
            ASSERT_GT(r.Length, 0);
            end = r.End();
        }
        ASSERT_LE(end, t.Columns() + 8);
        if (text.size() > static_cast<size_t>(t.Columns()) &&
            text.find_first_not_of(' ', static_cast<size_t>(t.Columns())) != std::string::npos)
            continue;  // text left past the right edge is not on the picture
        std::string shown = text.substr(0, std::min(text.size(), static_cast<size_t>(t.Columns())));
        while (!shown.empty() && shown.back() == ' ')
            shown.pop_back();
        ASSERT_EQ(mirror.Row(row), shown) << "row " << row;
    }
}

void RunStream(uint32_t seed, size_t bytes, bool alphaUse)
{
    TTerminalCore t;
    t.AlphaUse = alphaUse;
    MirrorPainter mirror(t.Rows(), t.Columns());
    t.SetPainter(&mirror);
    int echoes = 0;
    t.OnAfterPut = [&](const AnsiString& s) {
        if (s == "~" && ++echoes % 16 == 0)
            t.DecodeText("\x1b[1;33mecho\x1b[0m\r\n");
    };
    StreamGenerator gen(seed);
    std::mt19937 rng(seed + 1);
    size_t fed = 0;
    while (fed < bytes) {
        std::string s = gen.Next();
        fed += s.size();
        // Now and then the user looks at the scroll-back while text arrives.
        if (rng() % 200 == 0)
            t.ScrollView(t.MaxLinePos() / 2);
        t.DecodeText(s);
        if (!t.Live() && rng() % 4 == 0)
            t.ScrollView(t.MaxLinePos());
        if (t.Live()) {
            ASSERT_TRUE(t.PendingText().empty());
        }
        ASSERT_NO_FATAL_FAILURE(CheckInvariants(t, mirror))
            << "seed " << seed << " after " << fed << " bytes, last piece " << Escaped(s);
    }
}

TEST(RandomInput, InvariantsHoldAfterEveryPiece)
{
    for (uint32_t seed = 1; seed <= 8; ++seed)
        RunStream(seed, 600000, seed % 2 == 0);
}

}  // namespace
