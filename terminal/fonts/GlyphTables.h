#pragma once
// The glyph tables of the bitmap fonts and their loaders. One set of tables serves the whole
// program: loading a font for one terminal changes the glyphs of every terminal.
//
// In memory every glyph bit is complemented (1 = background, 0 = ink); in a font file 1 = ink.
// A 16 x 16 glyph is 32 bytes (16 rows of two bytes, left byte first, bit 7 leftmost); an 8 x 16
// glyph is 16 bytes. Glyph 0 of every jamo set is the empty glyph.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/AnsiString.h"

struct TGlyphTables {
    static constexpr size_t InitialBytes = 8 * 20 * 32;  // 8 sets of 20 initial consonants
    static constexpr size_t MedialBytes = 4 * 22 * 32;   // 4 sets of 22 vowels
    static constexpr size_t FinalBytes = 4 * 28 * 32;    // 4 sets of 28 final consonants
    static constexpr size_t EnglishBytes = 256 * 16;     // bytes 0..255
    static constexpr size_t SpecialBytes = 128 * 32;     // codes 128..255
    static constexpr size_t SymbolGlyphs = 1128;         // KS X 1001 rows 0xA1..0xAC
    static constexpr size_t SymbolBytes = SymbolGlyphs * 32;

    // Until a font is loaded every glyph is blank.
    TGlyphTables();

    std::array<uint8_t, InitialBytes> Initial;
    std::array<uint8_t, MedialBytes> Medial;
    std::array<uint8_t, FinalBytes> Final;
    std::array<uint8_t, EnglishBytes> English;
    std::array<uint8_t, SpecialBytes> Special;
    std::array<uint8_t, SymbolBytes> Symbol;
};

// The program's glyph tables.
const TGlyphTables& GlyphTables();
// Puts back tables kept from GlyphTables() (a preview that loaded fonts and was cancelled).
void RestoreGlyphTables(const TGlyphTables& kept);

// Told of every change of the program's tables (a font loaded, kept tables put back), for as long
// as it lives: whatever draws from the tables (every terminal) draws again, not only the one
// that loaded the font.
class TGlyphTablesWatch {
public:
    explicit TGlyphTablesWatch(std::function<void()> Changed);
    ~TGlyphTablesWatch();
    TGlyphTablesWatch(const TGlyphTablesWatch&) = delete;
    TGlyphTablesWatch& operator=(const TGlyphTablesWatch&) = delete;

    // Tells every watch living now.
    static void TellAll();

private:
    std::function<void()> FChanged;
};

// The accepted sizes of a Hangul combination font: with and without the empty glyph 0 of each set.
constexpr size_t HanFontFullSize = 11520;
constexpr size_t HanFontCompactSize = 11008;
// The symbol font without its three unassigned blocks.
constexpr size_t KsgFontCompactSize = 33696;

// Each loader reads a font file (a native path) into the tables. A file that cannot be opened or
// is shorter than the loader needs changes nothing and is not reported; a Hangul font of a size
// other than the two accepted ones is refused through the message hook and changes nothing.
void LoadHanFont(const std::string& FileName);
void LoadEngFont(const std::string& FileName);
void LoadSpcFont(const std::string& FileName);
void LoadKsgFont(const std::string& FileName);

// The loaders' user messages: a message box with an exclamation icon and an OK button, text and
// caption in cp949. The window layer installs the real box; without a hook the message goes to
// the standard error stream.
using TFontMessageHook = std::function<void(const AnsiString& Text, const AnsiString& Caption)>;
void SetFontMessageHook(TFontMessageHook Hook);

// "지원되지 않는 폰트입니다." CR "화일크기를 확인하세요", captioned "폰트".
extern const char* const UnsupportedFontText;
extern const char* const FontCaption;
