#pragma once
// Damaged copies of a valid file for the loaders' tests: the same seed gives the same copies, so
// a failing copy can be found again by its number.

#include <cstdint>
#include <random>
#include <string>

// Where two texts first differ: the length of the shorter when one begins the other.
inline size_t FirstDifference(const std::string& a, const std::string& b)
{
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    return at;
}

class TMutator {
public:
    explicit TMutator(uint32_t seed) : Random(seed) {}

    // One to three damages of the kinds a file meets: a byte changed, lost or added, a cut, a
    // stretch repeated, a NUL, a lone line end, a Hangul lead byte left without its trail, a
    // number far too long.
    std::string Damage(std::string text)
    {
        const int count = 1 + Pick(3);
        for (int i = 0; i < count; ++i)
            DamageOnce(text);
        return text;
    }

private:
    int Pick(int n) { return static_cast<int>(Random() % static_cast<uint32_t>(n)); }
    size_t At(const std::string& text) { return text.empty() ? 0 : static_cast<size_t>(Random() % (text.size() + 1)); }

    void DamageOnce(std::string& text)
    {
        const size_t at = At(text);
        switch (Pick(10)) {
        case 0:
            if (at < text.size())
                text[at] = static_cast<char>(Random());
            break;
        case 1:
            if (at < text.size())
                text.erase(at, 1 + static_cast<size_t>(Pick(8)));
            break;
        case 2: text.insert(at, 1, static_cast<char>(Random())); break;
        case 3: text.resize(at); break;
        case 4: {
            const size_t length = static_cast<size_t>(Pick(40));
            text.insert(at, text.substr(at, length));
            break;
        }
        case 5: text.insert(at, 1, '\0'); break;
        case 6: text.insert(at, 1, Pick(2) ? '\r' : '\n'); break;
        case 7: text.insert(at, 1, static_cast<char>(0xB0 + Pick(16))); break;
        case 8: text.insert(at, "99999999999999999999"); break;
        default:
            // Line ends of another kind throughout.
            for (char& c : text)
                if (c == '\n')
                    c = '\r';
            break;
        }
    }

    std::mt19937 Random;
};
