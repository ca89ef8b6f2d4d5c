#pragma once
// The file dialogs' filter text: "name|patterns|name|patterns...", patterns separated by ";".
// A trailing name without its patterns is ignored.

#include <string>
#include <vector>

#include "platform/core/AnsiString.h"

struct TFileFilter {
    AnsiString Name;
    std::vector<AnsiString> Patterns;  // "*.*" is kept as written; it means every file
};

std::vector<TFileFilter> ParseFileFilter(const AnsiString& filter);
// One filter as a Qt name filter (UTF-8): the name, then its patterns in parentheses, each
// pattern matching letters of either case as Windows does ("*.Wlk" -> "*.[Ww][Ll][Kk]") and
// "*.*" matching every file ("*").
std::string QtNameFilter(const TFileFilter& filter);
