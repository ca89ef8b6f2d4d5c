#pragma once
// Where a drop-down window opens beside the edit that owns it: under the edit, or above it when
// it would cross the bottom of the screen, aligned to the edit's right or left edge and pushed
// inside the screen's width.

#include "platform/core/Geometry.h"

enum TPopupAlign { epaRight, epaLeft };

// Edit: the edit's top-left corner on the screen and its size; Popup: the pop-up's size;
// Screen: the screen's size. Gives the pop-up's top-left corner on the screen.
TPoint PopupOrigin(TPoint Edit, TSize EditSize, TSize Popup, TSize Screen, TPopupAlign Align);
