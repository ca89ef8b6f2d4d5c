#pragma once
// Command-line splitting and small text helpers of the control library's utility unit. Texts are
// cp949: a two-byte character is never split or case-folded by halves.

#include <string_view>

#include "platform/core/AnsiString.h"

// Splits a command line into its first token and the rest. A token starts after characters
// 1-32 and any empty quote pairs, and takes the characters above 32; a double quote opens a run
// that takes everything up to the next one (the quotes are dropped, an unclosed run ends with the
// text). Tokens are read until an empty one. Params holds tokens 1 ... n-1 joined by single
// blanks, a token holding a blank quoted again. Tokens have no length limit.
void SplitCommandLine(std::string_view CmdLine, AnsiString& ExeName, AnsiString& Params);
// The text in lower case with its first character in upper case.
AnsiString AnsiUpperFirstChar(std::string_view S);
// S without a first "T" or "t" when S is longer than one character.
AnsiString DropT(std::string_view S);
// A new zero-terminated copy of S, freed with StrDispose.
char* StrPAlloc(std::string_view S);
void StrDispose(char* P);
// The string's own characters.
inline char* StringToPChar(AnsiString& S) { return S.data(); }
