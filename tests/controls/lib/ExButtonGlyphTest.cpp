// Glyph objects: the shared image lists of the cache, the images drawn for each state, and the
// slots they reuse.

#include "controls/lib/ExButtonGlyph.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "GuiTestSupport.h"

namespace {

// A strip of square 8-pixel images in the given colours, each with a fuchsia corner pixel at
// the lower left (the transparent colour).
std::unique_ptr<TBitmap> Strip(const std::vector<TColor>& colours)
{
    auto b = std::make_unique<TBitmap>();
    b->SetSize(8 * static_cast<int>(colours.size()), 8);
    for (size_t i = 0; i < colours.size(); ++i) {
        b->Canvas()->Brush()->SetColor(colours[i]);
        b->Canvas()->FillRect(Bounds(8 * static_cast<int>(i), 0, 8, 8));
    }
    b->Canvas()->SetPixels(0, 7, clFuchsia);
    return b;
}

// The colour drawn at (3, 3) of a white 8 x 8 target for the state.
TColor Drawn(TExButtonGlyph& glyph, TExButtonState state)
{
    TBitmap target;
    target.SetSize(8, 8);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 8, 8));
    glyph.DrawButtonGlyph(target.Canvas(), 0, 0, state);
    return target.Canvas()->Pixels(3, 3);
}

TEST(ButtonGlyph, EachStateDrawsItsImageFromTheStrip)
{
    TestApplication();
    TExButtonGlyph glyph;
    auto strip = Strip({clRed, clBlue, clLime});
    glyph.SetGlyph(strip.get());
    EXPECT_EQ(glyph.NumGlyphs(), 3);
    EXPECT_EQ(Drawn(glyph, rbsUp), clRed);
    EXPECT_EQ(Drawn(glyph, rbsDisabled), clBlue);
    EXPECT_EQ(Drawn(glyph, rbsDown), clLime);
    EXPECT_EQ(Drawn(glyph, rbsExclusive), clRed);
    EXPECT_EQ(Drawn(glyph, rbsInactive), RGB(76, 76, 76));  // red's grey
    const long built = GlyphImagesBuilt();
    Drawn(glyph, rbsInactive);
    Drawn(glyph, rbsUp);
    EXPECT_EQ(GlyphImagesBuilt(), built);  // each image is built once
}

TEST(ButtonGlyph, EmptyGlyphDrawsNothing)
{
    TestApplication();
    TExButtonGlyph glyph;
    TBitmap target;
    target.SetSize(4, 4);
    EXPECT_EQ(glyph.DrawButtonGlyph(target.Canvas(), 0, 0, rbsUp), (TPoint{0, 0}));
    EXPECT_EQ(glyph.CreateButtonGlyph(rbsDisabled), -1);
}

TEST(GlyphCache, GlyphsOfOneSizeShareAListAndReuseFreedSlots)
{
    TestApplication();
    auto red = Strip({clRed}), blue = Strip({clBlue}), wide = Strip({clRed, clRed, clRed, clRed, clRed, clRed});
    auto first = std::make_unique<TExButtonGlyph>();
    auto second = std::make_unique<TExButtonGlyph>();
    first->SetGlyph(red.get());
    second->SetGlyph(blue.get());
    ASSERT_NE(GlyphCache(), nullptr);
    EXPECT_EQ(first->CreateButtonGlyph(rbsUp), 0);
    EXPECT_EQ(second->CreateButtonGlyph(rbsUp), 1);
    EXPECT_EQ(first->CreateButtonGlyph(rbsDisabled), 2);
    EXPECT_EQ(GlyphCache()->ListCount(), 1);

    first.reset();  // slots 0 and 2 are free again
    auto third = std::make_unique<TExButtonGlyph>();
    third->SetGlyph(red.get());
    EXPECT_EQ(third->CreateButtonGlyph(rbsUp), 0);
    EXPECT_EQ(Drawn(*third, rbsUp), clRed);
    // A strip of six squares is one 48-pixel image: a list of its own.
    third->SetGlyph(wide.get());
    EXPECT_EQ(third->NumGlyphs(), 1);
    EXPECT_EQ(third->CreateButtonGlyph(rbsUp), 0);
    EXPECT_EQ(GlyphCache()->ListCount(), 2);

    second.reset();
    third.reset();
    EXPECT_EQ(GlyphCache(), nullptr);
}

}  // namespace
