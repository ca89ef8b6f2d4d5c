#pragma once
// The escapes of scriptrun's input and output lines.

#include <string_view>

#include "platform/core/AnsiString.h"

// \r \n \t \\ and \xHH become their bytes; any other backslash stays as it is.
AnsiString UnescapeText(std::string_view text);
// Printable ASCII as it is (a backslash doubled), every other byte as \xHH.
AnsiString EscapeText(std::string_view text);
