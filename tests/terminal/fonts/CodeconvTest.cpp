// Wansung to Johab conversion, checked cell by cell against the system's CP949 -> JOHAB converter.
#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>

#include "terminal/fonts/Codeconv.h"

namespace {

// The system converter's output for a two-byte cp949 code in `charset`, when it converts the
// code whole into `size` bytes.
std::optional<uint32_t> Iconv(const char* charset, uint16_t code, size_t size)
{
    const iconv_t cd = iconv_open(charset, "CP949");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    unsigned char out[8] = {};
    char* inp = in;
    char* outp = reinterpret_cast<char*>(out);
    size_t inLeft = 2, outLeft = sizeof out;
    const bool ok = iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<size_t>(-1) && inLeft == 0 &&
        sizeof out - outLeft == size;
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    uint32_t v = 0;
    for (size_t i = 0; i < size; ++i)
        v = v << 8 | out[i];
    return v;
}

std::optional<uint16_t> IconvJohab(uint16_t code)
{
    const auto v = Iconv("JOHAB", code, 2);
    return v ? std::optional<uint16_t>(static_cast<uint16_t>(*v)) : std::nullopt;
}

// Whether the code page assigns a character to a two-byte code.
bool Assigned(uint16_t code) { return Iconv("UTF-32BE", code, 4).has_value(); }

// KS X 1001 rows 0xA1..0xAC on Johab leads 0xD9..0xDE, two rows to a lead.
uint16_t SymbolAreaCode(int lead, int trail)
{
    const int row = lead - 0xA1;
    const int lo = row % 2 ? trail : trail - 0xA1 + (trail < 0xEF ? 0x31 : 0x43);
    return static_cast<uint16_t>((0xD9 + row / 2) << 8 | lo);
}

uint16_t Converted(uint16_t code)
{
    Convert_CodeW2J(code);
    return code;
}

}  // namespace

TEST(Codeconv, EveryKsCellConvertsAsTheSystemConverterDoes)
{
    ASSERT_TRUE(IconvJohab(0xB0A1)) << "the system has no JOHAB converter";
    int checked = 0, byRule = 0, blank = 0;
    for (int lead = 0xA1; lead <= 0xFE; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
            const auto expected = IconvJohab(code);
            if (lead == 0xA4) {
                // The compatibility jamo stay in the symbol area instead of becoming lone-jamo
                // syllable codes.
                EXPECT_EQ(Converted(code), 0xDA00 | trail) << std::hex << code;
                ++byRule;
            } else if (expected) {
                EXPECT_EQ(Converted(code), *expected) << std::hex << code;
                ++checked;
            } else if (Assigned(code)) {
                // Symbols the code page added after the Johab converter's table was made.
                ASSERT_LE(lead, 0xAC) << std::hex << code;
                EXPECT_EQ(Converted(code), SymbolAreaCode(lead, trail)) << std::hex << code;
                ++byRule;
            } else {
                EXPECT_EQ(Converted(code), BlankJohabCode) << std::hex << code;
                ++blank;
            }
        }
    }
    // 2350 syllables, 4888 Hanja and the symbols less row 0xA4.
    EXPECT_GT(checked, 2350 + 4888 + 800);
    EXPECT_EQ(checked + byRule + blank, 94 * 94);
}

TEST(Codeconv, EveryExtensionSyllableConvertsAsTheSystemConverterDoes)
{
    int count = 0;
    for (int lead = 0x81; lead <= 0xC6; ++lead) {
        for (int trail = 0x41; trail <= 0xFE; ++trail) {
            const uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
            const bool extension = (trail <= 0x5A || (trail >= 0x61 && trail <= 0x7A) || trail >= 0x81) &&
                (lead <= 0xA0 || (lead <= 0xC5 && trail <= 0xA0) || (lead == 0xC6 && trail <= 0x52));
            if (!extension)
                continue;
            // Code order and table order agree.
            EXPECT_EQ(ExtensionIndex(code), count) << std::hex << code;
            const auto expected = IconvJohab(code);
            ASSERT_TRUE(expected) << std::hex << code;
            EXPECT_EQ(Converted(code), *expected) << std::hex << code;
            ++count;
        }
    }
    EXPECT_EQ(count, 8822);
}

TEST(Codeconv, KnownCodesCodesOutsideBothAreasAndUnassignedCells)
{
    const uint16_t blank = BlankJohabCode;
    // The first and last syllables of the main set and of the extension, symbols, compatibility
    // jamo, the first and last Hanja; then codes outside both areas, left unchanged; then rows the
    // standard leaves empty and gaps at the end of symbol rows, drawn blank.
    const std::pair<uint16_t, uint16_t> cases[] = {
        {0xB0A1, 0x8861}, {0xC8FE, 0xD3B7}, {0x8141, 0x8863}, {0xC652, 0xD3BD}, {0xA1A1, 0xD931},
        {0xA4A1, 0xDAA1}, {0xCAA1, 0xE031}, {0xFDFE, 0xF9FE}, {0xC653, 0xC653}, {0x0041, 0x0041},
        {0x8040, 0x8040}, {0xFF41, 0xFF41}, {0xADA1, blank},  {0xC9A1, blank},  {0xA2FE, blank}};
    for (const auto& [code, johab] : cases)
        EXPECT_EQ(Converted(code), johab) << std::hex << code;
}

// A trail byte outside the extension's three ranges used to yield an index into the middle of
// the table (or before its start).
TEST(Codeconv, ExtensionLeadWithInvalidTrailLeftUnchanged)
{
    for (uint16_t code : {0x8120, 0x815B, 0x8160, 0x817B, 0x8180, 0x81FF, 0xB020, 0xC540, 0xC6FF}) {
        EXPECT_EQ(ExtensionIndex(code), -1) << std::hex << code;
        EXPECT_EQ(Converted(code), code) << std::hex << code;
    }
}
