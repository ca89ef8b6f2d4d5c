#pragma once
// The character window: one character's terminal, connection, script state and timers.
//
// It is split over several files:
// - AnsiTerminal.cpp: creation, the terminal's set-up and layout, showing, closing;
// - AnsiTerminalNet.cpp: connecting, the socket's events, received data through the telnet
//   protocol, and sending;
// - AnsiTerminalScript.cpp: the window as the host of its script engine;
// - AnsiTerminalStatus.cpp: the status bar with its CPU meter, the status line, the indicators and
//   the system timers that refresh them;
// - AnsiTerminalKeys.cpp: the input line and Enter, the history, the key handlers of the window,
//   the input line and the terminal, the mouse wheel and the T/D button;
// - AnsiTerminalActions.cpp: the actions, main menu, tool bars and terminal pop-up, the script
//   editor and the button bar the window opens, the walk commands and their dialogs.
//
// The window is freed later from the event loop once it has closed, and never while one of its
// own handlers is still running, so a handler that closes its window returns safely.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "app/core/CharBooks.h"
#include "app/core/CpuUsage.h"
#include "app/core/KeyRouting.h"
#include "app/core/Telnet.h"
#include "app/core/TypedHistory.h"
#include "platform/gui/Forms.h"
#include "script/ScriptHost.h"
#include "script/ScriptState.h"

class TAction;
class TActionList;
class TButton;
class TButtonForm;
class TComboEdit;
class TControlBar;
class TDriverForm;
class TExMainMenu;
class TExPopupMenu;
class TMenuItem;
class TToolBar;
class TExLabel;
class TExTimerEvent;
class TExTimerList;
class TNetSocket;
class TProgressBar;
class TStatusBar;
class TTerminal;

class TAnsiTerminalForm : public TForm, public IScriptHost, public ICharBookWindow, private ITelnetSink {
public:
    // Created for a book entry (the book window is the owner): caption, entry link, terminal
    // set-up and the command file; the caller shows the window.
    TAnsiTerminalForm(TComponent* AOwner, const std::shared_ptr<TCharBooks>& entry);
    ~TAnsiTerminalForm() override;

    // The capture windows belong to windows built elsewhere; until the hook is set, capture text
    // goes nowhere.
    using TCaptureTextHook =
        std::function<void(TAnsiTerminalForm& window, const AnsiString& name, const AnsiString& text)>;
    static TCaptureTextHook CaptureTextHook;
    // The chat-history dialog, opened by the input line's button; until it is set the button
    // does nothing.
    using TChatHistoryHook = std::function<void(TAnsiTerminalForm& window)>;
    static TChatHistoryHook ChatHistoryHook;

    // --- Components.
    TTerminal* Terminal() const { return FTerminal; }
    TNetSocket* Socket() const { return FSocket; }
    TExTimerList* SystemTimerList() const { return FSystemTimerList; }
    TExTimerList* UserTimerList() override { return FUserTimerList; }
    TScriptState& Script() { return *FScript; }
    const std::shared_ptr<TCharBooks>& CharBook() const { return FCharBook; }

    // The system timers of the form.
    TExTimerEvent* ConnectTimer() const { return FConnectTimer; }
    TExTimerEvent* WalkTimer() override { return FWalkTimer; }

    // --- Connection.
    void InitTerminal();
    void ConnectHost();
    void DisconnectHost();
    bool Connected() const;
    // Seconds at the moment of connecting; 0 while not connected.
    int64_t ConnectTime() const { return FConnectTime; }
    // True from the host's WILL ECHO until its WONT ECHO or a new connection.
    bool ServerEchoes() const;

    // --- Script host.
    void SendText(const AnsiString& text) override;
    void PutDirectString(const AnsiString& text) override;
    void PutCaptureText(const AnsiString& name, const AnsiString& text) override;
    void RefreshStatusLine() override { StatusEventTimer(); }
    void ShowMessageBox(const AnsiString& caption, const AnsiString& text) override;
    void PlaySound(const AnsiString& file) override;
    void Beep(int frequency, int duration) override;
    void ClickButton(cButton& button) override;
    void SaveCharBook() override;
    bool GetWalkAutoRewind() override;
    AnsiString ProgramFolder() override;
    // Runs a command text as a typed line or a macro would.
    void ExecuteCommand(const AnsiString& text);

    // --- Status bar and status line.
    static constexpr int kPanelCount = 8;
    TStatusBar* StatusBar() const { return FStatusBar; }
    TProgressBar* CpuBar() const { return FCpuBar; }
    TExLabel* StatusLabel() const { return FStatusLabel; }
    const AnsiString& PanelText(int index) const;
    void SetPanelText(int index, const AnsiString& text);
    const AnsiString& StatusLine() const;
    // The status line and the trigger and walk panels, while connected.
    void StatusEventTimer();
    void ConnectedTimerTimer();
    // The CPU meter: each window keeps its own readings. A failure is reported once per run;
    // later ticks try again silently and the meter keeps its position.
    void CpuTimerTimer();
    int CpuPosition() const;
    // Panels 0 and 1: the input method's Hangul/English state and the Insert key's toggle. The
    // program's message hook calls it after every key-up and input-method key.
    void RefreshIndicators();
    // Where the processors' counters are read (tools point it at a file of their own).
    static std::string ProcStatPath;

    // --- Book.
    void RelinkCharBook(const std::shared_ptr<TCharBooks>& entry) override;

    // --- Keys, the T/D switch and the history of typed lines.
    // The input line: an edit box whose button opens the history of typed lines.
    TComboEdit* ComboEdit() const { return FComboEdit; }
    TButton* TranslationBtn() const { return FTranslationBtn; }
    TTypedHistory& History() { return FHistory; }
    uint8_t KeyConsumed() const { return FKeys.KeyConsumed(); }
    // The T/D button: flips the entry's translate bit; the input line gets the focus.
    void TranslationBtnClick();

    // --- Actions, menus, tool bars, the script editor and the button bar (AnsiTerminalActions.cpp).
    TActionList* ActionList1() const { return FActionList1; }
    // An action of the window by name (null when none).
    TAction* FindAction(std::string_view name) const;
    TExMainMenu* ExMainMenu1() const { return FExMainMenu1; }
    // A menu item of the main menu or the terminal pop-up by name (null when none).
    TMenuItem* FindMenuItem(std::string_view name) const;
    TControlBar* ControlBar1() const { return FControlBar1; }
    // The four tool bars in the order of the ToolView bits.
    TToolBar* ToolBar(int index) const { return FToolBars.at(static_cast<size_t>(index)); }
    TExPopupMenu* TerminalPopupMenu() const { return FTerminalPopupMenu; }
    // The text last selected in the terminal.
    const AnsiString& BlockText() const { return FBlockText; }
    TDriverForm* DriverForm() const { return FDriverForm; }
    TButtonForm* ButtonForm() const { return FButtonForm; }
    // Shows the script editor on the settings' ActivePage, making it on first use.
    void OpenDriverUnit();
    // Shows the button bar, making it on first use.
    void ActionViewButtonExecute();
    // The editor and the bar say when they close (or are freed).
    void DriverFormClosed(TDriverForm* form);
    void ButtonFormClosed(TButtonForm* form);
    // The open bar follows the button list: laid out again, or a record's button dropped before
    // the record is freed.
    void RefreshButtonBar();
    void DropBarButton(cButton& record);
    // The engine cleared or reloaded the button list: the bar drops every button and rebuilds.
    void ButtonListChanged() override;
    // The window is the bar's dock site: a dragged control is accepted only when it is this
    // window's button bar, which then takes the edge of the terminal's room nearest the drop.
    void FormDockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept);
    void FormDockDrop(TDragDockObject* Source, int X, int Y);
    // Loads a command file as the editor's Load does (its start-up commands may close the window).
    bool LoadCmdFile(const AnsiString& path);
    // The tool bars as ToolView says; their height above the terminal.
    void ShowToolBars();
    int ToolBarsHeight() const;
    // The dialogs of the small-dialog units, bound by them; until then the commands do nothing.
    // The status-line editor gives back its text (empty keeps the status line).
    using TStatusDialogHook = std::function<AnsiString(TAnsiTerminalForm& window, const AnsiString& statusLine)>;
    using TWindowDialogHook = std::function<void(TAnsiTerminalForm& window)>;
    using TWalkViewHook =
        std::function<void(TAnsiTerminalForm& window, const AnsiString& path, const std::vector<AnsiString>& steps)>;
    static TStatusDialogHook StatusDialogHook;
    static TWindowDialogHook ConfigDialogHook;
    static TWindowDialogHook StartUpDialogHook;
    static TWalkViewHook WalkViewHook;

    // Sizes of what lies under the terminal (status line, input line, status bar) in pixels.
    static constexpr int kStatusLineHeight = 16;
    static constexpr int kInputHeight = 22;
    static constexpr int kStatusBarHeight = 19;

protected:
    void DoShow() override;
    void DoClose(TCloseAction& Action) override;
    void Activate() override;
    void BoundsChanged(const TRect& OldBounds, bool SizeChanged) override;
    // The docked bar goes in the terminal's room; the window lays out its controls itself.
    TRect DockArea() override { return TerminalArea(); }
    void AlignControls(TControl*, TRect&) override { LayoutTerminal(); }

private:
    // Counts the window's handlers on the stack: closing frees the window only once none is.
    class TBusy {
    public:
        explicit TBusy(TAnsiTerminalForm& form);
        ~TBusy();
        TBusy(const TBusy&) = delete;
        TBusy& operator=(const TBusy&) = delete;

    private:
        TAnsiTerminalForm& FForm;
    };
    friend class TBusy;

    // AnsiTerminal.cpp
    void FormCreate();
    TRect LayoutArea();
    // The room of the terminal and the docked bar: under the tool bars, over the status line.
    TRect TerminalArea();
    void LayoutTerminal();
    void StopEverything();

    // AnsiTerminalStatus.cpp
    void CreateSystemTimers();
    void CreateStatusBar();
    void LayoutStatusBar(int top);
    // Panel 3 and the T/D caption, from the entry.
    void FormActivate();

    // AnsiTerminalKeys.cpp
    // What the key and Enter rules ask of the window, made for each key.
    class TKeyHost;
    void CreateInputLine();
    void BindKeys();
    void FormKeyDown(uint16_t& Key, TShiftState Shift);
    void FormKeyPress(char& Key);
    void FormKeyUp();
    void TerminalKeyDown(uint16_t& Key, TShiftState Shift);
    void FormMouseWheel(bool up, bool& Handled);
    void ComboEditKeyDown(uint16_t& Key, TShiftState Shift);
    void ComboEditKeyPress(char& Key);
    void ComboEditButtonClick();

    // AnsiTerminalActions.cpp
    void CreateCommands();
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateTerminalPopup();
    void CreateDocking();
    // A command's handler: it runs as one of the window's handlers, and not once the window closed.
    TNotifyEvent Guarded(std::function<void()> run);
    TAction* AddAction(const char* name, const char* caption, const char* shortCut, std::function<void()> execute,
                       std::function<void(TAction*)> update = nullptr);
    TMenuItem* MakeMenuItem(const char* name);
    void ActionOpenBookExecute();
    void ActionEditStatusExecute();
    void WalkActionExecute(std::string_view name);
    void ToolBarActionExecute(int index);
    void ToolBarActionUpdate(int index, TAction& action);
    void TerminalPopup(int X, int Y, bool block);
    void Copy1Click();
    // Frees the editor and the bar while the window is whole.
    void CloseToolWindows();

    // AnsiTerminalNet.cpp
    void BindSocket();
    void SocketConnect();
    void SocketDisconnect();
    void SocketConnectionFailed();
    void SocketStatus(int status);
    void SocketInvalidHost(bool& Handled);
    void SocketDataAvailable();
    void TerminalPutString(const AnsiString& text);
    void TerminalPutChar(char ch);
    void TerminalAfterPut(const AnsiString& text);
    void TerminalDblClick();
    // Writes to the socket while it is connected; drops the bytes otherwise.
    void WriteSocket(std::string_view bytes);
    // One of the connection's messages, on a line of its own.
    void ShowOwnMessage(const AnsiString& text);
    void TelnetText(std::string_view text) override;
    void TelnetAnswer(std::string_view bytes) override;

    std::shared_ptr<TCharBooks> FCharBook;
    TTerminal* FTerminal = nullptr;
    TNetSocket* FSocket = nullptr;
    TExTimerList* FSystemTimerList = nullptr;
    TExTimerList* FUserTimerList = nullptr;
    TExTimerEvent* FConnectTimer = nullptr;
    TExTimerEvent* FStatusEvent = nullptr;
    TExTimerEvent* FCpuTimer = nullptr;
    TExTimerEvent* FConnectedTimer = nullptr;
    TExTimerEvent* FWalkTimer = nullptr;
    std::unique_ptr<TScriptState> FScript;
    TTelnet FTelnet{*this};

    TStatusBar* FStatusBar = nullptr;
    TProgressBar* FCpuBar = nullptr;
    TExLabel* FStatusLabel = nullptr;
    TButton* FTranslationBtn = nullptr;
    TComboEdit* FComboEdit = nullptr;
    TKeyRouting FKeys;
    TTypedHistory FHistory;

    int64_t FConnectTime = 0;
    // The first byte of a pair that ended the last read, waiting for its second.
    AnsiString FHeldLead;
    // Set once the player was told that text the host would not take was dropped; a new
    // connection clears it.
    bool FSendDropped = false;
    TCpuUsage FCpu{ProcStatPath};

    // AnsiTerminalActions.cpp
    TActionList* FActionList1 = nullptr;
    TExMainMenu* FExMainMenu1 = nullptr;
    TControlBar* FControlBar1 = nullptr;
    std::array<TToolBar*, 4> FToolBars{};
    TExPopupMenu* FTerminalPopupMenu = nullptr;
    TMenuItem* FCopy1 = nullptr;
    AnsiString FBlockText;
    TDriverForm* FDriverForm = nullptr;
    TButtonForm* FButtonForm = nullptr;

    int FBusy = 0;
    bool FClosed = false;
    bool FReleasePending = false;
};
