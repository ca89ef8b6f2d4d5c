#pragma once
// The texts of the file and directory edits: a file name quoted when it holds a blank, a text
// read back as a file name, and the ";"-separated list of several directories.

#include <functional>

#include "platform/core/AnsiString.h"

// The name in double quotes when it holds a blank and does not start with one.
AnsiString QuoteFileName(const AnsiString& Name);
// The text itself when a file of that exact name exists, else the program part of the text read
// as a command line (an unquoted text that names no file is read so too).
AnsiString ClipFileName(const AnsiString& Text);
// Each ";"-separated part converted, the non-empty results joined with ";".
AnsiString MapDirList(const AnsiString& Text, const std::function<AnsiString(const AnsiString&)>& Convert);
// Name after the text and a ";" when several directories are held and the text is not empty,
// else Name alone.
AnsiString AddDirName(const AnsiString& Text, const AnsiString& Name, bool Multiple);
