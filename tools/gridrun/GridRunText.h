#pragma once
// The words of gridrun's directive lines and the escapes of its input and output. Lines are
// UTF-8; what they carry becomes cp949 inside, and cp949 goes back out as UTF-8.

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"

// One word of a directive, and where it starts in the line.
struct TGridRunWord {
    AnsiString Text;
    size_t Start = 0;
};

// Splits a line at blanks; a word in double quotes keeps its blanks (\" is a quote inside).
// Escapes \\ \t \r \n \b \xHH give their byte. False with a message for a line that ends inside
// quotes or an escape.
bool SplitWords(std::string_view line, std::vector<TGridRunWord>& words, std::string& error);
// The escapes of a text taken as it stands (the rest of a line), UTF-8 made cp949.
bool Unescape(std::string_view text, AnsiString& out, std::string& error);
// cp949 text as UTF-8 with \\ \t \r \n \b and \xHH (upper-case) for the other bytes below
// 0x20 and 0x7F; `extra` lists further characters written with a backslash before them.
std::string Escape(std::string_view text, std::string_view extra = {});
// Escape, in double quotes when the text is empty or holds a blank or a quote, so that the
// words of a line can be told apart.
std::string Quote(std::string_view text);
