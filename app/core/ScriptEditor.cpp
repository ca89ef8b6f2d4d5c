#include "app/core/ScriptEditor.h"

#include <algorithm>
#include <memory>

#include "app/core/ItemEdits.h"
#include "grid/model/CellModel.h"
#include "platform/core/VirtualKeys.h"
#include "script/ScriptState.h"

namespace {

// What differs between the six kinds. Make: a new record for the dialog (number: the trigger's
// number); CopyOf: the record copy-insert starts from; Put: into the list at index; Remove: out
// of it and freed; Changed: after the list or a record changed; WriteBack: the fields the
// dialog writes.
struct TButtonKind {
    using Record = cButton;
    static constexpr int Page = epButton;
    static TButtonList& List(TScriptState& s) { return s.ButtonList; }
    static std::unique_ptr<cButton> Make(int) { return std::make_unique<cButton>(); }
    static std::unique_ptr<cButton> CopyOf(const cButton& r, int)
    {
        auto copy = std::make_unique<cButton>(r);
        copy->Control = nullptr;  // the bar makes the copy a button of its own
        return copy;
    }
    static TDialogEnd Dialog(IScriptEditorUi& ui, cButton& r, const cButton*, const TButtonList&)
    {
        return ui.EditButton(r);
    }
    static void WriteBack(cButton& to, const cButton& from) { ItemEdit::WriteBackButton(to, from); }
};

struct TTimerKind {
    using Record = cTimer;
    static constexpr int Page = epTimer;
    static TTimerRecList& List(TScriptState& s) { return s.TimerRecList; }
    static std::unique_ptr<cTimer> Make(int) { return std::make_unique<cTimer>(); }
    // Timers are not copied: copy-insert makes a new default timer as Insert does.
    static std::unique_ptr<cTimer> CopyOf(const cTimer&, int) { return Make(0); }
    static TDialogEnd Dialog(IScriptEditorUi& ui, cTimer& r, const cTimer*, const TTimerRecList&)
    {
        return ui.EditTimer(r);
    }
    static void WriteBack(cTimer& to, const cTimer& from)
    {
        to.Action = from.Action;
        to.Ticker = from.Ticker;
        to.Status = from.Status;
        to.OnBuff = from.OnBuff;
        to.Repeat = from.Repeat;
        to.Name = from.Name;
    }
};

struct TTriggerKind {
    using Record = cTriggers;
    static constexpr int Page = epTriggers;
    static TTriggerList& List(TScriptState& s) { return s.TriggerList; }
    static std::unique_ptr<cTriggers> Make(int number)
    {
        auto r = std::make_unique<cTriggers>();
        r->Number = number;
        return r;
    }
    static std::unique_ptr<cTriggers> CopyOf(const cTriggers& r, int number)
    {
        auto copy = std::make_unique<cTriggers>(r);
        copy->Number = number;
        return copy;
    }
    static TDialogEnd Dialog(IScriptEditorUi& ui, cTriggers& r, const cTriggers*, const TTriggerList&)
    {
        return ui.EditTrigger(r);
    }
    static void WriteBack(cTriggers& to, const cTriggers& from)
    {
        to.Status = from.Status;
        to.Action = from.Action;
        to.NickName = from.NickName;
        to.Group = from.Group;
        to.From = from.From;
        to.To = from.To;
    }
};

struct TVariableKind {
    using Record = cVariables;
    static constexpr int Page = epVariables;
    static TVariableList& List(TScriptState& s) { return s.VariableList; }
    static std::unique_ptr<cVariables> Make(int) { return std::make_unique<cVariables>(); }
    static std::unique_ptr<cVariables> CopyOf(const cVariables& r, int) { return std::make_unique<cVariables>(r); }
    static TDialogEnd Dialog(IScriptEditorUi& ui, cVariables& r, const cVariables* self, const TVariableList& list)
    {
        return ui.EditVariable(r, self, list);
    }
    static void WriteBack(cVariables& to, const cVariables& from)
    {
        to.Action = from.Action;
        to.Name = from.Name;
        to.Type = from.Type;
        to.Value = from.Value;
    }
};

struct TAliasKind {
    using Record = cAlias;
    static constexpr int Page = epAlias;
    static TAliasList& List(TScriptState& s) { return s.AliasList; }
    static std::unique_ptr<cAlias> Make(int) { return std::make_unique<cAlias>(); }
    static std::unique_ptr<cAlias> CopyOf(const cAlias& r, int) { return std::make_unique<cAlias>(r); }
    static TDialogEnd Dialog(IScriptEditorUi& ui, cAlias& r, const cAlias* self, const TAliasList& list)
    {
        return ui.EditAlias(r, self, list);
    }
    static void WriteBack(cAlias& to, const cAlias& from)
    {
        to.Action = from.Action;
        to.Name = from.Name;
        to.Text = from.Text;
    }
};

struct TMacroKind {
    using Record = cKeyMacro;
    static constexpr int Page = epMacro;
    static TKeyMacroList& List(TScriptState& s) { return s.KeyMacroList; }
    static std::unique_ptr<cKeyMacro> Make(int) { return std::make_unique<cKeyMacro>(); }
    static std::unique_ptr<cKeyMacro> CopyOf(const cKeyMacro& r, int) { return std::make_unique<cKeyMacro>(r); }
    static TDialogEnd Dialog(IScriptEditorUi& ui, cKeyMacro& r, const cKeyMacro* self, const TKeyMacroList& list)
    {
        return ui.EditMacro(r, self, list);
    }
    static void WriteBack(cKeyMacro& to, const cKeyMacro& from)
    {
        to.ShortCut = from.ShortCut;
        to.Name = from.Name;
        to.ToBuff = from.ToBuff;
    }
};

}  // namespace

template <class Kind>
struct TEditorCommands {
    using T = typename Kind::Record;
    static constexpr int Page = Kind::Page;

    TScriptEditor& E;

    TOwnedList<T>& List() { return Kind::List(E.FState); }
    TCellModel* Grid() { return E.FGrids[Page]; }
    int Row() { return Grid() ? Grid()->Row() : 0; }
    // The record at the current row, or null (header row, blank row, no grid).
    T* Current() { return List()[Row() - 1]; }

    T* Put(int index, std::unique_ptr<T> record)
    {
        if constexpr (Page == epTimer) {
            // The engine appends a timer with its event; then it takes its place.
            cTimer* timer = E.FState.AddUserTimer(std::move(record));
            List().Move(List().Count() - 1, std::clamp(index, 0, List().Count() - 1));
            return timer;
        } else {
            return List().Insert(index, std::move(record));
        }
    }

    void Remove(T* record)
    {
        if constexpr (Page == epTimer) {
            E.FState.DeleteUserTimer(record);
        } else {
            if constexpr (Page == epButton)
                E.FUi.ButtonGoing(*record);
            List().Remove(record);
        }
    }

    // After the list or one of its records changed.
    void Changed(T* record)
    {
        if constexpr (Page == epTriggers)
            E.FState.TriggersChanged();
        if constexpr (Page == epTimer) {
            if (record)
                E.FState.ApplyUserTimer(*record);
        }
    }

    void ShowRecordRow(const T& record)
    {
        const int index = List().IndexOf(&record);
        if (Grid() && index >= 0)
            ShowEditorRow(*Grid(), E.FState, Page, index + 1);
        if constexpr (Page == epButton)
            E.FUi.ButtonsShown();
    }

    void New()
    {
        std::unique_ptr<T> record = Kind::Make(List().Count() + 1);
        if (Kind::Dialog(E.FUi, *record, nullptr, List()) != TDialogEnd::Saved)
            return;
        T* added = Put(List().Count(), std::move(record));
        Changed(added);
        TCellModel* grid = Grid();
        if (!grid)
            return;
        const int count = List().Count();
        if constexpr (Page == epTriggers) {
            // Only the new row is written, at the row its number names.
            if (added->Number == count) {
                grid->SetRowCountEx(std::max(count + 1, 2));
                ShowTriggerRow(*grid, added->Number, *added);
            } else {
                E.FillPage(Page);
            }
        } else {
            E.FillPage(Page);
        }
        grid->SetRow(grid->RowCount() - 1);
    }

    void Edit()
    {
        T* record = Current();
        if (!record)
            return;
        T copy = *record;
        const TDialogEnd end = Kind::Dialog(E.FUi, copy, record, List());
        // The record may have gone while the dialog was open.
        if (end == TDialogEnd::Cancelled || List().IndexOf(record) < 0)
            return;
        Kind::WriteBack(*record, copy);
        Changed(record);
        // A refused trigger keeps what was typed but shows it only at the next refill.
        if (end == TDialogEnd::Saved)
            ShowRecordRow(*record);
    }

    // Insert, and Copy-insert from a record: the new record goes before the current one.
    void InsertFrom(const T* source)
    {
        const int row = Row();
        if (row < 1)
            return;
        std::unique_ptr<T> record = source ? Kind::CopyOf(*source, row) : Kind::Make(row);
        if (Kind::Dialog(E.FUi, *record, nullptr, List()) != TDialogEnd::Saved)
            return;
        Changed(Put(row - 1, std::move(record)));
        E.FillPage(Page);
    }

    void Insert() { InsertFrom(nullptr); }

    void CopyInsert()
    {
        if (const T* record = Current())
            InsertFrom(record);
    }

    void Delete()
    {
        T* record = Current();
        if (!record)
            return;
        const TDeleteQuestion question = DeleteQuestion(*record, Row());
        if (!E.FUi.Confirm(question.Text, question.Caption))
            return;
        if (List().IndexOf(record) >= 0) {
            if (Page == epTriggers && Grid())
                Grid()->ClearNormalCells();
            Remove(record);
            Changed(nullptr);
        }
        E.FillPage(Page);
    }

    void Moved(int from, int to)
    {
        const int count = List().Count();
        if (from >= 1 && from <= count && to >= 1 && to <= count && from != to) {
            List().Move(from - 1, to - 1);
            Changed(nullptr);
        }
        E.FillPage(Page);
    }
};

namespace {

// Runs a command on the page's kind.
template <class Command>
void OnPage(TScriptEditor& editor, int page, Command command)
{
    switch (page) {
    case epButton: command(TEditorCommands<TButtonKind>{editor}); break;
    case epTimer: command(TEditorCommands<TTimerKind>{editor}); break;
    case epTriggers: command(TEditorCommands<TTriggerKind>{editor}); break;
    case epVariables: command(TEditorCommands<TVariableKind>{editor}); break;
    case epAlias: command(TEditorCommands<TAliasKind>{editor}); break;
    case epMacro: command(TEditorCommands<TMacroKind>{editor}); break;
    default: break;
    }
}

}  // namespace

TScriptEditor::TScriptEditor(TScriptState& state, IScriptEditorUi& ui) : FState(state), FUi(ui) {}

void TScriptEditor::SetGrid(int page, TCellModel* grid)
{
    if (ValidEditorPage(page))
        FGrids[static_cast<size_t>(page)] = grid;
}

TCellModel* TScriptEditor::Grid(int page) const
{
    return ValidEditorPage(page) ? FGrids[static_cast<size_t>(page)] : nullptr;
}

void TScriptEditor::FillPage(int page)
{
    if (TCellModel* grid = Grid(page))
        FillEditorPage(*grid, FState, page);
    if (page == epButton)
        FUi.ButtonsShown();
}

void TScriptEditor::FillAllGrids()
{
    for (const int page : {epTriggers, epVariables, epMacro, epButton, epAlias, epTimer})
        FillPage(page);
}

void TScriptEditor::New(int page)
{
    OnPage(*this, page, [](auto c) { c.New(); });
}

void TScriptEditor::Edit(int page)
{
    OnPage(*this, page, [](auto c) { c.Edit(); });
}

void TScriptEditor::Insert(int page)
{
    OnPage(*this, page, [](auto c) { c.Insert(); });
}

void TScriptEditor::CopyInsert(int page)
{
    OnPage(*this, page, [](auto c) { c.CopyInsert(); });
}

void TScriptEditor::Delete(int page)
{
    OnPage(*this, page, [](auto c) { c.Delete(); });
}

void TScriptEditor::RowMoved(int page, int from, int to)
{
    OnPage(*this, page, [from, to](auto c) { c.Moved(from, to); });
}

void TScriptEditor::ToggleTrigger()
{
    TEditorCommands<TTriggerKind> c{*this};
    cTriggers* trigger = c.Current();
    if (!trigger)
        return;
    trigger->Status ^= cTriggers::Enabled;
    FState.TriggersChanged();
    c.ShowRecordRow(*trigger);
}

void TScriptEditor::DoubleClick(int page, int row)
{
    TCellModel* grid = Grid(page);
    if (!grid || row < 1)
        return;
    if (EditorRecordCount(FState, page) == 0) {
        New(page);
        return;
    }
    grid->SetRow(row);
    Edit(page);
}

bool TScriptEditor::GridKey(int page, uint16_t key)
{
    switch (key) {
    case VK_RETURN: Edit(page); return true;
    case VK_INSERT: Insert(page); return true;
    case VK_DELETE: Delete(page); return true;
    default: return false;
    }
}

void TScriptEditor::FindFirst(int page, const AnsiString& text)
{
    TCellModel* grid = Grid(page);
    if (!grid)
        return;
    const TPoint hit = grid->FindFirst(text, TFindParams());
    if (hit.x < 0) {
        FFindNextEnabled = false;
        FUi.Message(NotFoundText(text));
        return;
    }
    grid->SetCol(hit.x);
    grid->SetRow(hit.y);
    FFindNextEnabled = true;
}

void TScriptEditor::FindNext(int page)
{
    TCellModel* grid = Grid(page);
    if (!grid)
        return;
    const TPoint hit = grid->FindNext();
    if (hit.x < 0) {
        FFindNextEnabled = false;
        FUi.Message(NoMoreFoundText());
        return;
    }
    grid->SetCol(hit.x);
    grid->SetRow(hit.y);
}

void TScriptEditor::PageChanged(int page)
{
    if (!ValidEditorPage(page))
        return;
    FState.CmdConfig.ActivePage = page;
    FFindNextEnabled = false;
    FillPage(page);
}
