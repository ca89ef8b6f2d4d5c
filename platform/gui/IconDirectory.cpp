#include "platform/gui/IconDirectory.h"

#include <cstdint>
#include <cstring>

namespace {

uint32_t Read16(std::string_view d, size_t at)
{
    return static_cast<uint8_t>(d[at]) | static_cast<uint32_t>(static_cast<uint8_t>(d[at + 1])) << 8;
}

uint32_t Read32(std::string_view d, size_t at) { return Read16(d, at) | Read16(d, at + 2) << 16; }

void Put16(std::string& out, uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

bool ValidSide(int64_t v) { return v >= 1 && v <= 256; }

uint32_t ReadBig32(std::string_view d, size_t at)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(d[at])) << 24 | static_cast<uint8_t>(d[at + 1]) << 16 |
        static_cast<uint8_t>(d[at + 2]) << 8 | static_cast<uint8_t>(d[at + 3]);
}

// A PNG image: its header chunk gives the size; stored as 32 bits a pixel.
bool ReadPngImage(std::string_view image, TIconDirEntry& entry)
{
    static const char kSignature[] = "\x89PNG\r\n\x1a\n";
    if (image.size() < 24 || std::memcmp(image.data(), kSignature, 8) != 0 || image.substr(12, 4) != "IHDR")
        return false;
    const uint32_t w = ReadBig32(image, 16), h = ReadBig32(image, 20);
    if (!ValidSide(w) || !ValidSide(h))
        return false;
    entry.Width = static_cast<int>(w);
    entry.Height = static_cast<int>(h);
    entry.BitCount = 32;
    entry.Png = true;
    return true;
}

// A bitmap image: header, palette, colour rows, then the one-bit mask rows.
bool ReadBitmapImage(std::string_view image, TIconDirEntry& entry)
{
    if (image.size() < 40)
        return false;
    const uint32_t headerSize = Read32(image, 0);
    const int64_t width = static_cast<int32_t>(Read32(image, 4));
    const int64_t doubled = static_cast<int32_t>(Read32(image, 8));
    const uint32_t bits = Read16(image, 14), compression = Read32(image, 16), used = Read32(image, 32);
    if (headerSize < 40 || headerSize > image.size() || compression != 0)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    // The stored height covers the colour rows and the mask rows.
    if (!ValidSide(width) || !ValidSide(doubled / 2))
        return false;
    const int64_t height = doubled / 2;
    const int64_t paletteEntries = bits > 8 ? 0 : used != 0 ? used : int64_t(1) << bits;
    if (paletteEntries > 256)
        return false;
    const int64_t colorRow = (width * bits + 31) / 32 * 4, maskRow = (width + 31) / 32 * 4;
    const int64_t colorEnd = int64_t(headerSize) + paletteEntries * 4 + colorRow * height;
    const int64_t size = static_cast<int64_t>(image.size());
    const bool hasMask = colorEnd + maskRow * height <= size;
    if (colorEnd > size || (!hasMask && bits != 32))
        return false;
    entry.Width = static_cast<int>(width);
    entry.Height = static_cast<int>(height);
    entry.BitCount = static_cast<int>(bits);
    entry.PaletteColors = static_cast<int>(paletteEntries);
    entry.HasMask = hasMask;
    return true;
}

}  // namespace

int IconStreamType(std::string_view data) { return data.size() < 6 ? -1 : static_cast<int>(Read16(data, 2)); }

bool ReadIconDirectory(std::string_view data, TIconDirectory& directory)
{
    if (data.size() < 6 || Read16(data, 0) != 0)
        return false;
    const uint32_t type = Read16(data, 2), count = Read16(data, 4);
    if ((type != 1 && type != 2) || count == 0 || 6 + uint64_t(count) * 16 > data.size())
        return false;
    TIconDirectory result;
    result.Type = static_cast<uint16_t>(type);
    result.Entries.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = 6 + size_t(i) * 16;
        TIconDirEntry entry;
        entry.DeclaredColors = static_cast<uint8_t>(data[at + 2]);
        entry.Size = Read32(data, at + 8);
        entry.Offset = Read32(data, at + 12);
        if (entry.Size == 0 || uint64_t(entry.Offset) + entry.Size > data.size())
            return false;
        const std::string_view image = data.substr(entry.Offset, entry.Size);
        if (!ReadPngImage(image, entry) && !ReadBitmapImage(image, entry))
            return false;
        result.Entries.push_back(entry);
    }
    directory = std::move(result);
    return true;
}

size_t ChooseIconImage(const std::vector<int>& colorCounts, int displayColors)
{
    for (size_t i = 0; i < colorCounts.size(); ++i)
        if (colorCounts[i] == displayColors)
            return i;
    // "Many colours" is 0 in both counts: compare as numbers with 0 above every other.
    auto rank = [](int colors) { return colors == 0 ? INT64_MAX : int64_t(colors); };
    size_t best = colorCounts.size();
    for (size_t i = 0; i < colorCounts.size(); ++i) {
        const int64_t colors = rank(colorCounts[i]);
        if (colors <= rank(displayColors) && (best == colorCounts.size() || colors > rank(colorCounts[best])))
            best = i;
    }
    return best == colorCounts.size() ? 0 : best;
}

size_t ChooseIconImage(const std::vector<TIconDirEntry>& entries, int displayColors)
{
    std::vector<int> counts;
    counts.reserve(entries.size());
    for (const TIconDirEntry& entry : entries)
        counts.push_back(entry.Colors());
    return ChooseIconImage(counts, displayColors);
}

std::string ExtractIconImage(std::string_view data, const TIconDirEntry& entry)
{
    std::string out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    out += static_cast<char>(entry.Width & 0xFF);  // 256 is written as 0
    out += static_cast<char>(entry.Height & 0xFF);
    out += static_cast<char>(entry.BitCount < 8 ? 1 << entry.BitCount : 0);
    out += '\0';
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(entry.BitCount));
    Put32(out, entry.Size);
    Put32(out, 22);
    out.append(data.substr(entry.Offset, entry.Size));
    return out;
}
