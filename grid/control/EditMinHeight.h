#pragma once
// The height the grid's companion edits (TCgEditBtn, TCgSpinEdit) never go below.

#include "platform/gui/Graphics.h"

// The font's character height and a quarter of the smaller of the system font's and its own.
int EditMinHeight(TFont* Font);
