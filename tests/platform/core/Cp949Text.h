#pragma once
// Text in the code page the program keeps its text in: 한글 in cp949 and in UTF-8, and K(), which
// gives text written in UTF-8 in a test's source in cp949.

#include <string>

#include "platform/core/AnsiString.h"
#include "platform/core/Cp949.h"

inline const AnsiString kHan = "\xC7\xD1\xB1\xDB";
inline const std::string kHanUtf8 = "\xED\x95\x9C\xEA\xB8\x80";

inline AnsiString K(const char* utf8) { return Utf8ToCp949(utf8); }
