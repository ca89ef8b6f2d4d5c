// Loaders of the four font files: accepted sizes, refusals, and what a load leaves in the tables.
#include <gtest/gtest.h>

#include <algorithm>

#include "FontTestFiles.h"
#include "terminal/fonts/GlyphTables.h"

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
    EXPECT_TRUE(IsComplementOf(t.Initial, file.data()));
    EXPECT_TRUE(IsComplementOf(t.Medial, file.data() + 5120));
    EXPECT_TRUE(IsComplementOf(t.Final, file.data() + 5120 + 2816));
}

TEST(HanFontLoader, CompactFileLoadsLikeTheFullFileWithEmptyGlyphZero)
{
    TTempDir dir;
    const auto compact = HanFont(true, 5);
    ASSERT_EQ(compact.size(), HanFontCompactSize);
    LoadHanFont(dir.Write("full.han", HanFont(false, 5)));
    const TGlyphTables fromFull = GlyphTables();
    LoadEveryFont(dir, 9);  // something else in between
    LoadHanFont(dir.Write("compact.han", compact));
    EXPECT_EQ(GlyphTables().Initial, fromFull.Initial);
    EXPECT_EQ(GlyphTables().Medial, fromFull.Medial);
    EXPECT_EQ(GlyphTables().Final, fromFull.Final);
}

TEST(HanFontLoader, CompactFileClearsGlyphZeroOfEverySet)
{
    TTempDir dir;
    // A full font whose glyph 0 of every set is solid ink, then a compact one.
    auto full = HanFont(false);
    for (size_t set = 0; set < 16; ++set) {
        const size_t start = set < 8 ? set * 640 : set < 12 ? 5120 + (set - 8) * 704 : 7936 + (set - 12) * 896;
        std::fill(full.begin() + static_cast<long>(start), full.begin() + static_cast<long>(start + 32), 0xFF);
    }
    LoadHanFont(dir.Write("solid.han", full));
    EXPECT_EQ(GlyphTables().Initial[0], 0x00);
    LoadHanFont(dir.Write("compact.han", HanFont(true)));
    for (size_t s = 0; s < 8; ++s)
        EXPECT_TRUE(std::all_of(&GlyphTables().Initial[s * 640], &GlyphTables().Initial[s * 640 + 32],
                                [](uint8_t b) { return b == 0xFF; }));
    for (size_t s = 0; s < 4; ++s) {
        EXPECT_TRUE(std::all_of(&GlyphTables().Medial[s * 704], &GlyphTables().Medial[s * 704 + 32],
                                [](uint8_t b) { return b == 0xFF; }));
        EXPECT_TRUE(std::all_of(&GlyphTables().Final[s * 896], &GlyphTables().Final[s * 896 + 32],
                                [](uint8_t b) { return b == 0xFF; }));
    }
}

TEST(HanFontLoader, OtherSizesAreRefusedWithTheMessageAndChangeNothing)
{
    TTempDir dir;
    LoadEveryFont(dir, 1);
    const TGlyphTables before = GlyphTables();
    for (size_t size : {size_t(0), size_t(11519), size_t(11521), size_t(11007), size_t(4096)}) {
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

TEST(FontLoaders, ShortEnglishAndSpecialFilesChangeNothing)
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
}

TEST(FontLoaders, EnglishAndSpecialFilesReadTheirFirst4096Bytes)
{
    TTempDir dir;
    auto eng = TaggedGlyphs(300, 16, 11);  // longer than needed
    LoadEngFont(dir.Write("long.eng", eng));
    EXPECT_TRUE(IsComplementOf(GlyphTables().English, eng.data()));
    const auto spc = TaggedGlyphs(140, 32, 12);
    LoadSpcFont(dir.Write("long.spc", spc));
    EXPECT_TRUE(IsComplementOf(GlyphTables().Special, spc.data()));
}

TEST(KsgFontLoader, FullFileFillsAllSymbolGlyphs)
{
    TTempDir dir;
    const auto ksg = TaggedGlyphs(1128, 32, 100);
    LoadKsgFont(dir.Write("full.ksg", ksg));
    EXPECT_TRUE(IsComplementOf(GlyphTables().Symbol, ksg.data()));
}

// Only the first 1082 glyphs used to be complemented after a load, so the last 46 showed
// inverted.
TEST(KsgFontLoader, SymbolGlyphsPast1082AreComplementedToo)
{
    TTempDir dir;
    const auto ksg = TaggedGlyphs(1128, 32, 1);
    LoadKsgFont(dir.Write("full.ksg", ksg));
    for (size_t g = 1082; g < 1128; ++g)
        EXPECT_EQ(StoredTag(&GlyphTables().Symbol[g * 32]), static_cast<int>(g) + 1);
}

TEST(KsgFontLoader, LongerFileReadsTheFirst1128Glyphs)
{
    TTempDir dir;
    const auto ksg = TaggedGlyphs(1200, 32, 7);
    LoadKsgFont(dir.Write("long.ksg", ksg));
    EXPECT_TRUE(IsComplementOf(GlyphTables().Symbol, ksg.data()));
}

// A file shorter than the table used to leave the glyphs past its end inverted.
TEST(KsgFontLoader, ShortFileKeepsTheGlyphsPastItsEnd)
{
    TTempDir dir;
    LoadKsgFont(dir.Write("full.ksg", TaggedGlyphs(1128, 32, 0)));
    LoadKsgFont(dir.Write("short.ksg", TaggedGlyphs(100, 32, 2000)));
    const auto& s = GlyphTables().Symbol;
    EXPECT_EQ(StoredTag(&s[0]), 2000);
    EXPECT_EQ(StoredTag(&s[99 * 32]), 2099);
    EXPECT_EQ(StoredTag(&s[100 * 32]), 100);
    EXPECT_EQ(StoredTag(&s[1127 * 32]), 1127);
    LoadKsgFont(dir.Write("empty.ksg", {}));
    EXPECT_EQ(StoredTag(&s[0]), 2000);
}

TEST(KsgFontLoader, CompactFileOpensTheThreeGaps)
{
    TTempDir dir;
    LoadKsgFont(dir.Write("full.ksg", TaggedGlyphs(1128, 32, 5000)));
    const auto compact = TaggedGlyphs(1053, 32, 0);
    ASSERT_EQ(compact.size(), KsgFontCompactSize);
    LoadKsgFont(dir.Write("compact.ksg", compact));
    const auto& s = GlyphTables().Symbol;
    auto tag = [&](int g) { return StoredTag(&s[static_cast<size_t>(g) * 32]); };
    EXPECT_EQ(tag(162), 162);  // before the first gap
    EXPECT_EQ(tag(163), 163);  // a gap keeps what was there before the move
    EXPECT_EQ(tag(188), 163);  // first block moved by 25 glyphs
    EXPECT_EQ(tag(536), 511);
    EXPECT_EQ(tag(563), 512);  // second block moved by 25 + 26
    EXPECT_EQ(tag(918), 867);
    EXPECT_EQ(tag(930), 868);  // third block moved by 25 + 26 + 11
    EXPECT_EQ(tag(1115), 6115);  // past the compact layout: the previous font's glyph
}

// The rearrangement used to move only what lay in the first 33696 bytes at each step, so the
// last 51 glyphs of a compact file never reached the table.
TEST(KsgFontLoader, CompactFileKeepsItsLastGlyphs)
{
    TTempDir dir;
    LoadKsgFont(dir.Write("compact.ksg", TaggedGlyphs(1053, 32, 0)));
    const auto& s = GlyphTables().Symbol;
    EXPECT_EQ(StoredTag(&s[1064 * 32]), 1002);
    EXPECT_EQ(StoredTag(&s[1114 * 32]), 1052);
}
