#include "app/core/EditorPages.h"

#include <algorithm>
#include <array>

#include "app/core/EditorTexts.h"
#include "grid/model/CellModel.h"
#include "platform/core/Colors.h"
#include "script/ScriptState.h"

namespace {

using namespace EditorText;

constexpr TEditorColumn kButtonColumns[] = {
    {HeadNumber, 40}, {HeadName, 117}, {HeadStatus, 31}, {HeadOn, 277}, {HeadOff, 318}};
constexpr TEditorColumn kTimerColumns[] = {{HeadName, 100}, {HeadCycle, 32}, {HeadStatus, 30},
                                           {HeadTime, 50},  {HeadLeft, 50},  {HeadCommand, 519}};
constexpr TEditorColumn kTriggerColumns[] = {{HeadTrigOn, 25}, {HeadNumber, 42}, {HeadCycle, 30},
                                             {HeadReact, 30},  {HeadGroup, 95},  {HeadNick, 93},
                                             {HeadFrom, 193},  {HeadTo, 270},    {"", 248}};
constexpr TEditorColumn kVariableColumns[] = {{HeadNumber, 64}, {HeadName, 144}, {HeadType, 33}, {HeadValue, 541}};
constexpr TEditorColumn kAliasColumns[] = {{HeadName, 100}, {HeadAliasText, 683}};
constexpr TEditorColumn kMacroColumns[] = {{HeadShortCut, 140}, {HeadNumber, 34}, {HeadText, 610}};

const std::array<TEditorPageLayout, kEditorPageCount> kPages = {{
    {"Button", "ButtonSheet", "ButtonGrid", 1, kButtonColumns, false, false},
    {"Timer", "TimerSheet", "TimerGrid", 1, kTimerColumns, false, false},
    {"Triggers", "TriggersSheet", "TriggersGrid", 2, kTriggerColumns, true, true},
    {"Variables", "VaribablesSheet", "VarGrid", 1, kVariableColumns, false, false},
    {"Alias", "AliasSheet", "AliasGrid", 1, kAliasColumns, false, false},
    {"Macro", "MacroSheet", "MacroGrid", 1, kMacroColumns, true, false},
}};

bool RowShown(const TCellModel& grid, int row) { return row >= 1 && row < grid.RowCount(); }

// The row writer of each record type, for the templates below.
bool ShowRow(TCellModel& grid, int row, const cButton& r) { return ShowButtonRow(grid, row, r); }
bool ShowRow(TCellModel& grid, int row, const cTimer& r) { return ShowTimerRow(grid, row, r); }
bool ShowRow(TCellModel& grid, int row, const cTriggers& r) { return ShowTriggerRow(grid, row, r); }
bool ShowRow(TCellModel& grid, int row, const cVariables& r) { return ShowVariableRow(grid, row, r); }
bool ShowRow(TCellModel& grid, int row, const cAlias& r) { return ShowAliasRow(grid, row, r); }
bool ShowRow(TCellModel& grid, int row, const cKeyMacro& r) { return ShowMacroRow(grid, row, r); }

template <class T>
bool ShowListRow(TCellModel& grid, int row, const TOwnedList<T>& list)
{
    const T* r = list[row - 1];
    return r && ShowRow(grid, row, *r);
}

// The normal cells, and the fixed columns' cells below the header: a blank row left by the last
// record's delete must not keep that record's name or number.
void ClearRows(TCellModel& grid)
{
    grid.ClearNormalCells();
    if (grid.FixedCols() > 0 && grid.RowCount() > 1)
        grid.ClearRect(0, 1, grid.FixedCols() - 1, grid.RowCount() - 1);
}

// Rows of every record, the list's count + 1 rows (at least two).
template <class T>
void FillRows(TCellModel& grid, const TOwnedList<T>& list)
{
    grid.SetRowCountEx(std::max(list.Count() + 1, 2));
    ClearRows(grid);
    for (int i = 0; i < list.Count(); ++i)
        ShowRow(grid, i + 1, *list[i]);
}

}  // namespace

const TEditorPageLayout& EditorPageLayout(int page) { return kPages.at(static_cast<size_t>(page)); }

void SetUpEditorGrid(TCellModel& grid, int page)
{
    const TEditorPageLayout& layout = EditorPageLayout(page);
    const int columns = static_cast<int>(layout.Columns.size());
    grid.SetColCountEx(columns);
    grid.SetRowCountEx(2);
    grid.SetFixedRowsEx(1);
    grid.SetFixedColsEx(layout.FixedCols);
    grid.SetDefaultRowHeight(kEditorRowHeight);
    for (int c = 0; c < columns; ++c) {
        grid.SetColWidths(c, layout.Columns[static_cast<size_t>(c)].Width);
        grid.SetCells(c, 0, layout.Columns[static_cast<size_t>(c)].Header);
    }
    TGridOptions options{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                         goRowSelect,     goColSizing,     goRowMoving};
    if (layout.RowSizing)
        options << goRowSizing;
    grid.SetOptions(options);
    TBands* bands = grid.Bands();
    bands->SetPrimaryColor(clInfoBk);
    bands->SetPrimaryLength(kEditorBandLength);
    bands->SetSecondaryColor(clWindow);
    bands->SetSecondaryLength(kEditorBandLength);
    bands->SetActive(true);
    grid.EnableHTML = false;
    // The check boxes of the timer and trigger pages are cell extras.
    grid.EnableGraphics = true;
    grid.SetCol(layout.FixedCols);
    grid.SetRow(1);
}

int EditorRecordCount(const TScriptState& state, int page)
{
    switch (page) {
    case epButton: return state.ButtonList.Count();
    case epTimer: return state.TimerRecList.Count();
    case epTriggers: return state.TriggerList.Count();
    case epVariables: return state.VariableList.Count();
    case epAlias: return state.AliasList.Count();
    case epMacro: return state.KeyMacroList.Count();
    default: return 0;
    }
}

bool ShowButtonRow(TCellModel& grid, int row, const cButton& r)
{
    if (!RowShown(grid, row))
        return false;
    grid.SetInts(0, row, row);
    grid.SetCells(1, row, r.Name);
    grid.SetCells(2, row, (r.Status & 1) != 0 ? On : Off);
    grid.SetCells(3, row, r.OnBuff);
    grid.SetCells(4, row, r.OffBuff);
    return true;
}

bool ShowTimerRow(TCellModel& grid, int row, const cTimer& r)
{
    if (!RowShown(grid, row))
        return false;
    grid.SetCells(0, row, r.Name);
    grid.AddCheckBox(1, row, (r.Action & cTimer::CycleForever) != 0, false);
    grid.SetCells(2, row, r.Status == 1 ? On : Off);
    grid.SetInts(3, row, r.Ticker);
    grid.SetInts(4, row, r.Countdown);
    grid.SetCells(5, row, r.OnBuff);
    return true;
}

bool ShowTriggerRow(TCellModel& grid, int row, const cTriggers& r)
{
    if (!RowShown(grid, row))
        return false;
    grid.AddCheckBox(0, row, (r.Status & cTriggers::Enabled) != 0, false);
    grid.SetInts(1, row, row);
    grid.AddCheckBox(2, row, (r.Status & cTriggers::StaysEnabled) != 0, false);
    grid.SetCells(3, row, (r.Status & cTriggers::CompleteOnly) != 0 ? LineReact : CharReact);
    grid.SetCells(4, row, r.Group);
    grid.SetCells(5, row, r.NickName);
    grid.SetCells(6, row, r.From);
    grid.SetCells(7, row, r.To);
    return true;
}

bool ShowVariableRow(TCellModel& grid, int row, const cVariables& r)
{
    if (!RowShown(grid, row))
        return false;
    grid.SetInts(0, row, row);
    grid.SetCells(1, row, r.Name);
    grid.SetCells(2, row, AnsiString(1, r.Type));
    grid.SetCells(3, row, r.Value);
    return true;
}

bool ShowAliasRow(TCellModel& grid, int row, const cAlias& r)
{
    if (!RowShown(grid, row))
        return false;
    grid.SetCells(0, row, r.Name);
    grid.SetCells(1, row, r.Text);
    return true;
}

bool ShowMacroRow(TCellModel& grid, int row, const cKeyMacro& r)
{
    if (!RowShown(grid, row))
        return false;
    grid.SetCells(0, row, r.Name);
    grid.SetInts(1, row, row);
    grid.SetCells(2, row, r.ToBuff);
    return true;
}

bool ShowEditorRow(TCellModel& grid, const TScriptState& state, int page, int row)
{
    switch (page) {
    case epButton: return ShowListRow(grid, row, state.ButtonList);
    case epTimer: return ShowListRow(grid, row, state.TimerRecList);
    case epTriggers: return ShowListRow(grid, row, state.TriggerList);
    case epVariables: return ShowListRow(grid, row, state.VariableList);
    case epAlias: return ShowListRow(grid, row, state.AliasList);
    case epMacro: return ShowListRow(grid, row, state.KeyMacroList);
    default: return false;
    }
}

void FillEditorPage(TCellModel& grid, const TScriptState& state, int page)
{
    if (!ValidEditorPage(page))
        return;
    // The headers again: a row moved onto the header row by code leaves it whole.
    const TEditorPageLayout& layout = EditorPageLayout(page);
    for (int c = 0; c < std::min(grid.ColCount(), static_cast<int>(layout.Columns.size())); ++c)
        grid.SetCells(c, 0, layout.Columns[static_cast<size_t>(c)].Header);
    switch (page) {
    case epButton: FillRows(grid, state.ButtonList); break;
    case epTimer: FillRows(grid, state.TimerRecList); break;
    case epTriggers:
        grid.SetRowCountEx(2);
        ClearRows(grid);
        for (int i = 0; i < state.TriggerList.Count(); ++i) {
            grid.SetRowCountEx(i + 2);
            ShowTriggerRow(grid, i + 1, *state.TriggerList[i]);
        }
        break;
    case epVariables: FillRows(grid, state.VariableList); break;
    case epAlias: FillRows(grid, state.AliasList); break;
    case epMacro: FillRows(grid, state.KeyMacroList); break;
    default: break;
    }
}

TDeleteQuestion DeleteQuestion(const cButton& r, int)
{
    return {Format(DeleteButton, r.Name.c_str()), DeleteButtonCaption};
}
TDeleteQuestion DeleteQuestion(const cTimer& r, int)
{
    return {Format(DeleteTimer, r.Name.c_str()), DeleteTimerCaption};
}
TDeleteQuestion DeleteQuestion(const cTriggers& r, int row)
{
    return {Format(DeleteTrigger, row, r.From.c_str()), DeleteTriggerCaption};
}
TDeleteQuestion DeleteQuestion(const cVariables& r, int row)
{
    return {Format(DeleteVariable, row, r.Name.c_str()), DeleteVariableCaption};
}
TDeleteQuestion DeleteQuestion(const cAlias& r, int)
{
    return {Format(DeleteAlias, r.Name.c_str()), DeleteAliasCaption};
}
TDeleteQuestion DeleteQuestion(const cKeyMacro& r, int)
{
    return {Format(DeleteMacro, r.Name.c_str()), DeleteMacroCaption};
}

AnsiString NotFoundText(const AnsiString& text) { return "(" + text + NotFoundTail; }
AnsiString NoMoreFoundText() { return NoMoreFound; }
