#pragma once

#include <string_view>

#include "platform/core/AnsiString.h"

// Replaces the '$' escapes of a line for the game: "$E"/"$e" ESC, "$$" '$', "$#n"/"$Gn" the byte
// n (up to three digits; above 255 taken modulo 255). Any other "$x" is dropped, as is a final '$'.
AnsiString ExpandEscapes(std::string_view text);
