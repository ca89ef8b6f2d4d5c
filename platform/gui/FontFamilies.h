#pragma once
// The font families a font list offers, as the system's font enumeration reports them: name,
// type bits, character set and pitch. They come from Qt's font database: a smoothly scalable
// font is TrueType, any other raster, none is a device font; a font of the Symbol writing system
// has the symbol character set, one of Latin the ANSI set, any other the default set; there are
// no OEM fonts; the printer has the screen's fonts. Besides the installed families, each Windows
// face name of the font-alias table whose font is installed is listed with that font's
// properties, so a stored Windows name stays a listed font.

#include <cstdint>
#include <vector>

#include "platform/core/AnsiString.h"

// Font type bits.
enum : unsigned { RASTER_FONTTYPE = 1, DEVICE_FONTTYPE = 2, TRUETYPE_FONTTYPE = 4 };
// Character sets beyond those of Graphics.h.
enum : uint8_t { SYMBOL_CHARSET = 2, OEM_CHARSET = 255 };
// Pitch bits.
enum : uint8_t { FIXED_PITCH = 1, VARIABLE_PITCH = 2 };

struct TFontFamilyInfo {
    AnsiString Name;  // cp949
    unsigned FontType = 0;
    uint8_t Charset = 0;
    uint8_t PitchAndFamily = 0;
};

std::vector<TFontFamilyInfo> ScreenFontFamilies();
std::vector<TFontFamilyInfo> PrinterFontFamilies();
