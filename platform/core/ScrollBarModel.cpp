#include "platform/core/ScrollBarModel.h"

#include <algorithm>

int TScrollBarModel::MaxPosition() const { return std::max(FMin, FMax - std::max(FPage, 1) + 1); }

void TScrollBarModel::SetInfo(int min, int max, int page, int pos)
{
    FMin = min;
    FMax = std::max(min, max);
    FPage = std::clamp(page, 0, FMax - FMin + 1);
    SetPosition(pos);
}

void TScrollBarModel::SetPosition(int pos) { FPos = std::clamp(pos, FMin, MaxPosition()); }

void TScrollBarModel::Enable()
{
    FEnabled = true;
    FArrowsDisabled = false;
}

TScrollBarModel::TThumb TScrollBarModel::Thumb(int height) const
{
    const int track = height - 2 * kWidth;
    if (track <= 0)
        return {kWidth, kWidth};
    const int span = FMax - FMin + 1;
    const int size =
        std::clamp(span > 0 ? static_cast<int>(int64_t{track} * std::max(FPage, 1) / span) : track, 8, track);
    const int range = MaxPosition() - FMin;
    const int top = range > 0 ? static_cast<int>(int64_t{track - size} * (FPos - FMin) / range) : 0;
    return {kWidth + top, kWidth + top + size};
}

int TScrollBarModel::HitTest(int y, int height) const
{
    if (!ArrowsEnabled())
        return -1;
    if (y < kWidth)
        return SB_LINEUP;
    if (y >= height - kWidth)
        return SB_LINEDOWN;
    const TThumb t = Thumb(height);
    if (y < t.Top)
        return SB_PAGEUP;
    if (y >= t.Bottom)
        return SB_PAGEDOWN;
    return -1;
}

int TScrollBarModel::PositionAt(int thumbTop, int height) const
{
    const TThumb t = Thumb(height);
    const int free = height - 2 * kWidth - (t.Bottom - t.Top);
    if (free <= 0)
        return FPos;
    const int range = MaxPosition() - FMin;
    const int offset = std::clamp(thumbTop - kWidth, 0, free);
    return FMin + static_cast<int>((int64_t{offset} * range + free / 2) / free);
}
