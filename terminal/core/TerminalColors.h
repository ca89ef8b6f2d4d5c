#pragma once
// Colours of the terminal: TColor values (blue in the high byte), the 16 PC colours the host
// selects by number, and the dark/bright pairs that bold toggles between.

#include <string_view>

#include "platform/core/Colors.h"

// Colour n of the 16 PC colours (black, navy, green, teal, maroon, purple, olive, silver, gray,
// blue, lime, aqua, red, fuchsia, yellow, white); any other n gives black.
TColor PcColor(int n);
// Parameter text to colour: "0".."15" as PcColor, empty or anything else black.
TColor AnsiColor(std::string_view s);
// SGR 30..37 / 40..47: the eight dark colours in ANSI order; out of range gives black.
TColor AnsiOrderColor(int n);
// The other member of a dark/bright pair; a colour outside the pairs is returned unchanged.
TColor ChangeImportant(TColor c);
// Index 0..15 of c among the PC colours, -1 when it is none of them.
int PcColorIndex(TColor c);
