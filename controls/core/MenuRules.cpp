#include "controls/core/MenuRules.h"

#include <algorithm>
#include <cmath>

int MenuCheckMarkWidth(int SysCheckWidth) { return static_cast<int>(std::lround(0.3 * SysCheckWidth)); }

TMenuSize MeasureMenuItemSize(const TMenuMeasureInput& In)
{
    TMenuSize size;
    size.Height = In.MenuBarHeight - 2;
    const int checkWidth = MenuCheckMarkWidth(In.SysCheckWidth);
    int offset = 0;
    if (In.IsPopup) {
        size.Width = 2 * checkWidth;
        offset = In.HasImages ? std::max(In.MinTextOffset, In.ImageWidth + 2) : In.MinTextOffset;
    }
    size.Width += In.TextWidth;
    if (In.IsPopup && In.ShowCheckMarks)
        size.Width += In.SysCheckWidth;
    if (In.IsSeparator) {
        size.Height = std::max(In.DashHeight / 2, kMenuSeparatorMinHeight);
        return size;
    }
    size.Height = std::max(size.Height, In.TextHeight);
    const int barPadding = In.IsPopup ? 0 : checkWidth;
    const bool validIndex = In.ImageIndex >= 0 && In.ImageIndex < In.ImageCount;
    if (In.HasImages && (In.IsPopup || validIndex)) {
        size.Width += std::max(In.ImageWidth + 2, offset) + barPadding;
        if (validIndex)
            size.Height = std::max(size.Height, In.ImageHeight + 4);
        return size;
    }
    if (In.GraphicWidth > 0 && In.GraphicHeight > 0) {
        size.Width += std::max(In.GraphicWidth + 2, offset) + barPadding;
        size.Height = std::max(size.Height, In.GraphicHeight + 4);
        return size;
    }
    if (offset != 0)
        size.Width += offset + barPadding;
    return size;
}

int MenuTextOffset(bool IsPopup, bool ShowCheckMarks, int SysCheckWidth)
{
    const int checkWidth = MenuCheckMarkWidth(SysCheckWidth);
    if (!IsPopup)
        return checkWidth + 2;
    return 2 * checkWidth + (ShowCheckMarks ? SysCheckWidth : 2);
}

TMenuGlyphCell MenuGlyphCell(int NumGlyphs, bool Disabled, bool Checked, bool Selected)
{
    TMenuGlyphCell result;
    if (NumGlyphs < 2 || NumGlyphs > 5) {
        result.DrawDisabled = Disabled;
        return result;
    }
    result.Cell = Disabled ? 1 : Checked ? 3 : Selected ? 2 : 0;
    if (result.Cell >= NumGlyphs)
        result.Cell = 0;
    return result;
}

uint32_t MenuMarginEndColor(uint32_t StartRGB)
{
    const uint32_t r = (StartRGB & 0xFF) / 4, g = ((StartRGB >> 8) & 0xFF) / 4, b = ((StartRGB >> 16) & 0xFF) / 4;
    return r | (g << 8) | (b << 16);
}
