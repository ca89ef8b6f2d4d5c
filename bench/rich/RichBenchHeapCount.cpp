// What counting the heap costs the rich cells of a grid, on the heap as it is and once a long
// session has left it in pieces (a million small blocks freed between blocks still in use): one
// count of the heap, a repaint of a page of rich cells laid out before (which counts nothing),
// and the first paint of a page of new rich cells (which counts the heap as each text is read and
// laid out), in milliseconds, the fastest of five.

#include <cstdlib>
#include <string>
#include <vector>

#include "bench/rich/RichBenchMeasure.h"
#include "bench/rich/RichBenchParts.h"
#include "platform/core/HeapInUse.h"

namespace {

constexpr int kTimes = 5;

// Two million small blocks of sizes in turn, every other one freed: the allocator's free lists
// hold a million pieces that no larger block can use.
class TFragmentedHeap {
public:
    TFragmentedHeap()
    {
        constexpr size_t kBlocks = 2'000'000;
        FKept.reserve(kBlocks / 2);
        std::vector<void*> freed;
        freed.reserve(kBlocks / 2);
        for (size_t i = 0; i < kBlocks; ++i)
            (i % 2 ? freed : FKept).push_back(std::malloc(16 + i % 8 * 16));
        for (void* block : freed)
            std::free(block);
    }
    ~TFragmentedHeap()
    {
        for (void* block : FKept)
            std::free(block);
    }
    TFragmentedHeap(const TFragmentedHeap&) = delete;
    TFragmentedHeap& operator=(const TFragmentedHeap&) = delete;

private:
    std::vector<void*> FKept;
};

void Measure(TRichGridForm& g, const std::string& heap, int& tag)
{
    const int rows = g.Grid->VisibleRowCount();
    const auto newTexts = [&] {
        ++tag;
        for (int r = 1; r <= rows; ++r)
            g.Grid->SetCells(1, r,
                             "{\\rtf1 {\\b row} " + std::to_string(r) + " {\\i of page} " + std::to_string(tag) + "}");
    };
    Metric("heap_count_ms_" + heap, FastestMs(kTimes, [](int) { (void)HeapBytesInUse(); }));
    Metric("rich_first_paint_page_ms_" + heap, FastestMs(kTimes, [&](int) {
               newTexts();
               g.Paint();
           }));
    Metric("rich_repaint_page_ms_" + heap, FastestMs(kTimes, [&](int) { g.Paint(); }));
}

}  // namespace

void MeasureHeapCounts()
{
    TRichGridForm g(300, 400, 40);
    g.Show();
    int tag = 0;
    Measure(g, "whole_heap", tag);
    const TFragmentedHeap fragmented;
    Measure(g, "fragmented_heap", tag);
}
