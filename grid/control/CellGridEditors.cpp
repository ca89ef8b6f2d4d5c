// The combo, spin and date-time editor controls, and what every editor control shares.

#include "grid/control/CellGridEditors.h"

#include "grid/control/CellGrid.h"
#include "platform/core/DateFormat.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/ComboLook.h"
#include "platform/gui/StdMessages.h"

// --- TGridEditorLink -------------------------------------------------------------------------------

TGridEditorLink::TGridEditorLink(TComponent* AOwner) : FGrid(dynamic_cast<TCellGrid*>(AOwner)) {}

bool TGridEditorLink::CommitText(TWinControl* Control, const AnsiString& Text, const std::function<void()>& Reload)
{
    // An unchanged text is no edit: the cell keeps what it holds.
    if (!FGrid || Text == FShownText || FGrid->ColCount() == 0 || FGrid->RowCount() == 0)
        return true;
    TAliveToken alive = FGrid->Liveness();
    FGrid->SetCells(FGrid->GetRealCol(), FGrid->Row(), Text);
    const bool valid = FGrid->ValidateCell(Text);
    if (!*alive)
        return false;
    if (valid) {
        FShownText = Text;
        return true;
    }
    Reload();
    Control->Invalidate();
    return false;
}

bool TGridEditorLink::EndTextEdit(TCustomEdit* Edit, uint16_t Key)
{
    if (Key == VK_ESCAPE) {
        Edit->SetText(FShownText);
        FRestored = true;
        return true;
    }
    if (Key != VK_RETURN && Key != VK_UP && Key != VK_DOWN)
        return true;
    return CommitText(Edit, Edit->Text(), [this, Edit] {
        Edit->SetText(FGrid->Cells(FGrid->GetRealCol(), FGrid->Row()));
        FShownText = Edit->Text();
        Edit->SetSelStart(static_cast<int>(Edit->Text().size()));
    });
}

void TGridEditorLink::FinishEdit(uint16_t Key, TShiftState Shift, bool PassKey, bool ByKey)
{
    if (!FGrid)
        return;
    TCellGrid* grid = FGrid;
    TAliveToken alive = grid->Liveness();
    if (ByKey)
        grid->EditEndedByKey = true;
    grid->HideInplaceEdit();
    if (!*alive)
        return;
    if (PassKey) {
        uint16_t k = Key;
        grid->GridKeyDown(k, Shift);
        if (!*alive)
            return;
    }
    TNavigation* nav = grid->Navigation();
    const bool always = nav->AlwaysEdit;
    nav->AlwaysEdit = false;
    if (grid->CanFocus())
        grid->SetFocus();
    if (*alive && Key == VK_RETURN && grid->ColCount() > 0 && grid->RowCount() > 0)
        grid->AdvanceEdit(grid->Col(), grid->Row(), true, always, false);
    if (*alive)
        nav->AlwaysEdit = always;
}

// --- TGridCombo ------------------------------------------------------------------------------------

TGridCombo::TGridCombo(TComponent* AOwner) : TCgComboBox(AOwner), TGridEditorLink(AOwner)
{
    RegisterHandler(WM_GETDLGCODE, [this](TMessage& m) {
        Inherited(m);
        if (FGrid && FGrid->Options().Contains(goTabs))
            m.Result |= DLGC_WANTTAB;
    });
    RegisterHandler(CN_COMMAND, [this](TMessage& m) {
        // The user's choice of an item ends in Change, which tells the grid which kind it was.
        const bool selChange = (m.WParam >> 16) == CBN_SELCHANGE;
        const bool outer = FInSelChange;
        FInSelChange = FInSelChange || selChange;
        TAliveToken alive = AliveToken();
        Inherited(m);
        if (*alive)
            FInSelChange = outer;
    });
    RegisterHandler(WM_SETFOCUS, [this](TMessage& m) {
        Inherited(m);
        // A click that opened the editor puts the caret under the pointer, nothing selected.
        if (FGrid && FGrid->MouseStarted()) {
            FGrid->SetMouseStarted(false);
            const TPoint p{FGrid->PressPoint().x - Left(), FGrid->PressPoint().y - Top()};
            if (p.x >= 0 && p.y >= 0 && p.x < Width() && p.y < Height())
                SetComboCaretAt(this, p);
        }
    });
}

void TGridCombo::KeyDown(uint16_t& Key, TShiftState Shift)
{
    FLookupEnabled = Key != VK_BACK && Key != VK_DELETE;
    const bool editable = Style() == csDropDown && !DroppedDown();
    bool ends = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT ||
        Key == VK_END || Key == VK_HOME;
    ends = ends || (editable ? (Key == VK_UP || Key == VK_DOWN) : (Key == VK_LEFT || Key == VK_RIGHT));
    if (!ends || !FGrid) {
        TCgComboBox::KeyDown(Key, Shift);
        return;
    }
    TAliveToken alive = AliveToken();
    const uint16_t key = Key;
    Key = 0;
    if (DroppedDown())
        SetDroppedDown(false);
    if (key == VK_ESCAPE) {
        SetText(FShownText);
        SetRestored(true);
    } else if (key == VK_RETURN || key == VK_UP || key == VK_DOWN) {
        const bool valid = CommitText(this, ValueText(), [this] {
            const AnsiString cell = FGrid->Cells(FGrid->GetRealCol(), FGrid->Row());
            SetText(cell);
            FShownText = Text();
            SetComboEditSel(this, static_cast<int>(cell.size()), static_cast<int>(cell.size()));
        });
        if (!*alive || !valid)
            return;
    }
    const bool pass = editable ? (key == VK_TAB || key == VK_UP || key == VK_DOWN)
                               : (key == VK_TAB || key == VK_LEFT || key == VK_RIGHT);
    FinishEdit(key, Shift, pass, true);
}

void TGridCombo::KeyUp(uint16_t& Key, TShiftState Shift)
{
    if (Key != VK_RETURN)
        TCgComboBox::KeyUp(Key, Shift);
    DoChange();
}

void TGridCombo::KeyPress(char& Key)
{
    if (Key == '\r') {
        Key = 0;
        return;
    }
    TCgComboBox::KeyPress(Key);
}

void TGridCombo::Change()
{
    TAliveToken alive = AliveToken();
    TCgComboBox::Change();
    if (!*alive || !FGrid)
        return;
    const WPARAM code = FInSelChange ? CBN_SELCHANGE : CBN_EDITCHANGE;
    FGrid->Perform(WM_COMMAND, code << 16, reinterpret_cast<LPARAM>(this));
}

void TGridCombo::DoChange()
{
    if (!FLookupEnabled || !FGrid || !FGrid->Lookup || Style() != csDropDown || !HandleAllocated())
        return;
    int start = 0, end = 0;
    ComboEditSel(this, start, end);
    const AnsiString typed = Text().substr(0, static_cast<size_t>(start));
    const int index = LookupIndex(*Items(), typed, FGrid->LookupCaseSensitive);
    if (index < 0)
        return;
    const AnsiString completed = LookupCompletion(typed, Items()->Strings(index));
    SetItemIndex(index);
    SetText(completed);
    SetComboEditSel(this, static_cast<int>(typed.size()), static_cast<int>(completed.size()));
    FMatchIndex = index;
    FMatched = true;
}

AnsiString TGridCombo::ValueText()
{
    if (Style() != csDropDownList)
        return Text();
    const int index = ItemIndex();
    return index >= 0 && index < Items()->Count() ? Items()->Strings(index) : AnsiString();
}

void TGridCombo::SizeDropDownWidth()
{
    if (!FGrid)
        return;
    TCanvas* c = FGrid->Canvas();
    c->SetFont(FGrid->Font());
    int widest = 0;
    for (int i = 0; i < Items()->Count(); ++i)
        widest = std::max(widest, c->TextWidth(Items()->Strings(i)));
    SetDropWidth(std::max(widest + 6, Width()));
}

void TGridCombo::DoExit()
{
    if (FGrid && FGrid->LookupHistory && !Text().empty() && Items()->IndexOf(Text()) < 0)
        Items()->Add(Text());
    TAliveToken alive = AliveToken();
    if (FGrid)
        FGrid->HideInplaceEdit();
    if (*alive)
        TCgComboBox::DoExit();
}

// --- TGridSpin -------------------------------------------------------------------------------------

TGridSpin::TGridSpin(TComponent* AOwner) : TCgSpinEdit(AOwner), TGridEditorLink(AOwner)
{
    MaxValue = 100;
    Increment = 1;
}

void TGridSpin::FireSpinClick(bool Up)
{
    if (!FGrid)
        return;
    const int col = FGrid->Col(), row = FGrid->Row();
    switch (SpinType()) {
    case sptNormal:
        if (FGrid->OnSpinClick)
            FGrid->OnSpinClick(FGrid, col, row, Value(), Up);
        break;
    case sptFloat:
        if (FGrid->OnFloatSpinClick)
            FGrid->OnFloatSpinClick(FGrid, col, row, FloatValue(), Up);
        break;
    case sptDate:
        if (FGrid->OnDateSpinClick)
            FGrid->OnDateSpinClick(FGrid, col, row, DateValue(), Up);
        break;
    case sptTime:
        if (FGrid->OnTimeSpinClick)
            FGrid->OnTimeSpinClick(FGrid, col, row, TimeValue(), Up);
        break;
    }
}

void TGridSpin::UpClick(TObject* Sender)
{
    TAliveToken alive = AliveToken();
    TCgSpinEdit::UpClick(Sender);
    if (*alive)
        FireSpinClick(true);
}

void TGridSpin::DownClick(TObject* Sender)
{
    TAliveToken alive = AliveToken();
    TCgSpinEdit::DownClick(Sender);
    if (*alive)
        FireSpinClick(false);
}

void TGridSpin::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TAliveToken alive = AliveToken();
    // Page keys, Home and End step the value (numbers only) before the ending keys.
    if (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_HOME || Key == VK_END) {
        const bool up = Key == VK_PRIOR || Key == VK_HOME;
        if (SpinType() == sptNormal) {
            const int64_t v = Value();
            if (Key == VK_PRIOR && v + Increment <= MaxValue)
                SetValue(static_cast<int>(v + Increment));
            else if (Key == VK_NEXT && v - Increment >= MinValue)
                SetValue(static_cast<int>(v - Increment));
            else if (Key == VK_END)
                SetValue(MinValue);
            else if (Key == VK_HOME)
                SetValue(MaxValue);
        } else if (SpinType() == sptFloat) {
            const double v = FloatValue();
            if (Key == VK_PRIOR && v + IncrementFloat <= MaxFloatValue)
                SetFloatValue(v + IncrementFloat);
            else if (Key == VK_NEXT && v - IncrementFloat >= MinFloatValue)
                SetFloatValue(v - IncrementFloat);
            else if (Key == VK_END)
                SetFloatValue(MinFloatValue);
            else if (Key == VK_HOME)
                SetFloatValue(MaxFloatValue);
        }
        if (FGrid && FGrid->OnSpinClick)
            FGrid->OnSpinClick(FGrid, FGrid->Col(), FGrid->Row(), Value(), up);
        if (*alive)
            Key = 0;
        return;
    }
    if (!FGrid || (Key != VK_RETURN && Key != VK_ESCAPE && Key != VK_UP && Key != VK_DOWN)) {
        TCgSpinEdit::KeyDown(Key, Shift);
        return;
    }
    const uint16_t key = Key;
    Key = 0;
    const bool ended = EndTextEdit(this, key);
    if (!*alive || !ended)
        return;
    FinishEdit(key, Shift, key == VK_UP || key == VK_DOWN, true);
}

void TGridSpin::KeyPress(char& Key)
{
    if (Key == '\r') {
        Key = 0;
        return;
    }
    TCgSpinEdit::KeyPress(Key);
}

void TGridSpin::DoExit()
{
    TAliveToken alive = AliveToken();
    if (FGrid)
        FGrid->HideInplaceEdit();
    if (*alive)
        TCgSpinEdit::DoExit();
}

// --- TGridDatePicker -------------------------------------------------------------------------------

TGridDatePicker::TGridDatePicker(TComponent* AOwner) : TDateTimePicker(AOwner), TGridEditorLink(AOwner)
{
    // Inside the cell the picker shows no border of its own, only the window colour.
    SetFramed(false);
}

void TGridDatePicker::LoadFromCell()
{
    if (!FGrid || FGrid->ColCount() == 0 || FGrid->RowCount() == 0)
        return;
    const AnsiString cell = FGrid->Cells(FGrid->GetRealCol(), FGrid->Row());
    TDateTime v = 0;
    if (Kind() == dtkTime ? TryStrToTime(cell, v) : TryStrToDate(cell, v))
        SetDateTime(Kind() == dtkTime ? Date() + v : v);
    else
        SetDateTime(Now());
}

AnsiString TGridDatePicker::ValueText() const { return Kind() == dtkTime ? TimeToStr(Time()) : DateToStr(Date()); }

void TGridDatePicker::KeyDown(uint16_t& Key, TShiftState Shift)
{
    const bool ends = Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END ||
        Key == VK_HOME || Key == VK_UP || Key == VK_DOWN;
    if (!ends || !FGrid || Shift.Contains(ssAlt)) {
        TDateTimePicker::KeyDown(Key, Shift);
        return;
    }
    const uint16_t key = Key;
    Key = 0;
    if (key == VK_ESCAPE) {
        LoadFromCell();
        SetRestored(true);
    }
    FinishEdit(key, Shift, key == VK_UP || key == VK_DOWN, false);
}

void TGridDatePicker::DoExit()
{
    TAliveToken alive = AliveToken();
    if (FGrid)
        FGrid->HideInplaceEdit();
    if (*alive)
        TDateTimePicker::DoExit();
}
