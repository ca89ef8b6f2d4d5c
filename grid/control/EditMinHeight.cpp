#include "grid/control/EditMinHeight.h"

#include <algorithm>

#include "platform/gui/Bitmap.h"
#include "platform/gui/Canvas.h"

namespace {

int CharHeight(TFont* font)
{
    TBitmap scratch;
    scratch.SetSize(1, 1);
    scratch.Canvas()->SetFont(font);
    return scratch.Canvas()->TextHeight("0");
}

}  // namespace

int EditMinHeight(TFont* Font)
{
    TFont system;
    const int own = CharHeight(Font);
    return own + std::min(CharHeight(&system), own) / 4;
}
