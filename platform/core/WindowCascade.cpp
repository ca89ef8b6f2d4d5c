#include "platform/core/WindowCascade.h"

#include <algorithm>

namespace {

bool Taken(TPoint p, const std::vector<TPoint>& taken)
{
    return std::find(taken.begin(), taken.end(), p) != taken.end();
}

// Steps tried before the cascade gives up on the area (the screen holds far fewer windows).
constexpr int kCascadeSteps = 64;

}  // namespace

TPoint CascadePlace(int width, int height, const TRect& area, const std::vector<TPoint>& taken)
{
    const int down = std::max(1, (area.Height() - height) / kCascadeStep + 1);
    for (int k = 0; k < kCascadeSteps; ++k) {
        const int column = k / down, row = k % down;
        const TPoint p{area.Left + (column + row) * kCascadeStep, area.Top + row * kCascadeStep};
        if (k > 0 && p.x + width > area.Right)
            break;
        if (!Taken(p, taken))
            return p;
    }
    return AwayFromTaken(TPoint{area.Left, area.Top}, taken);
}

TPoint AwayFromTaken(TPoint wanted, const std::vector<TPoint>& taken)
{
    // One more step than there are taken corners always finds a free one.
    for (size_t i = 0; i < taken.size(); ++i) {
        if (!Taken(wanted, taken))
            break;
        wanted.x += kCascadeStep;
        wanted.y += kCascadeStep;
    }
    return wanted;
}
