#pragma once
// The script editor of one character window: six grid pages over the window's six script lists
// (buttons, timers, triggers, variables, aliases, key macros), the item commands through the
// item dialogs, row moves, Find, and the command file's New, Load, Save, Save As and Close. It
// keeps no script data: every page is refilled from its list after each change (the decisions
// are in app/core/ScriptEditor.h). It is not modal; the character window makes it on first use,
// owns it and forgets it when it closes.
//
// Split over: DriverUnit.cpp (the window, its grids, keys and the dialogs it opens),
// DriverUnitPages.cpp (the page control, its pages and the status bar, apart because the common
// controls and the grid name an enumerator alike) and DriverUnitCommands.cpp (the actions, tool
// bar and menus, Find and the command file).

#include <array>
#include <string_view>

#include "app/core/ScriptEditor.h"
#include "platform/gui/Forms.h"

class TAction;
class TActionList;
class TAnsiTerminalForm;
class TCellGrid;
class TMainMenu;
class TPageControl;
class TStatusBar;
class TToolBar;
class TWinControl;

class TDriverForm : public TForm, private IScriptEditorUi {
public:
    explicit TDriverForm(TAnsiTerminalForm* owner);
    ~TDriverForm() override;

    TAnsiTerminalForm* Window() const { return FWindow; }
    TScriptEditor& Editor() { return FEditor; }
    TPageControl* Driver() const { return FDriver; }
    TCellGrid* Grid(int page) const { return FGrids.at(static_cast<size_t>(page)); }
    TStatusBar* StatusBar1() const { return FStatusBar; }
    TActionList* ActionList1() const { return FActions; }
    // An action of the editor by name (null when none).
    TAction* FindAction(std::string_view name) const;

    // The page the settings name (ActivePage) becomes the one shown, unless it has been shown
    // since the form was shown or last activated: an opening's show, activation and the owner's
    // call build it once, and an activation after another window had the focus builds it again.
    void FormActivate();
    // The page control's change: the page becomes the settings' ActivePage and is refilled.
    void DriverPageChange();
    // The page-wise commands: the command of the shown page's kind.
    void NewButtonClick();
    void InsertButtonClick();
    void EditButtonClick();
    void CpAndInsBtnClick();
    void DeleteButtonClick();
    void ActionFindFirstExecute();
    void ActionFindNextExecute();
    void ActionCmdNewFileExecute();
    void ActionCmdSaveFileExecute();
    void ActionCmdSaveAsFileExecute();
    void ActionCmdLoadFileExecute();
    void ActionCmdCloseExecute() { Close(); }

protected:
    void DoShow() override;
    void DoHide() override;
    void Activate() override;
    void Deactivate() override;
    void DoClose(TCloseAction& Action) override;

private:
    // DriverUnit.cpp
    void CreateGrids();
    void SetUpGrid(int page);
    void FormKeyDown(uint16_t& Key, TShiftState Shift);
    void ShowPage(int page);
    // DriverUnitPages.cpp
    void CreatePages();
    void CreateStatusBar();
    int ActivePageIndex() const;
    void SetActivePageIndex(int page);
    void SetStatusText(const AnsiString& text);
    // DriverUnitCommands.cpp
    void CreateActions();
    void CreateToolBar();
    void CreateMenu();
    TAction* AddAction(const char* name, const char* caption, const char* hint, const char* shortCut,
                       std::function<void()> execute);
    // The command file the window's entry names, or "" when none.
    AnsiString TriggerFile() const;

    // IScriptEditorUi: the item dialogs, boxes and the button bar.
    TDialogEnd EditButton(cButton& record) override;
    TDialogEnd EditTimer(cTimer& record) override;
    TDialogEnd EditTrigger(cTriggers& record) override;
    TDialogEnd EditVariable(cVariables& record, const cVariables* self, const TVariableList& list) override;
    TDialogEnd EditAlias(cAlias& record, const cAlias* self, const TAliasList& list) override;
    TDialogEnd EditMacro(cKeyMacro& record, const cKeyMacro* self, const TKeyMacroList& list) override;
    bool Confirm(const AnsiString& text, const AnsiString& caption) override;
    void Message(const AnsiString& text) override;
    void ButtonsShown() override;
    void ButtonGoing(cButton& record) override;

    TAnsiTerminalForm* FWindow;
    TScriptEditor FEditor;
    TActionList* FActions = nullptr;
    TAction* FFindNext = nullptr;
    TToolBar* FToolBar = nullptr;
    TMainMenu* FMenu = nullptr;
    TPageControl* FDriver = nullptr;
    std::array<TWinControl*, kEditorPageCount> FSheets{};
    std::array<TCellGrid*, kEditorPageCount> FGrids{};
    TStatusBar* FStatusBar = nullptr;
    // The page shown since the form was shown or last activated (-1: none yet).
    int FShownPage = -1;
};
