// Inverted frames on the screen: under Xvfb (CTest runs these cases there) the screen is read
// back from the X server; on the offscreen platform there is no screen and nothing is drawn.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <iterator>

#include "GuiTestSupport.h"
#include "controls/lib/CtrlUtils.h"

namespace {

QImage Grab()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

// The overlay is mapped and painted by the X server in its own time, later on a loaded machine:
// grabs until the picture shows what is awaited (XWait.h's deadline) and returns the last grab.
template <typename Shows>
QImage GrabWhen(Shows shows, const char* what)
{
    QImage image;
    EXPECT_TRUE(WaitUntil(
        [&] {
            image = Grab();
            return shows(image);
        },
        what));
    return image;
}

TEST(ScreenOverlay, InvertedFrameShowsAndASecondCallTakesItAway)
{
    REQUIRE_REAL_X();
    TestApplication();
    TForm form(nullptr);
    form.SetBounds(20, 20, 300, 200);
    form.SetColor(clWhite);
    form.Show();
    ASSERT_TRUE(WaitUntil([&] { return Exposed(form.Handle()); }, "the form on the screen"));
    const QPoint origin = form.Handle()->mapToGlobal(QPoint(0, 0));
    const TRect frame = Bounds(origin.x() + 50, origin.y() + 40, 100, 60);
    // The white form, painted all over where the frame goes.
    auto white = [&](const QImage& i) {
        for (int y = frame.Top; y < frame.Bottom; ++y)
            for (int x = frame.Left; x < frame.Right; ++x)
                if ((i.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                    return false;
        return true;
    };
    const QImage before = GrabWhen(white, "the white form under the frame");
    ASSERT_EQ(before.pixel(frame.Left, frame.Top) & 0xFFFFFF, 0xFFFFFFu);

    DrawInvertFrame(frame, 3);
    // Dotted frames from each corner: the corners of all three are inverted, the inside is not.
    struct TPixel {
        int dx, dy;
        QRgb colour;
    };
    const TPixel dotted[] = {{0, 0, 0u}, {2, 2, 0u}, {1, 0, 0xFFFFFFu}, {50, 30, 0xFFFFFFu}};
    auto at = [&](const QImage& i, const TPixel& p) { return i.pixel(frame.Left + p.dx, frame.Top + p.dy) & 0xFFFFFF; };
    const QImage shown = GrabWhen(
        [&](const QImage& i) {
            return std::all_of(std::begin(dotted), std::end(dotted),
                               [&](const TPixel& p) { return at(i, p) == p.colour; });
        },
        "the dotted frames shown");
    for (const TPixel& p : dotted)
        EXPECT_EQ(at(shown, p), p.colour) << p.dx << "," << p.dy;

    DrawInvertFrame(frame, 3);
    const QImage after = GrabWhen(
        [&](const QImage& i) {
            return i.copy(frame.Left, frame.Top, 100, 60) == before.copy(frame.Left, frame.Top, 100, 60);
        },
        "the screen as it was before the frame");
    EXPECT_EQ(after.copy(frame.Left, frame.Top, 100, 60), before.copy(frame.Left, frame.Top, 100, 60));

    PaintInverseRect(Point(frame.Left, frame.Top), Point(frame.Left + 10, frame.Top + 10));
    const QImage inverse =
        GrabWhen([&](const QImage& i) { return (i.pixel(frame.Left + 5, frame.Top + 5) & 0xFFFFFF) == 0; },
                 "the inverted rectangle shown");
    EXPECT_EQ(inverse.pixel(frame.Left + 5, frame.Top + 5) & 0xFFFFFF, 0u);
    PaintInverseRect(Point(frame.Left, frame.Top), Point(frame.Left + 10, frame.Top + 10));
}

TEST(ScreenOverlay, WithoutAScreenNothingIsDrawn)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        GTEST_SKIP() << "for the offscreen platform";
    TScreenCanvas canvas;
    canvas.CreateHandle();
    EXPECT_FALSE(canvas.HandleAllocated());
    DrawInvertFrame(Rect(0, 0, 10, 10), 2);
}

}  // namespace
