#include "tools/fontgen/HexFont.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

THexFont::THexFont(const std::string& fileName)
{
    std::ifstream in(fileName);
    if (!in)
        throw std::runtime_error("cannot read " + fileName);
    std::string line;
    while (std::getline(in, line))
        ParseLine(line);
}

THexFont THexFont::FromText(const std::string& text)
{
    THexFont font;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        font.ParseLine(line);
    return font;
}

void THexFont::ParseLine(const std::string& line)
{
    const size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 8)
        return;
    char32_t code = 0;
    for (size_t i = 0; i < colon; ++i) {
        const int d = HexDigit(line[i]);
        if (d < 0)
            return;
        code = code << 4 | static_cast<char32_t>(d);
    }
    std::string bits = line.substr(colon + 1);
    while (!bits.empty() && (bits.back() == '\r' || bits.back() == ' '))
        bits.pop_back();
    if (bits.size() != 32 && bits.size() != 64)
        return;
    const int width = bits.size() == 32 ? 8 : 16;
    const size_t digitsPerRow = static_cast<size_t>(width / 4);
    TEntry e{{}, width};
    for (size_t r = 0; r < 16; ++r) {
        unsigned row = 0;
        for (size_t k = 0; k < digitsPerRow; ++k) {
            const int d = HexDigit(bits[r * digitsPerRow + k]);
            if (d < 0)
                return;
            row = row << 4 | static_cast<unsigned>(d);
        }
        e.Glyph.Rows[r] = static_cast<uint16_t>(width == 8 ? row << 8 : row);
    }
    FGlyphs[code] = e;
}

std::optional<TGlyph16> THexFont::Glyph(char32_t codePoint, int* width) const
{
    const auto it = FGlyphs.find(codePoint);
    if (it == FGlyphs.end())
        return std::nullopt;
    if (width)
        *width = it->second.Width;
    return it->second.Glyph;
}
