#include <gtest/gtest.h>

#include "TerminalTestSupport.h"
#include "platform/core/Cp949.h"

namespace {

class TerminalMouse : public ::testing::Test, public TTerminalFixture {
protected:
    AnsiString K(const char* s) { return Utf8ToCp949(s); }
};

TEST_F(TerminalMouse, ClickingAnEnterPromptSendsABareCr)
{
    term->DecodeText(K("계속하려면 [Enter] 를 누르세요"));
    const int col = static_cast<int>(K("계속하려면 [").size());
    MoveTo(X(col), Y(0));
    EXPECT_EQ(term->Cursor(), crHandPoint);
    Click(X(col), Y(0));
    EXPECT_EQ(putStrings, (std::vector<AnsiString>{"\r"}));
}

TEST_F(TerminalMouse, RightClickOnAPromptRaisesNoPopup)
{
    term->DecodeText("press [Enter]");
    MoveTo(X(9), Y(0));
    Click(X(9), Y(0), Qt::RightButton);
    EXPECT_EQ(Log(), "");
    EXPECT_TRUE(putStrings.empty());
}

TEST_F(TerminalMouse, RightClickOnAMenuNumberRaisesTheSmartPopup)
{
    term->DecodeText("  3 : buy a sword");
    MoveTo(X(8), Y(0));
    Click(X(8), Y(0), Qt::RightButton);
    EXPECT_EQ(Log(), "popupsmart 3;");
}

TEST_F(TerminalMouse, ClickingYesPromptSendsYAndCr)
{
    term->DecodeText(K("정말 'Y' 를 누르세요"));
    const int col = static_cast<int>(K("정말 '").size());
    MoveTo(X(col), Y(0));
    Click(X(col), Y(0));
    EXPECT_EQ(putStrings, (std::vector<AnsiString>{"Y\r"}));
}

TEST_F(TerminalMouse, ClickingAWebAddressSendsNothing)
{
    term->DecodeText("see http://mud.example.org now");
    MoveTo(X(10), Y(0));
    ASSERT_TRUE(term->SmartItem().IsLink);
    Click(X(10), Y(0));
    EXPECT_TRUE(putStrings.empty());
}

TEST_F(TerminalMouse, DragSelectsAcrossLinesAndHangulPairs)
{
    term->DecodeText(K("첫째 줄입니다\r\n둘째 줄\r\n"));
    // From the second byte of 째 on the first row to the middle of 째 on the second.
    Drag(X(3), Y(0), X(3), Y(1));
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0], K("째 줄입니다\r\n둘째"));
    // The highlight is in the overlay: the selected cells are inverted.
    const TFrameBuffer& shown = term->ShownImage();
    const TFrameBuffer& screen = term->Painter().Screen();
    EXPECT_EQ(shown.Pixel(X(5), Y(0)), 15 - screen.Pixel(X(5), Y(0)));
    EXPECT_EQ(shown.Pixel(X(20), Y(3)), screen.Pixel(X(20), Y(3)));
}

TEST_F(TerminalMouse, RegressionRightClickOverAShownSelectionDoesNotReportItAgain)
{
    term->DecodeText("abcdef");
    Drag(X(0), Y(0), X(3), Y(0));
    ASSERT_EQ(blocks.size(), 1u);
    Click(X(1), Y(0), Qt::RightButton);
    EXPECT_EQ(blocks.size(), 1u);
    EXPECT_NE(Log().find("popupblock"), std::string::npos);
}

TEST_F(TerminalMouse, DraggingAboveTheControlScrollsBackFasterFartherAway)
{
    FillScrollBack(100);
    const int max = term->Core().MaxLinePos();
    Mouse(QEvent::MouseButtonPress, X(2), Y(2), Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, X(2), -5, Qt::NoButton, Qt::LeftButton);
    // The 50 ms timer, ticked by hand: one tick within 9 pixels scrolls one line.
    auto timer = [&] {
        for (int i = 0; i < term->ComponentCount(); ++i)
            if (auto* t = dynamic_cast<TTimer*>(term->Components(i)); t && t->Interval() == 50)
                return t;
        return static_cast<TTimer*>(nullptr);
    }();
    ASSERT_NE(timer, nullptr);
    timer->OnTimer()(timer);
    EXPECT_EQ(term->Core().LinePos(), max - 1);
    Mouse(QEvent::MouseMove, X(2), -15, Qt::NoButton, Qt::LeftButton);
    timer->OnTimer()(timer);
    EXPECT_EQ(term->Core().LinePos(), max - 3);
    Mouse(QEvent::MouseButtonRelease, X(2), -15, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(term->Selection().EndY, max - 3);
}

TEST_F(TerminalMouse, CtrlClickMarksMenuNumbers)
{
    term->DecodeText("  1 : north\r\n  2 : south\r\n");
    MoveTo(X(6), Y(0));
    Click(X(6), Y(0), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(term->MultiSelect().Marked(0), "1");
    EXPECT_TRUE(putStrings.empty());
    // New host text ends a multi-selection.
    term->DecodeText("x");
    EXPECT_FALSE(term->MultiSelect().Active());
}

TEST_F(TerminalMouse, ScrollBarArrowsAndThumbScrollTheView)
{
    FillScrollBack(60);
    const int max = term->Core().MaxLinePos();
    const int barX = term->ClientWidth() + 8;
    Click(barX, 5);  // the up arrow
    EXPECT_EQ(term->Core().LinePos(), max - 1);
    EXPECT_EQ(term->ScrollBar().Position(), max - 1);
    Click(barX, term->Height() - 5);  // the down arrow
    EXPECT_EQ(term->Core().LinePos(), max);
    // Dragging the thumb to the top shows line 0.
    const auto thumb = term->ScrollBar().Thumb(term->Height());
    Mouse(QEvent::MouseButtonPress, barX, thumb.Top + 1, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, barX, 0, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(term->Core().LinePos(), 0);
    Mouse(QEvent::MouseButtonRelease, barX, 0, Qt::LeftButton, Qt::NoButton);
    // WM_VSCROLL as the window system sends it.
    term->Perform(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(term->Core().LinePos(), 24);
}

TEST_F(TerminalMouse, PaintScreenClampsAndDoesNothingWithoutScrollBack)
{
    term->PaintScreen(-5);
    EXPECT_EQ(term->Core().LinePos(), 0);
    FillScrollBack(50);
    const int max = term->Core().MaxLinePos();
    term->PaintScreen(max + 100);
    EXPECT_EQ(term->Core().LinePos(), max);
}

}  // namespace
