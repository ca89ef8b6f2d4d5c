// Inverted frames on the screen: under Xvfb (CTest runs these cases there) the screen is read
// back from the X server; on the offscreen platform there is no screen and nothing is drawn.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "GuiTestSupport.h"
#include "controls/lib/CtrlUtils.h"

namespace {

QImage Grab()
{
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

// The overlay is mapped and painted by the X server in its own time, later on a loaded machine:
// grabs until the picture shows what is awaited (or five seconds pass) and returns the last grab.
template <typename Shows>
QImage GrabWhen(Shows shows)
{
    QImage image = Grab();
    for (int i = 0; i < 100 && !shows(image); ++i)
        image = Grab();
    return image;
}

TEST(ScreenOverlay, InvertedFrameShowsAndASecondCallTakesItAway)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display (run under Xvfb)";
    TestApplication();
    TForm form(nullptr);
    form.SetBounds(20, 20, 300, 200);
    form.SetColor(clWhite);
    form.Show();
    Grab();
    const QPoint origin = form.Handle()->mapToGlobal(QPoint(0, 0));
    const TRect frame = Bounds(origin.x() + 50, origin.y() + 40, 100, 60);
    const QImage before =
        GrabWhen([&](const QImage& i) { return (i.pixel(frame.Left, frame.Top) & 0xFFFFFF) == 0xFFFFFF; });
    ASSERT_EQ(before.pixel(frame.Left, frame.Top) & 0xFFFFFF, 0xFFFFFFu);

    DrawInvertFrame(frame, 3);
    const QImage shown = GrabWhen([&](const QImage& i) { return (i.pixel(frame.Left, frame.Top) & 0xFFFFFF) == 0; });
    // Dotted frames from each corner: the corners of all three are inverted, the inside is not.
    EXPECT_EQ(shown.pixel(frame.Left, frame.Top) & 0xFFFFFF, 0u);
    EXPECT_EQ(shown.pixel(frame.Left + 2, frame.Top + 2) & 0xFFFFFF, 0u);
    EXPECT_EQ(shown.pixel(frame.Left + 1, frame.Top) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(shown.pixel(frame.Left + 50, frame.Top + 30) & 0xFFFFFF, 0xFFFFFFu);

    DrawInvertFrame(frame, 3);
    const QImage after = GrabWhen([&](const QImage& i) { return (i.pixel(frame.Left, frame.Top) & 0xFFFFFF) != 0; });
    EXPECT_EQ(after.copy(frame.Left, frame.Top, 100, 60), before.copy(frame.Left, frame.Top, 100, 60));

    PaintInverseRect(Point(frame.Left, frame.Top), Point(frame.Left + 10, frame.Top + 10));
    const QImage inverse =
        GrabWhen([&](const QImage& i) { return (i.pixel(frame.Left + 5, frame.Top + 5) & 0xFFFFFF) == 0; });
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
