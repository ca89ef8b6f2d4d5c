#pragma once
// Reader of the ".hex" bitmap font format: one glyph a line, "XXXX:" and the bitmap in hex digits,
// 32 digits for an 8 x 16 glyph, 64 for a 16 x 16 one.

#include <map>
#include <optional>
#include <string>

#include "tools/fontgen/Glyph16.h"

class THexFont {
public:
    // Reads the file; throws std::runtime_error when it cannot be read.
    explicit THexFont(const std::string& fileName);
    // Parses the lines of a text (for tests); lines that are not glyphs are skipped.
    static THexFont FromText(const std::string& text);

    // The glyph of a code point and its width in pixels (8 or 16), if the font has it. An 8-wide
    // glyph sits in the left half of the rows.
    std::optional<TGlyph16> Glyph(char32_t codePoint, int* width = nullptr) const;

private:
    THexFont() = default;
    void ParseLine(const std::string& line);

    struct TEntry {
        TGlyph16 Glyph;
        int Width;
    };
    std::map<char32_t, TEntry> FGlyphs;
};
