#include "grid/model/TextPlacement.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Half of a difference, rounded down.
int Half(int v) { return static_cast<int>(std::floor(v / 2.0)); }

int AbsTrunc(double v) { return std::abs(static_cast<int>(std::trunc(v))); }

}  // namespace

TPoint TurnedTextStart(const TRect& R, int Width, int Height, int Angle, TAlignment Alignment, TVAlignment VAlignment)
{
    int angle = Angle % 360;
    if (angle < 0)
        angle += 360;
    if (angle == 0 && Angle != 0)
        angle = 360;
    const double a = angle * kPi / 180;
    const int cw = AbsTrunc(std::cos(a) * Width), sh = AbsTrunc(std::sin(a) * Height);
    const int sw = AbsTrunc(std::sin(a) * Width), ch = AbsTrunc(std::cos(a) * Height);
    const int quadrant = angle <= 90 ? 1 : angle <= 180 ? 2 : angle <= 270 ? 3 : 4;
    const int x = R.Left, y = R.Top, b = R.Bottom, right = R.Right;
    const int middle = Half(b - y - ch - sw);
    const bool toRight = Alignment == taRightJustify, centred = Alignment == taCenter;
    const bool toBottom = VAlignment == vtaBottom, inMiddle = VAlignment == vtaCenter;
    switch (quadrant) {
    case 1:
        return {toRight       ? right - cw - sh
                    : centred ? x + Half(right - x - sh - cw)
                              : x,
                toBottom       ? b - ch
                    : inMiddle ? y + middle + sw
                               : y + sw};
    case 2:
        return {toRight       ? right - sh
                    : centred ? right - Half(right - x + sh - cw)
                              : x + cw,
                toBottom       ? b
                    : inMiddle ? y + middle + sw + ch
                               : y + sw + ch};
    case 3:
        return {toRight       ? right
                    : centred ? right - Half(right - x - sh - cw)
                              : x + sh + cw,
                toBottom       ? b - sw
                    : inMiddle ? y + middle + ch
                               : y + ch};
    default:
        return {toRight       ? right - cw
                    : centred ? x + Half(right - x + sh - cw)
                              : x + sh,
                toBottom       ? b - ch - sw
                    : inMiddle ? y + middle
                               : y};
    }
}
