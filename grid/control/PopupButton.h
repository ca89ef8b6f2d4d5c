#pragma once
// A borderless, always-on-top, button-like window with a centred caption: it follows the mouse
// while a column is dragged.

#include "platform/gui/WinControl.h"

class TPopupButton : public TCustomControl {
public:
    explicit TPopupButton(TComponent* AOwner) : TCustomControl(AOwner) {}

    // Without the 3-D frame.
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    // The window is made (CreateWnd): it goes above every other window, where it is.
    void WidgetCreated() override;
    void Paint() override;

private:
    bool FFlat = false;
};
