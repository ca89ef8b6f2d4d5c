#include "grid/control/CgCombo.h"

#include "platform/gui/ComboLook.h"
#include "platform/gui/StdMessages.h"
#include "platform/gui/SystemMetrics.h"

TCgCustomCombo::TCgCustomCombo(TComponent* AOwner)
    : TCustomComboBox(AOwner), FButtonWidth(GetSystemMetrics(SM_CXVSCROLL) + 2)
{
    RegisterCgComboHandlers();
}

void TCgCustomCombo::RegisterCgComboHandlers()
{
    RegisterHandler(CM_MOUSEENTER, [this](TMessage& m) {
        Inherited(m);
        if (!Enabled())
            return;
        FMouseInControl = true;
        RedrawBorders();
        if (AutoFocus && !Focused() && CanFocus())
            SetFocus();
    });
    RegisterHandler(CM_MOUSELEAVE, [this](TMessage& m) {
        Inherited(m);
        FMouseInControl = false;
        RedrawBorders();
    });
    for (unsigned msg : {CM_ENTER, CM_EXIT}) {
        RegisterHandler(msg, [this](TMessage& m) {
            Inherited(m);
            if (!InState(csDesigning))
                RedrawBorders();
        });
    }
    RegisterHandler(CM_ENABLEDCHANGED, [this](TMessage& m) {
        // A disabled flat combo takes its parent's colour and gets its own back when enabled.
        if (FFlat) {
            if (!Enabled()) {
                FSavedColor = Color();
                FSavedParentColor = ParentColor();
                SetParentColor(true);
            } else {
                SetColor(FSavedColor);
                SetParentColor(FSavedParentColor);
            }
        }
        Inherited(m);
        RedrawBorders();
    });
    RegisterHandler(CN_COMMAND, [this](TMessage& m) {
        const unsigned code = static_cast<unsigned>(m.WParam >> 16);
        if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) {
            FDropped = code == CBN_DROPDOWN;
            RedrawBorders();
        }
        Inherited(m);
    });
}

bool TCgCustomCombo::ButtonHot() const
{
    if (InState(csDesigning))
        return Enabled();
    return FMouseInControl || Focused();
}

bool TCgCustomCombo::BorderHot() const
{
    return FFocusBorder && !InState(csDesigning) && (FMouseInControl || Focused());
}

void TCgCustomCombo::WidgetCreated()
{
    TCustomComboBox::WidgetCreated();
    RedrawBorders();
    if (FDropWidth > 0)
        SetComboDropWidth(this, FDropWidth);
}

void TCgCustomCombo::RedrawBorders()
{
    if (!HandleAllocated())
        return;
    TFlatComboLook look;
    look.Flat = FFlat;
    look.ButtonWidth = FButtonWidth;
    look.HotButton = ButtonHot();
    look.HotBorder = BorderHot();
    look.Etched = FEtched;
    look.Dropped = FDropped;
    look.ParentColor = Parent() ? Parent()->Color() : clBtnFace;
    SetComboLook(this, look);
}

void TCgCustomCombo::SetButtonWidth(int Value)
{
    if (Value < 14 || Value > 32 || Value == FButtonWidth)
        return;
    FButtonWidth = Value;
    RedrawBorders();
}

void TCgCustomCombo::SetFlat(bool Value)
{
    FFlat = Value;
    RedrawBorders();
}

void TCgCustomCombo::SetEtched(bool Value)
{
    FEtched = Value;
    RedrawBorders();
}

void TCgCustomCombo::SetFocusBorder(bool Value)
{
    FFocusBorder = Value;
    RedrawBorders();
}

void TCgCustomCombo::SetDropWidth(int Value)
{
    FDropWidth = Value;
    if (Value > 0 && HandleAllocated())
        SetComboDropWidth(this, Value);
}
