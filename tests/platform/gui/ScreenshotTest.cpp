// Runs only on a real X display (CTest starts it under Xvfb): the window's pixels are read back
// from the X server, so what was painted must really have reached the screen.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include "GuiTestSupport.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WinControl.h"

namespace {

class TPaintedPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int paints = 0;

protected:
    void Paint() override
    {
        ++paints;
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(ClientRect());
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(Rect(10, 10, 30, 30));
    }
};

class TPaintedMark : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clLime);
        Canvas()->FillRect(ClientRect());
    }
};

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

}  // namespace

TEST(Screenshot, FormShowsWhatItsControlsPainted)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display (run under Xvfb)";

    TForm form(nullptr);
    form.SetBounds(40, 40, 200, 150);
    form.SetColor(clWhite);
    auto* panel = new TPaintedPanel(&form);
    panel->SetBounds(20, 20, 100, 80);
    panel->SetParent(&form);
    auto* mark = new TPaintedMark(&form);
    mark->SetBounds(150, 100, 20, 20);
    mark->SetParent(&form);
    form.Show();

    QWidget* w = form.Handle();
    QElapsedTimer wait;
    wait.start();
    while ((!w->windowHandle() || !w->windowHandle()->isExposed() || panel->paints == 0) && wait.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_GT(panel->paints, 0);
    // Let the X server finish drawing before reading it back.
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    QPoint origin = w->mapToGlobal(QPoint(0, 0));
    QImage shot = w->screen()->grabWindow(0, origin.x(), origin.y(), 200, 150).toImage();
    ASSERT_EQ(shot.width(), 200);
    EXPECT_EQ(At(shot, 5, 5), 0xFFFFFFu);      // the form's own colour
    EXPECT_EQ(At(shot, 25, 25), 0xFF0000u);    // the panel's red
    EXPECT_EQ(At(shot, 40, 40), 0x0000FFu);    // its blue square (panel 10..30 + 20)
    EXPECT_EQ(At(shot, 119, 99), 0xFF0000u);   // the panel's last pixel
    EXPECT_EQ(At(shot, 120, 100), 0xFFFFFFu);  // just outside it
    EXPECT_EQ(At(shot, 160, 110), 0x00FF00u);  // the graphic control, painted on the form
}
