#include "MudStream.h"

#include <random>

namespace {

class TWriter {
public:
    explicit TWriter(uint32_t seed) : FRng(seed) {}
    int Pick(int n) { return static_cast<int>(FRng() % static_cast<uint32_t>(n)); }
    // One Wansung syllable (lead B0..C8, trail A1..FE).
    void Syllable(std::string& s)
    {
        s.push_back(static_cast<char>(0xB0 + Pick(25)));
        s.push_back(static_cast<char>(0xA1 + Pick(94)));
    }
    // Text of about `width` cells: Hangul words with blanks and some ASCII.
    void Text(std::string& s, int width)
    {
        int used = 0;
        while (used + 2 < width) {
            if (Pick(5) == 0) {
                s.push_back(' ');
                ++used;
            } else if (Pick(8) == 0) {
                s.push_back(static_cast<char>('a' + Pick(26)));
                ++used;
            } else {
                Syllable(s);
                used += 2;
            }
        }
    }
    void Colour(std::string& s)
    {
        static const char* const kSgr[] = {"\x1b[0m",     "\x1b[1;32m", "\x1b[33m", "\x1b[1;36m",
                                           "\x1b[37;44m", "\x1b[0;31m", "\x1b[1m",  "\x1b[35m"};
        s += kSgr[Pick(8)];
    }

private:
    std::mt19937 FRng;
};

}  // namespace

std::string MakeMudStream(size_t bytes, uint32_t seed)
{
    TWriter w(seed);
    std::string s;
    s.reserve(bytes + 256);
    while (s.size() < bytes) {
        switch (w.Pick(10)) {
        case 0:  // room title
            s += "\x1b[1;32m[";
            w.Text(s, 12);
            s += "]\x1b[0m\r\n";
            break;
        case 1:  // status line kept at the top right with save / move / restore
            s += "\x1b[s\x1b[1;56H\x1b[7m HP 123/456 MP 78 \x1b[0m\x1b[u";
            break;
        case 2:  // prompt
            s += "\x1b[1;33m";
            w.Text(s, 10);
            s += "> \x1b[0m\r\n";
            break;
        default: {  // description or chat line with a few colour changes
            int parts = 1 + w.Pick(4);
            for (int i = 0; i < parts; ++i) {
                w.Colour(s);
                w.Text(s, 8 + w.Pick(10));
            }
            s += "\x1b[0m\r\n";
            break;
        }
        }
    }
    return s;
}

std::string MakeColouredLines(int lines, uint32_t seed)
{
    TWriter w(seed);
    std::string s;
    for (int i = 0; i < lines; ++i) {
        // Six colour runs filling the 79 cells a line holds before it wraps.
        for (int part = 0; part < 6; ++part) {
            w.Colour(s);
            w.Text(s, part < 5 ? 13 : 15);
        }
        s += "\x1b[0m\r\n";
    }
    return s;
}
