#include <gtest/gtest.h>

#include "platform/core/ScrollBarModel.h"

namespace {

TEST(ScrollBarModel, ThumbRunsFromZeroToTheLiveScreen)
{
    TScrollBarModel bar;
    EXPECT_FALSE(bar.ArrowsEnabled());
    EXPECT_EQ(bar.HitTest(5, 400), -1);
    bar.Enable();
    // As the terminal sets it: range 0..9999, page 10000 - MaxLinePos.
    bar.SetInfo(0, 9999, 10000 - 500, 500);
    bar.SetPosition(900);
    EXPECT_EQ(bar.Position(), 500);
    const auto thumb = bar.Thumb(400);
    EXPECT_EQ(thumb.Bottom, 400 - TScrollBarModel::kWidth);
    EXPECT_EQ(bar.PositionAt(TScrollBarModel::kWidth, 400), 0);
    EXPECT_EQ(bar.PositionAt(thumb.Top, 400), 500);
}

TEST(ScrollBarModel, HitTestGivesTheScrollCodes)
{
    TScrollBarModel bar;
    bar.Enable();
    bar.SetInfo(0, 9999, 5000, 2500);
    const auto thumb = bar.Thumb(400);
    EXPECT_EQ(bar.HitTest(3, 400), static_cast<int>(SB_LINEUP));
    EXPECT_EQ(bar.HitTest(398, 400), static_cast<int>(SB_LINEDOWN));
    EXPECT_EQ(bar.HitTest(thumb.Top - 1, 400), static_cast<int>(SB_PAGEUP));
    EXPECT_EQ(bar.HitTest(thumb.Bottom, 400), static_cast<int>(SB_PAGEDOWN));
    EXPECT_EQ(bar.HitTest(thumb.Top + 1, 400), -1);
    bar.DisableArrows();
    EXPECT_EQ(bar.HitTest(3, 400), -1);
}

}  // namespace
