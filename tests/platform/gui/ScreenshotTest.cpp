// Runs only on a real X display (CTest starts it under Xvfb): the window's pixels are read back
// from the X server, so what was painted must really have reached the screen.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <iterator>

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

}  // namespace

TEST(Screenshot, FormShowsWhatItsControlsPainted)
{
    REQUIRE_REAL_X();

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
    ASSERT_TRUE(WaitUntil([&] { return Exposed(w) && panel->paints > 0; }, "the form on the screen, painted"));
    struct TPixel {
        const char* what;
        int x, y;
        QRgb colour;
    };
    const TPixel pixels[] = {
        {"the form's own colour", 5, 5, 0xFFFFFFu},
        {"the panel's red", 25, 25, 0xFF0000u},
        {"its blue square (panel 10..30 + 20)", 40, 40, 0x0000FFu},
        {"the panel's last pixel", 119, 99, 0xFF0000u},
        {"just outside it", 120, 100, 0xFFFFFFu},
        {"the graphic control, painted on the form", 160, 110, 0x00FF00u},
    };
    // The X server draws in its own time: the screen is read again until it shows every colour.
    const QPoint origin = w->mapToGlobal(QPoint(0, 0));
    QImage shot;
    auto painted = [&] {
        shot = w->screen()->grabWindow(0, origin.x(), origin.y(), 200, 150).toImage();
        return shot.width() == 200 && std::all_of(std::begin(pixels), std::end(pixels), [&](const TPixel& p) {
                   return RgbAt(shot, p.x, p.y) == p.colour;
               });
    };
    EXPECT_TRUE(WaitUntil(painted, "the painted colours on the screen"));
    ASSERT_EQ(shot.width(), 200);
    for (const TPixel& p : pixels)
        EXPECT_EQ(RgbAt(shot, p.x, p.y), p.colour) << p.what;
}
