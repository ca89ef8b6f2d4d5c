#pragma once
// The terminal settings dialog's decisions, without a display: which font list a file of the
// fonts folder goes to, what the dialog shows of an entry, and what Save writes back.

#include <string>
#include <vector>

#include "app/core/CharBooks.h"
#include "platform/core/AnsiString.h"
#include "platform/core/Colors.h"

namespace TerminalSettings {

// The bitmap fonts' folder, inside the program folder, as the book's font paths start.
inline constexpr const char* kFontsFolder = "Fonts\\";

// The four lists of bitmap fonts, in the dialog's order.
enum TFontList { flHan, flEng, flSpc, flKsg, flNone };

// The list a file name goes to by its extension, compared exactly (".han", ".eng", ".spc",
// ".ksg"); a name holding '~' goes to none, as the book could not store it.
TFontList FontListOf(const AnsiString& fileName);

// The names of a folder's entries (in the order the system gives them) sorted into the four lists.
struct TFontFiles {
    std::vector<AnsiString> Lists[4];
};
TFontFiles SortFontFiles(const std::vector<AnsiString>& names);

// What the dialog edits of an entry. Font files are file names inside the fonts folder.
struct TValues {
    bool Han = false, Alpha = false, ReConnect = false, WalkAutoRewind = false, WFCSubString = false;
    AnsiString WindowsFont;
    TColor Fg = clWhite, Bg = clNavy;
    AnsiString Fonts[4];
};
TValues Read(const TCharBooks& entry);
// Save: the option bits, the Windows font, the colours, and each font as "Fonts\" + its name.
void Write(const TValues& values, TCharBooks& entry);

}  // namespace TerminalSettings
