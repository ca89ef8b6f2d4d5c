#pragma once
// The plain text list box whose horizontal scroll range is the width of its widest item (plus
// one "x"), so that long lines can be scrolled to (the character window's history picker).

#include "controls/lib/RangeListBox.h"

class TTextListBox : public TRangeListBox {
public:
    using TRangeListBox::TRangeListBox;
};

void RegisterTextListBoxClasses();
