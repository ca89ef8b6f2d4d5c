#include "grid/control/CgEditBtn.h"

#include "grid/control/EditMinHeight.h"
#include "platform/core/StringList.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdMessages.h"

// The unit's text between the edit's text and its button.
class TUnitLabel : public TCustomControl {
public:
    explicit TUnitLabel(TComponent* AOwner) : TCustomControl(AOwner) {}
    AnsiString Unit;

protected:
    void Paint() override
    {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(Parent() ? Parent()->Color() : clWindow);
        c->FillRect(ClientRect());
        c->SetFont(Font());
        c->TextOut(0, 0, Unit);
    }
};

// --- TCgEditButton -------------------------------------------------------------------------------

TCgEditButton::TCgEditButton(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle &= ~csSetCaption;
    SetBounds(0, 0, 20, 25);
    FButton = new TExSpeedButton(this);
    FButton->SetParent(this);
    FButton->SetBounds(0, 0, Width(), Height());
    FButton->OnMouseDown = [this](TObject*, TMouseButton Button, TShiftState, int, int) {
        if (Button != mbLeft)
            return;
        // The press gives the focus to the edit it belongs to, else to the container.
        if (FFocusControl && FFocusControl->CanFocus()) {
            if (!FFocusControl->Focused())
                FFocusControl->SetFocus();
        } else if (CanFocus() && !Focused()) {
            SetFocus();
        }
    };
    FButton->OnClick = [this](TObject*) {
        if (OnButtonClick)
            OnButtonClick(this);
    };
}

void TCgEditButton::SetFocusControl(TWinControl* Value)
{
    FFocusControl = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TCgEditButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TCgEditButton::BoundsChanged(const TRect& OldBounds, bool SizeChanged)
{
    TWinControl::BoundsChanged(OldBounds, SizeChanged);
    // The speed button is at least 15 pixels wide and as high as the container.
    if (FButton)
        FButton->SetBounds(0, 0, std::max(Width(), 15), Height());
}

// --- TCgEditBtn ----------------------------------------------------------------------------------

TCgEditBtn::TCgEditBtn(TComponent* AOwner) : TCustomEdit(AOwner)
{
    FButton = new TCgEditButton(this);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetFocusControl(this);
    FButton->SetParent(this);
    FButton->OnButtonClick = [this](TObject*) { ClickButton(); };
    SetText("0");
    RegisterHandler(WM_PASTE, [this](TMessage& m) {
        if (FEditorEnabled && !ReadOnly())
            Inherited(m);
    });
    RegisterHandler(WM_CUT, [this](TMessage& m) {
        if (FEditorEnabled && !ReadOnly())
            Inherited(m);
    });
    // The button is enabled with the edit.
    RegisterHandler(CM_ENABLEDCHANGED, [this](TMessage& m) {
        Inherited(m);
        FButton->Button()->SetEnabled(Enabled());
    });
    PlaceButton();
}

void TCgEditBtn::ClickButton()
{
    if (OnClickBtn)
        OnClickBtn(this);
}

void TCgEditBtn::SetRightAlign(bool Value)
{
    FRightAlign = Value;
    SetAlignment(Value ? taRightJustify : taLeftJustify);
}

int TCgEditBtn::GetMinHeight() { return EditMinHeight(Font()); }

void TCgEditBtn::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_F4 && Shift.Empty()) {
        ClickButton();
        Key = 0;
        return;
    }
    TCustomEdit::KeyDown(Key, Shift);
}

void TCgEditBtn::DoEnter()
{
    // Selecting all is the edit's own habit on entering (not after a press of the mouse).
    if (AutoSelect() && (ControlState() & csLButtonDown) == 0)
        SelectAll();
    TWinControl::DoEnter();
}

void TCgEditBtn::WidgetCreated()
{
    TCustomEdit::WidgetCreated();
    PlaceButton();
}

void TCgEditBtn::BoundsChanged(const TRect& OldBounds, bool SizeChanged)
{
    TCustomEdit::BoundsChanged(OldBounds, SizeChanged);
    if (SizeChanged && !FSettingHeight && Height() < GetMinHeight()) {
        FSettingHeight = true;
        SetHeight(GetMinHeight());
        FSettingHeight = false;
    }
    PlaceButton();
}

void TCgEditBtn::PlaceButton()
{
    if (!FButton)
        return;
    const int w = FButton->Width();
    if (BorderStyle() == bsSingle)
        FButton->SetBounds(Width() - w - 2, 2, w, std::max(Height() - 4, 0));
    else
        FButton->SetBounds(Width() - w, 1, w, std::max(Height() - 3, 0));
    SetEditRect();
}

void TCgEditBtn::SetEditRect() { SetTextMargins(1, FButton->Width() + 3 + FUnitSpace); }

void TCgEditBtn::SetUnitSpaceWidth(int Value)
{
    FUnitSpace = std::max(Value, 0);
    SetEditRect();
}

TRect TCgEditBtn::UnitRect() const
{
    const int left = ClientWidth() - FButton->Width() - 3 - FUnitSpace;
    return TRect{left, 2, left + FUnitSpace, ClientHeight()};
}

// --- TCgUnitEditBtn ------------------------------------------------------------------------------

TCgUnitEditBtn::TCgUnitEditBtn(TComponent* AOwner) : TCgEditBtn(AOwner), FUnits(std::make_unique<TStringList>())
{
    FLabel = new TUnitLabel(this);
    FLabel->SetParent(this);
    SetRightAlign(true);
    SetUnitSpace(20);
}

TCgUnitEditBtn::~TCgUnitEditBtn() = default;

void TCgUnitEditBtn::SetUnitID(const AnsiString& Value)
{
    FUnitID = Value;
    FLabel->Unit = Value;
    FLabel->Invalidate();
}

void TCgUnitEditBtn::SetUnitSpace(int Value)
{
    SetUnitSpaceWidth(Value);
    const TRect r = UnitRect();
    FLabel->SetBounds(r.Left, r.Top, r.Width(), std::max(r.Height() - 2, 0));
    FLabel->Invalidate();
}

void TCgUnitEditBtn::BoundsChanged(const TRect& OldBounds, bool SizeChanged)
{
    TCgEditBtn::BoundsChanged(OldBounds, SizeChanged);
    if (FLabel)
        SetUnitSpace(UnitSpaceWidth());
}

void TCgUnitEditBtn::ClickButton()
{
    FMenu = std::make_unique<TPopupMenu>(nullptr);
    for (int i = 0; i < FUnits->Count(); ++i) {
        auto* item = new TMenuItem(FMenu.get());
        item->SetCaption(FUnits->Strings(i));
        item->SetTag(i + 1);
        const AnsiString unit = FUnits->Strings(i);
        item->OnClick = [this, unit](TObject*) { SetUnitID(unit); };
        FMenu->Items()->Add(item);
    }
    const TPoint p = ClientToScreen(TPoint{ClientWidth() - 15, ClientHeight()});
    FMenu->Popup(p.x, p.y);
}
