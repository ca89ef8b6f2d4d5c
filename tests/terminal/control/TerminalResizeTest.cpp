#include <gtest/gtest.h>

#include "TerminalTestSupport.h"

namespace {

class TerminalResize : public ::testing::Test, public TTerminalFixture {};

TEST_F(TerminalResize, ShrinkingKeepsTheCursorLineLastAndReportsTheRowCount)
{
    std::vector<int> rows;
    term->OnChangeRow = [&](int n) { rows.push_back(n); };
    term->DecodeText("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj\r\nk\r\nlast");
    const int cursor = term->Core().CurY();
    term->SetBounds(0, 0, term->Width(), 16 * 6);
    EXPECT_EQ(term->Rows(), 6);
    EXPECT_EQ(rows, (std::vector<int>{6}));
    EXPECT_EQ(term->Core().LinePos() + term->Core().PageSize(), cursor);
    // The same size again reports nothing.
    term->SetBounds(0, 0, term->Width(), 16 * 6 + 3);
    EXPECT_EQ(rows.size(), 1u);
    EXPECT_EQ(term->Painter().Screen().Height(), 16 * 6 + 3);
}

TEST_F(TerminalResize, TextArrivingDuringAResizeIsShownOnceTheSizeIsSettled)
{
    term->DecodeText("before ");
    afterPut.clear();
    bool sawHeld = false;
    term->OnCanResize = [&](TObject*, int&, int&, bool&) {
        term->DecodeText("during");
        sawHeld = afterPut.empty() && term->Core().PendingText() == "during";
    };
    term->OnChangeRow = [&](int) { afterPut += "|rows|"; };
    term->SetBounds(0, 0, term->Width(), 16 * 12);
    EXPECT_TRUE(sawHeld);
    // The rows change first, then the held text is decoded.
    EXPECT_EQ(afterPut, "|rows|during");
    EXPECT_FALSE(term->Resizing());
}

TEST_F(TerminalResize, NarrowerControlShowsLessOfTheImage)
{
    term->SetBounds(0, 0, 300, 400);
    EXPECT_EQ(term->ClientWidth(), 300 - TScrollBarModel::kWidth);
    EXPECT_EQ(term->DrawnWidth(), term->ClientWidth());
    term->SetBounds(0, 0, 900, 400);
    EXPECT_EQ(term->DrawnWidth(), 640);
}

TEST_F(TerminalResize, SetHanModeAgainChangesNothing)
{
    term->SetBounds(0, 0, 656, 16 * 10);
    ASSERT_EQ(term->Rows(), 10);
    std::vector<int> rows;
    term->OnChangeRow = [&](int n) { rows.push_back(n); };
    term->SetHanMode(true);
    EXPECT_TRUE(rows.empty());
}

TEST_F(TerminalResize, WindowsFontSetsTheCellsWhenTheHangulModeIsOff)
{
    TTerminal capture(nullptr);
    capture.SetParent(form);
    std::vector<int> rows;
    capture.OnChangeRow = [&](int n) { rows.push_back(n); };
    capture.Font()->SetName("Courier");
    capture.Font()->SetSize(10);
    EXPECT_GT(capture.CellHeight(), 1);
    EXPECT_EQ(capture.Rows(), capture.ClientHeight() / capture.CellHeight());
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back(), capture.Rows());
    EXPECT_EQ(capture.DrawnWidth(), std::min(capture.ClientWidth(), 80 * capture.CellWidth()));
    capture.SetParent(nullptr);
}

}  // namespace
