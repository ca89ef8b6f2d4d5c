#include "controls/core/GlyphRules.h"

int StripGlyphCount(int Width, int Height, int Current)
{
    if (Height <= 0 || Width <= 0 || Width % Height != 0)
        return Current;
    const int count = Width / Height;
    return count > kMaxNumGlyphs ? 1 : count;
}

TExButtonState ServingState(TExButtonState State, int NumGlyphs)
{
    return State == rbsDown && NumGlyphs < 3 ? rbsUp : State;
}

int SourceImageFor(TExButtonState State, int NumGlyphs) { return static_cast<int>(State) < NumGlyphs ? State : 0; }

TGlyphBuild GlyphBuildFor(TExButtonState State, int NumGlyphs)
{
    if (State == rbsDisabled && NumGlyphs < 2)
        return gbEmbossed;
    if (State == rbsInactive && NumGlyphs < 5)
        return gbGrey;
    return gbCopy;
}

TColor MapGreyColor(TColor Color, TColor TransparentColor)
{
    if (Color == TransparentColor)
        return Color;
    const TColor rgb = ColorToRGB(Color);
    if (rgb == ColorToRGB(clBtnFace))
        return Color;
    const int grey = (GetRValue(rgb) * 77 + GetGValue(rgb) * 150 + GetBValue(rgb) * 29) >> 8;
    return RGB(grey, grey, grey);
}

int TGlyphSlots::Allocate(bool& Grow)
{
    const int index = FUsed.OpenBit();
    Grow = index >= FUsed.Size();
    FUsed.SetBits(index, true);
    ++FUsedCount;
    return index;
}

void TGlyphSlots::Release(int Index)
{
    if (!Used(Index))
        return;
    FUsed.SetBits(Index, false);
    --FUsedCount;
}
