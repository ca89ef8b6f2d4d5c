#include <gtest/gtest.h>

#include "TerminalTestSupport.h"

namespace {

class TerminalHeld : public ::testing::Test, public TTerminalFixture {};

TEST_F(TerminalHeld, TextWhileScrolledBackIsReleasedInOrderWhenTheViewReturns)
{
    FillScrollBack(40);
    term->PageUp();
    afterPut.clear();
    term->DecodeText("first ");
    term->DecodeText("second\r\n");
    EXPECT_TRUE(afterPut.empty());
    EXPECT_EQ(term->Core().PendingText(), "first second\r\n");
    term->PageDown();
    // Back on the newest line: the held text is shown and reported at once, in order.
    EXPECT_EQ(term->Core().LinePos(), term->Core().MaxLinePos());
    EXPECT_EQ(afterPut, "first second\r\n");
    EXPECT_EQ(lines.back(), "first second");
    EXPECT_TRUE(term->Core().PendingText().empty());
}

TEST_F(TerminalHeld, TextDuringASelectionWaitsForCancelBlockMode)
{
    term->DecodeText("some text here\r\n");
    Drag(X(0), Y(0), X(4), Y(0));
    ASSERT_TRUE(term->Selection().InProgress);
    afterPut.clear();
    term->DecodeText("more");
    EXPECT_TRUE(afterPut.empty());
    term->CancelBlockMode();
    EXPECT_EQ(afterPut, "more");
    EXPECT_FALSE(term->Selection().InProgress);
}

TEST_F(TerminalHeld, NextLeftClickClearsTheSelectionAndItsReleaseShowsHeldText)
{
    term->DecodeText("abcdef\r\n");
    Drag(X(0), Y(0), X(3), Y(0));
    afterPut.clear();
    term->DecodeText("late");
    Click(X(20), Y(10));
    EXPECT_EQ(afterPut, "late");
}

TEST_F(TerminalHeld, TypingCancelsTheSelectionAndReleasesHeldText)
{
    term->DecodeText("abcdef\r\n");
    Drag(X(0), Y(0), X(3), Y(0));
    term->DecodeText("x");
    term->SetFocus();
    Key(Qt::Key_Q, "q");
    EXPECT_NE(afterPut.find('x'), AnsiString::npos);
    EXPECT_EQ(putChars, "q");
}

TEST_F(TerminalHeld, RegressionRefusedResizeDoesNotHoldTextForever)
{
    term->OnCanResize = [](TObject*, int&, int&, bool& resize) { resize = false; };
    term->SetBounds(0, 0, 400, 200);
    term->OnCanResize = nullptr;
    afterPut.clear();
    term->DecodeText("shown");
    EXPECT_EQ(afterPut, "shown");
}

}  // namespace
