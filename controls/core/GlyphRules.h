#pragma once
// The bookkeeping behind button glyphs: which image of a glyph strip shows each button state,
// which states share one built image, how the missing images are made, the grey of the inactive
// look, and the slots of a shared image list. Display-free, so the rules are checked without a
// screen; controls/lib/ExButtonGlyph draws with them.

#include "platform/core/Bits.h"
#include "platform/core/Colors.h"

// The paint state of a button; also the number of its image in a glyph strip.
enum TExButtonState { rbsUp, rbsDisabled, rbsDown, rbsExclusive, rbsInactive };
constexpr int kButtonStateCount = 5;
constexpr int kMaxNumGlyphs = 5;

// The image count a strip of this size gets: width div height when the width is an exact multiple
// of the height (1 when that is above five), else the count it had.
int StripGlyphCount(int Width, int Height, int Current);

// The state whose image serves State: the down look of a strip of fewer than three images is its
// up image.
TExButtonState ServingState(TExButtonState State, int NumGlyphs);
// The image of the strip a state's image starts from: its own, or the first when the strip has
// fewer images.
int SourceImageFor(TExButtonState State, int NumGlyphs);

// How a state's image is made.
enum TGlyphBuild {
    gbCopy,      // the strip's image, its transparent colour see-through
    gbEmbossed,  // the disabled look made from the whole glyph, button face see-through
    gbGrey,      // the first image through MapGreyColor, its transparent colour see-through
};
TGlyphBuild GlyphBuildFor(TExButtonState State, int NumGlyphs);

// The grey an inactive glyph shows for Color: the transparent colour and the button face stay as
// they are; any other colour becomes its luminance (77 R + 150 G + 29 B) / 256 in all three.
TColor MapGreyColor(TColor Color, TColor TransparentColor);

// The used slots of a list of images shared by many glyphs: a freed slot is only marked free and
// is the next one handed out; the list never shrinks.
class TGlyphSlots {
public:
    // The first free slot, marked used; Grow is true when it lies past the images the list holds
    // (the caller appends one).
    int Allocate(bool& Grow);
    // Frees a used slot; a free or unknown one is left alone.
    void Release(int Index);
    bool Used(int Index) const { return Index >= 0 && Index < FUsed.Size() && FUsed.Bits(Index); }
    int UsedCount() const { return FUsedCount; }
    int Count() const { return FUsed.Size(); }

private:
    TBits FUsed;
    int FUsedCount = 0;
};
