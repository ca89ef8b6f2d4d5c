// The share of differing pixels: small channel differences (font smoothing) are the same colour,
// larger ones and a different size are not.

#include "tools/picture/PictureDifference.h"

#include <gtest/gtest.h>

namespace {

struct TDifferenceCase {
    const char* name;
    QSize otherSize;
    QRgb changed;  // the colour of the other picture's pixel (0, 0); the rest are equal
    double share;
};

const TDifferenceCase kCases[] = {
    {"SamePicture", {2, 2}, qRgb(100, 100, 100), 0.0},    {"SmoothingWithinSlack", {2, 2}, qRgb(132, 68, 132), 0.0},
    {"RedPastSlack", {2, 2}, qRgb(133, 100, 100), 0.25},  {"GreenPastSlack", {2, 2}, qRgb(100, 67, 100), 0.25},
    {"BluePastSlack", {2, 2}, qRgb(100, 100, 133), 0.25}, {"OtherSize", {2, 3}, qRgb(100, 100, 100), 1.0},
};

class PictureDifferenceCase : public ::testing::TestWithParam<TDifferenceCase> {};

TEST_P(PictureDifferenceCase, CountsPixelsPastTheSlack)
{
    const TDifferenceCase& c = GetParam();
    QImage a(2, 2, QImage::Format_RGB32);
    a.fill(qRgb(100, 100, 100));
    QImage b(c.otherSize, QImage::Format_RGB32);
    b.fill(qRgb(100, 100, 100));
    b.setPixel(0, 0, c.changed);
    EXPECT_DOUBLE_EQ(PictureDifference(a, b), c.share);
    EXPECT_DOUBLE_EQ(PictureDifference(b, a), c.share);
}

INSTANTIATE_TEST_SUITE_P(Pixels, PictureDifferenceCase, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
