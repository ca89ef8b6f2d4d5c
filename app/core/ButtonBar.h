#pragma once
// The user button bar's rules without its window: where the button of each record goes on the
// panel, and what a click does to the record. A button without an Off command is a push button
// that runs its On command each time; one with an Off command is a toggle that alternates the
// two and keeps its state in Status bit 0, which the command file saves.

#include "platform/core/AnsiString.h"
#include "script/Records.h"

inline constexpr int kBarButtonWidth = 60;
inline constexpr int kBarButtonHeight = 20;
inline constexpr int kBarStepX = 62;  // a 2 px gap between buttons
inline constexpr int kBarStepY = 22;
inline constexpr int kBarMargin = 10;

// Buttons in a row on a panel that wide: (width - 10) div 62, at least one.
int BarButtonsPerRow(int panelWidth);

struct TBarButtonPlace {
    int Left = 0, Top = 0;
    int GroupIndex = 0;  // 0 for a push button; index + 1 for a toggle, a group of its own
    bool Down = false;
};
// The button of the record at list index on a panel that wide.
TBarButtonPlace BarButtonPlace(int index, int panelWidth, const cButton& r);

// A click: the command to run, then the toggle's new state.
struct TBarClick {
    AnsiString Command;
    bool Toggle = false;
    bool DownAfter = false;
};
TBarClick BarButtonClick(const cButton& r);
// The record after the click's command ran: a toggle's Status bit 0 follows DownAfter.
void ApplyBarClick(cButton& r, const TBarClick& click);
