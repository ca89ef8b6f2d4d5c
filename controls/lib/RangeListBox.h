#pragma once
// A list box whose horizontal scroll range is the width of its widest item, kept as items come
// and go through the list messages: adding or inserting grows it, deleting the widest item
// shrinks it to the next widest and scrolls fully left, clearing resets it. The widths are kept
// per item (TListExtent), so the next widest is found without measuring the list again. The text
// list box and the library's custom list box build on it.

#include "controls/core/ListBoxRules.h"
#include "platform/gui/ListBoxes.h"

class TRangeListBox : public TCustomListBox {
public:
    explicit TRangeListBox(TComponent* AOwner);

    // The widest item seen (the range), in pixels.
    int MaxWidth() const { return FExtent.MaxWidth(); }
    // Tells the list window the range (0 while the range is off).
    void SetHorizontalExtent();
    // The range measured again over every item.
    void ResetHorizontalExtent();
    // The item's width: its text with "x" appended, measured with the list's canvas (tabs
    // expanded when TabWidth is above 0).
    virtual int GetItemWidth(int Index);

protected:
    // Whether the range follows the items (else it is 0).
    virtual bool RangeActive() const { return true; }
    // The width of a text as GetItemWidth measures it.
    int MeasureText(const AnsiString& Text);

private:
    void RegisterRangeHandlers();
    // The item's text; the one being added is known without asking the list window.
    AnsiString ItemText(int Index);

    TListExtent FExtent;
    struct {
        int Index = -1;
        const char* Text = nullptr;
    } FAdding;
};
