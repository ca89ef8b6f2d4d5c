#pragma once
// The Johab code of a Hangul syllable and the 8x4x4 choice of jamo glyphs that draws it. Both the
// code conversion and the glyph composition work from these rules, and the font generator uses
// the same choice to decompose its source syllables, so a font it writes composes back the way
// it was fitted.

#include <cstdint>

namespace johab {

constexpr int InitialCount = 19;  // jamo of a modern syllable
constexpr int MedialCount = 21;
constexpr int FinalCount = 28;                                          // final 0 is "no final"
constexpr int SyllableCount = InitialCount * MedialCount * FinalCount;  // 11172
constexpr char32_t FirstSyllable = 0xAC00;

constexpr int InitialSets = 8, InitialGlyphs = 20;
constexpr int MedialSets = 4, MedialGlyphs = 22;
constexpr int FinalSets = 4, FinalGlyphs = 28;

// 5-bit fields of a Johab code for the jamo numbers of a modern syllable (the numbering of the
// Unicode syllable block: initial 0..18, medial 0..20, final 0..27 with 0 = none).
constexpr int InitialField(int l) { return l + 2; }
constexpr int MedialField(int v) { return v < 5 ? v + 3 : v < 11 ? v + 5 : v < 17 ? v + 7 : v + 9; }
constexpr int FinalField(int t) { return t == 0 ? 1 : t < 17 ? t + 1 : t + 2; }

// Johab code of syllable number n (0-based, in syllable-block order).
constexpr uint16_t SyllableToJohab(int n)
{
    const int l = n / (MedialCount * FinalCount);
    const int v = n / FinalCount % MedialCount;
    const int t = n % FinalCount;
    return static_cast<uint16_t>(0x8000 | InitialField(l) << 10 | MedialField(v) << 5 | FinalField(t));
}

// Glyph numbers within a set, by 5-bit field; 0 is the empty glyph.
constexpr int InitialIndex(int field) { return field >= 2 && field <= 20 ? field - 1 : 0; }
constexpr int MedialIndex(int field)
{
    if (field >= 3 && field <= 7)
        return field - 2;
    if (field >= 10 && field <= 15)
        return field - 4;
    if (field >= 18 && field <= 23)
        return field - 6;
    if (field >= 26 && field <= 29)
        return field - 8;
    return 0;
}
constexpr int FinalIndex(int field)
{
    if (field >= 2 && field <= 17)
        return field - 1;
    if (field >= 19 && field <= 29)
        return field - 2;
    return 0;
}

// Which glyph of which set draws each part of a Johab code.
struct TJamoChoice {
    int InitialSet, Initial;
    int MedialSet, Medial;
    int FinalSet, Final;
};

TJamoChoice ChooseJamo(uint16_t code);

}  // namespace johab
