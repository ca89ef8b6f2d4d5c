#pragma once
// Icon files built byte by byte for the tests: bitmap images with every byte their rows need.

#include <cstdint>
#include <string>
#include <vector>

namespace iconbytes {

inline void Put16(std::string& s, uint32_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8 & 0xFF);
}
inline void Put32(std::string& s, uint32_t v)
{
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}
inline void Set32(std::string& s, size_t at, uint32_t v)
{
    std::string b;
    Put32(b, v);
    s.replace(at, 4, b);
}

// A bitmap icon image of w x h at bits a pixel, with every byte its rows and palette need.
inline std::string Image(int w, int h, int bits)
{
    std::string s;
    Put32(s, 40);
    Put32(s, static_cast<uint32_t>(w));
    Put32(s, static_cast<uint32_t>(h * 2));
    Put16(s, 1);
    Put16(s, static_cast<uint32_t>(bits));
    s.append(24, '\0');
    const size_t palette = bits <= 8 ? (size_t(1) << bits) * 4 : 0;
    const size_t rows = size_t((w * bits + 31) / 32 * 4 + (w + 31) / 32 * 4) * size_t(h);
    s.append(palette + rows, '\0');
    return s;
}

// An icon file of the images, directory entries first.
inline std::string IconFile(const std::vector<std::string>& images)
{
    std::string s;
    Put16(s, 0);
    Put16(s, 1);
    Put16(s, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (const std::string& image : images) {
        s.append(8, '\0');
        Put32(s, static_cast<uint32_t>(image.size()));
        Put32(s, offset);
        offset += static_cast<uint32_t>(image.size());
    }
    for (const std::string& image : images)
        s += image;
    return s;
}

}  // namespace iconbytes
