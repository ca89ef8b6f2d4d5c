#include "controls/lib/ExCheckListBox.h"

#include <algorithm>

#include "controls/core/AppUtils.h"
#include "controls/lib/AppForms.h"
#include "controls/lib/CtrlUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/Canvas.h"

TExCheckListBox::TExCheckListBox(TComponent* AOwner)
    : TExCustomListBox(AOwner), FDrawBitmap(std::make_unique<TBitmap>())
{
    TBitmap* images = CheckImages();
    FCheckWidth = images->Width() / kCheckImageCols;
    FCheckHeight = images->Height() / kCheckImageRows;
    FIniLink.BindSection(
        this, [this](TObject* ini, const AnsiString& section) { InternalSaveStates(ini, section); },
        [this](TObject* ini, const AnsiString& section) { InternalRestoreStates(ini, section); });
    RegisterCheckHandlers();
}

TExCheckListBox::~TExCheckListBox()
{
    FIniLink.SetStorage(nullptr);
    if (!HandleAllocated())
        return;
    for (int i = 0; i < Items()->Count(); ++i)
        FreeCheckItem(i);
}

void TExCheckListBox::RegisterCheckHandlers()
{
    RegisterHandler(LB_DELETESTRING, [this](TMessage& m) {
        const int index = static_cast<int>(static_cast<intptr_t>(m.WParam));
        if (!KeepingData() && index >= 0 && index < Items()->Count())
            FreeCheckItem(index);
        Inherited(m);
    });
    RegisterHandler(LB_RESETCONTENT, [this](TMessage& m) {
        if (!KeepingData())
            for (int i = 0; i < Items()->Count(); ++i)
                FreeCheckItem(i);
        Inherited(m);
    });
    RegisterHandler(CN_DRAWITEM, [this](TMessage& m) {
        reinterpret_cast<TDrawItemStruct*>(m.LParam)->Rect.Left += GetCheckWidth();
        Inherited(m);
    });
    RegisterHandler(CM_FONTCHANGED, [this](TMessage& m) {
        Inherited(m);
        ResetItemHeight();
    });
}

void TExCheckListBox::WidgetCreated()
{
    TExCustomListBox::WidgetCreated();
    ResetItemHeight();
}

void TExCheckListBox::ResetItemHeight()
{
    if (Style() == lbOwnerDrawVariable || (Style() == lbOwnerDrawFixed && OnDrawItem))
        return;
    Canvas()->SetFont(Font());
    int height = std::max(Canvas()->TextHeight("Wg"), FCheckHeight);
    if (Style() == lbOwnerDrawFixed)
        height = std::max(height, ItemHeight());
    Perform(LB_SETITEMHEIGHT, 0, height);
}

int TExCheckListBox::GetCheckWidth() const { return FCheckWidth + 2; }

// --- Item objects

TCheckListBoxItem* TExCheckListBox::FindCheckItem(int Index)
{
    if (Index < 0 || Index >= Items()->Count())
        return nullptr;
    const intptr_t raw = RawItemData(Index);
    return raw == 0 || raw == -1 ? nullptr : reinterpret_cast<TCheckListBoxItem*>(raw);
}

TCheckListBoxItem* TExCheckListBox::CheckItem(int Index)
{
    if (Index < 0 || Index >= Items()->Count())
        ListIndexError(Index);
    TCheckListBoxItem* item = FindCheckItem(Index);
    if (!item) {
        item = new TCheckListBoxItem;
        SetRawItemData(Index, reinterpret_cast<intptr_t>(item));
    }
    return item;
}

void TExCheckListBox::FreeCheckItem(int Index)
{
    if (TCheckListBoxItem* item = FindCheckItem(Index)) {
        SetRawItemData(Index, 0);
        delete item;
    }
}

intptr_t TExCheckListBox::GetItemData(int Index)
{
    TCheckListBoxItem* item = FindCheckItem(Index);
    return item ? item->Data : 0;
}

void TExCheckListBox::SetItemData(int Index, intptr_t Data) { CheckItem(Index)->Data = Data; }

// --- States

TCheckBoxState TExCheckListBox::GetState(int Index)
{
    TCheckListBoxItem* item = FindCheckItem(Index);
    const int state = item ? item->State : cbUnchecked;
    return static_cast<TCheckBoxState>(ReportedCheckState(state, FCheckKind));
}

void TExCheckListBox::SetState(int Index, TCheckBoxState Value) { SetStateOf(Index, Value, false); }

void TExCheckListBox::SetStateOf(int Index, TCheckBoxState Value, bool Force)
{
    TCheckListBoxItem* item = CheckItem(Index);
    if (item->State == Value && !Force)
        return;
    const bool radio = FCheckKind == ckRadioButtons;
    if (radio && Value != cbChecked && item->State == cbChecked)
        return;  // a radio list keeps its checked item
    item->State = Value;
    if (radio && Value == cbChecked)
        for (int i = 0; i < Items()->Count(); ++i)
            if (TCheckListBoxItem* other = FindCheckItem(i); i != Index && other && other->State == cbChecked) {
                other->State = cbUnchecked;
                InvalidateCheck(i);
            }
    InvalidateCheck(Index);
    if (!InState(csLoading))
        ChangeItemState(Index);
}

void TExCheckListBox::ChangeItemState(int Index)
{
    if (OnStateChange)
        OnStateChange(this, Index);
}

void TExCheckListBox::ClickCheck()
{
    if (OnClickCheck)
        OnClickCheck(this);
}

int TExCheckListBox::CheckedIndex()
{
    if (FCheckKind != ckRadioButtons)
        return -1;
    for (int i = 0; i < Items()->Count(); ++i)
        if (GetState(i) == cbChecked)
            return i;
    return -1;
}

void TExCheckListBox::SetCheckedIndex(int Value)
{
    if (FCheckKind == ckRadioButtons && Items()->Count() > 0)
        SetState(std::clamp(Value, 0, Items()->Count() - 1), cbChecked);
}

void TExCheckListBox::UpdateCheckStates()
{
    if (FCheckKind == ckRadioButtons && Items()->Count() > 0)
        SetStateOf(std::max(CheckedIndex(), 0), cbChecked, true);
}

void TExCheckListBox::SetCheckKind(TCheckKind Value)
{
    if (Value == FCheckKind)
        return;
    FCheckKind = Value;
    UpdateCheckStates();
    Invalidate();
}

bool TExCheckListBox::GetItemEnabled(int Index)
{
    TCheckListBoxItem* item = FindCheckItem(Index);
    return !item || item->Enabled;
}

void TExCheckListBox::SetItemEnabled(int Index, bool Value)
{
    TCheckListBoxItem* item = CheckItem(Index);
    if (item->Enabled == Value)
        return;
    item->Enabled = Value;
    InvalidateCheck(Index);
}

void TExCheckListBox::ApplyState(TCheckBoxState AState, bool EnabledOnly)
{
    if (FCheckKind == ckRadioButtons)
        return;
    for (int i = 0; i < Items()->Count(); ++i)
        if (!EnabledOnly || GetItemEnabled(i))
            SetState(i, AState);
}

void TExCheckListBox::ToggleClickCheck(int Index)
{
    if (Index < 0 || Index >= Items()->Count() || !GetItemEnabled(Index))
        return;
    const int next = NextCheckState(GetState(Index), FAllowGrayed, FCheckKind);
    SetState(Index, static_cast<TCheckBoxState>(next));
    ClickCheck();
}

void TExCheckListBox::InvalidateCheck(int Index)
{
    if (Index >= 0 && HandleAllocated())
        Invalidate();
}

// --- Input

void TExCheckListBox::KeyPress(char& Key)
{
    TExCustomListBox::KeyPress(Key);
    if (Key == ' ') {
        ToggleClickCheck(ItemIndex());
        Key = 0;
    } else if (Key == '+' || Key == '-') {
        ApplyState(Key == '+' ? cbChecked : cbUnchecked, true);
        ClickCheck();
    }
}

void TExCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    TExCustomListBox::MouseDown(Button, Shift, X, Y);
    if (!*alive || Button != mbLeft)
        return;
    const int index = ItemAtPos(TPoint{X, Y}, true);
    if (index >= 0 && X - ItemRect(index).Left < GetCheckWidth())
        ToggleClickCheck(index);
}

// --- Drawing

int TExCheckListBox::GetItemWidth(int Index) { return TExCustomListBox::GetItemWidth(Index) + GetCheckWidth(); }

void TExCheckListBox::DrawCheck(const TRect& R, TCheckBoxState AState, bool AEnabled)
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(R);
    AssignBitmapCell(CheckImages(), FDrawBitmap.get(), kCheckImageCols, kCheckImageRows,
                     CheckCellIndex(AState, FCheckKind, AEnabled));
    const int x = R.Left + (R.Width() - FCheckWidth) / 2, y = R.Top + (R.Height() - FCheckHeight) / 2;
    DrawBitmapTransparent(c, x, y, FDrawBitmap.get(), clFuchsia);
}

void TExCheckListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State)
{
    TCanvas* c = Canvas();
    const bool enabled = GetItemEnabled(Index);
    const TColor brush = c->Brush()->Color();
    DrawCheck(TRect{Rect.Left - GetCheckWidth(), Rect.Top, Rect.Left, Rect.Bottom}, GetState(Index), enabled);
    c->Brush()->SetColor(brush);
    if (!enabled)
        c->Font()->SetColor((State & odSelected) ? clInactiveCaptionText : clGrayText);
    if (Style() == lbStandard)
        DrawItemText(Index, Rect);
    else
        TExCustomListBox::DrawItem(Index, Rect, State);
}

// --- Stored states and form

namespace {

// The states' section of an INI file or registry object.
TCheckStatesStore StatesStore(TObject* IniObject, const AnsiString& Section)
{
    return {[=] { IniEraseSection(IniObject, Section); },
            [=](const AnsiString& k, int v) { IniWriteInteger(IniObject, Section, k, v); },
            [=](const AnsiString& k, int d) { return IniReadInteger(IniObject, Section, k, d); }};
}

}  // namespace

void TExCheckListBox::InternalSaveStates(TObject* IniObject, const AnsiString& Section)
{
    std::vector<int> states;
    for (int i = 0; i < Items()->Count(); ++i)
        states.push_back(GetState(i));
    SaveCheckStates(StatesStore(IniObject, Section), states);
}

void TExCheckListBox::InternalRestoreStates(TObject* IniObject, const AnsiString& Section)
{
    RestoreCheckStates(StatesStore(IniObject, Section), Items()->Count(), FCheckKind,
                       [this](int i, int s) { SetState(i, static_cast<TCheckBoxState>(s)); });
}

void TExCheckListBox::SaveStates(TIniFile* IniFile) { InternalSaveStates(IniFile, GetDefaultSection(this)); }

void TExCheckListBox::RestoreStates(TIniFile* IniFile) { InternalRestoreStates(IniFile, GetDefaultSection(this)); }

void TExCheckListBox::SaveStatesReg(TRegIniFile* IniFile) { InternalSaveStates(IniFile, GetDefaultSection(this)); }

void TExCheckListBox::RestoreStatesReg(TRegIniFile* IniFile)
{
    InternalRestoreStates(IniFile, GetDefaultSection(this));
}

std::vector<TCheckListStreamItem> TExCheckListBox::WriteStrings()
{
    std::vector<TCheckListStreamItem> items;
    for (int i = 0; i < Items()->Count(); ++i) {
        TCheckListStreamItem item;
        item.Text = Items()->Strings(i);
        item.State = GetState(i);
        item.Checked = item.State == cbChecked;
        item.Enabled = GetItemEnabled(i);
        items.push_back(item);
    }
    return items;
}

void TExCheckListBox::ReadStrings(int Version, const std::vector<TCheckListStreamItem>& Items)
{
    this->Items()->Clear();
    for (const TCheckListStreamItem& item : Items) {
        const int index = this->Items()->Add(item.Text);
        int state = Version > 0 ? item.State : (item.Checked ? cbChecked : cbUnchecked);
        if (state < cbUnchecked || state > cbGrayed)
            state = cbUnchecked;
        CheckItem(index)->State = static_cast<TCheckBoxState>(state);
        CheckItem(index)->Enabled = item.Enabled;
    }
    UpdateCheckStates();
}

void RegisterExCheckListBoxClasses()
{
    using E = TExCustomListBox;
    RegisterClass<E>("TExCustomListBox", "TCustomListBox")
        .Bool("AutoScroll", &E::AutoScroll, &E::SetAutoScroll, true)
        .Bool("GraySelection", &E::GraySelection, &E::SetGraySelection, false)
        .Bool("Sorted", &E::Sorted, &E::SetSorted, false)
        .Int("MaxWidth", &E::MaxWidth, nullptr)
        .Enum("DragMode", "TDragMode", {"dmManual", "dmAutomatic"}, &E::DragMode, &E::SetDragMode, dmManual);
    using C = TExCheckListBox;
    RegisterClass<C>("TExCheckListBox", "TExCustomListBox", MakeComponent<C>)
        .Bool("AllowGrayed", &C::AllowGrayed, &C::SetAllowGrayed, false)
        .Enum("CheckKind", "TCheckKind", {"ckCheckBoxes", "ckRadioButtons", "ckCheckMarks"}, &C::CheckKind,
              &C::SetCheckKind, ckCheckBoxes)
        .Int("CheckedIndex", &C::CheckedIndex, &C::SetCheckedIndex, -1)
        .Object("IniStorage", "TFormPlacement", &C::IniStorage, &C::SetIniStorage);
}
