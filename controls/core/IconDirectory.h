#pragma once
// The directory of an icon file (.ico), read with every count, offset and size checked, the
// choice of the image that suits a display, and one image cut out as an icon file of its own.
// Icon bytes may come from any program (the clipboard): nothing is trusted.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TIconDirEntry {
    int Width = 0, Height = 0;  // of the image (1-256)
    int BitCount = 0;           // 1, 4, 8, 16, 24 or 32
    uint32_t Offset = 0, Size = 0;
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
// PNG) of 1-256 pixels a side with 1, 4, 8, 16, 24 or 32 bits a pixel, whose palette, colour rows
// and mask rows fit in the image's bytes. False for anything else.
bool ReadIconDirectory(std::string_view data, TIconDirectory& directory);

// The image for a display of displayColors colours (0 for 24 bits and more): the first of the
// same colour count, else the richest the display can show, else the first.
size_t ChooseIconImage(const std::vector<TIconDirEntry>& entries, int displayColors);

// An icon file holding only that image.
std::string ExtractIconImage(std::string_view data, const TIconDirEntry& entry);
