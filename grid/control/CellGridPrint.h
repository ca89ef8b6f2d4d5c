#pragma once
// What the grid's printing files share (not for users of the grid): the canvas side of one run
// of the page engine. Cells are measured on the printer's canvas, so a count, a preview and the
// printout lay out alike, and drawn on the run's canvas; both are in MM_LOMETRIC, where the
// engine's y (down from the page top) is negated.

#include <vector>

#include "grid/control/CellGrid.h"
#include "grid/model/PrintPages.h"
#include "platform/gui/Liveness.h"

// Thrown when an event handler freed the grid in the middle of a run: nothing of the grid is
// touched after it.
struct TPrintGridFreed {};

struct TPrintRun {
    TCellGrid& Grid;
    TCanvas* Canvas;
    TCanvas* Measure;
    TPrintFontMetrics Metrics;
    // Images in HTML cells: the canvas's resolution against the screen's.
    double ResFactor = 1.0;
    // Screen pixels to 0.1 mm.
    double ScreenFactor = 254.0 / 96;
    // The engine's column widths (for word-wrapped cells).
    const std::vector<int>* Widths = nullptr;
    TAliveToken Alive;

    void CheckAlive() const
    {
        if (!*Alive)
            throw TPrintGridFreed{};
    }
};

// An engine rectangle (y down) as a canvas rectangle in MM_LOMETRIC.
inline TRect LoMetric(const TRect& R) { return TRect{R.Left, -R.Top, R.Right, -R.Bottom}; }

// Draws one cell of a printed row: its colours, text by kind, graphic and own borders.
void PrintGridCell(TPrintRun& Run, const TPrintCell& Cell);
