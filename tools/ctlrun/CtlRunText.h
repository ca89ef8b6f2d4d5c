#pragma once
// Splitting a directive line: leading words separated by blanks, then the rest of the line as
// one text with scriptrun's escapes (\r \n \t \\ \xHH).

#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"

// Takes the next blank-separated word off the front of `line` (empty when there is none).
AnsiString NextWord(std::string_view& line);
// The words of a whole line.
std::vector<AnsiString> Words(std::string_view line);
// The rest of a line after one separating blank, escapes applied.
AnsiString RestText(std::string_view line);
