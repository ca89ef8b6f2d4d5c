// Capture windows (shared by name, the focus given back, columns from the width, the copy menu,
// scrolling) and the entry dialog (its modes, its check, staying open, the delete walk).

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <algorithm>
#include <utility>
#include <vector>

#include "ProgramTestSupport.h"
#include "app/core/CharEdit.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/CaptureForm.h"
#include "app/forms/CharEditForm.h"
#include "controls/lib/ExMenus.h"
#include "controls/lib/ToolEdit.h"
#include "grid/control/CellGrid.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "terminal/control/Terminal.h"

namespace {

using TCaptureTest = TProgramTest;

std::vector<TCaptureForm*> Captures(TComponent* owner)
{
    std::vector<TCaptureForm*> found;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (auto* form = dynamic_cast<TCaptureForm*>(owner->Components(i)))
            found.push_back(form);
    return found;
}

AnsiString ScreenLine(TTerminal* terminal, int row)
{
    const TTerminalCore& core = terminal->Core();
    AnsiString line = core.Data().Strings(core.MaxLinePos() + row);
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

TEST_F(TCaptureTest, WindowsOfOneNameAreSharedByTheCharacters)
{
    WriteBook(BookRecord("a", "A", 1) + BookRecord("b", "B", 2) + "#END\r\n");
    Start();
    TAnsiTerminalForm* first = Books->CharBooksGridDblClickCell(1, 0);
    TAnsiTerminalForm* second = Books->CharBooksGridDblClickCell(2, 0);
    first->ExecuteCommand("#cap \xC0\xFC\xC5\xF5 one");  // 전투
    second->ExecuteCommand("#cap \xC0\xFC\xC5\xF5 two");
    PutCaptureText(Books, second, "", "nameless");
    const std::vector<TCaptureForm*> captures = Captures(Books);
    ASSERT_EQ(captures.size(), 2u);
    EXPECT_EQ(Cp949ToUtf8(captures[0]->Caption()), "전투");
    EXPECT_EQ(captures[1]->Caption(), "Capture");
    EXPECT_EQ(ScreenLine(captures[0]->CapTerminal(), 0), "one");
    EXPECT_EQ(ScreenLine(captures[0]->CapTerminal(), 1), "two");
    EXPECT_EQ(ScreenLine(captures[1]->CapTerminal(), 0), "nameless");
    EXPECT_TRUE(captures[0]->CapTerminal()->HanMode());
    EXPECT_TRUE(captures[0]->CapTerminal()->AlphaUse());
}

// Every window opened at one spot: a second character window exactly on the first, a capture
// window and the script editor over them.
TEST_F(TCaptureTest, RegressionNewWindowsNeverOpenExactlyOnAnother)
{
    WriteBook(BookRecord("a", "A", 1) + BookRecord("b", "B", 2) + "#END\r\n");
    Start();
    TAnsiTerminalForm* first = Books->CharBooksGridDblClickCell(1, 0);
    Books->CharBooksGridDblClickCell(2, 0);
    first->ExecuteCommand("#cap log one");
    first->OpenDriverUnit();
    std::vector<std::pair<int, int>> corners;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (const TCustomForm* form = Screen->Forms(i); form->Visible())
            corners.emplace_back(form->Left(), form->Top());
    ASSERT_EQ(corners.size(), 5u);
    std::sort(corners.begin(), corners.end());
    EXPECT_EQ(std::adjacent_find(corners.begin(), corners.end()), corners.end());
}

TEST_F(TCaptureTest, OpeningOneGivesTheFocusBack)
{
    Start();
    TAnsiTerminalForm* window = Books->CharBooksGridDblClickCell(1, 0);
    window->ComboEdit()->SetFocus();
    PumpEvents();
    PutCaptureText(Books, window, "log", "first");
    PumpEvents();
    EXPECT_EQ(Screen->ActiveForm(), window);
    EXPECT_EQ(window->ActiveControl(), static_cast<TWinControl*>(window->ComboEdit()));
    EXPECT_EQ(Captures(Books).size(), 1u);
}

// On a real display a window is activated only once it is mapped: the new capture window took
// the activation after it had been given back, and the lines typed next went into it.
TEST_F(TCaptureTest, RealXRegressionLinesTypedAfterACaptureOpensStayInTheCharacterWindow)
{
    REQUIRE_REAL_X();
    Start();
    TAnsiTerminalForm* window = Books->CharBooksGridDblClickCell(1, 0);
    window->BringToFront();
    window->ComboEdit()->SetFocus();
    ASSERT_TRUE(WaitUntil([&] { return window->Handle()->isActiveWindow(); }, "the character window active"));
    PutCaptureText(Books, window, "log", "first");
    TCaptureForm* capture = Captures(Books).at(0);
    ASSERT_TRUE(WaitUntil([&] { return Exposed(capture->Handle()); }, "the capture window on the screen"));
    QGuiApplication::sync();
    EXPECT_TRUE(window->Handle()->isActiveWindow());
    EXPECT_FALSE(capture->Handle()->isActiveWindow());
    EXPECT_EQ(window->ActiveControl(), static_cast<TWinControl*>(window->ComboEdit()));
}

TEST_F(TCaptureTest, ColumnsLeaveTwentyPixelsForTheScrollBar)
{
    Start();
    PutCaptureText(Books, nullptr, "x", "y");
    TCaptureForm* capture = Captures(Books).at(0);
    EXPECT_EQ(capture->Width(), TCaptureForm::kWidth);
    capture->SetClientWidth(817);
    capture->SetClientHeight(400);
    PumpEvents();
    EXPECT_EQ(capture->Panel1()->Width(), 817);
    EXPECT_EQ(capture->CapTerminal()->Width(), 816);
    EXPECT_EQ(capture->CapTerminal()->Columns(), 99);
}

TEST_F(TCaptureTest, CopyIsOfferedOnlyWithASelectionAndCopiesTheLatest)
{
    Start();
    PutCaptureText(Books, nullptr, "x", "y");
    TCaptureForm* capture = Captures(Books).at(0);
    std::vector<bool> offered;
    const TPopupMenuHook old = SetPopupMenuHook([&](TPopupMenu* menu, int, int) -> TMenuItem* {
        offered.push_back(capture->Copy1()->Enabled());
        return nullptr;
    });
    TTerminal* terminal = capture->CapTerminal();
    terminal->OnBlock(terminal, "first");
    terminal->OnBlockLine(terminal, "\xC7\xD1\xB1\xDB line", true);  // 한글
    terminal->OnPopupBlock(10, 10);
    terminal->OnPopupNormal(10, 10);
    SetPopupMenuHook(old);
    EXPECT_EQ(offered, (std::vector<bool>{true, false}));
    capture->Copy1Click();
    EXPECT_EQ(Cp949ToUtf8(Clipboard()->AsText()), "한글 line");
}

TEST_F(TCaptureTest, EachWheelNotchAndArrowMovesTheView)
{
    Start();
    std::string lines;
    for (int i = 0; i < 100; ++i)
        lines += "line " + std::to_string(i) + (i < 99 ? "\r\n" : "");
    PutCaptureText(Books, nullptr, "x", lines);
    TCaptureForm* capture = Captures(Books).at(0);
    const TTerminalCore& core = capture->CapTerminal()->Core();
    const int live = core.LinePos();
    bool handled = false;
    capture->OnMouseWheelUp(capture, TShiftState(), TPoint{}, handled);
    EXPECT_EQ(core.LinePos(), live - 4);
    uint16_t key = VK_DOWN;
    capture->CapTerminal()->OnKeyDown(capture->CapTerminal(), key, TShiftState());
    EXPECT_EQ(core.LinePos(), live - 3);
    EXPECT_EQ(key, 0);
}

using TEntryTest = TProgramTest;

void Fill(TCharEditForm& edit, const char* hostName, const char* host, const char* port, const char* charName)
{
    edit.Edit1()->SetText(hostName);
    edit.Edit2()->SetText(host);
    edit.Edit3()->SetText(port);
    edit.Edit4()->SetText(charName);
}

TEST_F(TEntryTest, AddStaysOpenAndRefusesWhatTheBookCannotHold)
{
    Start();
    std::vector<std::string> captions;
    OnModal([&](TCustomForm& form) {
        auto& edit = dynamic_cast<TCharEditForm&>(form);
        captions.push_back(Cp949ToUtf8(edit.AddButton()->Caption()));
        EXPECT_EQ(edit.Edit3()->MaxLength(), 5);
        Fill(edit, "mud", "127.0.0.1", "4002", "warrior");
        edit.AddButtonClick();
        Fill(edit, "mud", "127.0.0.1", "40a2", "mage");
        edit.AddButtonClick();
        Fill(edit, "mud", "127.0.0.1", "", "mage");
        edit.AddButtonClick();
        Fill(edit, "mud~x", "127.0.0.1", "4003", "mage");
        edit.AddButtonClick();
        EXPECT_TRUE(edit.Visible());
    });
    Books->NewCharButtonClick();
    ASSERT_EQ(TCharBooks::CharBookList.size(), 2u);
    EXPECT_EQ(TCharBooks::CharBookList[1]->Port, 4002);
    EXPECT_EQ(Books->CharBooksGrid()->RowCount(), 3);
    EXPECT_EQ(captions, std::vector<std::string>{"추가"});
    const std::string refused = "box 오류|채워지지 않았거나 올바르지 않은 항목이 있습니다";
    EXPECT_EQ(Log, (std::vector<std::string>{"modal TCharEditForm", refused, refused, refused}));
}

TEST_F(TEntryTest, EditShowsTheEntryAndChangesIt)
{
    WriteBook(BookRecord("a", "A", 1) + BookRecord("b", "B", 2) + "#END\r\n");
    Start();
    Books->CharBooksGrid()->SetRow(2);
    OnModal([](TCustomForm& form) {
        auto& edit = dynamic_cast<TCharEditForm&>(form);
        EXPECT_EQ(edit.Edit1()->Text() + edit.Edit2()->Text() + edit.Edit3()->Text() + edit.Edit4()->Text(), "bh2B");
        EXPECT_EQ(Cp949ToUtf8(edit.AddButton()->Caption()), "수정");
        edit.Edit3()->SetText("4002");
        edit.AddButtonClick();
    });
    Books->EditButtonClick();
    EXPECT_EQ(TCharBooks::CharBookList[1]->Port, 4002);
    EXPECT_EQ(Books->CharBooksGrid()->Cells(2, 2), "4002");
}

TEST_F(TEntryTest, DeleteWalksOnThroughTheBookAndClosesBeforeTheFirst)
{
    WriteBook(BookRecord("a", "A", 1) + BookRecord("b", "B", 2) + BookRecord("c", "C", 3) + BookRecord("d", "D", 4) +
              "#END\r\n");
    Start();
    Books->CharBooksGrid()->SetRow(3);
    std::vector<std::string> shown;
    OnModal([&](TCustomForm& form) {
        auto& edit = dynamic_cast<TCharEditForm&>(form);
        for (int i = 0; i < 5 && edit.Visible() && edit.ModalResult() == mrNone; ++i) {
            shown.push_back(edit.Edit1()->Text() + std::to_string(edit.Index()));
            edit.AddButtonClick();
        }
    });
    Books->ExSpeedButton1Click();
    // Index 2 on row 3 offers entry 1; then the grid's row (kept within the book) leads, until
    // the entry to offer would be the first.
    EXPECT_EQ(shown, (std::vector<std::string>{"c2", "b1", "d1"}));
    ASSERT_EQ(TCharBooks::CharBookList.size(), 1u);
    EXPECT_EQ(TCharBooks::CharBookList[0]->HostName, "a");
    EXPECT_EQ(Books->CharBooksGrid()->RowCount(), 2);
}

}  // namespace
