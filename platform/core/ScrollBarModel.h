#pragma once
// A scroll bar's range, page and position, and what a press at a point of the bar means (the
// Windows scroll codes). Drawing and mouse input are the control's: the terminal's own bar and
// the window scroll bars of the platform's controls use it.

#include <cstdint>

enum : unsigned {
    SB_LINEUP = 0,
    SB_LINEDOWN = 1,
    SB_PAGEUP = 2,
    SB_PAGEDOWN = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_BOTTOM = 7,
    SB_ENDSCROLL = 8,
};

class TScrollBarModel {
public:
    static constexpr int kWidth = 16;

    bool Enabled() const { return FEnabled; }
    bool ArrowsEnabled() const { return FEnabled && !FArrowsDisabled; }
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Page() const { return FPage; }
    int Position() const { return FPos; }
    // The largest position the thumb can take.
    int MaxPosition() const;

    void SetInfo(int min, int max, int page, int pos);
    void SetPosition(int pos);
    void Enable();
    void DisableArrows() { FArrowsDisabled = true; }

    // The bar's parts along a track `height` pixels high.
    struct TThumb {
        int Top = 0, Bottom = 0;
    };
    TThumb Thumb(int height) const;
    // What a press at y means: a scroll code, or -1 over the thumb (a drag) or when disabled.
    int HitTest(int y, int height) const;
    // The position a thumb dragged so that its top is at `thumbTop` stands for.
    int PositionAt(int thumbTop, int height) const;

private:
    bool FEnabled = false;
    bool FArrowsDisabled = true;
    int FMin = 0, FMax = 100, FPage = 0, FPos = 0;
};
