// Previews and drawing the print layout on any canvas. A preview lays out the printer's page,
// counted as the printer counts it, and scales the whole page into the caller's rectangle; a
// draw renders page 1 on a canvas whose clipping rectangle is the page.

#include <algorithm>
#include <cmath>

#include "grid/control/CellGridPrint.h"
#include "platform/gui/CanvasViewport.h"
#include "platform/gui/MapMode.h"
#include "platform/gui/Printers.h"

void TCellGrid::SetPreviewPage(int Page) { FPrintState.FirstPage = FPrintState.LastPage = Page; }

void TCellGrid::PrintPreview(TCanvas* Canvas, const TRect& R)
{
    PrintPreviewRect(Canvas, R, TGridRect{0, 0, ColCount() - 1, RowCount() - 1});
}

void TCellGrid::PrintPreviewRect(TCanvas* Canvas, const TRect& R, const TGridRect& Range)
{
    FPrintState.Range = Range;
    TPrinter* printer = Printer();
    // A preview shown while a job prints (from OnPrintPage, say) keeps that job's page.
    if (!printer->Printing())
        printer->SetOrientation(PrintSettings()->Orientation);
    const int saved = SetMapMode(Canvas, MM_LOMETRIC);
    // The printer's page in 0.1 mm, and in this canvas's pixels.
    TPoint page{printer->PageWidth(), printer->PageHeight()};
    TCanvas* measure = printer->Canvas();
    const int measureMode = SetMapMode(measure, MM_LOMETRIC);
    DPtoLP(measure, &page, 1);
    SetMapMode(measure, measureMode);
    FPrintState.PageWidth = page.x;
    FPrintState.PageHeight = std::abs(page.y);
    TPoint pixels{page.x, page.y};
    LPtoDP(Canvas, &pixels, 1);
    try {
        FPrintState.PageCount = BuildPages(Canvas, prCalcPreview, -1);
        const double scale = std::min(R.Width() / static_cast<double>(std::max(1, std::abs(pixels.x))),
                                      R.Height() / static_cast<double>(std::max(1, std::abs(pixels.y))));
        if (scale > 0) {
            const TCanvasViewport view(Canvas, TPoint{R.Left, R.Top}, scale);
            BuildPages(Canvas, prPreview, FPrintState.PageCount);
        }
    } catch (const TPrintGridFreed&) {
        SetMapMode(Canvas, saved);
        return;
    } catch (...) {
        SetMapMode(Canvas, saved);
        throw;
    }
    SetMapMode(Canvas, saved);
}

void TCellGrid::PrintDraw(TCanvas* Canvas, const TRect& R)
{
    PrintDrawRect(Canvas, R, TGridRect{0, 0, ColCount() - 1, RowCount() - 1});
}

void TCellGrid::PrintDrawRect(TCanvas* Canvas, const TRect& R, const TGridRect& Range)
{
    FPrintState.Range = Range;
    FPrintState.FirstPage = FPrintState.LastPage = FPrintState.PageCount = 1;
    const int saved = SetMapMode(Canvas, MM_LOMETRIC);
    try {
        BuildPages(Canvas, prPrint, 1);
    } catch (const TPrintGridFreed&) {
        SetMapMode(Canvas, saved);
        return;
    } catch (...) {
        SetMapMode(Canvas, saved);
        throw;
    }
    SetMapMode(Canvas, saved);
}
