#pragma once
// The small arrow-shaped popup windows that mark where a dragged row or column will land: a
// lime panel whose window shows only its seven-point outline. The arrLeft window, placed left
// of a cell, points right towards it; the arrRight window points left. The outlines fit an
// 11 x 11 box; the users size and place the windows (at screen coordinates).

#include <array>

#include "platform/gui/ExtCtrls.h"

enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };

class TArrowWindow : public TPanel {
public:
    TArrowWindow(TComponent* AOwner, TArrowDirection Direction);

    TArrowDirection Direction() const { return FDirection; }
    // The outline's corners, in order.
    const std::array<TPoint, 7>& Points() const { return FPoints; }

protected:
    void CreateParams(TCreateParams& Params) override;
    // The window is made (CreateWnd): its outline becomes the window's region.
    void WidgetCreated() override;

private:
    TArrowDirection FDirection;
    std::array<TPoint, 7> FPoints;
};
