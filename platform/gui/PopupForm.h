#pragma once
// A borderless form shown at a screen point, for an editor that opens beside what it edits.
// Unlike a drop-down window (PopupWindows.h) it takes the activation when shown, so a click on
// any other window deactivates it: OnDeactivate tells its owner that the user went elsewhere.

#include "platform/gui/Forms.h"

class TPopupForm : public TForm {
public:
    explicit TPopupForm(TComponent* AOwner);
    // Placed with its top-left corner at the screen point, sized, shown on top and activated.
    void ShowAt(TPoint Origin, int Width, int Height);
};
