#include "controls/core/FontFilter.h"

bool FontPassesOptions(unsigned FontType, uint8_t Charset, uint8_t PitchAndFamily, TFontListOptions Options)
{
    auto has = [Options](TFontListOption o) { return (Options & (1u << o)) != 0; };
    if (has(foAnsiOnly) && Charset != 0)
        return false;
    if (has(foTrueTypeOnly) && !(FontType & 4))
        return false;
    if (has(foFixedPitchOnly) && !(PitchAndFamily & 1))
        return false;
    if (has(foOEMFontsOnly) && Charset != 255)
        return false;
    if (has(foNoOEMFonts) && Charset == 255)
        return false;
    if (has(foNoSymbolFonts) && Charset == 2)
        return false;
    if (has(foScalableOnly) && (FontType & 1))
        return false;
    return true;
}
