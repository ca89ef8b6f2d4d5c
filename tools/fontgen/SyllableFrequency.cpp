#include "tools/fontgen/SyllableFrequency.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "terminal/fonts/JohabRules.h"

namespace {

// The syllable a three-byte UTF-8 sequence names, or -1.
int SyllableOf(const std::string& text)
{
    if (text.size() != 3 || (static_cast<unsigned char>(text[0]) & 0xF0) != 0xE0)
        return -1;
    const char32_t c = static_cast<char32_t>((static_cast<unsigned char>(text[0]) & 0x0F) << 12 |
                                             (static_cast<unsigned char>(text[1]) & 0x3F) << 6 |
                                             (static_cast<unsigned char>(text[2]) & 0x3F));
    const int n = static_cast<int>(c) - static_cast<int>(johab::FirstSyllable);
    return n >= 0 && n < johab::SyllableCount ? n : -1;
}

}  // namespace

std::vector<int> ReadSyllableRanks(const std::string& fileName)
{
    std::ifstream in(fileName);
    if (!in)
        throw std::runtime_error("cannot read " + fileName);
    std::vector<int> ranks(johab::SyllableCount, -1);
    int rank = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string place, syllable;
        fields >> place >> syllable;
        const int n = SyllableOf(syllable);
        if (n < 0)
            throw std::runtime_error(fileName + ": no syllable in \"" + line + "\"");
        if (ranks[static_cast<size_t>(n)] < 0)
            ranks[static_cast<size_t>(n)] = rank++;
    }
    return ranks;
}

std::vector<bool> CommonSyllables(const std::vector<int>& ranks)
{
    std::vector<bool> common(ranks.size());
    for (size_t n = 0; n < ranks.size(); ++n)
        common[n] = ranks[n] >= 0 && ranks[n] < CommonSyllableCount;
    return common;
}
