#pragma once
// The directory of an icon file (.ico), read with every count, offset and size checked, the
// choice of the image that suits a display, and one image cut out as an icon file of its own.
// Icon bytes may come from any program (the clipboard): nothing is trusted. Reading the
// directory looks at each image's header only, so its cost follows the directory's size; an
// image is decoded only once it is chosen.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TIconDirEntry {
    int Width = 0, Height = 0;  // of the image (1-256)
    int BitCount = 0;           // 1, 4, 8, 16, 24 or 32
    uint32_t Offset = 0, Size = 0;
    // The colour count the directory entry itself states (0 for 256 and more).
    int DeclaredColors = 0;
    bool Png = false;
    // A bitmap image: its palette's entries, and whether the one-bit mask rows follow the
    // colour rows (a 32-bit image may leave them out).
    int PaletteColors = 0;
    bool HasMask = false;
    // The colour count as a directory gives it: 2^BitCount below 8 bits, 0 for 256 and more.
    int Colors() const { return BitCount < 8 ? 1 << BitCount : 0; }
};

struct TIconDirectory {
    uint16_t Type = 0;  // 1 for icons, 2 for cursors
    std::vector<TIconDirEntry> Entries;
};

// The type word of an icon stream's 6-byte header (reserved, type, count): 0 stands for the
// system's application icon, 1 for an icon file; -1 for a stream shorter than the header.
int IconStreamType(std::string_view data);

// Reads the header and directory and checks each image: within the data, a bitmap header (or a
// PNG) of 1-256 pixels a side with 1, 4, 8, 16, 24 or 32 bits a pixel, uncompressed, whose
// palette, colour rows and mask rows fit in the image's bytes. A directory takes 16 bytes an
// entry, so the entries can never outnumber what the data holds. False for anything else, and
// the directory is left as it was.
bool ReadIconDirectory(std::string_view data, TIconDirectory& directory);

// The image for a display of displayColors colours (0 for 24 bits and more), by the colour
// counts of the images (0 for 256 and more): the first of the same count, else the richest the
// display can show, else the first.
size_t ChooseIconImage(const std::vector<int>& colorCounts, int displayColors);
// The same by each image's bits a pixel.
size_t ChooseIconImage(const std::vector<TIconDirEntry>& entries, int displayColors);

// An icon file holding only that image.
std::string ExtractIconImage(std::string_view data, const TIconDirEntry& entry);
