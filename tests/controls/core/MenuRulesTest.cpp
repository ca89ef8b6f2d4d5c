// The owner-drawn menus' measure tables and glyph cells.

#include "controls/core/MenuRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The system metrics of the fixed table: menu bar 19, check mark 13 (padding 4).
struct TMeasureCase {
    const char* name;
    TMenuMeasureInput in;
    int width, height;
};

TMenuMeasureInput Popup(int textWidth)
{
    TMenuMeasureInput in;
    in.TextWidth = textWidth;
    in.TextHeight = 13;
    in.DashHeight = 13;
    return in;
}

TMenuMeasureInput With(TMenuMeasureInput in, void (*change)(TMenuMeasureInput&))
{
    change(in);
    return in;
}

const TMeasureCase kMeasureCases[] = {
    // 2 x 4 padding + text + 13 check column; height: bar height less 2.
    {"PopupItemPadsTwiceTheCheckShareAndTheCheckColumn", Popup(50), 71, 17},
    {"PopupWithoutCheckMarksLeavesTheColumnOut",
     With(Popup(50), [](TMenuMeasureInput& i) { i.ShowCheckMarks = false; }), 58, 17},
    {"MenuBarItemNeverHasCheckSpace", With(Popup(50), [](TMenuMeasureInput& i) { i.IsPopup = false; }), 50, 17},
    {"SeparatorIsAtLeastNinePixels", With(Popup(50), [](TMenuMeasureInput& i) { i.IsSeparator = true; }), 71, 9},
    {"SeparatorOfATallFontIsHalfItsDash",
     With(Popup(50), [](TMenuMeasureInput& i) { i.IsSeparator = true, i.DashHeight = 24; }), 71, 12},
    {"SeparatorShowsNoPicture",
     With(Popup(50),
          [](TMenuMeasureInput& i) {
              i.IsSeparator = true, i.HasImages = true, i.ImageWidth = 16, i.ImageHeight = 16, i.ImageCount = 1,
              i.ImageIndex = 0;
          }),
     71, 9},
    {"ImageColumnAndHeight",
     With(Popup(50),
          [](TMenuMeasureInput& i) {
              i.HasImages = true, i.ImageWidth = 16, i.ImageHeight = 16, i.ImageCount = 2, i.ImageIndex = 1;
          }),
     // 71 + max(18, the image offset 18) for the column.
     89, 20},
    {"PopupWithImageListButNoIndexStillReservesTheColumn",
     With(Popup(50), [](TMenuMeasureInput& i) { i.HasImages = true, i.ImageWidth = 16, i.ImageHeight = 16; }), 89, 17},
    {"MenuBarWithoutValidIndexHasNoColumn",
     With(Popup(50), [](TMenuMeasureInput& i) { i.IsPopup = false, i.HasImages = true, i.ImageWidth = 16; }), 50, 17},
    {"MenuBarImageAddsTheCheckShare",
     With(Popup(50),
          [](TMenuMeasureInput& i) {
              i.IsPopup = false, i.HasImages = true, i.ImageWidth = 16, i.ImageHeight = 16, i.ImageCount = 1,
              i.ImageIndex = 0;
          }),
     72, 20},
    {"GlyphSizesTheColumn", With(Popup(50), [](TMenuMeasureInput& i) { i.GraphicWidth = 20, i.GraphicHeight = 18; }),
     93, 22},
    {"MinTextOffsetWithoutPicture", With(Popup(50), [](TMenuMeasureInput& i) { i.MinTextOffset = 30; }), 101, 17},
    {"TallTextRaisesTheHeight", With(Popup(50), [](TMenuMeasureInput& i) { i.TextHeight = 25; }), 71, 25},
};

class MenuMeasureCase : public ::testing::TestWithParam<TMeasureCase> {};

TEST_P(MenuMeasureCase, GivesTheSize)
{
    const TMenuSize size = MeasureMenuItemSize(GetParam().in);
    EXPECT_EQ(size.Width, GetParam().width);
    EXPECT_EQ(size.Height, GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(Items, MenuMeasureCase, ::testing::ValuesIn(kMeasureCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(MenuRules, CheckShareAndTextOffset)
{
    EXPECT_EQ(MenuCheckMarkWidth(13), 4);
    EXPECT_EQ(MenuCheckMarkWidth(15), 5);
    EXPECT_EQ(MenuTextOffset(false, true, 13), 6);
    EXPECT_EQ(MenuTextOffset(true, true, 13), 21);
    EXPECT_EQ(MenuTextOffset(true, false, 13), 10);
}

TEST(MenuRules, GlyphCellsOfAStrip)
{
    struct {
        int glyphs;
        bool disabled, checked, selected;
        int cell;
        bool drawDisabled;
    } const cases[] = {
        {3, false, true, false, 0, false},  // cell 3 is beyond a strip of 3
        {4, false, true, false, 3, false}, {4, false, false, true, 2, false}, {2, true, false, false, 1, false},
        {2, false, false, true, 0, false}, {1, true, false, false, 0, true},  {6, true, false, false, 0, true},
    };
    for (const auto& c : cases) {
        const TMenuGlyphCell got = MenuGlyphCell(c.glyphs, c.disabled, c.checked, c.selected);
        EXPECT_EQ(got.Cell, c.cell) << c.glyphs << c.disabled << c.checked << c.selected;
        EXPECT_EQ(got.DrawDisabled, c.drawDisabled) << c.glyphs;
    }
}

TEST(MenuRules, BandEndColourIsAQuarter)
{
    EXPECT_EQ(MenuMarginEndColor(0xFF0000u), 0x3F0000u);
    EXPECT_EQ(MenuMarginEndColor(0x804020u), 0x201008u);
}

}  // namespace
