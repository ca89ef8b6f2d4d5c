#pragma once
// Edit controls over cp949 text: the byte limit that refuses a character whole, selections that
// never end inside a Hangul pair, and the character case an edit forces.

#include <cstddef>
#include <string_view>

#include "platform/core/AnsiString.h"

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// The part of `insert` that replaces `selLen` bytes at `selStart` of `text` without taking the
// text past `maxLength` bytes (0: no limit): whole characters from its start.
AnsiString FitInsert(std::string_view text, size_t selStart, size_t selLen, std::string_view insert, int maxLength);
// A byte offset moved onto a character boundary: back to the pair's lead byte, or past it.
size_t SnapToChar(std::string_view text, size_t pos, bool forward);
// The text with ASCII letters folded as the case asks; Hangul bytes untouched.
AnsiString ApplyCharCase(std::string_view text, TEditCharCase charCase);
// The byte offset of character `index` (counting a pair as one), clamped to the text's end.
size_t CharIndexToByte(std::string_view text, size_t index);
size_t ByteToCharIndex(std::string_view text, size_t pos);
