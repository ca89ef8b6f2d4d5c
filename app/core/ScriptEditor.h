#pragma once
// The script editor's decisions without its window: the per-kind commands New, Edit, Insert,
// Copy-insert and Delete on the current row of a page, the rows a drag moved, the trigger page's
// Space, the double click, the grid keys and Find. It keeps no script data: every change goes to
// the character's lists and the page is shown again from them. The window (DriverUnit.h) gives
// it one grid model per page and answers what it asks through IScriptEditorUi.
//
// The item dialogs edit a copy of the record: the engine keeps running while a dialog is open
// (a trigger or a timer may load another command file and free every record), so what the
// dialog wrote goes back into the record only when it is still in its list.

#include <array>
#include <cstdint>

#include "app/core/EditorPages.h"
#include "script/Records.h"

class TCellModel;
class TScriptState;

// How an item dialog ended. Only the trigger dialog writes its fields before it refuses a save,
// so a cancel after such a refusal leaves the record holding what was typed.
enum class TDialogEnd { Cancelled, Saved, CancelledAfterWrite };

// What the editor asks of its window.
class IScriptEditorUi {
public:
    virtual ~IScriptEditorUi() = default;
    // The kind's dialog on the record, modally. self is the record in the list that the copy
    // stands for (null for a new one): the uniqueness checks skip it.
    virtual TDialogEnd EditButton(cButton& record) = 0;
    virtual TDialogEnd EditTimer(cTimer& record) = 0;
    virtual TDialogEnd EditTrigger(cTriggers& record) = 0;
    virtual TDialogEnd EditVariable(cVariables& record, const cVariables* self, const TVariableList& list) = 0;
    virtual TDialogEnd EditAlias(cAlias& record, const cAlias* self, const TAliasList& list) = 0;
    virtual TDialogEnd EditMacro(cKeyMacro& record, const cKeyMacro* self, const TKeyMacroList& list) = 0;
    // A Yes/No box; true for Yes.
    virtual bool Confirm(const AnsiString& text, const AnsiString& caption) = 0;
    // A plain message box.
    virtual void Message(const AnsiString& text) = 0;
    // The button page was refilled: the button bar, when open, follows.
    virtual void ButtonsShown() = 0;
    // The record is about to be freed: the bar frees its button first.
    virtual void ButtonGoing(cButton& record) = 0;
};

class TScriptEditor {
public:
    TScriptEditor(TScriptState& state, IScriptEditorUi& ui);

    // The grid of each page; the editor reads its current row and writes its cells.
    void SetGrid(int page, TCellModel* grid);
    TCellModel* Grid(int page) const;

    // Refills one page, or all six (triggers, variables, macros, buttons, aliases, timers).
    void FillPage(int page);
    void FillAllGrids();

    // The item commands on the page's current row (list index Row - 1).
    void New(int page);
    void Edit(int page);
    void Insert(int page);
    void CopyInsert(int page);
    void Delete(int page);

    // A row dragged from row from to row to: the record moves likewise in its list and the page
    // is shown again. Rows that are not records move nothing.
    void RowMoved(int page, int from, int to);
    // Space on the trigger page: the current trigger on or off.
    void ToggleTrigger();
    // A double click on a row: nothing on the header, New on the blank row of an empty list,
    // else Edit of that row.
    void DoubleClick(int page, int row);
    // A key down in a page's grid: Enter edits, Insert inserts, Delete deletes. True when the key
    // was one of them.
    bool GridKey(int page, uint16_t key);

    // Find on the page's grid: the hit becomes the current cell, else a message. Find next is
    // enabled by a hit and disabled by a miss and by a page change.
    void FindFirst(int page, const AnsiString& text);
    void FindNext(int page);
    bool FindNextEnabled() const { return FFindNextEnabled; }
    // Another page was chosen: it becomes the settings' ActivePage and is refilled.
    void PageChanged(int page);

private:
    template <class Kind>
    friend struct TEditorCommands;

    TScriptState& FState;
    IScriptEditorUi& FUi;
    std::array<TCellModel*, kEditorPageCount> FGrids{};
    bool FFindNextEnabled = true;
};
