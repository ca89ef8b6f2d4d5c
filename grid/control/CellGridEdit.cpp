// Editing cells in place: whether a cell may be edited and with which editor, selecting a cell
// (validation first), showing and hiding the special editor controls and custom editors, the
// pending key, the combo items every combo cell shares, and the validation of an edited cell.

#include "grid/control/CellGrid.h"
#include "grid/control/CellGridEditors.h"
#include "grid/control/CgInplaceEdit.h"
#include "grid/control/EditLink.h"
#include "grid/model/Cgutil.h"
#include "platform/core/DateFormat.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Application.h"
#include "platform/gui/ComboLook.h"
#include "platform/gui/Queue.h"

namespace {

// The control of a special editor kind, or null.
TWinControl* ControlOf(const TCellGrid& g, TEditorKind kind)
{
    switch (kind) {
    case ekSpin: return g.Spin();
    case ekCombo: return g.Combo();
    case ekEditBtn: return g.EditBtn();
    case ekCheckBox: return g.CheckBoxEditor();
    case ekDate: return g.DatePicker();
    case ekButton: return g.ButtonEditor();
    case ekUnit: return g.UnitEditBtn();
    case ekCustom: return g.EditLink ? g.EditLink->GetEditControl() : nullptr;
    default: return nullptr;
    }
}

// Everything besides a cell's text that changes how a column's texts measure: the fonts, the
// zoom, whether the column or a row is fixed, and the switches that read a text otherwise.
std::string MeasureContext(TCellGrid& g, int ACol)
{
    std::string key;
    for (const TFont* f : {g.Font(), g.FixedFont()}) {
        key += f->Name();
        for (const int v :
             {f->Height(), static_cast<int>(f->Charset()), static_cast<int>(f->Pitch()),
              static_cast<int>(f->Style().Contains(fsBold)), static_cast<int>(f->Style().Contains(fsItalic)),
              static_cast<int>(f->Style().Contains(fsUnderline)), static_cast<int>(f->Style().Contains(fsStrikeOut))})
            key += "|" + std::to_string(v);
        key += ';';
    }
    for (const int v :
         {g.ZoomLevel(), static_cast<int>(ACol < g.FixedCols()), g.FixedRows(), static_cast<int>(g.EnableHTML),
          static_cast<int>(g.Multilinecells), static_cast<int>(g.URLShow()), static_cast<int>(g.URLFull())})
        key += "|" + std::to_string(v);
    return key;
}

}  // namespace

void TCellGrid::CreateEditControls()
{
    const auto prepare = [this](TWinControl* c) {
        c->SetParent(this);
        c->SetVisible(false);
        c->SetEnabled(false);
    };
    FCombo = new TGridCombo(this);
    FCombo->SetButtonWidth(16);
    prepare(FCombo);
    FSpin = new TGridSpin(this);
    FSpin->SetBorderStyle(bsNone);
    prepare(FSpin);
    FDatePicker = new TGridDatePicker(this);
    prepare(FDatePicker);
    FCheckBox = new TGridCheckBox(this);
    prepare(FCheckBox);
    FEditBtn = new TGridEditBtn(this);
    FEditBtn->SetButtonCaption("...");
    FEditBtn->SetBorderStyle(bsNone);
    prepare(FEditBtn);
    FUnitEditBtn = new TGridUnitEditBtn(this);
    FUnitEditBtn->SetButtonCaption("...");
    FUnitEditBtn->SetBorderStyle(bsNone);
    prepare(FUnitEditBtn);
    FButton = new TGridButton(this);
    prepare(FButton);
}

TInplaceEdit* TCellGrid::CreateEditor() { return new TCgInplaceEdit(this); }

AnsiString TCellGrid::GetEditText(int ACol, int ARow)
{
    const int real = RemapCol(ACol);
    TAlignment align = taLeftJustify;
    GetCellAlign(real, ARow, align);
    if (auto* e = dynamic_cast<TCgInplaceEdit*>(InplaceEditor()))
        e->SetVAlign(align == taRightJustify);
    return Cells(real, ARow);
}

AnsiString TCellGrid::GetEditMask(int ACol, int ARow)
{
    AnsiString mask;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, mask);
    return mask;
}

void TCellGrid::SetEditText(int ACol, int ARow, const AnsiString& Value)
{
    const int real = RemapCol(ACol);
    // A masked editor shows blanks and literals: the cell takes the mask's value.
    AnsiString value = Value;
    if (auto* e = dynamic_cast<TCgInplaceEdit*>(InplaceEditor()); e && e->IsMasked() && Value == e->Text())
        value = e->MaskedText();
    if (ARow < RowCount() && Cells(real, ARow) != value)
        SetCells(real, ARow, value);
}

TWinControl* TCellGrid::VisibleEditor() const
{
    if (FEditorShown) {
        TWinControl* c = ControlOf(*this, EditorKindOf(FEditorType));
        return c && c->Visible() ? c : nullptr;
    }
    TInplaceEdit* e = InplaceEditor();
    return e && e->Visible() ? e : nullptr;
}

// --- Which cells may be edited ----------------------------------------------------------------

bool TCellGrid::IsEditable(int ACol, int ARow)
{
    if (!EditingOn())
        return false;
    bool canEdit = true;
    GetCellReadOnly(ACol, ARow, canEdit);
    return canEdit;
}

bool TCellGrid::SelectCell(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return false;
    TAliveToken alive = AliveToken();
    const bool moving = ACol != Col() || ARow != Row();
    // An edited value is validated before the move is decided: a refused one keeps the user in
    // the cell.
    if (moving && FValidatePending && !FValidating && Col() < ColCount() && Row() < RowCount()) {
        const bool valid = ValidateCell(Cells(GetRealCol(), Row()));
        if (!*alive || !valid)
            return false;
    }
    bool allow = true;
    if (ARow != Row() && OnRowChanging)
        OnRowChanging(this, Row(), ARow, allow);
    if (*alive && ACol != Col() && OnColChanging)
        OnColChanging(this, Col(), ACol, allow);
    if (*alive && moving && OnCellChanging)
        OnCellChanging(this, Row(), Col(), ARow, ACol, allow);
    if (!*alive || (ACol == 0 && NodeCount() > 0) || !allow)
        return false;
    const int oldRow = Row();
    const int real = RemapCol(ACol);
    FEntryText = Cells(real, ARow);
    if (!(EnableGraphics && HasStaticEdit(real, ARow))) {
        // goEditing follows whether this cell may be edited; a cell that may not switches it
        // off, and the next cell asks again from the switch as the application set it.
        bool canEdit = EditingOn();
        const bool designed = canEdit;
        GetCellReadOnly(real, ARow, canEdit);
        if (!*alive)
            return false;
        TGridOptions o = Options();
        if (canEdit)
            o << goEditing;
        else
            o >> goEditing;
        FEditingSwitchedOff = designed && !canEdit;
        if (!(o == Options()))
            SetOptions(o);
    } else if (FEditingSwitchedOff) {
        // A check box or radio cell asks for itself when clicked or toggled: the option the
        // application set comes back for it.
        FEditingSwitchedOff = false;
        SetOptions(Options() << goEditing);
    }
    if (IsFixed(real, ARow))
        return false;
    const bool result = TStringGrid::SelectCell(ACol, ARow);
    if (!*alive)
        return false;
    if (!RowIndicator()->Empty() && FixedCols() > 0) {
        InvalidateCell(0, oldRow);
        InvalidateCell(0, ARow);
    }
    return result;
}

// --- Showing an editor --------------------------------------------------------------------------

bool TCellGrid::CanEditShow()
{
    if (FValidating || FEditorShown)
        return false;
    const bool base = TStringGrid::CanEditShow();
    if (Designing() || !base)
        return base;
    const int real = RemapCol(Col());
    if (HasStaticEdit(real, Row()))
        return false;
    TAliveToken alive = AliveToken();
    FEntryText = Cells(real, Row());
    FEditorType = edNormal;
    GetCellEditor(real, Row(), FEditorType);
    if (!*alive)
        return false;
    // The text before editing is the cell's as the editor opens (unless a refused value keeps
    // the user here, when the old one stays).
    if (!FValidatePending)
        InitValidate(Col(), Row());
    if (!TextEditorServes(FEditorType)) {
        ShowEditControl(Col(), Row());
        FEditShown = true;
        return false;
    }
    FValidatePending = true;
    FEditShown = true;
    return true;
}

void TCellGrid::PostPendingKey(TWinControl* Editor)
{
    if (!FPendingKey.Empty() && Editor)
        PostTypedText(Editor, FPendingKey.Key());
}

void TCellGrid::ShowEditControl(int ACol, int ARow)
{
    const TEditorKind kind = EditorKindOf(FEditorType);
    if (kind == ekText || kind == ekNone)
        return;
    FValidatePending = true;
    const TRect r = CellRect(ACol, ARow);
    const int real = RemapCol(ACol);
    const AnsiString cell = Cells(real, ARow);
    const auto place = [&](TWinControl* c, int height) {
        c->SetBounds(r.Left, r.Top, r.Width(), height);
        c->SetVisible(true);
        c->SetEnabled(true);
    };
    const auto focus = [](TWinControl* c) {
        if (c->CanFocus())
            c->SetFocus();
    };
    TAliveToken alive = AliveToken();
    switch (kind) {
    case ekSpin: {
        FEditorShown = true;
        place(FSpin, r.Height());
        // The cell is read without raising: a text that is no number shows the minimum.
        switch (FEditorType) {
        case edSpinEdit:
            FSpin->SetSpinType(sptNormal);
            FSpin->SetValue(SpinIntOf(cell, FSpin->MinValue));
            break;
        case edFloatSpinEdit:
            FSpin->SetSpinType(sptFloat);
            FSpin->SetFloatValue(SpinFloatOf(cell, FSpin->MinValue));
            break;
        case edTimeSpinEdit: {
            FSpin->SetSpinType(sptTime);
            TDateTime t = 0;
            FSpin->SetTimeValue(TryStrToTime(cell, t) ? t : 0.0);
            break;
        }
        default: {
            TDateTime d = 0;
            FSpin->SetDateValue(TryStrToDate(cell, d) ? d : Date());
            FSpin->SetSpinType(sptDate);
            break;
        }
        }
        FSpin->SetShownText(FSpin->Text());
        FSpin->SetRestored(false);
        focus(FSpin);
        if (*alive)
            PostPendingKey(FSpin);
        break;
    }
    case ekCombo: {
        FEditorShown = true;
        const bool list = FEditorType == edComboList;
        FCombo->SetStyle(list ? csDropDownList : csDropDown);
        if (list) {
            int index = FCombo->Items()->IndexOf(cell);
            if (index < 0)
                index = FComboSelection != -1 ? FComboSelection : 0;
            FCombo->SetItemIndex(index);
        }
        place(FCombo, r.Height());
        if (!list)
            FCombo->SetText(GetEditText(ACol, ARow));
        if (Navigation()->AutoComboDropSize)
            FCombo->SizeDropDownWidth();
        FCombo->SetShownText(FCombo->ValueText());
        FCombo->SetRestored(false);
        focus(FCombo);
        // The whole text is selected, so that a typed key replaces it.
        if (*alive && !list)
            SetComboEditSel(FCombo, 0, -1);
        if (*alive && MouseActions()->DirectComboDrop)
            FCombo->SetDroppedDown(true);
        if (*alive && !list)
            PostPendingKey(FCombo);
        break;
    }
    case ekEditBtn:
        FEditorShown = true;
        FEditBtn->SetText(GetEditText(ACol, ARow));
        place(FEditBtn, r.Height());
        FEditBtn->SetShownText(FEditBtn->Text());
        FEditBtn->SetRestored(false);
        focus(FEditBtn);
        if (*alive)
            PostPendingKey(FEditBtn);
        break;
    case ekCheckBox:
        FEditorShown = true;
        place(FCheckBox, r.Height());
        FCheckBox->SetCaption(GetEditText(ACol, ARow));
        FCheckBox->SetState(cbUnchecked);
        focus(FCheckBox);
        break;
    case ekDate:
        FEditorShown = true;
        FDatePicker->SetKind(FEditorType == edTimeEdit ? dtkTime : dtkDate);
        FDatePicker->SetDateMode(FEditorType == edDateEditUpDown ? dmUpDown : dmComboBox);
        FDatePicker->LoadFromCell();
        place(FDatePicker, FDatePicker->Height());
        FDatePicker->SetShownText(FDatePicker->ValueText());
        FDatePicker->SetRestored(false);
        focus(FDatePicker);
        break;
    case ekButton:
        FEditorShown = true;
        FButton->SetBounds(r.Left - 1, r.Top - 1, r.Width() + 2, r.Height() + 2);
        FButton->SetCaption(GetEditText(ACol, ARow));
        FButton->SetVisible(true);
        FButton->SetEnabled(true);
        focus(FButton);
        break;
    case ekUnit: {
        FEditorShown = true;
        const TUnitSplit split = SplitUnitText(GetEditText(ACol, ARow));
        FUnitEditBtn->SetText(split.Number);
        FUnitEditBtn->SetUnitID(split.Unit);
        place(FUnitEditBtn, r.Height());
        FUnitEditBtn->SetShownText(split.Number + split.Unit);
        FUnitEditBtn->SetRestored(false);
        focus(FUnitEditBtn);
        break;
    }
    case ekCustom: {
        TEditLink* link = EditLink;
        if (!link)
            break;
        FEditorShown = true;
        link->SetGrid(this);
        link->SetEditCell(ACol, ARow);
        if (link->EditStyle == esPopup) {
            auto form = std::make_unique<TPopupForm>(Application);
            TPopupForm* f = form.get();
            link->SetPopupForm(std::move(form));
            f->ShowAt(ClientToScreen(TPoint{r.Left, r.Top}), link->PopupWidth, link->PopupHeight);
            f->OnDeactivate = [link](TObject* Sender) { link->FormExit(Sender); };
            link->CreateEditor(f);
            link->SetRect(TRect{0, 0, link->PopupWidth, link->PopupHeight});
        } else {
            link->CreateEditor(this);
            link->SetRect(r);
        }
        link->SetVisible(true);
        link->SetProperties();
        if (OnGetEditorProp)
            OnGetEditorProp(this, real, ARow, link);
        if (!*alive)
            return;
        link->SetEditorValue(cell);
        link->SetFocus(true);
        if (*alive)
            PostPendingKey(link->GetEditControl());
        break;
    }
    default: break;
    }
}

// --- Hiding an editor -----------------------------------------------------------------------------

void TCellGrid::HideEditControl(int ACol, int ARow)
{
    if (FHidingControl)
        return;
    const TEditorKind kind = EditorKindOf(FEditorType);
    FPendingKey.Clear();
    if (kind == ekText || kind == ekNone || !FEditorShown)
        return;
    FHidingControl = true;
    TAliveToken alive = AliveToken();
    const int real = RemapCol(ACol);
    TWinControl* control = ControlOf(*this, kind);
    // The grid takes the focus before the control hides, so that it never falls elsewhere.
    if (control && control->HandleAllocated() && control->Focused() && CanFocus())
        SetFocus();
    if (!*alive)
        return;
    FHidingControl = false;
    FEditorShown = false;
    const auto writeBack = [&](TGridEditorLink* link, const AnsiString& value) {
        // Only what the user changed goes back; Escape put the cell's text back already.
        if (link && !link->Restored() && value != link->ShownText() && ARow < RowCount())
            SetCells(real, ARow, value);
    };
    switch (kind) {
    case ekSpin: writeBack(FSpin, FSpin->Text()); break;
    case ekCombo: writeBack(FCombo, FCombo->ValueText()); break;
    case ekEditBtn: writeBack(FEditBtn, FEditBtn->Text()); break;
    case ekDate: writeBack(FDatePicker, FDatePicker->ValueText()); break;
    case ekUnit: writeBack(FUnitEditBtn, FUnitEditBtn->Text() + FUnitEditBtn->UnitID()); break;
    case ekCustom:
        if (EditLink && EditLink->EditStyle != esPopup)
            EditLink->SetVisible(false);
        return;
    default: break;
    }
    if (!*alive || !control)
        return;
    control->SetEnabled(false);
    control->SetVisible(false);
}

void TCellGrid::ShowCellEdit() { PostMessage(this, WM_KEYDOWN, VK_F2); }

void TCellGrid::RestoreCache()
{
    if (ColCount() == 0 || RowCount() == 0)
        return;
    SetCells(GetRealCol(), Row(), FEntryText);
    InvalidateCell(Col(), Row());
    if (auto* e = dynamic_cast<TCgInplaceEdit*>(InplaceEditor()); e && e->Visible())
        e->LoadCellText(FEntryText);
}

void TCellGrid::CurrentMoved(TGridCoord Old)
{
    // Writing back the editor's text may run handlers that free the grid.
    TAliveToken alive = AliveToken();
    if (FEditorShown)
        HideEditControl(Old.X, Old.Y);
    if (*alive)
        TStringGrid::CurrentMoved(Old);
}

// --- Combo items -----------------------------------------------------------------------------------

void TCellGrid::AddComboString(const AnsiString& S) { FCombo->Items()->Add(S); }

bool TCellGrid::RemoveComboString(const AnsiString& S)
{
    const int index = FCombo->Items()->IndexOf(S);
    if (index < 0)
        return false;
    FCombo->Items()->Delete(index);
    return true;
}

void TCellGrid::ClearComboString() { FCombo->Items()->Clear(); }

int TCellGrid::GetComboCount() { return FCombo->Items()->Count(); }

bool TCellGrid::SetComboSelectionString(const AnsiString& S)
{
    const int index = FCombo->Items()->IndexOf(S);
    if (index < 0)
        return false;
    FComboSelection = index;
    return true;
}

// --- Validation -------------------------------------------------------------------------------------

void TCellGrid::InitValidate(int ACol, int ARow)
{
    FValidateCol = ACol;
    FValidateRow = ARow;
    FValidateText =
        ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount() ? Cells(RemapCol(ACol), ARow) : AnsiString();
}

bool TCellGrid::ValidateOnFocusLoss(const AnsiString& Value)
{
    const bool exiting = FExiting;
    FExiting = true;
    TAliveToken alive = AliveToken();
    const bool valid = ValidateCell(Value);
    if (*alive)
        FExiting = exiting;
    return valid;
}

bool TCellGrid::ValidateCell(const AnsiString&)
{
    if (!FValidatePending)
        return true;
    FValidatePending = false;
    FValidating = true;
    TAliveToken alive = AliveToken();
    bool valid = true;
    const int col = FValidateCol, row = FValidateRow;
    const bool inGrid = col >= 0 && row >= 0 && col < ColCount() && row < RowCount();
    const int real = inGrid ? RemapCol(col) : -1;
    if (inGrid && Cells(real, row) != FValidateText) {
        UpdateCell(col, row);
        if (!*alive)
            return false;
        AnsiString value = Cells(real, row);
        const AnsiString before = value;
        if (OnCellValidate)
            OnCellValidate(this, col, row, value, valid);
        if (!*alive)
            return valid;
        if (valid) {
            if (value != before)
                SetCells(real, row, value);
        } else {
            SetCells(real, row, value != before ? value : FValidateText);
            FValidatePending = true;
            FValidating = false;
            ReopenEditor();
            if (!*alive)
                return false;
        }
    }
    const bool pending = FValidatePending;
    InitValidate(Col(), Row());
    FValidatePending = pending;
    FValidating = false;
    return valid;
}

void TCellGrid::ReopenEditor()
{
    // A special control still open keeps the user; the text editor shows again on the cell.
    if (FEditorShown)
        return;
    if (!FExiting) {
        if (Col() == FValidateCol && Row() == FValidateRow) {
            if (auto* e = dynamic_cast<TCgInplaceEdit*>(InplaceEditor()); e && e->Visible())
                e->LoadCellText(Cells(GetRealCol(), Row()));
            else
                ShowInplaceEdit();
        }
        return;
    }
    // The focus is on its way elsewhere (perhaps to a message box the handler showed): the
    // editor opens again once that has happened, not in the middle of it.
    TAliveToken alive = AliveToken();
    const int col = FValidateCol, row = FValidateRow;
    QueueCall([this, alive, col, row] {
        if (!*alive || col >= ColCount() || row >= RowCount())
            return;
        if (Col() != col || Row() != row)
            FocusCell(col, row, true);
        if (*alive && CanFocus())
            SetFocus();
        if (*alive)
            ShowInplaceEdit();
    });
}

void TCellGrid::TypingSized()
{
    if (ColCount() == 0 || RowCount() == 0)
        return;
    const int real = GetRealCol();
    if (SizeWhileTyping()->Width) {
        // The column grows to its widest text, as SizeToWidth does; the other rows' widths are
        // kept from the key before, so a key measures the typed text only.
        const int col = Col();
        const int widest = FTypingWidths.Widest(
            real, MeasureContext(*this, col), RowCount(),
            [this, real](int r) -> const AnsiString& { return Cells(real, r); },
            [this, col, real](int r) {
                SetMeasureFont(col, r, true);
                TPoint text{};
                GetCellTextSize(real, r, text);
                return text.x;
            },
            [this, real](int r) {
                TPoint extra{};
                GetCellGraphicSize(real, r, extra);
                return extra.x;
            });
        if (widest + 4 > ColWidths(col))
            SetColWidths(col, widest + 4);
    }
    if (SizeWhileTyping()->Height && WordWrap())
        AutoSizeRow(Row());
}

void TCellGrid::TypingNewLine(const AnsiString& Text)
{
    if (!SizeWhileTyping()->Height || !Multilinecells || RowCount() == 0)
        return;
    const int lines = LinesInText(Text + "\r\n", true);
    if (lines >= MaxLinesInRow(Row()))
        SizeToLines(Row(), lines, 0);
    else
        AutoSizeRow(Row());
}
