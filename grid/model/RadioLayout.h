#pragma once
// Where the choices of a cell's radio group stand: painting draws each radio and caption where
// this layout puts them, and a click picks the choice whose span holds it, so a click always
// lands on the choice painted under it.
//
// Side by side, choice i starts at the widths of the captions before it plus 12 pixels for each
// choice before it; its 10 x 10 radio stands 2 pixels in and is centred in the cell's height,
// its caption follows the radio, and it spans its caption's width plus 12 pixels. One above the
// other, every choice takes a line of text: its radio 2 pixels in from the cell's left and from
// the top of its line, its caption beside it.

#include <vector>

#include "platform/core/Geometry.h"

constexpr int kRadioSide = 10;

struct TRadioChoicePlace {
    TRect Radio;
    // The top-left corner of the caption's text.
    TPoint Caption;
    // The choice's span along the group (x side by side, y one above the other); a click
    // strictly between the two ends picks it.
    int SpanFrom = 0, SpanTo = 0;
};

// The places of the choices in Cell, given the width of each caption and the height of a line.
std::vector<TRadioChoicePlace> LayoutRadioGroup(const TRect& Cell, bool SideBySide,
                                                const std::vector<int>& CaptionWidths, int LineHeight);

// The choice a click at P (in the coordinates of the layout's cell) picks; -1 when none.
int RadioChoiceAt(const std::vector<TRadioChoicePlace>& Places, bool SideBySide, TPoint P);
