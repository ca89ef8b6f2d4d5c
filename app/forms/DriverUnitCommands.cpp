// The script editor's commands: the five item actions of each kind, the page-wise commands, Find
// and Find next, and the command file's New, Save, Save As, Load and Close, with the tool bar and
// the menus that reach them.

#include <memory>

#include "app/core/EditorTexts.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/DriverUnit.h"
#include "platform/core/ShortCuts.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/Menus.h"

using namespace EditorText;

namespace {

// The kinds in page order, as the per-kind actions are named.
constexpr const char* kKindNames[kEditorPageCount] = {"Button", "Timer", "Trig", "Var", "Alias", "Macro"};
constexpr const char* kVerbs[] = {"New", "Edit", "Insert", "Delete", "CpIns"};
constexpr int kToolButtonWidth = 64;

}  // namespace

TAction* TDriverForm::AddAction(const char* name, const char* caption, const char* hint, const char* shortCut,
                                std::function<void()> execute)
{
    auto* action = new TAction(this);
    action->SetName(name);
    action->SetCaption(caption);
    action->SetHint(hint);
    action->SetShortCut(TextToShortCut(shortCut));
    action->SetActionList(FActions);
    action->OnExecute = [execute = std::move(execute)](TObject*) { execute(); };
    return action;
}

TAction* TDriverForm::FindAction(std::string_view name) const
{
    for (int i = 0; i < FActions->ActionCount(); ++i)
        if (auto* action = dynamic_cast<TAction*>(FActions->Actions(i)); action && action->Name() == name)
            return action;
    return nullptr;
}

void TDriverForm::CreateActions()
{
    FActions = new TActionList(this);
    FActions->SetName("ActionList1");
    // Per kind: no shortcut of their own; the grid keys and the page-wise commands run them.
    for (int page = 0; page < kEditorPageCount; ++page) {
        TScriptEditor& e = FEditor;
        const std::function<void()> verbs[] = {[&e, page] { e.New(page); }, [&e, page] { e.Edit(page); },
                                               [&e, page] { e.Insert(page); }, [&e, page] { e.Delete(page); },
                                               [&e, page] { e.CopyInsert(page); }};
        for (size_t v = 0; v < std::size(kVerbs); ++v) {
            const AnsiString name = AnsiString("Action") + kKindNames[page] + kVerbs[v];
            AddAction(name.c_str(), kVerbs[v], "", "", verbs[v]);
        }
    }
    AddAction("ActionCmdCtrlNew", NewCaption, NewHint, "Ctrl+N", [this] { NewButtonClick(); });
    AddAction("ActionCmdCtrlInsert", InsertCaption, InsertHint, "Ctrl+I", [this] { InsertButtonClick(); });
    AddAction("ActionCmdCtrlEdit", EditCaption, EditHint, "Ctrl+E", [this] { EditButtonClick(); });
    AddAction("ActionCmdCtrlCpIns", CopyCaption, CopyHint, "Ctrl+C", [this] { CpAndInsBtnClick(); });
    AddAction("ActionCmdCtrlDelete", DeleteCaption, DeleteHint, "Ctrl+D", [this] { DeleteButtonClick(); });
    AddAction("ActionFindFirst", FindFirstCaption, FindFirstHint, "Ctrl+F", [this] { ActionFindFirstExecute(); });
    FFindNext = AddAction("ActionFindNext", FindNextCaption, FindNextHint, "F3", [this] { ActionFindNextExecute(); });
    // The same key as Find: the menu's Find item takes it, so this runs from its tool button.
    AddAction("ActionCmdNewFile", NewFileCaption, NewFileHint, "Ctrl+F", [this] { ActionCmdNewFileExecute(); });
    AddAction("ActionCmdSaveFile", SaveCaption, SaveHint, "Ctrl+S", [this] { ActionCmdSaveFileExecute(); });
    AddAction("ActionCmdSaveAsFile", SaveAsCaption, SaveAsHint, "Ctrl+A", [this] { ActionCmdSaveAsFileExecute(); });
    AddAction("ActionCmdLoadFile", LoadCaption, LoadHint, "Ctrl+L", [this] { ActionCmdLoadFileExecute(); });
    AddAction("ActionCmdClose", CloseCaption, CloseHint, "Ctrl+X", [this] { ActionCmdCloseExecute(); });
}

void TDriverForm::CreateToolBar()
{
    FToolBar = new TToolBar(this);
    FToolBar->SetName("ToolBar1");
    FToolBar->SetParent(this);
    FToolBar->SetShowCaptions(true);
    FToolBar->SetButtonWidth(kToolButtonWidth);
    const char* items[] = {"ActionCmdNewFile",    "ActionCmdSaveFile",
                           "ActionCmdLoadFile",   "-",
                           "ActionCmdCtrlNew",    "ActionCmdCtrlCpIns",
                           "ActionCmdCtrlEdit",   "ActionCmdCtrlInsert",
                           "ActionCmdCtrlDelete", "-",
                           "ActionFindFirst",     "ActionFindNext"};
    int n = 0;
    for (const char* item : items) {
        auto* button = new TToolButton(this);
        button->SetName(("ToolButton" + std::to_string(++n)).c_str());
        button->SetParent(FToolBar);
        if (std::string_view(item) == "-") {
            button->SetStyle(tbsSeparator);
            continue;
        }
        LinkControlToAction(button, FindAction(item));
        if (std::string_view(item) == "ActionFindNext")
            button->SetCaption(FindNextButton);
    }
    FToolBar->ArrangeButtons();
}

void TDriverForm::CreateMenu()
{
    FMenu = new TMainMenu(this);
    FMenu->SetName("MainMenu1");
    auto add = [this](TMenuItem* parent, const char* name, const char* caption, TBasicAction* action) {
        auto* item = new TMenuItem(this);
        item->SetName(name);
        if (action)
            item->SetAction(action);
        else
            item->SetCaption(caption);
        parent->Add(item);
        return item;
    };
    TMenuItem* file = add(FMenu->Items(), "File1", FileMenu, nullptr);
    // "새로운 CMD" and "종료" run New file and Close. New file is linked by its click, not as an
    // action, so that its Ctrl+F stays with the Find item.
    add(file, "NewCmd1", NewFileMenu, nullptr)->OnClick = [this](TObject*) { ActionCmdNewFileExecute(); };
    add(file, "Load1", "", FindAction("ActionCmdLoadFile"));
    add(file, "Save1", "", FindAction("ActionCmdSaveFile"));
    add(file, "SaveAs1", "", FindAction("ActionCmdSaveAsFile"));
    add(file, "N1", "-", nullptr);
    add(file, "Exit1", "", FindAction("ActionCmdClose"));
    TMenuItem* edit = add(FMenu->Items(), "Edit1", EditMenu, nullptr);
    add(edit, "New1", "", FindAction("ActionCmdCtrlNew"));
    add(edit, "Insert1", "", FindAction("ActionCmdCtrlInsert"));
    add(edit, "Edit2", "", FindAction("ActionCmdCtrlEdit"));
    add(edit, "Copy1", "", FindAction("ActionCmdCtrlCpIns"));
    add(edit, "Delete1", "", FindAction("ActionCmdCtrlDelete"));
    add(edit, "N2", "-", nullptr);
    add(edit, "Find1", "", FindAction("ActionFindFirst"));
    add(edit, "FindNext1", "", FindAction("ActionFindNext"));
    SetMenu(FMenu);
}

// --- Page-wise commands -----------------------------------------------------------------------

void TDriverForm::NewButtonClick() { FEditor.New(ActivePageIndex()); }
void TDriverForm::InsertButtonClick() { FEditor.Insert(ActivePageIndex()); }
void TDriverForm::EditButtonClick() { FEditor.Edit(ActivePageIndex()); }
void TDriverForm::CpAndInsBtnClick() { FEditor.CopyInsert(ActivePageIndex()); }
void TDriverForm::DeleteButtonClick() { FEditor.Delete(ActivePageIndex()); }

// --- Find ------------------------------------------------------------------------------------

void TDriverForm::ActionFindFirstExecute()
{
    AnsiString text;
    if (!InputQuery(FindCaption, FindPrompt, text))
        return;
    FEditor.FindFirst(ActivePageIndex(), text);
    FFindNext->SetEnabled(FEditor.FindNextEnabled());
}

void TDriverForm::ActionFindNextExecute()
{
    FEditor.FindNext(ActivePageIndex());
    FFindNext->SetEnabled(FEditor.FindNextEnabled());
}

// --- The command file ------------------------------------------------------------------------

AnsiString TDriverForm::TriggerFile() const
{
    return FWindow && FWindow->CharBook() ? FWindow->CharBook()->TriggerFile : AnsiString();
}

namespace {

// The open or save dialog of the command files, with its title.
template <class Dialog>
std::unique_ptr<Dialog> CmdFileDialog(const char* title)
{
    auto dialog = std::make_unique<Dialog>(nullptr);
    dialog->DefaultExt = CmdExt;
    dialog->Filter = CmdFilter;
    dialog->InitialDir = CmdFolder;
    dialog->Title = title;
    return dialog;
}

}  // namespace

void TDriverForm::ActionCmdSaveFileExecute()
{
    const AnsiString file = TriggerFile();
    if (file.empty()) {
        ActionCmdSaveAsFileExecute();
        return;
    }
    if (FWindow)
        FWindow->Script().SaveCmdFile(file);
}

void TDriverForm::ActionCmdSaveAsFileExecute()
{
    auto dialog = CmdFileDialog<TSaveDialog>(SaveAsTitle);
    dialog->Options = ofOverwritePrompt | ofHideReadOnly | ofExtensionDifferent | ofCreatePrompt | ofEnableSizing;
    if (dialog->Execute() && FWindow)
        FWindow->Script().SaveCmdFile(dialog->FileName);
}

void TDriverForm::ActionCmdLoadFileExecute()
{
    auto dialog = CmdFileDialog<TOpenDialog>(LoadTitle);
    if (!dialog->Execute() || !FWindow)
        return;
    FWindow->LoadCmdFile(dialog->FileName);
    // Whatever the load's outcome: the grids show what was read.
    FEditor.FillAllGrids();
}

void TDriverForm::ActionCmdNewFileExecute()
{
    auto dialog = CmdFileDialog<TSaveDialog>(NewFileTitle);
    if (!dialog->Execute() || !FWindow)
        return;
    FWindow->Script().ClearCmdData();
    FEditor.FillAllGrids();
    FWindow->Script().SaveCmdFile(dialog->FileName);
}
