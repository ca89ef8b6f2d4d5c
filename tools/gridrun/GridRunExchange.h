#pragma once
// gridrun's directives on the clipboard and drag and drop (GridRunExchange.cpp).

#include <string_view>
#include <vector>

#include "tools/gridrun/GridRun.h"
#include "tools/gridrun/GridRunText.h"

// "clipboard TEXT": the clipboard holds TEXT (cp949 inside) as plain text.
void SetClipboardText(const AnsiString& Text);
// "? clipboard [rtf]": prints "clipboard = TEXT" or "clipboard rtf = BYTES" (empty when none).
void ShowClipboard(TGridRun& Run, const std::vector<TGridRunWord>& Words);
// "drop [ctrl] C R text|rtf|file|col DATA": a drag enters, moves over and drops on the middle of
// cell C R with DATA (files blank-separated); prints "drop C R = copy|move|none".
void DropOnGrid(TGridRun& Run, const std::vector<TGridRunWord>& Words, const AnsiString& Data);
