#pragma once
// Font files made up for the tests: every glyph carries a tag in its ink, so a test can tell
// which glyph of which set ended up in a table or on the screen.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fonttest {

// A scratch folder removed at the end of the test.
class TTempDir {
public:
    TTempDir()
    {
        static int counter = 0;
        FPath = std::filesystem::temp_directory_path() /
            ("hm-fonts-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(FPath);
    }
    ~TTempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(FPath, ec);
    }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        const auto p = FPath / name;
        std::ofstream out(p, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return p.string();
    }
    std::string Path(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

// Row of a 16 x 16 jamo glyph that carries its tag: initials mark row 1, medials row 6, finals
// row 12, so the three parts of a composed syllable can be read back apart.
constexpr int InitialTagRow = 1, MedialTagRow = 6, FinalTagRow = 12;

// A Hangul combination font in file form (ink = 1). Glyph g (g >= 1) of set s has, on its tag
// row, the left byte 0x80 | s and the right byte g; glyph 0 is empty. `variant` is added to every
// tag so that two fonts differ. Compact files leave out every glyph 0.
inline std::vector<uint8_t> HanFont(bool compact, int variant = 0)
{
    std::vector<uint8_t> bytes;
    auto sets = [&](int count, int glyphs, int tagRow) {
        for (int s = 0; s < count; ++s) {
            for (int g = compact ? 1 : 0; g < glyphs; ++g) {
                uint8_t glyph[32] = {};
                if (g != 0) {
                    glyph[tagRow * 2] = static_cast<uint8_t>(0x80 | s);
                    glyph[tagRow * 2 + 1] = static_cast<uint8_t>(g + variant);
                }
                bytes.insert(bytes.end(), glyph, glyph + 32);
            }
        }
    };
    sets(8, 20, InitialTagRow);
    sets(4, 22, MedialTagRow);
    sets(4, 28, FinalTagRow);
    return bytes;
}

// `count` glyphs of `size` bytes; glyph k starts with its tag k + variant (two bytes, high
// first) followed by a fixed pattern.
inline std::vector<uint8_t> TaggedGlyphs(int count, int size, int variant = 0)
{
    std::vector<uint8_t> bytes;
    for (int k = 0; k < count; ++k) {
        const int tag = k + variant;
        bytes.push_back(static_cast<uint8_t>(tag >> 8));
        bytes.push_back(static_cast<uint8_t>(tag));
        for (int i = 2; i < size; ++i)
            bytes.push_back(static_cast<uint8_t>(0x5A + i));
    }
    return bytes;
}

// The tag of a glyph as stored in a table (complemented).
inline int StoredTag(const uint8_t* glyph) { return (uint8_t)~glyph[0] << 8 | (uint8_t)~glyph[1]; }

}  // namespace fonttest
