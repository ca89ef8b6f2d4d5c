#include "terminal/fonts/Codeconv.h"

#include <iconv.h>

#include <array>
#include <vector>

#include "terminal/fonts/JohabRules.h"

namespace {

constexpr int MainCells = 94 * 94;
constexpr int ExtensionCells = 8822;

struct TCodeTables {
    std::array<uint16_t, MainCells> Main;
    std::array<uint16_t, ExtensionCells> Extension;
};

// The characters of every KS X 1001 cell (row-major, 0 for a cell the code page leaves
// unassigned), from the system converter. Only the repertoire comes from there; every Johab
// code is computed from the rules. Empty when the system has no cp949 converter.
std::vector<char32_t> DecodeMainCells()
{
    const iconv_t cd = iconv_open("UTF-32LE", "CP949");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    std::vector<char32_t> decoded;
    decoded.reserve(MainCells);
    for (int lead = 0xA1; lead <= 0xFE; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            unsigned char out[8] = {};
            char* inp = in;
            char* outp = reinterpret_cast<char*>(out);
            size_t inLeft = sizeof in, outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            const bool one =
                iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<size_t>(-1) && inLeft == 0 && outLeft == 4;
            decoded.push_back(one ? static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24) : 0);
        }
    }
    iconv_close(cd);
    return decoded;
}

// KS X 1001 rows come in pairs onto one Johab lead byte: the first row of a pair takes the trail
// bytes 0x31..0x7E and 0x91..0xA0, the second keeps its own 0xA1..0xFE.
uint16_t RowPairCode(int firstRow, int johabBase, int lead, int trail)
{
    const int row = lead - firstRow;
    const int hi = johabBase + row / 2;
    int lo = trail;
    if (row % 2 == 0) {
        lo = trail - 0xA1 + 0x31;
        if (lo > 0x7E)
            lo += 0x12;
    }
    return static_cast<uint16_t>(hi << 8 | lo);
}

TCodeTables BuildTables()
{
    TCodeTables t;
    t.Main.fill(BlankJohabCode);
    t.Extension.fill(BlankJohabCode);

    const std::vector<char32_t> decoded = DecodeMainCells();
    if (decoded.empty())
        return t;  // no converter: Hangul and symbols draw blank rather than wrong

    std::vector<bool> inMain(johab::SyllableCount, false);
    for (int lead = 0xA1; lead <= 0xFE; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const size_t index = static_cast<size_t>((lead - 0xA1) * 94 + (trail - 0xA1));
            const char32_t ch = decoded[index];
            if (ch == 0)
                continue;
            uint16_t& cell = t.Main[index];
            if (lead <= 0xAC) {
                // Symbols, the compatibility jamo row included, go to the symbol area.
                cell = RowPairCode(0xA1, 0xD9, lead, trail);
            } else if (lead >= 0xCA && lead <= 0xFD) {
                cell = RowPairCode(0xCA, 0xE0, lead, trail);
            } else if (lead >= 0xB0 && lead <= 0xC8 && ch >= johab::FirstSyllable &&
                       ch < johab::FirstSyllable + johab::SyllableCount) {
                const int n = static_cast<int>(ch - johab::FirstSyllable);
                inMain[n] = true;
                cell = johab::SyllableToJohab(n);
            }
        }
    }
    // The extension holds every syllable the main set lacks, in syllable order.
    int next = 0;
    for (int n = 0; n < johab::SyllableCount && next < ExtensionCells; ++n) {
        if (!inMain[n])
            t.Extension[next++] = johab::SyllableToJohab(n);
    }
    return t;
}

const TCodeTables& Tables()
{
    static const TCodeTables tables = BuildTables();
    return tables;
}

}  // namespace

int ExtensionIndex(uint16_t Code)
{
    const int lead = Code >> 8, trail = Code & 0xFF;
    int t;
    if (trail >= 'A' && trail <= 'Z')
        t = trail - 'A';
    else if (trail >= 'a' && trail <= 'z')
        t = trail - 'a' + 26;
    else if (trail >= 0x81 && trail <= 0xFE)
        t = trail - 0x81 + 52;
    else
        return -1;  // not a trail byte of the extension at all
    if (lead >= 0x81 && lead <= 0xA0)
        return (lead - 0x81) * 178 + t;
    if (lead >= 0xA1 && lead <= 0xC5 && t < 84)
        return (lead - 0xA1) * 84 + 5696 + t;
    if (lead == 0xC6 && trail >= 0x41 && trail <= 0x52)
        return trail + 8739;
    return -1;
}

bool Convert_ExtCodeW2J(uint16_t& Code)
{
    const int index = ExtensionIndex(Code);
    if (index < 0 || index >= ExtensionCells)
        return false;
    Code = Tables().Extension[static_cast<size_t>(index)];
    return true;
}

void Convert_CodeW2J(uint16_t& Code)
{
    const int lead = Code >> 8, trail = Code & 0xFF;
    if (lead >= 0xA1 && lead <= 0xFE && trail >= 0xA1 && trail <= 0xFE) {
        Code = Tables().Main[static_cast<size_t>((lead - 0xA1) * 94 + (trail - 0xA1))];
        return;
    }
    Convert_ExtCodeW2J(Code);
}
