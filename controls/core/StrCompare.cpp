// Locale comparison of cp949 texts, as a Korean system sorts strings: character classes first
// (blanks and controls, symbols, digits, Latin letters, other alphabets, Hangul, Hanja), then
// the character within its class, letters without regard to case; where the texts tie, lower
// case sorts before upper case.
#include <iconv.h>

#include <array>
#include <memory>

#include "controls/core/StrChars.h"

using strchars::Len;

namespace {

enum CharClass { kBlank, kSymbol, kDigit, kLatin, kAlphabet, kHangul, kHanja };

struct Weight {
    int charClass;
    uint32_t value;
    bool operator==(const Weight&) const = default;
    auto operator<=>(const Weight&) const = default;
};

// Unicode code points of every two-byte cp949 character, 0 where a pair is not a character.
// Built once, straight through iconv, one pair at a time.
class TPairTable {
public:
    TPairTable()
    {
        iconv_t cd = iconv_open("UTF-16LE", "CP949");
        if (cd == reinterpret_cast<iconv_t>(-1))
            return;  // no table: two-byte characters then sort by their codes
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x41; trail <= 0xFE; ++trail) {
                char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                unsigned char out[8];
                char* in = pair;
                char* dst = reinterpret_cast<char*>(out);
                size_t inLeft = 2, outLeft = sizeof out;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1) && inLeft == 0 &&
                    outLeft == sizeof out - 2)
                    codes_[Index(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail))] =
                        static_cast<char16_t>(out[0] | (out[1] << 8));
            }
        }
        iconv_close(cd);
    }
    char16_t Code(unsigned char lead, unsigned char trail) const { return codes_[Index(lead, trail)]; }

private:
    static size_t Index(unsigned char lead, unsigned char trail) { return (lead - 0x80u) * 256u + trail; }
    std::array<char16_t, 128 * 256> codes_{};
};

const TPairTable& Pairs()
{
    static const auto table = std::make_unique<TPairTable>();
    return *table;
}

Weight SingleWeight(unsigned char c)
{
    if (c <= ' ' || c == 0x7F)
        return {kBlank, c};
    if (c >= '0' && c <= '9')
        return {kDigit, c};
    if (c >= 'a' && c <= 'z')
        return {kLatin, c};
    if (c >= 'A' && c <= 'Z')
        return {kLatin, static_cast<uint32_t>(c + 32)};
    if (c < 0x80)
        return {kSymbol, c};
    return {kHanja, 0x10000u + c};  // a stray high byte: after every character
}

Weight PairWeight(unsigned char lead, unsigned char trail)
{
    char16_t u = Pairs().Code(lead, trail);
    if (u == 0)
        return {kHanja, 0x10000u + lead * 256u + trail};
    if ((u >= 0xAC00 && u <= 0xD7A3) || (u >= 0x3131 && u <= 0x318E))
        return {kHangul, u};
    if ((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF))
        return {kHanja, u};
    if ((u >= 0x0370 && u <= 0x052F) || (u >= 0x3041 && u <= 0x30FF))
        return {kAlphabet, u};
    if (u >= 0xFF10 && u <= 0xFF19)
        return {kDigit, static_cast<uint32_t>(u - 0xFF10 + '0')};
    if (u >= 0xFF21 && u <= 0xFF3A)
        return {kLatin, static_cast<uint32_t>(u - 0xFF21 + 'a')};
    if (u >= 0xFF41 && u <= 0xFF5A)
        return {kLatin, static_cast<uint32_t>(u - 0xFF41 + 'a')};
    return {kSymbol, u};
}

Weight CharWeight(std::string_view s, size_t i)
{
    if (Len(s, i) == 2)
        return PairWeight(static_cast<unsigned char>(s[i]), static_cast<unsigned char>(s[i + 1]));
    return SingleWeight(static_cast<unsigned char>(s[i]));
}

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// Primary comparison by weights; then, for CompStr, lower case first at the first difference of
// case; then the bytes, so that texts that differ other than in case never compare equal.
int Compare(std::string_view a, std::string_view b, bool ignoreCase)
{
    size_t i = 0, j = 0;
    int caseOrder = 0;
    while (i < a.size() && j < b.size()) {
        Weight wa = CharWeight(a, i), wb = CharWeight(b, j);
        if (wa != wb)
            return wa < wb ? -1 : 1;
        if (caseOrder == 0 && Len(a, i) == 1 && Len(b, j) == 1 && a[i] != b[j]) {
            bool lowerA = a[i] >= 'a' && a[i] <= 'z';
            caseOrder = lowerA ? -1 : 1;
        }
        i += Len(a, i);
        j += Len(b, j);
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    if (ignoreCase)
        return Sign(UpperCase(a).compare(UpperCase(b)));
    if (caseOrder != 0)
        return caseOrder;
    return Sign(a.compare(b));
}

}  // namespace

int CompStr(std::string_view a, std::string_view b) { return Compare(a, b, false); }
int CompText(std::string_view a, std::string_view b) { return Compare(a, b, true); }
