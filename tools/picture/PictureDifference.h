#pragma once
// How far a picture taken of a window is from its golden picture: shared by the screenshot
// tests and apprun's screen checks.

#include <QImage>

// Pixels whose channels differ by more than a little (font smoothing), as a share of all; 1 when
// the sizes differ.
double PictureDifference(const QImage& a, const QImage& b);
