// The character window's commands: the actions of ActionList1 with their shortcuts and idle
// updates, the main menu, the four tool bars in the control bar and the terminal's pop-up menu;
// the script editor and the button bar the window opens; the walk commands with their dialogs;
// the copies of terminal text. The tables of captions, shortcuts and items are in
// app/core/CharWindowActions.h and WalkActions.h.

#include <algorithm>
#include <string>

#include "app/core/CharWindowActions.h"
#include "app/core/WalkActions.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/BooksForm.h"
#include "app/forms/ButtonUnit.h"
#include "app/forms/DriverUnit.h"
#include "controls/lib/ExMenus.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/ShortCuts.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/CommonDialogs.h"
#include "script/CmdFile.h"
#include "script/Walk.h"
#include "terminal/control/Terminal.h"

TAnsiTerminalForm::TStatusDialogHook TAnsiTerminalForm::StatusDialogHook;
TAnsiTerminalForm::TWindowDialogHook TAnsiTerminalForm::ConfigDialogHook;
TAnsiTerminalForm::TWindowDialogHook TAnsiTerminalForm::StartUpDialogHook;
TAnsiTerminalForm::TWalkViewHook TAnsiTerminalForm::WalkViewHook;

namespace {

// Tool-button widths of the four bars (their captions differ in length).
constexpr int kToolButtonWidths[4] = {48, 44, 78, 52};
constexpr int kSeparatorWidth = 8;
constexpr int kToolBarHeight = 22;

}  // namespace

void TAnsiTerminalForm::CreateCommands()
{
    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateTerminalPopup();
    CreateDocking();
}

TNotifyEvent TAnsiTerminalForm::Guarded(std::function<void()> run)
{
    return [this, run = std::move(run)](TObject*) {
        if (FClosed)
            return;
        TBusy busy(*this);
        run();
    };
}

TAction* TAnsiTerminalForm::AddAction(const char* name, const char* caption, const char* shortCut,
                                      std::function<void()> execute, std::function<void(TAction*)> update)
{
    auto* action = new TAction(this);
    action->SetName(name);
    action->SetCaption(caption);
    action->SetShortCut(TextToShortCut(shortCut));
    action->SetActionList(FActionList1);
    if (execute)
        action->OnExecute = Guarded(std::move(execute));
    if (update)
        action->OnUpdate = [action, update = std::move(update)](TObject*) { update(action); };
    return action;
}

TAction* TAnsiTerminalForm::FindAction(std::string_view name) const
{
    for (int i = 0; FActionList1 && i < FActionList1->ActionCount(); ++i)
        if (auto* action = dynamic_cast<TAction*>(FActionList1->Actions(i)); action && action->Name() == name)
            return action;
    return nullptr;
}

void TAnsiTerminalForm::CreateActions()
{
    FActionList1 = new TActionList(this);
    FActionList1->SetName("ActionList1");
    for (const TWindowAction& a : kWindowActions) {
        std::function<void()> execute;
        const std::string_view name = a.Name;
        if (a.Page >= 0 && a.Enabled)
            execute = [this, page = a.Page] {
                FScript->CmdConfig.ActivePage = page;
                OpenDriverUnit();
            };
        else if (name == "ActionOpenBook")
            execute = [this] { ActionOpenBookExecute(); };
        else if (name == "ActionViewButton")
            execute = [this] { ActionViewButtonExecute(); };
        else if (name == "ActionEditStatus")
            execute = [this] { ActionEditStatusExecute(); };
        else if (name == "ActionOptionConfig")
            execute = [this] {
                if (ConfigDialogHook)
                    ConfigDialogHook(*this);
            };
        AddAction(a.Name, a.Caption, a.ShortCut, execute)->SetEnabled(a.Enabled);
    }
    for (const TWalkAction& a : kWalkActions) {
        std::function<void(TAction*)> update;
        if (a.Rule != TWalkRule::Always)
            update = [this, rule = a.Rule](TAction* action) {
                action->SetEnabled(WalkActionEnabled(rule, FScript->WalkRec));
            };
        // "Prev Step" has no command of its own.
        std::function<void()> execute;
        if (std::string_view(a.Name) != "ActionPrevStep")
            execute = [this, name = a.Name] { WalkActionExecute(name); };
        AddAction(a.Name, a.Caption, "", execute, update);
    }
    for (int i = 0; i < static_cast<int>(kToolBarActions.size()); ++i)
        AddAction(
            kToolBarActions[static_cast<size_t>(i)].Action, kToolBarActions[static_cast<size_t>(i)].Caption, "",
            [this, i] { ToolBarActionExecute(i); }, [this, i](TAction* action) { ToolBarActionUpdate(i, *action); });
}

TMenuItem* TAnsiTerminalForm::MakeMenuItem(const char* name)
{
    auto* item = new TMenuItem(this);
    if (std::string_view(name) == "-") {
        item->SetCaption("-");
    } else if (TAction* action = FindAction(name)) {
        // The item of an action is named after it.
        item->SetName(std::string(name) + "1");
        item->SetAction(action);
    } else {
        item->SetName(name);
        for (const TWindowMenuItem& m : kWindowMenuItems)
            if (std::string_view(m.Name) == name)
                item->SetCaption(m.Caption);
    }
    return item;
}

TMenuItem* TAnsiTerminalForm::FindMenuItem(std::string_view name) const
{
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* item = dynamic_cast<TMenuItem*>(Components(i)); item && item->Name() == name)
            return item;
    return nullptr;
}

void TAnsiTerminalForm::CreateMenus()
{
    FExMainMenu1 = new TExMainMenu(this);
    FExMainMenu1->SetName("ExMainMenu1");
    for (const TWindowMenu& menu : kWindowMenus) {
        auto* top = new TMenuItem(this);
        top->SetName(menu.Name);
        top->SetCaption(menu.Caption);
        FExMainMenu1->Items()->Add(top);
        for (const char* name : menu.Items)
            top->Add(MakeMenuItem(name));
    }
    FindMenuItem(kStartUpItem)->OnClick = Guarded([this] {
        if (StartUpDialogHook)
            StartUpDialogHook(*this);
    });
    // A dialog nothing reaches.
    TMenuItem* hidden = FindMenuItem(kHiddenItem);
    hidden->SetEnabled(false);
    hidden->SetVisible(false);
    FindMenuItem("Exit1")->OnClick = Guarded([this] { Close(); });
    FindMenuItem("About1")->OnClick = Guarded([] {
        if (BooksForm)
            BooksForm->AboutButtonClick();
    });
    HandleNeeded();
    SetMenu(FExMainMenu1);
}

void TAnsiTerminalForm::CreateToolBars()
{
    FControlBar1 = new TControlBar(this);
    FControlBar1->SetName("ControlBar1");
    FControlBar1->SetParent(this);
    for (size_t i = 0; i < kWindowToolBars.size(); ++i) {
        const TWindowMenu& bar = kWindowToolBars[i];
        auto* toolBar = new TToolBar(this);
        toolBar->SetName(bar.Name);
        toolBar->SetAlign(alNone);
        toolBar->SetShowCaptions(true);
        toolBar->SetFlat(true);
        toolBar->SetButtonWidth(kToolButtonWidths[i]);
        toolBar->SetButtonHeight(kToolBarHeight);
        int width = 0;
        for (const char* name : bar.Items) {
            auto* button = new TToolButton(this);
            button->SetParent(toolBar);
            if (std::string_view(name) == "-") {
                button->SetStyle(tbsSeparator);
                width += kSeparatorWidth;
            } else {
                button->SetName(std::string("Tool") + name);
                LinkControlToAction(button, FindAction(name));
                width += kToolButtonWidths[i];
            }
        }
        toolBar->SetBounds(0, 0, width, kToolBarHeight + 2);
        FToolBars[i] = toolBar;
    }
    // The short bars first, so that they share a row.
    for (const int i : {0, 1, 3, 2})
        FToolBars[static_cast<size_t>(i)]->SetParent(FControlBar1);
    ShowToolBars();
}

void TAnsiTerminalForm::CreateTerminalPopup()
{
    FTerminalPopupMenu = new TExPopupMenu(this);
    FTerminalPopupMenu->SetName(kTerminalPopup.Name);
    for (const char* name : kTerminalPopup.Items)
        FTerminalPopupMenu->Items()->Add(MakeMenuItem(name));
    FCopy1 = FindMenuItem("Copy1");
    FCopy1->OnClick = [this](TObject*) { Copy1Click(); };
    FindMenuItem("CopyScreen")->OnClick = [this](TObject*) { FTerminal->CopyScreenToClipBoard(); };
    FindMenuItem("CopyAll")->OnClick = [this](TObject*) { FTerminal->CopyAllToClipBoard(); };
    FTerminal->OnBlock = [this](TObject*, const AnsiString& text) { FBlockText = text; };
    FTerminal->OnBlockLine = [this](TObject*, const AnsiString& text, bool) { FBlockText = text; };
    FTerminal->OnPopupBlock = [this](int X, int Y) { TerminalPopup(X, Y, true); };
    FTerminal->OnPopupNormal = [this](int X, int Y) { TerminalPopup(X, Y, false); };
}

// A right click over a selection may copy it; elsewhere the copy item is off.
void TAnsiTerminalForm::TerminalPopup(int X, int Y, bool block)
{
    FCopy1->SetEnabled(block);
    FTerminalPopupMenu->Popup(X, Y);
}

void TAnsiTerminalForm::Copy1Click()
{
    Clipboard()->SetAsText(FBlockText);
    FTerminal->CancelBlockMode();
}

// --- Tool bars --------------------------------------------------------------------------------

void TAnsiTerminalForm::ToolBarActionExecute(int index)
{
    const TToolBarAction& bar = kToolBarActions[static_cast<size_t>(index)];
    const bool shown = ToggleToolBar(FScript->CmdConfig.ToolView, bar.Bit);
    FindAction(bar.Action)->SetChecked(shown);
    ShowToolBars();
}

// Runs at every idle, on the action it updates.
void TAnsiTerminalForm::ToolBarActionUpdate(int index, TAction& action)
{
    const bool shown = ToolBarShown(FScript->CmdConfig.ToolView, kToolBarActions[static_cast<size_t>(index)].Bit);
    action.SetChecked(shown);
    if (FToolBars[static_cast<size_t>(index)]->Visible() != shown)
        ShowToolBars();
}

void TAnsiTerminalForm::ShowToolBars()
{
    if (!FControlBar1)
        return;
    for (size_t i = 0; i < kToolBarActions.size(); ++i)
        FToolBars[i]->SetVisible(ToolBarShown(FScript->CmdConfig.ToolView, kToolBarActions[i].Bit));
    FControlBar1->SetBounds(0, 0, ClientWidth(), FControlBar1->Height());
    FControlBar1->ArrangeBands();
    int bottom = 0;
    for (TToolBar* bar : FToolBars)
        if (bar->Visible())
            bottom = std::max(bottom, bar->Top() + bar->Height() + 2);
    FControlBar1->SetVisible(bottom > 0);
    TRect area = ClientRect();
    AdjustClientRect(area);
    FControlBar1->SetBounds(0, area.Top, ClientWidth(), bottom);
    LayoutTerminal();
}

int TAnsiTerminalForm::ToolBarsHeight() const
{
    return FControlBar1 && FControlBar1->Visible() ? FControlBar1->Height() : 0;
}

// --- The script editor and the button bar -----------------------------------------------------

void TAnsiTerminalForm::OpenDriverUnit()
{
    if (!FDriverForm)
        FDriverForm = new TDriverForm(this);
    FDriverForm->Show();
    FDriverForm->FormActivate();
}

void TAnsiTerminalForm::ActionViewButtonExecute()
{
    if (!FButtonForm)
        FButtonForm = new TButtonForm(this);
    FButtonForm->Show();
}

void TAnsiTerminalForm::CreateDocking()
{
    SetDockSite(true);
    SetUseDockManager(true);
    OnDockOver = [this](TObject*, TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept) {
        FormDockOver(Source, X, Y, State, Accept);
    };
    OnDockDrop = [this](TObject*, TDragDockObject* Source, int X, int Y) { FormDockDrop(Source, X, Y); };
}

void TAnsiTerminalForm::FormDockOver(TDragDockObject* Source, int, int, TDragState, bool& Accept)
{
    Accept = FButtonForm && Source && Source->Control == FButtonForm;
}

// The docking itself is done: the bar is in the window and the terminal has given up its room.
void TAnsiTerminalForm::FormDockDrop(TDragDockObject*, int, int) {}

void TAnsiTerminalForm::DriverFormClosed(TDriverForm* form)
{
    if (FDriverForm == form)
        FDriverForm = nullptr;
}

void TAnsiTerminalForm::ButtonFormClosed(TButtonForm* form)
{
    if (FButtonForm == form)
        FButtonForm = nullptr;
}

void TAnsiTerminalForm::RefreshButtonBar()
{
    if (FButtonForm)
        FButtonForm->FormShowButtons();
}

void TAnsiTerminalForm::DropBarButton(cButton& record)
{
    if (FButtonForm)
        FButtonForm->DropButton(record);
}

void TAnsiTerminalForm::ButtonListChanged()
{
    if (FButtonForm)
        FButtonForm->Rebuild();
}

bool TAnsiTerminalForm::LoadCmdFile(const AnsiString& path)
{
    if (FClosed)
        return false;
    TBusy busy(*this);
    return FScript->LoadCmdFile(path);
}

void TAnsiTerminalForm::CloseToolWindows()
{
    delete FDriverForm;
    delete FButtonForm;
}

// --- The other commands -----------------------------------------------------------------------

void TAnsiTerminalForm::ActionOpenBookExecute()
{
    if (!BooksForm)
        return;
    if (BooksForm->Visible())
        BooksForm->Hide();
    else
        BooksForm->Show();
}

// An empty text keeps the status line; a new one is saved with the command file at once.
void TAnsiTerminalForm::ActionEditStatusExecute()
{
    if (!StatusDialogHook)
        return;
    const AnsiString text = StatusDialogHook(*this, FScript->CmdConfig.StatusLine);
    if (text.empty())
        return;
    FScript->CmdConfig.StatusLine = text;
    if (FCharBook && !FCharBook->TriggerFile.empty())
        FScript->SaveCmdFile(FCharBook->TriggerFile);
}

// --- Walks ------------------------------------------------------------------------------------

namespace {

// The walk files' dialog (walks are kept in the "Cmd" folder); the chosen file's name, or
// nothing on Cancel.
std::optional<AnsiString> AskWalkFile(bool create)
{
    std::unique_ptr<TOpenDialog> dialog;
    if (create)
        dialog = std::make_unique<TSaveDialog>(nullptr);
    else
        dialog = std::make_unique<TOpenDialog>(nullptr);
    dialog->DefaultExt = ActionText::WalkExt;
    dialog->Filter = ActionText::WalkFilter;
    dialog->InitialDir = "Cmd";
    dialog->Title = create ? ActionText::NewWalkTitle : ActionText::OpenWalkTitle;
    dialog->Options = ofHideReadOnly | ofEnableSizing | ofNoChangeDir | (create ? ofCreatePrompt : 0u);
    if (!dialog->Execute())
        return std::nullopt;
    return CmdFileName(dialog->FileName);
}

}  // namespace

void TAnsiTerminalForm::WalkActionExecute(std::string_view name)
{
    TScriptState& s = *FScript;
    if (name == "ActionNewRecord") {
        if (const std::optional<AnsiString> file = AskWalkFile(true))
            NewWalkRecord(s, *file);
    } else if (name == "ActionOpenWalk") {
        if (const std::optional<AnsiString> file = AskWalkFile(false))
            OpenWalk(s, *file);
    } else if (name == "ActionEndRecord") {
        EndWalkRecord(s);
    } else if (name == "ActionCloseWalk") {
        CloseWalk(s);
    } else if (name == "ActionRewind") {
        RewindWalk(s);
    } else if (name == "ActionNextStep") {
        WalkNextStep(s, "");
    } else if (name == "ActionStepAgain") {
        WalkStepAgain(s);
    } else if (name == "ActionSpeedWalk") {
        SpeedWalk(s);
    } else if (name == "ActionSlowWalk") {
        SlowWalk(s);
    } else if (name == "ActionSlowWalkOk") {
        SlowWalkOk(s);
    } else if (name == "ActionNextBreakPoint") {
        WalkNextBreakPoint(s);
    } else if (name == "ActionGoToStep") {
        AnsiString index = std::to_string(s.WalkRec.Current);
        if (InputQuery(ActionText::GoToCaption, ActionText::GoToPrompt, index))
            WalkGoToStep(s, index);
    } else if (name == "ActionPutStep") {
        AnsiString count = "1";
        if (InputQuery(ActionText::PutStepCaption, ActionText::PutStepPrompt, count))
            WalkNextStep(s, count);
    } else if (name == "ActionViewWalk") {
        if (WalkViewHook)
            WalkViewHook(*this, ProgramPath() + "Cmd\\" + s.WalkRec.FileName, s.WalkRec.Steps);
    }
}
