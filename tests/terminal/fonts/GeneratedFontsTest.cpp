// The fonts the build generates, drawn through the renderer: file sizes, agreement with the
// source fonts, and a sample line compared with a golden image.
//
// The golden image is ours: when the generator or the renderer changes the picture on purpose,
// regenerate it with
//     HM_UPDATE_GOLDEN=1 BUILD/bin/terminal_fonts_tests --gtest_filter='GeneratedFonts.SampleLine*'
// and review the difference of tests/terminal/fonts/data/sample-line.txt before committing it.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "terminal/fonts/Codeconv.h"
#include "terminal/fonts/GlyphTables.h"
#include "terminal/fonts/HanBitFont.h"
#include "terminal/fonts/JohabRules.h"
#include "tools/fontgen/HexFont.h"
#include "tools/fontgen/Legibility.h"
#include "tools/fontgen/PcfFont.h"

namespace {

const std::string FontsDir = HM_FONTS_DIR;
const std::string HanFile = FontsDir + "/뻗음꼴.han";
const std::string EngFile = FontsDir + "/영문정형체.eng";
const std::string SpcFile = FontsDir + "/smooth.spc";
const std::string KsgFile = FontsDir + "/산.ksg";
const std::string GoldenFile = std::string(HM_SOURCE_DIR) + "/tests/terminal/fonts/data/sample-line.txt";

// Every test starts from the generated fonts.
struct GeneratedFonts : ::testing::Test {
    void SetUp() override
    {
        LoadHanFont(HanFile);
        LoadEngFont(EngFile);
        LoadSpcFont(SpcFile);
        LoadKsgFont(KsgFile);
    }
};

// A stored (complemented) 16 x 16 glyph as ink rows.
TGlyph16 InkOf(const uint8_t* stored)
{
    TGlyph16 g;
    for (size_t r = 0; r < 16; ++r)
        g.Rows[r] = static_cast<uint16_t>(~(stored[2 * r] << 8 | stored[2 * r + 1]));
    return g;
}

std::string Picture(const TFrameBuffer& fb)
{
    std::ostringstream out;
    out << fb.Width() << ' ' << fb.Height() << '\n';
    for (int y = 0; y < fb.Height(); ++y) {
        for (int x = 0; x < fb.Width(); ++x)
            out << "0123456789abcdef"[fb.Pixel(x, y) & 15];
        out << '\n';
    }
    return out.str();
}

}  // namespace

TEST_F(GeneratedFonts, FilesHaveTheSizesTheLoadersTake)
{
    namespace fs = std::filesystem;
    EXPECT_EQ(
        std::tuple(fs::file_size(HanFile), fs::file_size(EngFile), fs::file_size(SpcFile), fs::file_size(KsgFile)),
        std::tuple(HanFontFullSize, 4096u, 4096u, TGlyphTables::SymbolBytes));
    EXPECT_TRUE(fs::exists(FontsDir + "/unifont-copyright.txt") && fs::exists(FontsDir + "/baekmuk-copyright.txt"));
}

// Where the combination scheme can follow Unifont its letters are Unifont's, where they stand:
// the syllables drawn pixel for pixel as Unifont draws them are those the scheme can draw so.
TEST_F(GeneratedFonts, ComposedSyllablesReproduceUnifontWhereTheSchemeCan)
{
    const THexFont unifont(HM_UNIFONT_HEX);
    int exact = 0;
    for (int n = 0; n < johab::SyllableCount; ++n) {
        uint8_t glyph[32];
        GetHanFontImage(GlyphTables(), johab::SyllableToJohab(n), glyph);
        exact += InkOf(glyph) == unifont.Glyph(johab::FirstSyllable + static_cast<char32_t>(n));
    }
    EXPECT_GT(exact, johab::SyllableCount * 2 / 5);
}

TEST_F(GeneratedFonts, RegressionConsonantsBeforeCompoundVowelsKeepTheirLoops)
{
    // Set 7 (before ㅘ ㅙ ㅚ ㅝ ㅞ ㅟ ㅢ with a final) once split ㅇ ㅁ ㅂ ㅍ between the consonant
    // and the vowel glyphs, so the consonant alone had no loop.
    for (const auto& [glyph, loops] :
         {std::pair(12, 1), std::pair(7, 1), std::pair(8, 1), std::pair(18, 1), std::pair(9, 2), std::pair(19, 1)}) {
        const uint8_t* stored = &GlyphTables().Initial[static_cast<size_t>(7 * johab::InitialGlyphs + glyph) * 32];
        EXPECT_EQ(CountLoops(InkOf(stored)), loops) << "initial glyph " << glyph;
    }
}

TEST_F(GeneratedFonts, EnglishGlyphsAreUnifontsAscii)
{
    const THexFont unifont(HM_UNIFONT_HEX);
    for (char32_t c = 0x20; c < 0x7F; ++c) {
        const auto g = unifont.Glyph(c);
        ASSERT_TRUE(g);
        for (size_t r = 0; r < 16; ++r)
            EXPECT_EQ(static_cast<uint8_t>(~GlyphTables().English[c * 16 + r]), g->Rows[r] >> 8) << int(c);
    }
    EXPECT_EQ(GlyphTables().English[0], 0xFF);  // control bytes are blank
}

TEST_F(GeneratedFonts, SymbolGlyphsAreTheKsFontsGlyphsOfTheSameCell)
{
    const TPcfFont symbols(HM_SYMBOL_PCF);
    int found = 0;
    for (int row = 0; row < 12; ++row) {
        for (int cell = 0; cell < 94; ++cell) {
            const auto g = symbols.Glyph(static_cast<uint16_t>((0x21 + row) << 8 | (0x21 + cell)));
            const size_t index = static_cast<size_t>(row * 94 + cell);
            EXPECT_EQ(InkOf(&GlyphTables().Symbol[index * 32]), g.value_or(TGlyph16{})) << row << "," << cell;
            found += g.has_value();
        }
    }
    EXPECT_GT(found, 900);
}

TEST_F(GeneratedFonts, SampleLineMatchesTheGoldenImage)
{
    TFrameBuffer screen(288, 32, 0);
    THanBitFont font(&screen);
    // Hanja go to the system font; a frame stands in for it here.
    font.SetHanjaDrawer([](TFrameBuffer& target, int x, int y, const AnsiString&, uint8_t fg, uint8_t bg) {
        target.FillRect({x, y, x + 16, y + 16}, bg);
        target.FrameRect({x + 2, y + 2, x + 14, y + 14}, fg);
    });
    // "한글 Hangul 똠방각하 ㄱㅏ ★①→" and a Hanja, in two colour runs, then an underline.
    font.SetFontColor(clYellow);
    font.SetBackColor(clNavy);
    font.NewHTextOut(0, 0, "\xc7\xd1\xb1\xdb Hangul \x8c\x63\xb9\xe6\xb0\xa2\xc7\xcf");
    font.SetFontColor(clWhite);
    font.SetBackColor(clMaroon);
    font.NewHTextOut(0, 16, "\xa4\xa1\xa4\xbf \xa1\xda\xa8\xe7\xa1\xe6 \xf9\xd3 ok");
    font.NewHorzLineTo(0, 64, 31);
    const std::string picture = Picture(screen);

    if (std::getenv("HM_UPDATE_GOLDEN")) {
        std::ofstream(GoldenFile, std::ios::binary) << picture;
        GTEST_SKIP() << "wrote " << GoldenFile;
    }
    std::ifstream in(GoldenFile, std::ios::binary);
    ASSERT_TRUE(in) << "no golden image at " << GoldenFile;
    std::ostringstream golden;
    golden << in.rdbuf();
    EXPECT_EQ(picture, golden.str());
}

namespace {

// Every font the build ships: the size its loader takes, and what the loader puts in the tables.
class ShippedFont : public ::testing::TestWithParam<std::string> {};

std::vector<std::string> ShippedFonts()
{
    std::vector<std::string> names;
    std::istringstream list(HM_SHIPPED_FONTS);
    for (std::string name; std::getline(list, name, '|');)
        names.push_back(name);
    return names;
}

TEST_P(ShippedFont, HasItsSizeAndLoads)
{
    namespace fs = std::filesystem;
    const std::string file = FontsDir + "/" + GetParam();
    const std::string kind = fs::path(file).extension().string();
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << file;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> messages;
    SetFontMessageHook([&](const AnsiString& text, const AnsiString&) { messages.push_back(text); });
    // The tables the loader fills, as stored: the file's bits complemented.
    std::vector<uint8_t> loaded;
    if (kind == ".han") {
        ASSERT_EQ(bytes.size(), HanFontFullSize);
        LoadHanFont(file);
        const TGlyphTables& t = GlyphTables();
        loaded.insert(loaded.end(), t.Initial.begin(), t.Initial.end());
        loaded.insert(loaded.end(), t.Medial.begin(), t.Medial.end());
        loaded.insert(loaded.end(), t.Final.begin(), t.Final.end());
    } else if (kind == ".eng") {
        ASSERT_EQ(bytes.size(), 4096u);
        LoadEngFont(file);
        loaded.assign(GlyphTables().English.begin(), GlyphTables().English.end());
    } else if (kind == ".spc") {
        ASSERT_EQ(bytes.size(), 4096u);
        LoadSpcFont(file);
        loaded.assign(GlyphTables().Special.begin(), GlyphTables().Special.end());
    } else {
        ASSERT_EQ(kind, ".ksg");
        ASSERT_EQ(bytes.size(), TGlyphTables::SymbolBytes);
        LoadKsgFont(file);
        // The loader complements the first 1082 glyphs only.
        loaded.assign(GlyphTables().Symbol.begin(), GlyphTables().Symbol.begin() + 1082 * 32);
    }
    SetFontMessageHook(nullptr);
    EXPECT_TRUE(messages.empty());
    size_t ink = 0, same = 0;
    for (size_t i = 0; i < loaded.size(); ++i) {
        same += static_cast<uint8_t>(~loaded[i]) == bytes[i];
        ink += bytes[i] != 0;
    }
    EXPECT_EQ(same, loaded.size());
    if (kind == ".han" || kind == ".eng") {
        EXPECT_GT(ink, loaded.size() / 8) << "too little ink to read";
    }
}

INSTANTIATE_TEST_SUITE_P(Build, ShippedFont, ::testing::ValuesIn(ShippedFonts()), [](const auto& param) {
    // Test names take letters and digits only: the file's place in the list and its ASCII.
    std::string name = "Font" + std::to_string(param.index);
    for (char c : param.param)
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
    return name;
});

}  // namespace
