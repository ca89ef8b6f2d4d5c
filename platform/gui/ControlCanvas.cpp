#include "platform/gui/ControlCanvas.h"

#include <QImage>
#include <QPainter>

#include "platform/gui/WinControl.h"

TWinControl* TControlCanvas::Window() const
{
    if (auto* w = dynamic_cast<TWinControl*>(FControl))
        return w;
    return FControl->Parent();
}

QImage* TControlCanvas::Image()
{
    // A graphic control shares its parent's pixels at an offset: reading them through this
    // canvas would give the wrong place, so only a window's own canvas is readable.
    if (!dynamic_cast<TWinControl*>(FControl))
        return nullptr;
    TWinControl* w = Window();
    return w ? w->BackBuffer() : nullptr;
}

QPainter* TControlCanvas::AcquirePainter()
{
    if (FOwnPainter)
        return FOwnPainter.get();
    TWinControl* w = Window();
    QImage* image = w ? w->BackBuffer() : nullptr;
    if (!image || image->isNull())
        return nullptr;
    w->ReleaseCanvases(this);  // a QImage takes one painter at a time
    FOwnPainter = std::make_unique<QPainter>(image);
    FOpenOn = w;
    w->FOpenCanvas = this;
    if (w != FControl) {
        FOwnPainter->translate(FControl->Left(), FControl->Top());
        FOwnPainter->setClipRect(0, 0, FControl->Width(), FControl->Height());
    }
    return FOwnPainter.get();
}

void TControlCanvas::Release()
{
    ReleaseOwnPainter();
    if (FOpenOn && FOpenOn->FOpenCanvas == this)
        FOpenOn->FOpenCanvas = nullptr;
    FOpenOn = nullptr;
}
