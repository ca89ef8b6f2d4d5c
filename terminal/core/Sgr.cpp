// Select graphic rendition. Bold toggles the foreground between the dark and bright member of
// its pair, and reset undoes bold and reverse without restoring the default colours.

#include <utility>

#include "terminal/core/TerminalCore.h"

void TTerminalCore::SwapColors() { std::swap(FFontColor, FBackColor); }

void TTerminalCore::Sgr(const TParam& p)
{
    const int v = p.Empty ? 0 : p.Value;
    switch (v) {
    case 0:
        if (FBright) {
            FFontColor = ChangeImportant(FFontColor);
            FBright = false;
        }
        if (FReverse) {
            SwapColors();
            FReverse = false;
        }
        FUnderline = false;
        FBlink = false;
        return;
    case 1:
    case 5:
        if (!FBright) {
            FFontColor = ChangeImportant(FFontColor);
            FBright = true;
        }
        return;
    case 2:
    case 22:
    case 25:
        if (FBright) {
            FFontColor = ChangeImportant(FFontColor);
            FBright = false;
        }
        return;
    case 4: FUnderline = true; return;
    case 24: FUnderline = false; return;
    case 7:
    case 27:
        if ((v == 7) == FReverse)
            return;
        if (FBright)
            FFontColor = ChangeImportant(FFontColor);
        SwapColors();
        if (FBright)
            FFontColor = ChangeImportant(FFontColor);
        FReverse = v == 7;
        return;
    default: break;
    }
    if (v >= 30 && v <= 37) {
        FFontColor = AnsiOrderColor(v - 30);
        if (FBright)
            FFontColor = ChangeImportant(FFontColor);
    } else if (v >= 40 && v <= 47) {
        FBackColor = AnsiOrderColor(v - 40);
    }
}

void TTerminalCore::SelectGraphicRendition()
{
    PushParam();
    // The list is walked by index: nothing here calls out, but keep it independent of growth.
    for (size_t i = 0; i < FParams.size(); ++i)
        Sgr(FParams[i]);
    FSiGuard = true;
}
