#include "app/core/ButtonBar.h"

#include <algorithm>

int BarButtonsPerRow(int panelWidth) { return std::max((panelWidth - kBarMargin) / kBarStepX, 1); }

TBarButtonPlace BarButtonPlace(int index, int panelWidth, const cButton& r)
{
    const int perRow = BarButtonsPerRow(panelWidth);
    TBarButtonPlace place;
    place.Left = (index % perRow) * kBarStepX + kBarMargin;
    place.Top = (index / perRow) * kBarStepY + kBarMargin;
    place.GroupIndex = r.OffBuff.empty() ? 0 : index + 1;
    place.Down = (r.Status & 1) != 0;
    return place;
}

TBarClick BarButtonClick(const cButton& r)
{
    if (r.OffBuff.empty())
        return {r.OnBuff, false, false};
    const bool on = (r.Status & 1) != 0;
    return {on ? r.OffBuff : r.OnBuff, true, !on};
}

void ApplyBarClick(cButton& r, const TBarClick& click)
{
    if (!click.Toggle)
        return;
    if (click.DownAfter)
        r.Status |= 1;
    else
        r.Status &= ~1;
}
