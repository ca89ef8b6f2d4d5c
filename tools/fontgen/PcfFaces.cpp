#include "tools/fontgen/PcfFaces.h"

#include <stdexcept>
#include <string>

#include "platform/core/Cp949.h"
#include "terminal/fonts/JohabRules.h"

uint16_t KsCode(int n)
{
    const AnsiString code = Utf16ToCp949(std::u16string(1, static_cast<char16_t>(johab::FirstSyllable + n)));
    const auto lead = static_cast<unsigned char>(code[0]), trail = static_cast<unsigned char>(code.back());
    // KS X 1001's syllables are rows 0xB0..0xC8 of cp949; the face encodes them without the high
    // bits.
    if (code.size() == 2 && lead >= 0xB0 && lead <= 0xC8 && trail >= 0xA1 && trail <= 0xFE)
        return static_cast<uint16_t>((lead - 0x80) << 8 | (trail - 0x80));
    return 0;
}

std::vector<std::optional<TGlyph16>> KsSyllables(const TPcfFont& face)
{
    std::vector<std::optional<TGlyph16>> syllables;
    for (int n = 0; n < johab::SyllableCount; ++n) {
        const uint16_t code = KsCode(n);
        if (code)
            syllables.push_back(face.Glyph(code));
        else
            syllables.emplace_back();
    }
    return syllables;
}

std::vector<uint8_t> EnglishFontBytes(const TPcfFont& face)
{
    const int height = face.Ascent() + face.Descent();
    if (height > 16)
        throw std::runtime_error("the face is " + std::to_string(height) + " pixels tall, more than 16");
    const int top = (16 - height) / 2;
    std::vector<uint8_t> bytes(256 * 16, 0);
    for (char32_t c = 0x20; c < 0x7F; ++c) {
        const std::optional<TGlyph16> g = face.Glyph(static_cast<uint16_t>(c));
        if (!g) {
            if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
                throw std::runtime_error("the face has no glyph for '" + std::string(1, static_cast<char>(c)) + "'");
            continue;
        }
        for (size_t r = 0; r < 16; ++r) {
            if (g->Rows[r] & 0xFF)
                throw std::runtime_error("the face is wider than 8 pixels");
            if (r + static_cast<size_t>(top) < 16)
                bytes[c * 16 + r + static_cast<size_t>(top)] = static_cast<uint8_t>(g->Rows[r] >> 8);
        }
    }
    return bytes;
}
