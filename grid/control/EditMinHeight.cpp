#include "grid/control/EditMinHeight.h"

#include <algorithm>

#include "controls/lib/CtrlUtils.h"

int EditMinHeight(TFont* Font)
{
    TFont system;
    const int own = FontCharHeight(Font);
    return own + std::min(FontCharHeight(&system), own) / 4;
}
