// Rich-text cells as painted: a repaint reads only the cell texts that changed, and the documents
// kept for painting stay within their bounds.

#include "grid/control/RichCellCache.h"

#include <gtest/gtest.h>

#include <functional>

#include "grid/control/CellGrid.h"
#include "platform/gui/Forms.h"
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
    // Past the bytes the oldest go, but never the newest, whatever its size.
    TRichCellCache large;
    for (const size_t size :
         {TRichCellCache::kMaxBytes / 2 + 1, TRichCellCache::kMaxBytes / 2 + 2, TRichCellCache::kMaxBytes + 1}) {
        large.Get(AnsiString(size, 'a'));
        EXPECT_EQ(large.Count(), 1u) << size;
        EXPECT_EQ(large.Bytes(), size);
    }
}
