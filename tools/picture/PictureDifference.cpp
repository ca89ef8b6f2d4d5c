#include "tools/picture/PictureDifference.h"

#include <cstdlib>

namespace {

// A channel may differ by this much and still be the same colour.
constexpr int kChannelSlack = 32;

bool Differs(QRgb p, QRgb q)
{
    return std::abs(qRed(p) - qRed(q)) > kChannelSlack || std::abs(qGreen(p) - qGreen(q)) > kChannelSlack ||
        std::abs(qBlue(p) - qBlue(q)) > kChannelSlack;
}

}  // namespace

double PictureDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 1.0;
    long differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (Differs(a.pixel(x, y), b.pixel(x, y)))
                ++differing;
    return static_cast<double>(differing) / (static_cast<double>(a.width()) * a.height());
}
