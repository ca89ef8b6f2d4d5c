#include <gtest/gtest.h>

#include "TerminalTestSupport.h"

#include "platform/core/Cp949.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Caret.h"
#include <QCoreApplication>
#include <QInputMethodEvent>

namespace {

class TerminalEvents : public ::testing::Test, public TTerminalFixture {};

TEST_F(TerminalEvents, EveryHandledByteIsReportedInOrder)
{
    term->DecodeText("ab\x1B[31mc\r\n");
    EXPECT_EQ(afterPut, "abc\r\n");
    EXPECT_EQ(lines, (std::vector<AnsiString>{"abc"}));
}

TEST_F(TerminalEvents, PutDirectStringOnlyRaisesOnPutString)
{
    term->PutDirectString("look\r\n");
    EXPECT_EQ(putStrings, (std::vector<AnsiString>{"look\r\n"}));
    EXPECT_TRUE(afterPut.empty());
    EXPECT_EQ(term->Core().Data().Strings(0), "");
}

TEST_F(TerminalEvents, TypedCharactersGoOutThroughOnPutChar)
{
    term->SetFocus();
    Key(Qt::Key_A, "a");
    Key(Qt::Key_Return, "\r");
    EXPECT_EQ(putChars, "a\r");
    EXPECT_NE(Log().find("keydown 65"), std::string::npos);
}

TEST_F(TerminalEvents, HangulCommittedByTheInputMethodArrivesAsCp949)
{
    term->SetFocus();
    // A red background: the composed cell shows in it even before any font is loaded.
    term->DecodeText("\x1B[41m> ");
    QInputMethodEvent compose(QString::fromUtf8("한"), {});
    QCoreApplication::sendEvent(W(), &compose);
    // The syllable being composed shows at the cursor; nothing is sent yet.
    EXPECT_TRUE(putChars.empty());
    EXPECT_EQ(term->Composition(), Utf8ToCp949("한"));
    EXPECT_EQ(term->CompositionCol(), 2);
    const TFrameBuffer& shown = term->ShownImage();
    int differ = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 16; x < 32; ++x)
            differ += shown.Pixel(x, y) != term->Painter().Screen().Pixel(x, y);
    EXPECT_GT(differ, 10);
    // Committed with the next syllable begun: the character goes out as cp949, and the new one
    // shows beside it until the host echoes the first.
    QInputMethodEvent commit(QString::fromUtf8("ㄱ"), {});
    commit.setCommitString(QString::fromUtf8("한"));
    QCoreApplication::sendEvent(W(), &commit);
    EXPECT_EQ(putChars, Utf8ToCp949("한"));
    EXPECT_EQ(term->Composition(), Utf8ToCp949("ㄱ"));
    EXPECT_EQ(term->CompositionCol(), 4);
    QInputMethodEvent end;
    QCoreApplication::sendEvent(W(), &end);
    EXPECT_TRUE(term->Composition().empty());
}

TEST_F(TerminalEvents, ArrowKeysSendCursorSequencesWhileLive)
{
    term->SetFocus();
    Key(Qt::Key_Up);
    Key(Qt::Key_Down);
    Key(Qt::Key_Left);
    Key(Qt::Key_Right);
    EXPECT_EQ(putStrings, (std::vector<AnsiString>{"\x1BOA", "\x1BOB", "\x1BOD", "\x1BOC"}));
}

TEST_F(TerminalEvents, UpWhileScrolledBackScrollsAndSendsNothing)
{
    FillScrollBack(60);
    term->SetFocus();
    const int max = term->Core().MaxLinePos();
    term->PageUp();
    ASSERT_EQ(term->Core().LinePos(), max - 24);
    Key(Qt::Key_Up);
    EXPECT_EQ(term->Core().LinePos(), max - 25);
    Key(Qt::Key_Left);
    Key(Qt::Key_Right);
    EXPECT_TRUE(putStrings.empty());
    // Typing returns to the live screen and sends the character.
    Key(Qt::Key_X, "x");
    EXPECT_EQ(term->Core().LinePos(), max);
    EXPECT_EQ(putChars, "x");
}

TEST_F(TerminalEvents, TabFiresOnlyOnTabKeyPress)
{
    term->SetFocus();
    term->StartBlockLineMode();
    Key(Qt::Key_Tab, "\t");
    EXPECT_EQ(Log().find("keydown 9"), std::string::npos);
    EXPECT_NE(Log().find("tab"), std::string::npos);
    EXPECT_TRUE(putChars.empty());
    EXPECT_EQ(term->BlockLineY(), -1);
    // Tab stays with the terminal: the focus does not move on.
    EXPECT_TRUE(term->Focused());
}

TEST_F(TerminalEvents, FocusRaisesOnEnterAndShowsTheCaretAtTheCursor)
{
    term->DecodeText("abc");
    term->SetFocus();
    EXPECT_NE(Log().find("enter"), std::string::npos);
    TPoint caret;
    ASSERT_TRUE(GetCaretPos(caret));
    EXPECT_EQ(caret, (TPoint{3 * 8, 0}));
}

TEST_F(TerminalEvents, DoubleClickSendsCrAfterOnDblClick)
{
    Mouse(QEvent::MouseButtonPress, X(3), Y(3), Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, X(3), Y(3), Qt::LeftButton, Qt::NoButton);
    Mouse(QEvent::MouseButtonDblClick, X(3), Y(3), Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, X(3), Y(3), Qt::LeftButton, Qt::NoButton);
    const std::string log = Log();
    const size_t dbl = log.find("dblclick");
    ASSERT_NE(dbl, std::string::npos);
    EXPECT_NE(log.find("putchar", dbl), std::string::npos);
    EXPECT_EQ(putChars, "\r");
}

TEST_F(TerminalEvents, BlockLineModeReportsItsRowsAndEnds)
{
    std::vector<std::string> seen;
    term->DecodeText("zero\r\none\r\ntwo\r\n");
    term->OnBlockLine = [&](TObject*, const AnsiString& text, bool opening) {
        seen.push_back(text + (opening ? "+" : "-"));
    };
    term->OnCancelBlockLineMode = [&](TObject*) { seen.push_back("end"); };
    term->SetFocus();
    term->SetBlockLineY(1);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);  // row 0 wraps to the last row
    Key(Qt::Key_Escape);
    EXPECT_EQ(seen, (std::vector<std::string>{"one+", "zero-", "-", "end"}));
    EXPECT_TRUE(putStrings.empty());
}

TEST_F(TerminalEvents, RightClickRaisesTheNormalPopup)
{
    Click(X(10), Y(10), Qt::RightButton);
    EXPECT_EQ(Log(), "popupnormal;");
}

TEST_F(TerminalEvents, ColourSettersReplaceTheOldDefaultInStoredRuns)
{
    term->DecodeText("plain \x1B[31mred\x1B[0m\r\n");
    term->SetBackColor(clBlack);
    term->SetFontColor(clSilver);
    const TConfigList& runs = term->Core().Data().Objects(0);
    ASSERT_GE(runs.Count(), 2);
    EXPECT_EQ(runs[0].BackColor, clBlack);
    EXPECT_EQ(runs[0].FontColor, clSilver);
    EXPECT_EQ(runs[1].FontColor, clMaroon);
    // RestoreScreen gives every run the control's colours.
    term->RestoreScreen();
    for (const TConfig& run : term->Core().Data().Objects(0))
        EXPECT_EQ(run.FontColor, clSilver);
}

}  // namespace
