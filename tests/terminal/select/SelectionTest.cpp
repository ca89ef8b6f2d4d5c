#include <gtest/gtest.h>

#include "terminal/select/ClipboardText.h"
#include "terminal/select/Selection.h"
#include "tests/platform/core/Cp949Text.h"

namespace {

TBlockSelection Sel(int sx, int sy, int ex, int ey)
{
    TBlockSelection s;
    s.Begin(sx, sy);
    s.DragTo(ex, ey);
    return s;
}

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.InsertString("hello world", 0, 3);
        data.InsertString("second line", 0, 4);
        data.InsertString("third", 0, 5);
    }
    TDataList data;
};

TEST_F(SelectionTest, OneRowTakesFromTheSmallerColumnUpToTheLarger)
{
    EXPECT_EQ(BlockCalcul(data, Sel(6, 3, 11, 3), 80), "world");
    // Dragging leftwards gives the same text.
    EXPECT_EQ(BlockCalcul(data, Sel(11, 3, 6, 3), 80), "world");
}

TEST_F(SelectionTest, SeveralRowsJoinWithCrLf)
{
    EXPECT_EQ(BlockCalcul(data, Sel(6, 3, 3, 5), 80), "world\r\nsecond line\r\nthi");
    // Upwards drags are ordered from the upper end.
    EXPECT_EQ(BlockCalcul(data, Sel(3, 5, 6, 3), 80), "world\r\nsecond line\r\nthi");
}

TEST_F(SelectionTest, UpperRowIsCutAtColumnsBytes)
{
    data.InsertString("abcdefghij", 0, 7);
    EXPECT_EQ(BlockCalcul(data, Sel(2, 7, 0, 8), 4), "cdef\r\n");
}

TEST_F(SelectionTest, RowsOutsideTheBufferAreClamped)
{
    data.InsertString("last", 0, 9999);
    EXPECT_EQ(BlockCalcul(data, Sel(0, 9998, 4, 20000), 80), "\r\nlast");
    data.InsertString("first", 0, 0);
    EXPECT_EQ(BlockCalcul(data, Sel(1, -5, 3, 0), 80), "ir");
}

TEST_F(SelectionTest, RegressionSelectionNeverSplitsAHangulPair)
{
    // "가나다" occupies columns 0..5; ends inside a character take it whole.
    data.InsertString(K("가나다 abc"), 0, 10);
    EXPECT_EQ(BlockCalcul(data, Sel(1, 10, 3, 10), 80), K("가나"));
    EXPECT_EQ(BlockCalcul(data, Sel(3, 10, 6, 10), 80), K("나다"));
    // Over two rows the upper start and the lower end are widened the same way.
    data.InsertString(K("라마 z"), 0, 11);
    EXPECT_EQ(BlockCalcul(data, Sel(5, 10, 1, 11), 80), K("다 abc\r\n라"));
    // The highlight covers the same cells.
    const auto spans = BlockSpans(data, Sel(1, 10, 3, 10), 10, 24, 80);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0], (TCellSpan{0, 0, 4}));
}

TEST_F(SelectionTest, SpansCoverUpperRowToEdgeMiddleRowsAndLowerRowStart)
{
    const auto spans = BlockSpans(data, Sel(6, 3, 3, 5), 2, 24, 80);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0], (TCellSpan{1, 6, 80}));
    EXPECT_EQ(spans[1], (TCellSpan{2, 0, 80}));
    EXPECT_EQ(spans[2], (TCellSpan{3, 0, 3}));
    // Rows scrolled out of view are left out.
    const auto partial = BlockSpans(data, Sel(6, 3, 3, 5), 4, 24, 80);
    ASSERT_EQ(partial.size(), 2u);
    EXPECT_EQ(partial[0], (TCellSpan{0, 0, 80}));
}

TEST(BlockSelection, DragBackToTheStartSelectsNothing)
{
    TBlockSelection s = Sel(3, 4, 5, 4);
    EXPECT_TRUE(s.InProgress);
    s.DragTo(3, 4);
    EXPECT_FALSE(s.InProgress);
}

TEST(MultiSelect, MarkingAndUnmarkingRows)
{
    TMultiSelect m;
    EXPECT_TRUE(m.Toggle(2, "3", 40, 120));
    EXPECT_EQ(m.Marked(2), "3");
    m.Toggle(5, "7", 60, 90);
    EXPECT_EQ(m.BandLeft(), 40);  // only ever widens to the left
    EXPECT_EQ(m.BandRight(), 90);
    m.Toggle(2, "3", 40, 120);
    EXPECT_TRUE(m.Active());
    m.Toggle(5, "7", 60, 90);
    EXPECT_FALSE(m.Active());
    EXPECT_FALSE(m.Toggle(101, "1", 0, 0));
    m.Toggle(1, "1", 0, 10);
    m.Cancel();
    EXPECT_FALSE(m.Active());
    EXPECT_EQ(m.Marked(1), "");
}

TEST(ClipboardText, ScreenCopyEndsEveryLineWithCrLf)
{
    TDataList data;
    data.InsertString("one", 0, 10);
    data.InsertString(K("둘"), 0, 12);
    EXPECT_EQ(ScreenText(data, 10, 2), "one\r\n\r\n" + K("둘") + "\r\n");
}

TEST(ClipboardText, AllCopyHoldsEveryBufferLine)
{
    TDataList data;
    data.InsertString("first", 0, 0);
    data.InsertString("last", 0, 9999);
    const AnsiString all = AllBufferText(data);
    EXPECT_EQ(all.size(), 5u + 4u + 2u * 10000u);
    EXPECT_EQ(all.substr(0, 9), "first\r\n\r\n");
    EXPECT_EQ(all.substr(all.size() - 6), "last\r\n");
    // A screen near the end stops at the buffer's last line.
    EXPECT_EQ(ScreenText(data, 9999, 24), "last\r\n");
}

}  // namespace
