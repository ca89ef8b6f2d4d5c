// Inverted frames on the screen: under Xvfb (CTest runs these cases there) the screen is read
// back from the X server; on the offscreen platform there is no screen and nothing is drawn.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
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

// The screen once the pixel at (x, y) has the colour, or after two seconds.
QImage GrabWhen(int x, int y, QRgb rgb)
{
    QImage shot = Grab();
    QElapsedTimer wait;
    wait.start();
    while ((shot.pixel(x, y) & 0xFFFFFF) != rgb && wait.elapsed() < 2000)
        shot = Grab();
    return shot;
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
    const QPoint origin = form.Handle()->mapToGlobal(QPoint(0, 0));
    const TRect frame = Bounds(origin.x() + 50, origin.y() + 40, 100, 60);
    const QImage before = GrabWhen(frame.Left, frame.Top, 0xFFFFFF);
    ASSERT_EQ(before.pixel(frame.Left, frame.Top) & 0xFFFFFF, 0xFFFFFFu);

    DrawInvertFrame(frame, 3);
    const QImage shown = GrabWhen(frame.Left, frame.Top, 0);
    // Dotted frames from each corner: the corners of all three are inverted, the inside is not.
    EXPECT_EQ(shown.pixel(frame.Left, frame.Top) & 0xFFFFFF, 0u);
    EXPECT_EQ(shown.pixel(frame.Left + 2, frame.Top + 2) & 0xFFFFFF, 0u);
    EXPECT_EQ(shown.pixel(frame.Left + 1, frame.Top) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(shown.pixel(frame.Left + 50, frame.Top + 30) & 0xFFFFFF, 0xFFFFFFu);

    DrawInvertFrame(frame, 3);
    const QImage after = GrabWhen(frame.Left, frame.Top, 0xFFFFFF);
    EXPECT_EQ(after.copy(frame.Left, frame.Top, 100, 60), before.copy(frame.Left, frame.Top, 100, 60));

    PaintInverseRect(Point(frame.Left, frame.Top), Point(frame.Left + 10, frame.Top + 10));
    EXPECT_EQ(GrabWhen(frame.Left + 5, frame.Top + 5, 0).pixel(frame.Left + 5, frame.Top + 5) & 0xFFFFFF, 0u);
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
