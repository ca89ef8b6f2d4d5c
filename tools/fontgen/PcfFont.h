#pragma once
// Reader of X11 portable compiled fonts (.pcf, also gzip-compressed .pcf.gz): the glyph metrics,
// bitmaps and encodings, enough to take the glyphs of a 16-pixel font into 16 x 16 cells.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/fontgen/Glyph16.h"

class TPcfFont {
public:
    // Reads the file (gzip-compressed or not); throws std::runtime_error on a file it cannot read
    // or a malformed font.
    explicit TPcfFont(const std::string& fileName);
    // Parses the bytes of an uncompressed font.
    explicit TPcfFont(std::vector<uint8_t> bytes);

    int Ascent() const { return FAscent; }
    int Descent() const { return FDescent; }

    // The glyph of a two-byte encoding (byte1 high), drawn into a 16 x 16 cell with the font's
    // baseline at row Ascent(); nothing when the font has no glyph there.
    std::optional<TGlyph16> Glyph(uint16_t encoding) const;

private:
    struct TMetrics {
        int Left, Right, Width, Ascent, Descent;
    };

    void Parse();

    std::vector<uint8_t> FBytes;
    int FAscent = 0, FDescent = 0;
    std::vector<TMetrics> FMetrics;
    std::vector<std::vector<uint8_t>> FBitmaps;  // per glyph: rows of whole bytes, bit 7 leftmost
    std::vector<int> FRowBytes;
    int FMinByte2 = 0, FMaxByte2 = -1, FMinByte1 = 0, FMaxByte1 = -1;
    std::vector<uint16_t> FEncoding;
};
