#pragma once
// The plain text list box whose horizontal scroll range is the width of its widest item (plus
// one "x"), kept as items come and go through the list messages, so that long lines can be
// scrolled to. The widths are kept per item (TListExtent), so deleting the widest item finds
// the next widest without measuring the list again.

#include "controls/core/ListBoxRules.h"
#include "platform/gui/ListBoxes.h"

class TTextListBox : public TCustomListBox {
public:
    explicit TTextListBox(TComponent* AOwner);

    // The widest item seen (the range), in pixels.
    int MaxWidth() const { return FExtent.MaxWidth(); }
    // Tells the list window the range.
    void SetHorizontalExtent();
    // The range measured again over every item.
    void ResetHorizontalExtent();
    // The item's text with "x" appended, measured with the list's canvas (tabs expanded when
    // TabWidth is above 0).
    int GetItemWidth(int Index);

private:
    void RegisterTextListHandlers();
    int MeasureText(const AnsiString& Text);

    TListExtent FExtent;
};

void RegisterTextListBoxClasses();
