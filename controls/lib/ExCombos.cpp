// The owner-drawn combo base and the colour combo box.

#include "controls/lib/ExCombos.h"

#include <algorithm>

#include "controls/lib/CtrlUtils.h"
#include "platform/core/StringList.h"
#include "platform/gui/DrawText.h"

const TColor kComboColors[16] = {clBlack,  clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clGray,
                                 clSilver, clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
const char* const kComboColorNames[16] = {"Black",  "Maroon", "Green", "Olive",  "Navy", "Purple",  "Teal", "Gray",
                                          "Silver", "Red",    "Lime",  "Yellow", "Blue", "Fuchsia", "Aqua", "White"};

// --- TOwnerDrawComboBox -------------------------------------------------------------------------

TOwnerDrawComboBox::TOwnerDrawComboBox(TComponent* AOwner) : TCustomComboBox(AOwner)
{
    TCustomComboBox::SetStyle(csDropDownList);
    RegisterHandler(CM_FONTCHANGED, [this](TMessage& m) {
        Inherited(m);
        ResetItemHeight();
        RecreateWnd();
    });
}

void TOwnerDrawComboBox::SetStyle(TComboBoxStyle Value)
{
    TCustomComboBox::SetStyle(std::clamp(Value, csDropDown, csDropDownList));
}

int TOwnerDrawComboBox::MinItemHeight() { return std::max(FontCharHeight(Font()) + 1, 9); }

void TOwnerDrawComboBox::ResetItemHeight() { SetItemHeight(MinItemHeight()); }

void TOwnerDrawComboBox::WidgetCreated()
{
    TCustomComboBox::WidgetCreated();
    ResetItemHeight();
}

// --- TColorComboBox -----------------------------------------------------------------------------

TColorComboBox::TColorComboBox(TComponent* AOwner)
    : TOwnerDrawComboBox(AOwner), FColorNames(std::make_unique<TStringList>())
{
    static_cast<TStringList*>(FColorNames.get())->OnChange = [this](TObject*) { ColorNamesChanged(); };
}

TColorComboBox::~TColorComboBox() { static_cast<TStringList*>(FColorNames.get())->OnChange = nullptr; }

void TColorComboBox::WidgetCreated()
{
    TOwnerDrawComboBox::WidgetCreated();
    PopulateList();
    const TColor stored = FColorValue;
    SetItemIndex(-1);
    SetColorValue(stored);
}

void TColorComboBox::PopulateList()
{
    Items()->BeginUpdate();
    Items()->Clear();
    for (int i = 0; i < 16; ++i) {
        const AnsiString name = i < FColorNames->Count() && !FColorNames->Strings(i).empty()
            ? FColorNames->Strings(i)
            : AnsiString(kComboColorNames[i]);
        Items()->AddObject(name, reinterpret_cast<TObject*>(static_cast<intptr_t>(kComboColors[i])));
    }
    Items()->EndUpdate();
}

void TColorComboBox::SetColorNames(TStrings* Value) { FColorNames->Assign(Value); }

void TColorComboBox::ColorNamesChanged()
{
    if (!HandleAllocated())
        return;
    FColorValue = GetColorValue();
    RecreateWnd();
}

void TColorComboBox::SetDisplayNames(bool Value)
{
    if (Value == FDisplayNames)
        return;
    FDisplayNames = Value;
    Invalidate();
}

TColor TColorComboBox::ItemColor(int Index)
{
    return static_cast<TColor>(reinterpret_cast<intptr_t>(Items()->Objects(Index)));
}

TColor TColorComboBox::GetColorValue()
{
    if (Style() == csDropDownList || ItemIndex() >= 0)
        return FColorValue;
    const AnsiString text = Text();
    for (int i = 0; i < Items()->Count(); ++i)
        if (SameText(Items()->Strings(i), text))
            return ItemColor(i);
    int value = 0;
    return TryStrToInt(text, value) ? static_cast<TColor>(value) : FColorValue;
}

void TColorComboBox::SetColorValue(TColor Value)
{
    if (ItemIndex() >= 0 && Value == FColorValue)
        return;
    FColorValue = Value;
    TAliveToken alive = AliveToken();
    for (int i = 0; i < Items()->Count(); ++i) {
        if (ItemColor(i) == Value) {
            if (ItemIndex() != i)
                SetItemIndex(i);
            DoChange();
            return;
        }
    }
    if (Style() == csDropDownList) {
        SetItemIndex(-1);
    } else {
        AnsiString name = ColorToString(Value);
        if (name.compare(0, 2, "cl") == 0)
            name.erase(0, 2);
        SetItemIndex(-1);
        SetText(name);
    }
    if (*alive)
        DoChange();
}

void TColorComboBox::Change()
{
    TAliveToken alive = AliveToken();
    TOwnerDrawComboBox::Change();
    if (!*alive)
        return;
    const TColor now = GetColorValue();
    if (now != FColorValue) {
        FColorValue = now;
        DoChange();
    }
}

void TColorComboBox::Click()
{
    TAliveToken alive = AliveToken();
    if (ItemIndex() >= 0)
        SetColorValue(ItemColor(ItemIndex()));
    if (*alive)
        TOwnerDrawComboBox::Click();
}

void TColorComboBox::DoChange()
{
    if (!InState(csReading) && OnChange)
        OnChange(this);
}

void TColorComboBox::DrawItem(int Index, TRect ARect, TOwnerDrawState)
{
    TCanvas* c = Canvas();
    c->FillRect(ARect);
    const TColor back = c->Brush()->Color();
    TRect swatch = ARect;
    swatch.Top += 2;
    swatch.Left += 2;
    swatch.Bottom -= 2;
    swatch.Right = FDisplayNames ? swatch.Left + 22 : swatch.Right - 3;
    c->Brush()->SetColor(clWindowText);
    c->FrameRect(swatch);
    InflateRect(swatch, -1, -1);
    c->Brush()->SetColor(ItemColor(Index));
    c->FillRect(swatch);
    c->Brush()->SetColor(back);
    if (FDisplayNames) {
        TRect text = ARect;
        text.Left += 28;
        c->Brush()->SetStyle(bsClear);
        DrawText(c, Items()->Strings(Index), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        c->Brush()->SetStyle(bsSolid);
    }
}
