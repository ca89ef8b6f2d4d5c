#include "terminal/fonts/JohabRules.h"

namespace johab {

namespace {

// Set choice by medial glyph number (0..21) or initial glyph number (0..19). The shapes of the
// vowels decide where the consonants sit; a final consonant pushes everything up.
constexpr int InitialSetPlain[22] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 3, 3, 3, 1, 2, 4, 4, 4, 2, 1, 3, 0};
constexpr int InitialSetFinal[22] = {0, 5, 5, 5, 5, 5, 5, 5, 5, 6, 7, 7, 7, 6, 6, 7, 7, 7, 6, 6, 7, 5};
constexpr int MedialSetPlain[20] = {0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1};
constexpr int MedialSetFinal[20] = {0, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 3, 3, 3};
constexpr int FinalSet[22] = {0, 0, 2, 0, 2, 1, 2, 1, 2, 3, 0, 2, 1, 3, 3, 1, 2, 1, 3, 3, 1, 1};

}  // namespace

TJamoChoice ChooseJamo(uint16_t code)
{
    const int c = InitialIndex(code >> 10 & 31);
    const int m = MedialIndex(code >> 5 & 31);
    const int f = FinalIndex(code & 31);
    const bool hasFinal = f != 0;
    TJamoChoice r{};
    r.InitialSet = hasFinal ? InitialSetFinal[m] : InitialSetPlain[m];
    r.Initial = c;
    r.MedialSet = hasFinal ? MedialSetFinal[c] : MedialSetPlain[c];
    r.Medial = m;
    r.FinalSet = FinalSet[m];
    r.Final = f;
    return r;
}

}  // namespace johab
