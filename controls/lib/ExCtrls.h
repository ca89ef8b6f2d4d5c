#pragma once
// The library's unit of extra controls: speed buttons and their glyphs, the shadowed label, the
// switch and the credits panel, each family in a header of its own.

#include "controls/lib/ExButtonGlyph.h"
#include "controls/lib/ExLabel.h"
#include "controls/lib/ExSpeedButton.h"
#include "controls/lib/ExSwitch.h"
#include "controls/lib/SecretPanel.h"

// Registers the classes and published properties of the unit (and the standard classes).
void RegisterExCtrlsClasses();
