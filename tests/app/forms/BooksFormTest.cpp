// The book window: the first start with its default entry, the remembered row, opening and
// focusing character windows, the buttons with no entry, reports of a book read only in part,
// and entries that outlive a reload, a deletion and the window's closing.

#include <gtest/gtest.h>

#include "ProgramTestSupport.h"
#include "app/core/CharEdit.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/CharEditForm.h"
#include "grid/control/CellGrid.h"
#include "platform/gui/StdCtrls.h"

namespace {

using TBooksTest = TProgramTest;

std::string Row(TCellGrid* grid, int row)
{
    std::string text;
    for (int col = 0; col < grid->ColCount(); ++col)
        text += (col ? "|" : "") + Cp949ToUtf8(grid->Cells(col, row));
    return text;
}

TEST_F(TBooksTest, FirstStartShowsTheDefaultServerAndSavesIt)
{
    Start();
    TCellGrid* grid = Books->CharBooksGrid();
    ASSERT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(Row(grid, 0), "호스트이름|주소|Port|서버이름");
    EXPECT_EQ(Row(grid, 1), "localhost|127.0.0.1|4002|기본 서버");
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_TRUE(Log.empty());
    Books->SaveButtonClick();
    EXPECT_NE(TempFolder::Read(Folder.File("CharBooks/CharBooks")).find("Port        4002"), std::string::npos);
}

TEST_F(TBooksTest, RememberedRowMovesUpToTheLastRowLeft)
{
    WriteBook(BookRecord("a", "A", 1) + BookRecord("b", "B", 2) + BookRecord("c", "C", 3) + "#END\r\n");
    Start();
    Books->CharBooksGrid()->SetRow(3);
    TCharBooks::CharBookList.resize(1);
    Books->FillGrid();
    EXPECT_EQ(Books->CharBooksGrid()->RowCount(), 2);
    EXPECT_EQ(Books->CharBooksGrid()->Row(), 1);
}

TEST_F(TBooksTest, DoubleClickOpensTheEntrysWindowOnceAndTheHeaderNone)
{
    WriteBook(BookRecord("a", "A", 1) + BookRecord("b", "B", 2) + "#END\r\n");
    Start();
    EXPECT_EQ(Books->CharBooksGridDblClickCell(0, 1), nullptr);
    TAnsiTerminalForm* window = Books->CharBooksGridDblClickCell(2, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Caption(), "B(b)");
    EXPECT_EQ(window->Owner(), Books);
    EXPECT_EQ(Books->CharBooksGrid()->Row(), 2);
    EXPECT_EQ(Books->CharBooksGridDblClickCell(2, 3), window);
    int windows = 0;
    for (int i = 0; i < Screen->FormCount(); ++i)
        windows += dynamic_cast<TAnsiTerminalForm*>(Screen->Forms(i)) != nullptr;
    EXPECT_EQ(windows, 1);
    // Connect acts on the current row the same way.
    Books->CharBooksGrid()->SetRow(1);
    Books->Action1Execute();
    EXPECT_NE(TCharBooks::CharBookList[0]->TermForm, nullptr);
}

TEST_F(TBooksTest, RegressionRowButtonsWithNoEntryDoNothingAndInsertGoesFirst)
{
    Start();
    TCharBooks::FreeAll();
    Books->EditButtonClick();
    Books->ExSpeedButton1Click();
    Books->Action1Execute();
    EXPECT_TRUE(Log.empty());
    OnModal([](TCustomForm& form) {
        auto& edit = dynamic_cast<TCharEditForm&>(form);
        EXPECT_EQ(edit.Mode(), cemInsert);
        EXPECT_EQ(edit.Index(), 0);
        edit.Edit1()->SetText("x");
        edit.Edit2()->SetText("h");
        edit.Edit3()->SetText("9");
        edit.Edit4()->SetText("X");
        edit.AddButtonClick();
    });
    Books->InsertButtonClick();
    ASSERT_EQ(TCharBooks::CharBookList.size(), 1u);
    EXPECT_EQ(TCharBooks::CharBookList[0]->HostName, "x");
}

TEST_F(TBooksTest, RegressionBookReadInPartIsReportedAtStartAndReload)
{
    WriteBook(BookRecord("a", "A", 1) + BookRecord("b", "B", 2));
    Start();
    const std::string report = "box 에러|CharBooks 파일을 끝까지 읽지 못했습니다";
    ASSERT_EQ(Log, std::vector<std::string>{report});
    EXPECT_EQ(Books->CharBooksGrid()->RowCount(), 3);
    Books->ReLoadButtonClick();
    EXPECT_EQ(Log, (std::vector<std::string>{report, report}));
}

TEST_F(TBooksTest, RegressionReloadLinksOpenWindowsToTheNewEntries)
{
    WriteBook(BookRecord("a", "A", 1) + BookRecord("b", "B", 2) + "#END\r\n");
    Start();
    TAnsiTerminalForm* window = Books->CharBooksGridDblClickCell(2, 0);
    ASSERT_NE(window, nullptr);
    Books->ReLoadButtonClick();
    const auto& fresh = TCharBooks::CharBookList[1];
    EXPECT_EQ(window->CharBook(), fresh);
    EXPECT_EQ(fresh->TermForm, window);
    EXPECT_EQ(Books->CharBooksGridDblClickCell(2, 0), window);
}

TEST_F(TBooksTest, RegressionDeletedEntryStaysWithItsWindow)
{
    WriteBook(BookRecord("a", "A", 1) + BookRecord("b", "B", 2) + "#END\r\n");
    Start();
    TAnsiTerminalForm* window = Books->CharBooksGridDblClickCell(1, 0);
    const std::shared_ptr<TCharBooks> entry = window->CharBook();
    OnModal([](TCustomForm& form) { dynamic_cast<TCharEditForm&>(form).AddButtonClick(); });
    Books->ExSpeedButton1Click();
    ASSERT_EQ(TCharBooks::CharBookList.size(), 1u);
    EXPECT_EQ(TCharBooks::CharBookList[0]->HostName, "b");
    EXPECT_EQ(window->CharBook(), entry);
    EXPECT_EQ(entry->HostName, "a");
}

TEST_F(TBooksTest, RegressionClosingTheBookClosesTheWindowsThenSaves)
{
    WriteBook(BookRecord("a", "A", 1) + "#END\r\n");
    Start();
    TAnsiTerminalForm* window = Books->CharBooksGridDblClickCell(1, 0);
    Clock.Advance(2000);
    PumpEvents();
    ASSERT_TRUE(window->Connected());
    TCharBooks::CharBookList[0]->Port = 7;
    const std::weak_ptr<TCharBooks> entry = TCharBooks::CharBookList[0];
    Books->Close();
    PumpEvents();
    EXPECT_EQ(Socket, nullptr);
    EXPECT_FALSE(Screen->HasForm(window));
    EXPECT_TRUE(TCharBooks::CharBookList.empty());
    EXPECT_TRUE(entry.expired());
    EXPECT_NE(TempFolder::Read(Folder.File("CharBooks/CharBooks")).find("Port        7"), std::string::npos);
}

TEST_F(TBooksTest, ItsWidthStaysAndItsHeightChanges)
{
    Start();
    const int width = Books->Width(), height = Books->Height();
    Books->SetBounds(Books->Left(), Books->Top(), width + 100, height + 50);
    EXPECT_EQ(Books->Width(), width);
    EXPECT_EQ(Books->Height(), height + 50);
}

}  // namespace
