#include <gtest/gtest.h>

#include "TerminalTestSupport.h"

namespace {

class TerminalHeld : public ::testing::Test, public TTerminalFixture {};

TEST_F(TerminalHeld, TextDuringASelectionWaitsForCancelBlockMode)
{
    term->DecodeText("some text here\r\n");
    Drag(X(0), Y(0), X(4), Y(0));
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
