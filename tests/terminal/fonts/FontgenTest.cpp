// The font generator's pieces: the .hex and PCF readers, the jamo fit and the fonts made from one
// installed face.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "terminal/fonts/JohabRules.h"
#include "tools/fontgen/HexFont.h"
#include "tools/fontgen/JamoFit.h"
#include "tools/fontgen/PcfFaces.h"
#include "tools/fontgen/PcfFont.h"

namespace {

// Builds a small PCF font: one glyph, in a given bit order and padding.
class TPcfBuilder {
public:
    // A 5 x 4 glyph (rows below), left bearing 2, ascent 3, descent 1, at encoding 0x2122.
    static constexpr uint8_t Rows[4] = {0b10001000, 0b01010000, 0b00100000, 0b11111000};

    std::vector<uint8_t> Build(bool msbFirst, int padIndex)
    {
        const uint32_t order = msbFirst ? (1 << 2 | 1 << 3) : 0;
        std::vector<uint8_t> accel, metrics, bitmaps, encodings;

        Put32(accel, 0, false);  // format: plain, little-endian
        accel.insert(accel.end(), 8, 0);
        Put32(accel, 12, false);  // font ascent
        Put32(accel, 4, false);   // font descent
        Put32(accel, 0, false);
        accel.insert(accel.end(), 24, 0);

        Put32(metrics, 0x100 | order, false);  // compressed
        Put16(metrics, 1, msbFirst);
        for (int v : {2, 7, 8, 3, 1})
            metrics.push_back(static_cast<uint8_t>(v + 0x80));

        const int pad = 1 << padIndex;
        Put32(bitmaps, static_cast<uint32_t>(padIndex) | order, false);
        Put32(bitmaps, 1, msbFirst);
        Put32(bitmaps, 0, msbFirst);  // offset of glyph 0
        for (int p = 0; p < 4; ++p)
            Put32(bitmaps, static_cast<uint32_t>(4 * (1 << p)), msbFirst);
        for (uint8_t row : Rows) {
            bitmaps.push_back(msbFirst ? row : Reverse(row));
            for (int k = 1; k < pad; ++k)
                bitmaps.push_back(0);
        }

        Put32(encodings, order, false);
        for (int v : {0x21, 0x23, 0x21, 0x21, 0})
            Put16(encodings, static_cast<uint32_t>(v), msbFirst);
        for (int v : {0xFFFF, 0, 0xFFFF})  // 0x2121, 0x2122, 0x2123
            Put16(encodings, static_cast<uint32_t>(v), msbFirst);

        std::vector<uint8_t> file = {1, 'f', 'c', 'p'};
        Put32(file, 4, false);
        size_t offset = 8 + 4 * 16;
        const std::pair<uint32_t, std::vector<uint8_t>*> tables[] = {
            {1 << 1, &accel}, {1 << 2, &metrics}, {1 << 3, &bitmaps}, {1 << 5, &encodings}};
        for (const auto& [type, bytes] : tables) {
            Put32(file, type, false);
            Put32(file, 0, false);
            Put32(file, static_cast<uint32_t>(bytes->size()), false);
            Put32(file, static_cast<uint32_t>(offset), false);
            offset += bytes->size();
        }
        for (const auto& t : tables)
            file.insert(file.end(), t.second->begin(), t.second->end());
        return file;
    }

private:
    static void Put(std::vector<uint8_t>& v, uint32_t x, bool big, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            v.push_back(static_cast<uint8_t>(x >> (big ? 8 * (bytes - 1 - i) : 8 * i)));
    }
    static void Put32(std::vector<uint8_t>& v, uint32_t x, bool big) { Put(v, x, big, 4); }
    static void Put16(std::vector<uint8_t>& v, uint32_t x, bool big) { Put(v, x, big, 2); }
    static uint8_t Reverse(uint8_t b)
    {
        uint8_t r = 0;
        for (int i = 0; i < 8; ++i)
            r = static_cast<uint8_t>(r | ((b >> i & 1) << (7 - i)));
        return r;
    }
};

}  // namespace

TEST(HexFont, ReadsNarrowAndWideGlyphsAndSkipsOtherLines)
{
    const THexFont font = THexFont::FromText("# comment\n"
                                             "0041:0000000018242442427E424242420000\n"
                                             "AC00:00000000001000101F9000900090009E01100110021004101810001000100000\n"
                                             "0042:123\n");
    int width = 0;
    const auto a = font.Glyph(0x41, &width);
    ASSERT_TRUE(a);
    EXPECT_EQ(std::tuple(width, a->Rows[4], a->Rows[9]), std::tuple(8, 0x1800, 0x7E00));
    const auto ga = font.Glyph(0xAC00, &width);
    ASSERT_TRUE(ga);
    EXPECT_EQ(std::tuple(width, ga->Rows[3], ga->Rows[4]), std::tuple(16, 0x0010, 0x1F90));
    EXPECT_FALSE(font.Glyph(0x42) || font.Glyph(0x43));
}

TEST(PcfFont, PlacesAGlyphOnTheBaselineInEitherBitOrder)
{
    for (bool msb : {true, false}) {
        for (int pad : {0, 2}) {
            const TPcfFont font(TPcfBuilder().Build(msb, pad));
            EXPECT_EQ(font.Ascent(), 12);
            const auto g = font.Glyph(0x2122);
            ASSERT_TRUE(g) << msb << pad;
            // Ascent 3 above a baseline at row 12: rows 9..12; left bearing 2.
            for (int r = 0; r < 16; ++r) {
                const uint16_t expected = r >= 9 && r <= 12 ? static_cast<uint16_t>(TPcfBuilder::Rows[r - 9] << 6) : 0;
                EXPECT_EQ(g->Rows[static_cast<size_t>(r)], expected) << msb << pad << " row " << r;
            }
            for (uint16_t missing : {0x2121, 0x2124, 0x2021})
                EXPECT_FALSE(font.Glyph(missing)) << std::hex << missing;
        }
    }
}

TEST(PcfFont, RefusesMalformedFiles)
{
    EXPECT_THROW(TPcfFont(std::vector<uint8_t>{1, 2, 3}), std::runtime_error);
    auto bytes = TPcfBuilder().Build(true, 0);
    bytes.erase(bytes.end() - 10, bytes.end());
    EXPECT_THROW(TPcfFont(std::move(bytes)), std::runtime_error);
}

TEST(JamoFit, ReproducesEverySyllableOfAComposableFont)
{
    // Syllables made from a known set of random jamo glyphs can all be fitted back exactly.
    std::mt19937 random(1234);
    TJamoFont source;
    auto scatter = [&](auto& sets) {
        for (auto& set : sets)
            for (size_t g = 1; g < set.size(); ++g)
                for (auto& row : set[g].Rows)
                    row = static_cast<uint16_t>(random() & random() & random());
    };
    scatter(source.Initial);
    scatter(source.Medial);
    scatter(source.Final);
    std::vector<TGlyph16> syllables;
    for (int n = 0; n < johab::SyllableCount; ++n)
        syllables.push_back(source.Compose(n));

    const TJamoFont fitted = FitJamo(syllables);
    EXPECT_EQ(CountExact(fitted, syllables), johab::SyllableCount);
    EXPECT_EQ(fitted.FileBytes().size(), 11520u);
    EXPECT_EQ(fitted.Initial[0][0], TGlyph16{});  // glyph 0 stays empty
}

TEST(PcfFaces, KsFaceGivesItsSyllablesOnly)
{
    const TPcfFont gulim(std::string(HM_X11_FONTS) + "/75dpi/gulim16.pcf.gz");
    const std::vector<std::optional<TGlyph16>> syllables = KsSyllables(gulim);
    ASSERT_EQ(syllables.size(), static_cast<size_t>(johab::SyllableCount));
    EXPECT_EQ(std::count_if(syllables.begin(), syllables.end(), [](const auto& g) { return g.has_value(); }), 2350);
    EXPECT_EQ(syllables[0xD55C - johab::FirstSyllable], gulim.Glyph(0x4751));  // 한, cp949 C7 D1
    EXPECT_FALSE(syllables[0xB620 - johab::FirstSyllable]);                    // 똠 is not in KS X 1001
    // Every jamo glyph has ink, those no KS X 1001 syllable uses (taken from another set) too.
    const TJamoFont font = FitJamo(syllables);
    auto inked = [](const auto& sets, size_t glyphs) {
        for (const auto& set : sets)
            for (size_t g = 1; g < glyphs; ++g)
                if (set[g] == TGlyph16{})
                    return false;
        return true;
    };
    EXPECT_TRUE(inked(font.Initial, johab::InitialCount + 1));
    EXPECT_TRUE(inked(font.Medial, johab::MedialCount + 1));
    EXPECT_TRUE(inked(font.Final, johab::FinalCount));
}

// An English font takes a fixed-width face whose cell fits 8 x 16, centred in the 16 rows.
struct TEnglishFaceRow {
    const char* Name;
    const char* Face;
    int Top;  // rows above the face's cell; -1: refused
};
class EnglishFace : public ::testing::TestWithParam<TEnglishFaceRow> {};

TEST_P(EnglishFace, FitsOrIsRefused)
{
    const TPcfFont face(std::string(HM_X11_FONTS) + "/misc/" + GetParam().Face);
    if (GetParam().Top < 0) {
        EXPECT_THROW(EnglishFontBytes(face), std::runtime_error);
        return;
    }
    const std::vector<uint8_t> bytes = EnglishFontBytes(face);
    ASSERT_EQ(bytes.size(), 4096u);
    const TGlyph16 a = *face.Glyph('A');
    for (size_t r = 0; r < 16; ++r) {
        const size_t from = r - static_cast<size_t>(GetParam().Top);
        EXPECT_EQ(bytes['A' * 16 + r], r < static_cast<size_t>(GetParam().Top) ? 0 : a.Rows[from] >> 8) << r;
    }
    EXPECT_EQ(std::count(bytes.begin(), bytes.begin() + 0x20 * 16, 0), 0x20 * 16);  // control bytes blank
}

const TEnglishFaceRow kEnglishFaces[] = {
    {"SixteenRowsFillTheCell", "8x16.pcf.gz", 0},
    {"ThirteenRowsSitOneRowDown", "8x13.pcf.gz", 1},
    {"TallerFaceRefused", "10x20.pcf.gz", -1},
    {"WiderFaceRefused", "9x15.pcf.gz", -1},
};
INSTANTIATE_TEST_SUITE_P(Faces, EnglishFace, ::testing::ValuesIn(kEnglishFaces),
                         [](const auto& row) { return std::string(row.param.Name); });
