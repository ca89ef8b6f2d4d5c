#include "platform/gui/DesktopCanvas.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <memory>

namespace {

// The window showing what was drawn on the screen.
class TOverlayWindow : public QWidget {
public:
    explicit TOverlayWindow(const QImage* picture)
        : QWidget(nullptr,
                  Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint |
                      Qt::WindowTransparentForInput),
          FPicture(picture)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, *FPicture);
    }

private:
    const QImage* FPicture;
};

// The screen as grabbed (Base), as drawn on (Work), and the window showing the difference.
struct TOverlay {
    QImage Base, Work;
    std::unique_ptr<TOverlayWindow> Window;
    int Users = 0;
};
TOverlay* gOverlay = nullptr;

bool HasScreen()
{
    return QGuiApplication::instance() && QGuiApplication::platformName() == QLatin1String("xcb") &&
        QGuiApplication::primaryScreen();
}

QImage* OverlayImage()
{
    if (!gOverlay || !HasScreen())
        return nullptr;
    if (gOverlay->Work.isNull()) {
        QScreen* screen = QGuiApplication::primaryScreen();
        gOverlay->Base = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        gOverlay->Work = gOverlay->Base;
    }
    return &gOverlay->Work;
}

// Shows the changed pixels; forgets the grab once nothing differs.
void ShowOverlay()
{
    if (!gOverlay || gOverlay->Work.isNull())
        return;
    const QImage& work = gOverlay->Work;
    // A bitmap's region holds its black (color1) pixels.
    QImage mask(work.size(), QImage::Format_MonoLSB);
    mask.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    mask.fill(0);
    bool any = false;
    for (int y = 0; y < work.height(); ++y) {
        const auto* w = reinterpret_cast<const QRgb*>(work.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(gOverlay->Base.constScanLine(y));
        for (int x = 0; x < work.width(); ++x)
            if (w[x] != b[x]) {
                mask.setPixel(x, y, 1);
                any = true;
            }
    }
    if (!any) {
        gOverlay->Window.reset();
        gOverlay->Base = QImage();
        gOverlay->Work = QImage();
        return;
    }
    if (!gOverlay->Window)
        gOverlay->Window = std::make_unique<TOverlayWindow>(&gOverlay->Work);
    TOverlayWindow* window = gOverlay->Window.get();
    window->setGeometry(QGuiApplication::primaryScreen()->geometry());
    window->setMask(QRegion(QBitmap::fromImage(mask, Qt::MonoOnly)));
    window->show();
    window->update();
}

}  // namespace

TDesktopCanvas::TDesktopCanvas()
{
    if (!gOverlay)
        gOverlay = new TOverlay;
    ++gOverlay->Users;
}

TDesktopCanvas::~TDesktopCanvas()
{
    Release();
    if (--gOverlay->Users == 0 && gOverlay->Work.isNull()) {
        delete gOverlay;
        gOverlay = nullptr;
    }
}

void TDesktopCanvas::Release()
{
    const bool drew = FOwnPainter != nullptr;
    ReleaseOwnPainter();
    if (drew)
        ShowOverlay();
}

void TDesktopCanvas::SetOrigin(int X, int Y)
{
    Release();
    FOrigin = Point(X, Y);
}

QImage* TDesktopCanvas::Image()
{
    if (QImage* outer = TCanvas::Image())
        return outer;
    return OverlayImage();
}

QPainter* TDesktopCanvas::AcquirePainter()
{
    if (FOwnPainter)
        return FOwnPainter.get();
    QImage* image = OverlayImage();
    if (!image)
        return nullptr;
    FOwnPainter = std::make_unique<QPainter>(image);
    FOwnPainter->translate(-FOrigin.x, -FOrigin.y);
    return FOwnPainter.get();
}
