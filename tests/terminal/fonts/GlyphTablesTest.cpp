// Loaders of the four font files: accepted sizes, refusals, and what a load leaves in the tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>

#include "FontTestFiles.h"
#include "terminal/fonts/GlyphTables.h"

// The file's own namespace keeps the using-directive out of the test files compiled with it.
namespace glyph_tables_test {

using namespace fonttest;

namespace {

// Captures the loaders' messages for one test.
class TMessages {
public:
    TMessages()
    {
        SetFontMessageHook([this](const AnsiString& text, const AnsiString& caption) {
            Texts.push_back(text);
            Captions.push_back(caption);
        });
    }
    ~TMessages() { SetFontMessageHook(nullptr); }
    std::vector<AnsiString> Texts, Captions;
};

template <size_t N>
bool IsComplementOf(const std::array<uint8_t, N>& table, const uint8_t* file)
{
    for (size_t i = 0; i < N; ++i)
        if (table[i] != static_cast<uint8_t>(~file[i]))
            return false;
    return true;
}

bool SameTables(const TGlyphTables& a, const TGlyphTables& b)
{
    return a.Initial == b.Initial && a.Medial == b.Medial && a.Final == b.Final && a.English == b.English &&
        a.Special == b.Special && a.Symbol == b.Symbol;
}

void LoadEveryFont(const TTempDir& dir, int variant)
{
    LoadHanFont(dir.Write("base.han", HanFont(false, variant)));
    LoadEngFont(dir.Write("base.eng", TaggedGlyphs(256, 16, variant)));
    LoadSpcFont(dir.Write("base.spc", TaggedGlyphs(128, 32, variant)));
    LoadKsgFont(dir.Write("base.ksg", TaggedGlyphs(1128, 32, variant)));
}

}  // namespace

TEST(HanFontLoader, FullFileFillsTheThreeJamoTables)
{
    TTempDir dir;
    const auto file = HanFont(false, 3);
    ASSERT_EQ(file.size(), HanFontFullSize);
    LoadHanFont(dir.Write("full.han", file));
    const TGlyphTables& t = GlyphTables();
    EXPECT_TRUE(IsComplementOf(t.Initial, file.data()) && IsComplementOf(t.Medial, file.data() + 5120) &&
                IsComplementOf(t.Final, file.data() + 5120 + 2816));
}

TEST(HanFontLoader, CompactFileLoadsLikeTheFullFileAndClearsGlyphZeroOfEverySet)
{
    TTempDir dir;
    const auto compact = HanFont(true, 5);
    ASSERT_EQ(compact.size(), HanFontCompactSize);
    LoadHanFont(dir.Write("full.han", HanFont(false, 5)));
    const TGlyphTables fromFull = GlyphTables();
    LoadEveryFont(dir, 9);  // something else in between
    LoadHanFont(dir.Write("compact.han", compact));
    EXPECT_EQ(std::tie(GlyphTables().Initial, GlyphTables().Medial, GlyphTables().Final),
              std::tie(fromFull.Initial, fromFull.Medial, fromFull.Final));

    // A full font whose glyph 0 of every set is solid ink, then a compact one.
    auto full = HanFont(false);
    for (size_t set = 0; set < 16; ++set) {
        const size_t start = set < 8 ? set * 640 : set < 12 ? 5120 + (set - 8) * 704 : 7936 + (set - 12) * 896;
        std::fill(full.begin() + static_cast<long>(start), full.begin() + static_cast<long>(start + 32), 0xFF);
    }
    LoadHanFont(dir.Write("solid.han", full));
    EXPECT_EQ(GlyphTables().Initial[0], 0x00);
    LoadHanFont(dir.Write("compact.han", HanFont(true)));
    auto blank = [](const uint8_t* glyph) {
        return std::all_of(glyph, glyph + 32, [](uint8_t b) { return b == 0xFF; });
    };
    for (size_t s = 0; s < 8; ++s)
        EXPECT_TRUE(blank(&GlyphTables().Initial[s * 640])) << s;
    for (size_t s = 0; s < 4; ++s)
        EXPECT_TRUE(blank(&GlyphTables().Medial[s * 704]) && blank(&GlyphTables().Final[s * 896])) << s;
}

TEST(HanFontLoader, OtherSizesAreRefusedWithTheMessageAndChangeNothing)
{
    TTempDir dir;
    LoadEveryFont(dir, 1);
    const TGlyphTables before = GlyphTables();
    for (size_t size : {size_t(0), size_t(11519), size_t(11007)}) {
        TMessages messages;
        auto bytes = HanFont(false, 7);
        bytes.resize(size, 0x55);
        LoadHanFont(dir.Write("odd.han", bytes));
        ASSERT_EQ(messages.Texts.size(), 1u) << size;
        EXPECT_EQ(messages.Texts[0],
                  "\xc1\xf6\xbf\xf8\xb5\xc7\xc1\xf6 \xbe\xca\xb4\xc2 \xc6\xf9\xc6\xae\xc0\xd4\xb4\xcf\xb4\xd9.\r"
                  "\xc8\xad\xc0\xcf\xc5\xa9\xb1\xe2\xb8\xa6 \xc8\xae\xc0\xce\xc7\xcf\xbc\xbc\xbf\xe4");
        EXPECT_EQ(messages.Captions[0], "\xc6\xf9\xc6\xae");
        EXPECT_TRUE(SameTables(GlyphTables(), before)) << size;
    }
}

TEST(FontLoaders, MissingOrUnreadableFilesChangeNothingSilently)
{
    TTempDir dir;
    LoadEveryFont(dir, 2);
    const TGlyphTables before = GlyphTables();
    TMessages messages;
    for (const std::string& name : {dir.Path("absent.han"), dir.Path("")}) {
        LoadHanFont(name);
        LoadEngFont(name);
        LoadSpcFont(name);
        LoadKsgFont(name);
    }
    EXPECT_TRUE(messages.Texts.empty());
    EXPECT_TRUE(SameTables(GlyphTables(), before));
}

TEST(FontLoaders, ShortEnglishAndSpecialFilesChangeNothingLongOnesReadTheirFirst4096Bytes)
{
    TTempDir dir;
    LoadEveryFont(dir, 4);
    const TGlyphTables before = GlyphTables();
    auto eng = TaggedGlyphs(256, 16, 40);
    eng.pop_back();
    LoadEngFont(dir.Write("short.eng", eng));
    auto spc = TaggedGlyphs(128, 32, 40);
    spc.pop_back();
    LoadSpcFont(dir.Write("short.spc", spc));
    EXPECT_TRUE(SameTables(GlyphTables(), before));
    eng = TaggedGlyphs(300, 16, 11);
    LoadEngFont(dir.Write("long.eng", eng));
    EXPECT_TRUE(IsComplementOf(GlyphTables().English, eng.data()));
    spc = TaggedGlyphs(140, 32, 12);
    LoadSpcFont(dir.Write("long.spc", spc));
    EXPECT_TRUE(IsComplementOf(GlyphTables().Special, spc.data()));
}

TEST(KsgFontLoader, FullAndLongerFilesFillAllSymbolGlyphs)
{
    // Only the first 1082 glyphs used to be complemented after a load, so the last 46 showed
    // inverted: the whole table is checked.
    TTempDir dir;
    for (int count : {1128, 1200}) {
        const auto ksg = TaggedGlyphs(count, 32, count - 1028);
        LoadKsgFont(dir.Write("full.ksg", ksg));
        EXPECT_TRUE(IsComplementOf(GlyphTables().Symbol, ksg.data())) << count;
    }
}

TEST(KsgFontLoader, ShortAndCompactFiles)
{
    struct Case {
        const char* Label;
        std::vector<std::pair<int, int>> Loads;  // glyph count and tag variant of each file, in order
        std::vector<std::pair<int, int>> Tags;   // glyph and the tag it shows afterwards
    };
    // A short file used to leave the glyphs past its end inverted. The compact layout's gaps keep
    // what was there before the move; its blocks move by 25, 25 + 26 and 25 + 26 + 11 glyphs; past
    // it the previous font's glyph stays. The rearrangement used to move only what lay in the
    // first 33696 bytes at each step, so the last 51 glyphs of a compact file never arrived.
    const Case cases[] = {
        {"ShortFileKeepsTheGlyphsPastItsEnd",
         {{1128, 0}, {100, 2000}, {0, 0}},
         {{0, 2000}, {99, 2099}, {100, 100}, {1127, 1127}}},
        {"CompactFileOpensTheThreeGaps",
         {{1128, 5000}, {1053, 0}},
         {{162, 162}, {163, 163}, {188, 163}, {536, 511}, {563, 512}, {918, 867}, {930, 868}, {1115, 6115}}},
        {"CompactFileKeepsItsLastGlyphs", {{1053, 0}}, {{1064, 1002}, {1114, 1052}}},
    };
    ASSERT_EQ(TaggedGlyphs(1053, 32).size(), KsgFontCompactSize);
    TTempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Label);
        for (const auto& [count, variant] : c.Loads)
            LoadKsgFont(dir.Write("f.ksg", TaggedGlyphs(count, 32, variant)));
        for (const auto& [glyph, tag] : c.Tags)
            EXPECT_EQ(StoredTag(&GlyphTables().Symbol[static_cast<size_t>(glyph) * 32]), tag) << glyph;
    }
}

// Other terminals kept the old glyphs after a font change: every change of the shared tables is
// told to every watch living then, and nothing else is.
TEST(GlyphTablesWatch, RegressionEveryWatchIsToldOfEachChangeAndOnlyThen)
{
    TTempDir dir;
    LoadEveryFont(dir, 6);
    const TGlyphTables kept = GlyphTables();
    TMessages messages;  // the refused size below is reported here
    const std::string han = dir.Write("w.han", HanFont(false, 8)), eng = dir.Write("w.eng", TaggedGlyphs(256, 16, 8)),
                      spc = dir.Write("w.spc", TaggedGlyphs(128, 32, 8)),
                      ksg = dir.Write("w.ksg", TaggedGlyphs(1128, 32, 8)),
                      odd = dir.Write("odd.han", std::vector<uint8_t>(100, 1));
    struct TChange {
        const char* Name;
        std::function<void()> Make;
        int Told;
    };
    const TChange changes[] = {
        {"HanFont", [&] { LoadHanFont(han); }, 1},
        {"EngFont", [&] { LoadEngFont(eng); }, 1},
        {"SpcFont", [&] { LoadSpcFont(spc); }, 1},
        {"KsgFont", [&] { LoadKsgFont(ksg); }, 1},
        {"KeptTablesPutBack", [&] { RestoreGlyphTables(kept); }, 1},
        {"MissingFile", [&] { LoadHanFont(dir.Path("absent.han")); }, 0},
        {"RefusedSize", [&] { LoadHanFont(odd); }, 0},
    };
    for (const TChange& change : changes) {
        int first = 0, second = 0;
        TGlyphTablesWatch one([&] { ++first; });
        {
            TGlyphTablesWatch other([&] { ++second; });
            change.Make();
        }
        change.Make();  // the second watch is gone
        EXPECT_EQ(first, 2 * change.Told) << change.Name;
        EXPECT_EQ(second, change.Told) << change.Name;
    }
}

// A watch told of a change may free another (a window closed by what a redraw set off): the one
// freed before its turn is not told.
TEST(GlyphTablesWatch, OneFreedBeforeItsTurnIsNotTold)
{
    TTempDir dir;
    const std::string han = dir.Write("w.han", HanFont(false, 2));
    int toldFreed = 0;
    std::unique_ptr<TGlyphTablesWatch> freed;
    const TGlyphTablesWatch freeing([&] { freed.reset(); });
    freed = std::make_unique<TGlyphTablesWatch>([&] { ++toldFreed; });
    LoadHanFont(han);
    EXPECT_FALSE(freed);
    EXPECT_EQ(toldFreed, 0);
}

}  // namespace glyph_tables_test
