// Rich-text cells as painted: a repaint reads only the cell texts that changed and lays out only
// at widths not laid out before, the documents kept for painting stay within their bounds, the
// heap's included, whatever their runs hold, and a text that is not rich text shows in the cell's
// font.

#include "grid/control/RichCellCache.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "grid/control/CellGrid.h"
#include "platform/core/HeapInUse.h"
#include "platform/gui/Forms.h"
#include "tests/grid/control/RichCellTexts.h"
#include "tests/platform/gui/GuiTestSupport.h"

TEST(RichCellCache, ARepaintReadsOnlyTheTextsThatChanged)
{
    TestApplication();
    const AnsiString bold = "{\\rtf1 {\\b bold}}", italic = "{\\rtf1 {\\i italic}}";
    const struct {
        const char* name;
        std::function<void(TCellGrid&)> change;
        int reads;  // by a paint of two texts in three cells, the change, and two more paints
    } cases[] = {
        {"NothingChanged", nullptr, 2},
        {"ACellChanged", [](TCellGrid& g) { g.SetCells(1, 2, "{\\rtf1 {\\ul under}}"); }, 3},
        {"ACellTookATextShownBeside", [&](TCellGrid& g) { g.SetCells(1, 2, bold); }, 2},
        {"ACellWasSelected",
         [](TCellGrid& g) {
             g.SetSelection(TGridRect{1, 1, 1, 1});
         },
         3},
    };
    for (const auto& c : cases) {
        TForm form(nullptr);
        form.SetBounds(0, 0, 420, 200);
        auto* grid = new TCellGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 400, 180);
        grid->SetCells(1, 1, bold);
        grid->SetCells(2, 1, bold);
        grid->SetCells(1, 2, italic);
        grid->FocusCell(3, 3, true);
        form.Show();
        grid->Handle()->grab();
        if (c.change)
            c.change(*grid);
        grid->Handle()->grab();
        grid->Handle()->grab();
        EXPECT_EQ(grid->RichCells().Reads(), c.reads) << c.name;
    }
}

namespace {

// A grid on a shown form, its current cell in column 4.
struct TRichGrid {
    TForm Form{nullptr};
    TCellGrid* Grid = nullptr;
    explicit TRichGrid(int rows)
    {
        TestApplication();
        Form.SetBounds(0, 0, 420, 300);
        Grid = new TCellGrid(&Form);
        Grid->SetParent(&Form);
        Grid->SetBounds(0, 0, 400, 280);
        Grid->SetRowCount(rows);
        Grid->FocusCell(4, 1, true);  // the selection away from the rich cells
        Form.Show();
    }
    QImage Shot() { return Grid->Handle()->grab().toImage(); }
    // The cell as painted with the text given.
    QImage CellShot(int col, int row, const AnsiString& text)
    {
        Grid->SetCells(col, row, text);
        const TRect r = Grid->CellRect(col, row);
        return Shot().copy(r.Left, r.Top, r.Width(), r.Height());
    }
};

}  // namespace

TEST(RichCellCache, KeepsTheNewestWithinItsBounds)
{
    TestApplication();
    TRichCellCache cache;
    const auto numbered = [](size_t i) { return "{\\rtf1 " + std::to_string(i) + "}"; };
    for (size_t i = 0; i < TRichCellCache::kMaxEntries; ++i)
        cache.Get(numbered(i));
    cache.Get(numbered(0));  // asked for again: now the newest
    cache.Get(numbered(TRichCellCache::kMaxEntries));
    EXPECT_EQ(cache.Count(), TRichCellCache::kMaxEntries);
    const int reads = cache.Reads();
    cache.Get(numbered(0));
    EXPECT_EQ(cache.Reads(), reads);
    cache.Get(numbered(1));
    EXPECT_EQ(cache.Reads(), reads + 1);
    // Past the memory the oldest go, but never the newest, whatever it takes.
    TRichCellCache one;
    one.Get(ParagraphMarks(400, 1));
    TRichCellCache large(one.Bytes() * 3 / 2);
    for (const AnsiString& text : {ParagraphMarks(400, 1), ParagraphMarks(400, 2), ParagraphMarks(4000, 3)}) {
        large.Get(text);
        EXPECT_EQ(large.Count(), 1u) << text.size();
        EXPECT_GT(large.Bytes(), 0u) << text.size();
    }
    EXPECT_GT(large.Bytes(), large.MaxBytes());
}

namespace {

struct THeapCase {
    const char* name;
    int cells;
    std::function<AnsiString(int)> text;  // of each cell, by its row
};

// Cells scrolled through a page at a time hold their documents within the cache's bound and
// what the heap may take beside it (the grid's own pages, fonts Qt keeps for the cells shown).
constexpr size_t kHeapMargin = size_t{8} << 20;

}  // namespace

class RichCellCacheHeap : public ::testing::TestWithParam<THeapCase> {};

// The bound counted the bytes of the cell texts, while each took a hundred times its text or more
// (cells of 4 KB of paragraph marks kept near 200 MB); then an estimate with a fixed cost for each
// run, while Qt keeps a kilobyte or more for a run in a format of its own (its format, its font,
// its piece of the layout): cells whose runs change font, size and colour held five times the
// bound. What the documents take is now reckoned with each format and font they hold, and
// checked here on the heap.
TEST_P(RichCellCacheHeap, RegressionScrolledCellsKeepTheHeapWithinTheBound)
{
    const THeapCase& c = GetParam();
    TRichGrid g(c.cells + 1);
    for (int r = 1; r <= c.cells; ++r)
        g.Grid->SetCells(1, r, c.text(r));
    const size_t before = HeapBytesInUse();
    for (int top = 1;; top += g.Grid->VisibleRowCount()) {
        g.Grid->SetTopRow(std::min(top, g.Grid->MaxTopRow()));
        g.Shot();
        if (top >= g.Grid->MaxTopRow())
            break;
    }
    const size_t after = HeapBytesInUse();
    const size_t grown = after > before ? after - before : 0;
    const TRichCellCache& cache = g.Grid->RichCells();
    EXPECT_EQ(cache.Reads(), c.cells);
    EXPECT_LE(grown, cache.MaxBytes() + kHeapMargin) << grown / 1024 << " KB";
    // The cache filled up to its bound before it let any go, and kept what the bound holds.
    EXPECT_GT(cache.Bytes(), cache.MaxBytes() * 3 / 4) << cache.Count();
    EXPECT_LE(cache.Bytes(), cache.MaxBytes());
    EXPECT_LT(cache.Count(), static_cast<size_t>(c.cells));
}

INSTANTIATE_TEST_SUITE_P(
    Cells, RichCellCacheHeap,
    ::testing::Values(THeapCase{"ParagraphMarks", 80, [](int r) { return ParagraphMarks(4096, r); }},
                      THeapCase{"RunsInFewFacesManySizesAndColours", 64,
                                [](int r) { return RunsOfManyFonts(16 << 10, 5, r); }},
                      THeapCase{"RunsInTwoHundredFaces", 64, [](int r) { return RunsOfManyFonts(16 << 10, 200, r); }}),
    [](const auto& param) { return std::string(param.param.name); });

// A document was charged what the heap grew by while it was read and laid out, another thread's
// allocations included: a thread that allocated meanwhile had the cache let every other document
// go, and one that freed had documents charged nothing, so that the cache kept every cell far
// past its bound. What a document takes is now reckoned from its parts, whatever other threads do.
TEST(RichCellCache, RegressionAnotherThreadsAllocationsChangeNoCharge)
{
    constexpr int kCells = 60;
    const auto scrolled = [](bool besideAThread) {
        TRichGrid g(kCells + 1);
        for (int r = 1; r <= kCells; ++r)
            g.Grid->SetCells(1, r, ParagraphMarks(4096, r));
        // Another thread takes a large block from the heap and gives it back until it is stopped.
        std::unique_ptr<char[]> block;  // outside the thread, so that no allocation is left out
        std::jthread other;
        if (besideAThread)
            other = std::jthread([&block](std::stop_token stop) {
                while (!stop.stop_requested()) {
                    block.reset(new char[size_t{64} << 20]);  // untouched: counted all the same
                    block.reset();
                }
            });
        std::vector<size_t> charged;  // after each page
        for (int top = 1;; top += g.Grid->VisibleRowCount()) {
            g.Grid->SetTopRow(std::min(top, g.Grid->MaxTopRow()));
            g.Shot();
            charged.push_back(g.Grid->RichCells().Bytes());
            if (top >= g.Grid->MaxTopRow())
                break;
        }
        charged.push_back(g.Grid->RichCells().Count());
        return charged;
    };
    EXPECT_EQ(scrolled(true), scrolled(false));
}

// A text shown in two columns of different widths was laid out again at each paint of each cell.
TEST(RichCellCache, RegressionOneTextInTwoWidthsIsLaidOutOncePerWidth)
{
    const AnsiString text = "{\\rtf1 {\\b words} that wrap in the narrow column but not in the wide one}";
    TRichGrid both(3), alone(3);
    for (TRichGrid* g : {&both, &alone}) {
        g->Grid->SetColWidths(1, 90);
        g->Grid->SetColWidths(2, 280);
        g->Grid->SetRowHeights(1, 60);
    }
    both.Grid->SetCells(1, 1, text);
    both.Grid->SetCells(2, 1, text);
    for (int i = 0; i < 3; ++i)
        both.Shot();
    const TRichDocument& shown = both.Grid->RichCells().Get(text);
    EXPECT_EQ(shown.LayoutsMade(), 2);
    EXPECT_EQ(both.Grid->RichCells().Count(), 1u);
    // Each column shows the text laid out at its own width.
    for (const int col : {1, 2}) {
        alone.Grid->SetCells(3 - col, 1, "");
        EXPECT_TRUE(both.CellShot(col, 1, text) == alone.CellShot(col, 1, text)) << col;
    }
}

// Runs without a size of their own were laid out at the size read back from the base font after
// its pixel size was set (-1 points): a rich cell whose text is not rich text, or is broken,
// painted its words a pixel high and asked for a pixel-high line. They paint and measure as rich
// text of those words in the cell's font does.
TEST(RichCellCache, RegressionTextThatIsNotRichTextPaintsInTheCellsFont)
{
    TRichGrid g(3);
    g.Grid->SetColWidths(1, 240);
    g.Grid->SetRowHeights(1, 60);
    g.Grid->Font()->SetSize(10);
    g.Grid->Canvas()->Font()->Assign(g.Grid->Font());
    const int line = g.Grid->Canvas()->TextHeight("gh");
    for (const std::string text : {"{\\x plain words", "{\\rtf1 {\\b broken"}) {
        std::string words = "{\\rtf1\\fs20 ";
        for (const char c : text)
            words += c == '{' || c == '\\' ? std::string{'\\', c} : std::string(1, c);
        const QImage painted = g.CellShot(1, 1, text);
        const int requested = g.Grid->RequestedRect().Bottom;
        EXPECT_TRUE(painted == g.CellShot(1, 1, words + "}")) << text;
        EXPECT_EQ(requested, g.Grid->RequestedRect().Bottom) << text;
        EXPECT_GE(requested, line) << text;
    }
}
