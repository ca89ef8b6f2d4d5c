// Grids of large rich cells scrolled through a page at a time: the heap the process holds at the
// end beyond what it held with the cells filled and the grid not yet shown, and what the grid's
// rich-text cache has charged its documents, against the cache's bound, in MB; and milliseconds
// per page. The cells hold 4 KB of paragraph marks, or 16 KB of runs that change font, size and
// colour at every word, in 5 faces or in 200; or, in 10,000 cells, 12 KB of such runs in 200
// faces of the cell's own (faces named by no other cell, which Qt shows in an installed font).

#include <functional>
#include <string>

#include "bench/rich/RichBenchMeasure.h"
#include "bench/rich/RichBenchParts.h"
#include "grid/control/RichCellCache.h"
#include "platform/core/HeapInUse.h"
#include "tests/grid/control/RichCellTexts.h"

namespace {

void Scroll(const std::string& name, int cells, const std::function<std::string(int)>& text)
{
    constexpr double kMb = 1 << 20;
    TRichGridForm g(300, 400, cells + 1);
    for (int r = 1; r <= cells; ++r)
        g.Grid->SetCells(1, r, text(r));
    const double before = static_cast<double>(HeapBytesInUse());
    int pages = 0;
    const double ms = Ms([&] {
        g.Show();
        for (int top = 1;; top += g.Grid->VisibleRowCount(), ++pages) {
            g.Grid->SetTopRow(std::min(top, g.Grid->MaxTopRow()));
            g.Paint();
            if (top >= g.Grid->MaxTopRow())
                break;
        }
    });
    const TRichCellCache& cache = g.Grid->RichCells();
    const std::string cases = "_" + name + "_" + std::to_string(cells) + "_cells";
    Metric("rich_cache_heap_mb" + cases, (static_cast<double>(HeapBytesInUse()) - before) / kMb);
    Metric("rich_cache_charged_mb" + cases, static_cast<double>(cache.Bytes()) / kMb);
    Metric("rich_cache_bound_mb" + cases, static_cast<double>(cache.MaxBytes()) / kMb);
    Metric("rich_cache_scroll_ms_per_page" + cases, ms / (pages + 1));
}

}  // namespace

void MeasureScrolledCells()
{
    Scroll("paragraph_marks", 3000, [](int r) { return ParagraphMarks(4096, r); });
    Scroll("runs_in_5_faces", 256, [](int r) { return RunsOfManyFonts(16384, 5, r); });
    Scroll("runs_in_200_faces", 256, [](int r) { return RunsOfManyFonts(16384, 200, r); });
    Scroll("runs_in_200_faces_of_their_own", 10000, [](int r) { return RunsOfManyFonts(12288, 200, r, r * 200); });
}
