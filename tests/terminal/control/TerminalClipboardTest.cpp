#include <gtest/gtest.h>

#include "TerminalTestSupport.h"
#include "platform/core/Cp949.h"
#include "platform/gui/Clipboard.h"

namespace {

class TerminalClipboard : public ::testing::Test, public TTerminalFixture {};

TEST_F(TerminalClipboard, ScreenCopyHoldsTheShownRowsWithCrLfAndShowsItsNotice)
{
    term->DecodeText(Utf8ToCp949("하나\r\ntwo\r\n"));
    term->CopyScreenToClipBoard();
    AnsiString expected = Utf8ToCp949("하나") + "\r\ntwo\r\n";
    for (int i = 2; i < 25; ++i)
        expected += "\r\n";
    EXPECT_EQ(Clipboard()->AsText(), expected);
    EXPECT_EQ(notices, (std::vector<AnsiString>{Utf8ToCp949("한 화면의 데이타를 클립보드에 복사했습니다.") + "/1000"}));
}

TEST_F(TerminalClipboard, ScreenCopyFollowsTheScrolledView)
{
    FillScrollBack(40);
    term->PaintScreen(3);
    term->CopyScreenToClipBoard();
    const AnsiString text = Clipboard()->AsText();
    EXPECT_EQ(text.substr(0, 8), "line 3\r\n");
    EXPECT_EQ(text.substr(text.size() - 9), "line 27\r\n");
}

TEST_F(TerminalClipboard, AllCopyHoldsTheWholeScrollBack)
{
    FillScrollBack(3);
    term->CopyAllToClipBoard();
    const AnsiString text = Clipboard()->AsText();
    EXPECT_EQ(text.size(), AnsiString("line 0line 1line 2").size() + 2u * 10000u);
    EXPECT_EQ(notices, (std::vector<AnsiString>{Utf8ToCp949("전체 데이타를 클립보드에 복사했습니다.") + "/1000"}));
}

}  // namespace
