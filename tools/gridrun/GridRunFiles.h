#pragma once
// gridrun's directives on files: "show FILE" prints a file's bytes.

#include <iosfwd>

#include "platform/core/AnsiString.h"

// The bytes of a file (a program path): printable ASCII as it is, the rest escaped as \\ \t \r
// \n \b or \xHH (bytes from 0x80 too), a line ended after every \n and after the last byte.
void ShowFile(std::ostream& Out, const AnsiString& FileName);
