// The character window's life: creation for a book entry, the terminal's fonts, colours and
// layout with what lies under it, showing (which starts the connect timer), and closing.

#include "app/forms/AnsiTerminal.h"

#include <utility>

#include "app/core/StatusBar.h"
#include "app/forms/TerminalColumns.h"
#include "controls/core/TimerList.h"
#include "controls/lib/ExLabel.h"
#include "controls/lib/ToolEdit.h"
#include "platform/core/FileSystem.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/StoredPath.h"
#include "platform/gui/Application.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/NetSocket.h"
#include "platform/gui/Sound.h"
#include "terminal/control/Terminal.h"

namespace {
// The T/D button's width; the input line takes the rest of its row.
constexpr int kTranslationBtnWidth = 24;
}  // namespace

TAnsiTerminalForm::TCaptureTextHook TAnsiTerminalForm::CaptureTextHook;

TAnsiTerminalForm::TBusy::TBusy(TAnsiTerminalForm& form) : FForm(form) { ++FForm.FBusy; }

TAnsiTerminalForm::TBusy::~TBusy()
{
    if (--FForm.FBusy == 0 && FForm.FReleasePending) {
        FForm.FReleasePending = false;
        FForm.Release();
    }
}

TAnsiTerminalForm::TAnsiTerminalForm(TComponent* AOwner, const std::shared_ptr<TCharBooks>& entry)
    : TForm(AOwner), FCharBook(entry)
{
    SetKeyPreview(true);
    FTerminal = new TTerminal(this);
    FTerminal->SetParent(this);
    FSocket = new TNetSocket(this);
    FSocket->TimeOut = 10000;
    FSocket->ReportLevel = 4;
    FSystemTimerList = new TExTimerList(this);
    FUserTimerList = new TExTimerList(this);
    CreateSystemTimers();
    CreateStatusBar();
    CreateInputLine();
    FScript = std::make_unique<TScriptState>(*this);
    FormCreate();
    BindKeys();
    // Actions, menus, tool bars and the terminal's pop-up (AnsiTerminalActions.cpp).
    CreateCommands();
    // A terminal of 80 columns by 25 rows with the room its columns leave for the scroll bar, what
    // lies over it (the menu bar and the tool bars) and what lies under it.
    SetClientWidth(640 + kTerminalScrollBarRoom + 1);
    SetClientHeight(LayoutArea().Top + 400 + kStatusLineHeight + kInputHeight + kStatusBarHeight);

    SetCaption(entry->CharName + "(" + entry->HostName + ")");
    entry->TermForm = this;
    InitTerminal();
    if (!entry->TriggerFile.empty())
        FScript->LoadCmdFile(entry->TriggerFile);
    FormActivate();
    RefreshIndicators();
}

TAnsiTerminalForm::~TAnsiTerminalForm()
{
    CloseToolWindows();
    StopEverything();
    if (FCharBook && FCharBook->TermForm == this)
        FCharBook->TermForm = nullptr;
    // The engine first: its timers' events live in the lists.
    FScript.reset();
    delete FUserTimerList;
    delete FSystemTimerList;
    delete FSocket;
    delete FTerminal;
}

void TAnsiTerminalForm::FormCreate()
{
    FConnectTime = 0;
    FUserTimerList->Clear();
    FScript->CmdConfig.TrigMode = 1;
    FScript->TrigSuspend = 0;
    FScript->ScanRunning = 0;
    FScript->Closing = 0;
    BindSocket();
    FTerminal->OnAfterPut = [this](TObject*, const AnsiString& text) { TerminalAfterPut(text); };
    FTerminal->OnPutString = [this](TObject*, const AnsiString& text) { TerminalPutString(text); };
    FTerminal->OnPutChar = [this](TObject*, char ch) { TerminalPutChar(ch); };
    FTerminal->OnDblClick = [this](TObject*) { TerminalDblClick(); };
    FWalkTimer->SetEnabled(false);
    // The CPU meter sits on the status bar, over the panel that its owner draws.
    FCpuBar = new TProgressBar(FStatusBar);
    FCpuBar->SetParent(FStatusBar);
    FCpuBar->SetMin(0);
    FCpuBar->SetMax(100);
    FCpuBar->SetPosition(0);
    FCpuBar->SetStep(1);
    FCpuBar->SetHint(StatusText::CpuBarHint);
    FCpuBar->SetShowHint(true);
}

void TAnsiTerminalForm::InitTerminal()
{
    const AnsiString folder = ProgramPath();
    AnsiString han = folder + FCharBook->HanFont;
    if (!FileExists(ShippedFilePath(han)))
        han = folder + kDefaultHanFont;
    FTerminal->SetHanFont(han);
    FTerminal->SetEngFont(folder + FCharBook->EngFont);
    FTerminal->SetSpcFont(folder + FCharBook->SpcFont);
    FTerminal->SetKsgFont(folder + FCharBook->KsgFont);
    FTerminal->SetHanMode(FCharBook->GetHan() != 0);
    FTerminal->SetAlphaUse(FCharBook->GetAlpha() != 0);
    FTerminal->Font()->SetName(FCharBook->FontName);
    FTerminal->SetBackColor(FCharBook->BgColor);
    FTerminal->SetFontColor(FCharBook->FgColor);
    LayoutTerminal();
}

TRect TAnsiTerminalForm::TerminalArea()
{
    const int below = kStatusLineHeight + kInputHeight + kStatusBarHeight;
    const int top = LayoutArea().Top;
    return TRect{1, top, std::max(ClientWidth(), 1), top + std::max(ClientHeight() - top - below, 0)};
}

// The terminal fills the window above the status line, the input line with the T/D button and
// the status bar, less the room of the docked button bar; it takes its rows and columns from its
// size on every resize.
void TAnsiTerminalForm::LayoutTerminal()
{
    if (!FTerminal || !FStatusBar || !FComboEdit)
        return;
    const int width = ClientWidth();
    const TRect area = TerminalArea();
    TRect terminal = area;
    PlaceDockClients(terminal);
    FTerminal->SetBounds(terminal.Left, terminal.Top, terminal.Width(), terminal.Height());
    FitTerminalColumns(*FTerminal);
    FStatusLabel->SetBounds(0, area.Bottom, width, kStatusLineHeight);
    const int inputTop = area.Bottom + kStatusLineHeight;
    FTranslationBtn->SetBounds(0, inputTop, kTranslationBtnWidth, kInputHeight);
    FComboEdit->SetBounds(kTranslationBtnWidth, inputTop, std::max(width - kTranslationBtnWidth, 0), kInputHeight);
    LayoutStatusBar(inputTop + kInputHeight);
}

// The client area below the menu bar and the tool bars.
TRect TAnsiTerminalForm::LayoutArea()
{
    TRect area = ClientRect();
    AdjustClientRect(area);
    area.Top += ToolBarsHeight();
    return area;
}

void TAnsiTerminalForm::BoundsChanged(const TRect& OldBounds, bool SizeChanged)
{
    TForm::BoundsChanged(OldBounds, SizeChanged);
    if (SizeChanged) {
        // The tool bars' rows follow the width; the terminal follows them.
        if (FControlBar1)
            ShowToolBars();
        else
            LayoutTerminal();
    }
}

void TAnsiTerminalForm::DoShow()
{
    ShowToolBars();
    FConnectTimer->SetEnabled(true);
    TForm::DoShow();
}

void TAnsiTerminalForm::RelinkCharBook(const std::shared_ptr<TCharBooks>& entry) { FCharBook = entry; }

// Nothing of the window runs any more: no timer, no socket event, no trigger scan, no tone.
void TAnsiTerminalForm::StopEverything()
{
    FScript->Closing = 1;
    FUserTimerList->SetActive(false);
    FSystemTimerList->SetActive(false);
    StopBeeps(this);
    FSocket->OnConnect = nullptr;
    FSocket->OnDisconnect = nullptr;
    FSocket->OnConnectionFailed = nullptr;
    FSocket->OnDataAvailable = nullptr;
    FSocket->OnStatus = nullptr;
    FSocket->OnInvalidHost = nullptr;
    FTerminal->OnAfterPut = nullptr;
    FTerminal->OnPutString = nullptr;
    FTerminal->OnPutChar = nullptr;
    FTerminal->OnDblClick = nullptr;
    FTerminal->OnKeyDown = nullptr;
}

void TAnsiTerminalForm::DoClose(TCloseAction& Action)
{
    TForm::DoClose(Action);
    if (Action == caNone || FClosed)
        return;
    FClosed = true;
    StopEverything();
    FScript->ClearCmdData();
    DisconnectHost();
    if (FCharBook && FCharBook->TermForm == this)
        FCharBook->TermForm = nullptr;
    FCharBook.reset();
    // Freed from the event loop, once no handler of the window is running any more.
    if (FBusy > 0) {
        FReleasePending = true;
        Action = caHide;
    } else {
        Action = caFree;
    }
    if (auto* books = dynamic_cast<TCustomForm*>(Owner()); books && !books->Visible())
        books->Show();
}
