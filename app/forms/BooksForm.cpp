// The book window: its creation (message hook, the book loaded), the grid and how it is filled,
// opening or focusing a character window, the capture routine, and closing, which closes the
// character windows, saves the book and frees it.

#include "app/forms/BooksForm.h"

#include <vector>

#include "app/core/BookWindow.h"
#include "app/core/CharBooks.h"
#include "app/core/WindowTexts.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/CaptureForm.h"
#include "app/forms/ChatForm.h"
#include "app/forms/MessageHook.h"
#include "app/forms/StartUpCmdForm.h"
#include "app/forms/StatusEditForm.h"
#include "app/forms/TerminalConfig.h"
#include "app/forms/ViewWalkForm.h"
#include "grid/control/CellGrid.h"
#include "platform/core/FileSystem.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
#include "terminal/control/Terminal.h"

TBooksForm* BooksForm = nullptr;

namespace {
// Widths of the columns HostName, Host, Port, CharName.
constexpr int kColumnWidths[4] = {140, 150, 60, 180};
constexpr const char* kCaptureName = "Capture";
}  // namespace

TBooksForm::TBooksForm(TComponent* AOwner) : TForm(AOwner)
{
    BooksForm = this;
    SetName("BooksForm");
    SetCaption(WindowText::BooksCaption);
    SetPosition(poScreenCenter);
    FMenu = new TMainMenu(this);
    FMenu->SetName("MainMenu1");
    auto* file = new TMenuItem(this);
    file->SetName("File1");
    file->SetCaption("File");
    FMenu->Items()->Add(file);
    SetMenu(FMenu);
    FActions = new TActionList(this);
    FActions->SetName("ActionList1");
    FAction1 = new TAction(this);
    FAction1->SetName("Action1");
    FAction1->SetCaption("Connect");
    FAction1->SetActionList(FActions);
    FAction1->OnExecute = [this](TObject*) { Action1Execute(); };
    CreateSpeedBar();
    CreateStatusBar();
    CreateGrid();
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
    FWidthFixed = true;
    FormCreate();
}

TBooksForm::~TBooksForm()
{
    if (BooksForm == this)
        BooksForm = nullptr;
}

void TBooksForm::CreateGrid()
{
    FPanel = new TPanel(this);
    FPanel->SetName("Panel1");
    FPanel->SetParent(this);
    FPanel->SetBevelOuter(bvNone);
    FPanel->SetAlign(alClient);
    FPanel->OnEnter = [this](TObject*) { FGrid->SetAlign(alClient); };
    FGrid = new TCellGrid(this);
    FGrid->SetName("CharBooksGrid");
    FGrid->SetParent(FPanel);
    FGrid->SetAlign(alClient);
    // Script text and names show as typed, never as mark-up.
    FGrid->EnableHTML = false;
    FGrid->SetColCount(4);
    FGrid->SetRowCount(2);
    FGrid->SetFixedCols(0);
    FGrid->SetFixedRows(1);
    FGrid->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRowSelect});
    const char* headers[4] = {WindowText::HeadHostName, WindowText::HeadHost, WindowText::HeadPort,
                              WindowText::HeadCharName};
    for (int col = 0; col < 4; ++col) {
        FGrid->SetColWidths(col, kColumnWidths[col]);
        FGrid->SetCells(col, 0, headers[col]);
    }
    FGrid->OnDblClickCell = [this](TObject*, int row, int col) { CharBooksGridDblClickCell(row, col); };
}

void TBooksForm::FormCreate()
{
    if (Application)
        InstallMessageHook(*Application);
    InstallCharacterWindowHooks();
    if (!TCharBooks::ReportError)
        TCharBooks::ReportError = [](const AnsiString& caption, const AnsiString& text) {
            MessageBox(text, caption, MB_OK | MB_ICONERROR);
        };
    // The command-file and walk dialogs open in it, so a player's first Save lands there.
    ForceDirectories("Cmd");
    TCharBooks::Load();
}

void TBooksForm::Activate()
{
    TForm::Activate();
    FillGrid();
}

void TBooksForm::FillGrid()
{
    const int remembered = FGrid->Row();
    auto& list = TCharBooks::CharBookList;
    if (list.empty())
        list.push_back(BookWindow::DefaultEntry());
    const int count = static_cast<int>(list.size());
    FGrid->SetRowCount(count + 1);
    for (int i = 0; i < count; ++i) {
        const auto cells = BookWindow::RowCells(*list[static_cast<size_t>(i)]);
        for (int col = 0; col < 4; ++col)
            FGrid->SetCells(col, i + 1, cells[static_cast<size_t>(col)]);
    }
    FGrid->SetRow(BookWindow::CurrentRowAfterFill(remembered, count));
}

TAnsiTerminalForm* TBooksForm::CharBooksGridDblClickCell(int ARow, int /*ACol*/)
{
    auto& list = TCharBooks::CharBookList;
    const int index = BookWindow::EntryIndex(ARow, static_cast<int>(list.size()));
    if (index < 0)
        return nullptr;
    FGrid->SetRow(ARow);
    const std::shared_ptr<TCharBooks> entry = list[static_cast<size_t>(index)];
    if (auto* open = dynamic_cast<TAnsiTerminalForm*>(entry->TermForm)) {
        open->Show();
        open->BringToFront();
        return open;
    }
    auto* window = new TAnsiTerminalForm(this, entry);
    window->Show();
    window->RefreshIndicators();
    return window;
}

void TBooksForm::Action1Execute() { CharBooksGridDblClickCell(FGrid->Row(), FGrid->Col()); }

void TBooksForm::DoClose(TCloseAction& Action)
{
    TForm::DoClose(Action);
    if (Action == caNone)
        return;
    // The character windows first: each unlinks its entry and stops its connection.
    std::vector<TAnsiTerminalForm*> windows;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* window = dynamic_cast<TAnsiTerminalForm*>(Components(i)))
            windows.push_back(window);
    for (TAnsiTerminalForm* window : windows)
        if (Screen && Screen->HasForm(window))
            window->Close();
    TCharBooks::Save();
    TCharBooks::FreeAll();
}

bool TBooksForm::CanResize(int& NewWidth, int& NewHeight)
{
    if (FWidthFixed)
        NewWidth = Width();
    return TForm::CanResize(NewWidth, NewHeight);
}

void PutCaptureText(TComponent* owner, TWinControl* focusControl, const AnsiString& name, const AnsiString& text)
{
    const AnsiString caption = name.empty() ? AnsiString(kCaptureName) : name;
    TComponent* home = owner ? owner : static_cast<TComponent*>(Application);
    TCaptureForm* capture = nullptr;
    for (int i = 0; home && i < home->ComponentCount() && !capture; ++i)
        if (auto* form = dynamic_cast<TCaptureForm*>(home->Components(i)); form && form->Visible())
            if (form->Caption() == caption)
                capture = form;
    if (!capture) {
        capture = new TCaptureForm(home);
        capture->SetCaption(caption);
        // Not activated: the window system would activate it only once it is on the screen,
        // after the focus was given back below, and the typed lines would go into it.
        capture->ShowWithoutActivation();
        // A window is given the focus by activating it; a control by focusing it on its form.
        if (auto* window = dynamic_cast<TCustomForm*>(focusControl))
            window->BringToFront();
        else if (focusControl && focusControl->CanFocus())
            focusControl->SetFocus();
    }
    capture->CapTerminal()->DecodeText(text + "\r\n");
}

void InstallCharacterWindowHooks()
{
    TAnsiTerminalForm::CaptureTextHook = [](TAnsiTerminalForm& window, const AnsiString& name, const AnsiString& text) {
        PutCaptureText(window.Owner(), &window, name, text);
    };
    TAnsiTerminalForm::ChatHistoryHook = [](TAnsiTerminalForm& window) { ShowChatForm(window); };
    TAnsiTerminalForm::ConfigDialogHook = [](TAnsiTerminalForm& window) { ShowTerminalConfig(window); };
    TAnsiTerminalForm::StartUpDialogHook = [](TAnsiTerminalForm& window) { ShowStartUpCmd(window); };
    TAnsiTerminalForm::StatusDialogHook = [](TAnsiTerminalForm& window, const AnsiString& statusLine) {
        return EditStatusLine(window, statusLine);
    };
    TAnsiTerminalForm::WalkViewHook = [](TAnsiTerminalForm& window, const AnsiString& path,
                                         const std::vector<AnsiString>& steps) { ShowViewWalk(window, path, steps); };
}
