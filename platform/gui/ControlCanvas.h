#pragma once
// The canvas of a control: it draws on the back buffer of the control's window (for a graphic
// control, its parent's, moved to and clipped by the control's bounds). The widget shows the
// back buffer, so drawing outside a paint is kept too and shows at the next paint.

#include "platform/gui/Canvas.h"

class TControl;
class TWinControl;

class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control) : FControl(control) {}
    ~TControlCanvas() override { Release(); }
    QImage* Image() override;
    // Ends the painter so the buffer may be resized or shown.
    void Release();

protected:
    QPainter* AcquirePainter() override;

private:
    TWinControl* Window() const;
    TControl* FControl;
    TWinControl* FOpenOn = nullptr;  // the window whose pixels this canvas's painter holds
};
