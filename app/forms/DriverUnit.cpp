// The script editor's window: its six pages with their grids, the keys of the form and the grids,
// the double click and row moves, and the dialogs and boxes its commands open.

#include "app/forms/DriverUnit.h"

#include "app/core/EditorTexts.h"
#include "app/core/ItemEditTexts.h"
#include "app/forms/AliasEditUnit.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/ButtonEditUnit.h"
#include "app/forms/MacroEditUnit.h"
#include "app/forms/TimerEditUnit.h"
#include "app/forms/TriggersEditUnit.h"
#include "app/forms/VarEditUnit.h"
#include "grid/control/CellGrid.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Dialogs.h"
#include "script/CmdFile.h"

namespace {
constexpr int kFormWidth = 824, kFormHeight = 779;
constexpr int kGridFontHeight = -13;
}  // namespace

TDriverForm::TDriverForm(TAnsiTerminalForm* owner) : TForm(owner), FWindow(owner), FEditor(owner->Script(), *this)
{
    SetName("DriverForm");
    SetCaption(EditorText::FormCaption);
    SetPosition(poOwnerFormCenter);
    SetBorderIcons(biSystemMenu);
    SetWidth(kFormWidth);
    SetHeight(kFormHeight);
    SetKeyPreview(true);
    OnKeyDown = [this](TObject*, uint16_t& Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
    CreateActions();
    CreateMenu();
    CreateToolBar();
    CreateStatusBar();
    CreatePages();
    CreateGrids();
    SetActivePageIndex(epTriggers);
    // FormCreate: every grid filled.
    FEditor.FillAllGrids();
}

TDriverForm::~TDriverForm()
{
    if (FWindow)
        FWindow->DriverFormClosed(this);
}

void TDriverForm::CreateGrids()
{
    for (int page = 0; page < kEditorPageCount; ++page) {
        auto* grid = new TCellGrid(this);
        grid->SetName(EditorPageLayout(page).GridName);
        grid->SetParent(FSheets[static_cast<size_t>(page)]);
        grid->SetAlign(alClient);
        FGrids[static_cast<size_t>(page)] = grid;
        SetUpGrid(page);
        FEditor.SetGrid(page, grid);
    }
}

void TDriverForm::SetUpGrid(int page)
{
    TCellGrid* grid = Grid(page);
    SetUpEditorGrid(*grid, page);
    grid->Font()->SetName(ItemText::Gulim);
    grid->Font()->SetHeight(kGridFontHeight);
    grid->Multilinecells = EditorPageLayout(page).MultiLine;
    grid->OnDblClickCell = [this, page](TObject*, int ARow, int) { FEditor.DoubleClick(page, ARow); };
    grid->OnRowMoved = [this, page](TObject*, int FromIndex, int ToIndex) {
        FEditor.RowMoved(page, FromIndex, ToIndex);
    };
    grid->OnKeyDown = [this, page](TObject*, uint16_t& Key, TShiftState) {
        if (FEditor.GridKey(page, Key))
            Key = 0;
    };
    if (page == epTriggers) {
        grid->OnKeyPress = [this](TObject*, char& Key) {
            if (Key == ' ')
                FEditor.ToggleTrigger();
        };
        grid->OnSelectCell = [this](TObject*, int, int ARow, bool& CanSelect) {
            CanSelect = true;
            if (ARow != 0)
                SetStatusText(CmdFileName(TriggerFile()));
        };
    }
}

// The page shown: the trigger page hides its spare column, the variable page takes the focus.
void TDriverForm::ShowPage(int page)
{
    if (!ValidEditorPage(page))
        return;
    SetActivePageIndex(page);
    FShownPage = page;
    if (page == epTriggers)
        Grid(page)->HideColumn(kTriggerSpareColumn);
    if (page == epVariables && Visible() && Grid(page)->CanFocus())
        Grid(page)->SetFocus();
}

void TDriverForm::FormActivate()
{
    const int page = FWindow ? FWindow->Script().CmdConfig.ActivePage : epTriggers;
    if (page != FShownPage)
        ShowPage(page);
}

void TDriverForm::DoShow()
{
    TForm::DoShow();
    FormActivate();
}

void TDriverForm::DoHide()
{
    FShownPage = -1;
    TForm::DoHide();
}

void TDriverForm::Activate()
{
    TForm::Activate();
    FormActivate();
}

// Another window has the focus: the next activation shows the page again.
void TDriverForm::Deactivate()
{
    FShownPage = -1;
    TForm::Deactivate();
}

void TDriverForm::DriverPageChange()
{
    const int page = ActivePageIndex();
    FEditor.PageChanged(page);
    FFindNext->SetEnabled(FEditor.FindNextEnabled());
    ShowPage(page);
}

// Enter moves the focus on (Shift+Enter back), tab stops ignored; Escape closes.
void TDriverForm::FormKeyDown(uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_RETURN)
        SelectNext(ActiveControl(), !Shift.Contains(ssShift), false);
    else if (Key == VK_ESCAPE)
        Close();
}

void TDriverForm::DoClose(TCloseAction& Action)
{
    TForm::DoClose(Action);
    if (Action == caNone)
        return;
    if (FWindow)
        FWindow->DriverFormClosed(this);
    FWindow = nullptr;
    Action = caFree;
}

// --- What the editor asks of the window -------------------------------------------------------

TDialogEnd TDriverForm::EditButton(cButton& record) { return EditButtonRecord(this, record); }
TDialogEnd TDriverForm::EditTimer(cTimer& record) { return EditTimerRecord(this, record); }
TDialogEnd TDriverForm::EditTrigger(cTriggers& record) { return EditTriggerRecord(this, record); }

TDialogEnd TDriverForm::EditVariable(cVariables& record, const cVariables* self, const TVariableList& list)
{
    return EditVariableRecord(this, record, self, list);
}

TDialogEnd TDriverForm::EditAlias(cAlias& record, const cAlias* self, const TAliasList& list)
{
    return EditAliasRecord(this, record, self, list);
}

TDialogEnd TDriverForm::EditMacro(cKeyMacro& record, const cKeyMacro* self, const TKeyMacroList& list)
{
    return EditMacroRecord(this, record, self, list);
}

bool TDriverForm::Confirm(const AnsiString& text, const AnsiString& caption)
{
    return MessageBox(text, caption, MB_YESNO) == IDYES;
}

void TDriverForm::Message(const AnsiString& text) { ShowMessage(text); }

void TDriverForm::ButtonsShown()
{
    if (FWindow)
        FWindow->RefreshButtonBar();
}

void TDriverForm::ButtonGoing(cButton& record)
{
    if (FWindow)
        FWindow->DropBarButton(record);
}
