#include "controls/core/PopupPlacement.h"

TPoint PopupOrigin(TPoint Edit, TSize EditSize, TSize Popup, TSize Screen, TPopupAlign Align)
{
    TPoint p = Edit;
    int y = p.y + EditSize.cy;
    if (y + Popup.cy > Screen.cy)
        y = p.y - Popup.cy;
    const int overhang = Popup.cx - EditSize.cx;
    if (Align == epaRight) {
        // Right edges together, unless that pushes the pop-up off the left of the screen.
        p.x -= overhang;
        if (p.x < 0)
            p.x += overhang;
    } else if (p.x + Popup.cx > Screen.cx) {
        p.x -= overhang;
    }
    if (p.x < 0)
        p.x = 0;
    else if (p.x + Popup.cx > Screen.cx)
        p.x = Screen.cx - Popup.cx;
    return TPoint{p.x, y};
}
