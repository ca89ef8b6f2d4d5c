// The spin edit: its value read from and written to the text, steps, the character filter, the
// keys, focus and the buttons' layout.

#include <algorithm>
#include <cmath>
#include <limits>

#include "controls/lib/CtrlUtils.h"
#include "controls/lib/ExSpin.h"
#include "controls/lib/FlaggedCall.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PopupWindows.h"
#include "platform/gui/Sound.h"
#include "platform/gui/SystemMetrics.h"

TExSpinEdit::TExSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    SetText("0");
    FControlStyle &= ~csSetCaption;
    RegisterSpinHandlers();
    RecreateButton();
}

TExSpinEdit::~TExSpinEdit()
{
    Destroying();
    FChanging = true;
    delete FButton;
    FButton = nullptr;
    delete FBtnWindow;
    FBtnWindow = nullptr;
    delete FUpDown;
    FUpDown = nullptr;
}

double TExSpinEdit::SpinCheckTrunc(double v)
{
    const double t = std::trunc(v);
    if (std::isnan(t))
        return 0;
    return std::clamp(t, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max()));
}

void TExSpinEdit::RegisterSpinHandlers()
{
    RegisterHandler(WM_SIZE, [this](TMessage& m) {
        TAliveToken alive = AliveToken();
        Inherited(m);
        if (!*alive || FSettingHeight)
            return;
        const int minimum = GetMinHeight();
        if (Height() < minimum) {
            FSettingHeight = true;
            SetHeight(minimum);
            FSettingHeight = false;
        }
        ResizeButton();
        SetEditRect();
    });
    for (unsigned msg : {CM_FONTCHANGED, CM_BIDIMODECHANGED}) {
        RegisterHandler(msg, [this](TMessage& m) {
            Inherited(m);
            ResizeButton();
            SetEditRect();
        });
    }
    RegisterHandler(CM_ENABLEDCHANGED, [this](TMessage& m) {
        Inherited(m);
        if (FUpDown) {
            FUpDown->SetEnabled(Enabled());
            ResizeButton();
        }
        if (FButton)
            FButton->SetEnabled(Enabled());
    });
    // Paste, cut and drops only while the text may be edited by hand.
    for (unsigned msg : {WM_PASTE, WM_CUT}) {
        RegisterHandler(msg, [this](TMessage& m) {
            if (FEditorEnabled && !ReadOnly())
                Inherited(m);
        });
    }
    // A multi-line edit on the system this was written for: Enter and Escape come to the edit,
    // which hands them to its form itself (KeyPress).
    RegisterHandler(WM_GETDLGCODE, [](TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS; });
}

// --- Value --------------------------------------------------------------------------------------

double TExSpinEdit::GetValue() { return SpinTextValue(Text(), FValueType, FMinValue); }

void TExSpinEdit::SetValue(double Value) { SetText(SpinValueText(CheckValue(Value), FValueType, FDecimal)); }

void TExSpinEdit::SetValueType(TValueType Value)
{
    if (Value == FValueType)
        return;
    FValueType = Value;
    SetValue(GetValue());
    if (FValueType != vtFloat) {
        FIncrement = static_cast<double>(RoundToEven(FIncrement));
        if (FIncrement == 0)
            FIncrement = 1;
    }
}

void TExSpinEdit::SetDecimal(int Value)
{
    const auto v = static_cast<uint8_t>(std::clamp(Value, 0, 255));
    if (v == FDecimal)
        return;
    FDecimal = v;
    SetValue(GetValue());
}

void TExSpinEdit::Change()
{
    if (!FChanging)
        TCustomEdit::Change();
}

void TExSpinEdit::Step(double Delta, const TNotifyEvent& After)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    TAliveToken alive = AliveToken();
    const AnsiString old = Text();
    if (!WhileFlagged(FChanging, alive, [&] { SetValue(GetValue() + Delta); }))
        return;
    if (!SameText(old, Text())) {
        SetModified(true);
        Change();
        if (!*alive)
            return;
    }
    if (After)
        After(this);
}

void TExSpinEdit::UpClick(TObject*) { Step(FIncrement, OnTopClick); }

void TExSpinEdit::DownClick(TObject*) { Step(-FIncrement, OnBottomClick); }

void TExSpinEdit::UpDownClick(TUDBtnType Button)
{
    TAliveToken alive = AliveToken();
    if (TabStop() && CanFocus())
        SetFocus();
    if (!*alive)
        return;
    if (Button == btNext)
        UpClick(this);
    else
        DownClick(this);
}

// --- Keys ---------------------------------------------------------------------------------------

bool TExSpinEdit::IsValidChar(char Key) { return SpinIsValidChar(Key, FValueType, Text(), FEditorEnabled); }

void TExSpinEdit::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TAliveToken alive = AliveToken();
    TCustomEdit::KeyDown(Key, Shift);
    if (!*alive)
        return;
    if (FArrowKeys && (Key == VK_UP || Key == VK_DOWN)) {
        const bool up = Key == VK_UP;
        Key = 0;
        if (up)
            UpClick(this);
        else
            DownClick(this);
        return;
    }
    // The edit deletes on these keys itself: they pass only where their character would (the
    // Backspace character is then refused, with its beep, as a typed one).
    if ((Key == VK_BACK && !IsValidChar('\b')) || (Key == VK_DELETE && !FEditorEnabled))
        Key = 0;
}

void TExSpinEdit::KeyPress(char& Key)
{
    if (!IsValidChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    TAliveToken alive = AliveToken();
    if (Key != 0) {
        TCustomEdit::KeyPress(Key);
        if (!*alive)
            return;
    }
    if (Key == '\r' || Key == '\x1B') {
        // Only an edit on a form has anyone to hand them to.
        if (TCustomForm* form = ParentForm())
            form->Perform(CM_DIALOGKEY, static_cast<unsigned char>(Key), 0);
        if (Key == '\r')
            Key = 0;
    }
}

void TExSpinEdit::InsertTyped(const AnsiString& text, bool pasted)
{
    // Every way in (typed, composed, pasted, dropped) passes the filter, a character at a time.
    for (char c : text) {
        if (!IsValidChar(c)) {
            MessageBeep(0);
            return;
        }
    }
    TCustomEdit::InsertTyped(text, pasted);
}

// --- Focus --------------------------------------------------------------------------------------

void TExSpinEdit::DoEnter()
{
    if (AutoSelect() && !LeftMouseButtonDown())
        SelectAll();
    TWinControl::DoEnter();
}

void TExSpinEdit::DoExit()
{
    TAliveToken alive = AliveToken();
    TCustomEdit::DoExit();
    if (!*alive)
        return;
    const double v = GetValue();
    if (CheckValue(v) != v)
        SetValue(v);
}

// --- Buttons and layout -------------------------------------------------------------------------

TSpinButtonKind TExSpinEdit::ButtonKind() const { return FButtonKind; }

void TExSpinEdit::SetButtonKind(TSpinButtonKind Value)
{
    const TSpinButtonKind old = ButtonKind();
    FButtonKind = Value;
    if (old != ButtonKind()) {
        RecreateButton();
        ResizeButton();
        SetEditRect();
    }
}

void TExSpinEdit::SetArrowKeys(bool Value)
{
    FArrowKeys = Value;
    ResizeButton();
}

int TExSpinEdit::GetButtonWidth() const
{
    if (FUpDown)
        return FUpDown->Width();
    if (FButton)
        return FButton->Width();
    return DefaultSpinButtonWidth();
}

void TExSpinEdit::RecreateButton()
{
    if (InState(csDestroying))
        return;
    delete FButton;
    FButton = nullptr;
    delete FBtnWindow;
    FBtnWindow = nullptr;
    delete FUpDown;
    FUpDown = nullptr;
    if (ButtonKind() == bkStandard) {
        FUpDown = new TExUpDown(this);
        FUpDown->SetBounds(0, 0, DefaultSpinButtonWidth(), Height());
        FUpDown->SetAlign(alRight);
        FUpDown->SetParent(this);
        FUpDown->OnClick = [this](TObject*, TUDBtnType b) { UpDownClick(b); };
    } else {
        FBtnWindow = new TWinControl(this);
        FBtnWindow->SetParent(this);
        FBtnWindow->SetBounds(0, 0, Height(), Height());
        FButton = new TExSpinButton(this);
        FButton->SetParent(FBtnWindow);
        FButton->SetFocusControl(this);
        FButton->OnTopClick = [this](TObject* s) { UpClick(s); };
        FButton->OnBottomClick = [this](TObject* s) { DownClick(s); };
        FButton->SetBounds(0, 0, FBtnWindow->Width(), FBtnWindow->Height());
    }
}

void TExSpinEdit::ResizeButton()
{
    if (FUpDown) {
        FUpDown->SetWidth(DefaultSpinButtonWidth());
        FUpDown->SetAlign(alRight);
    } else if (FButton) {
        // The client area here includes the edit's frame: inside a single border the button
        // keeps one pixel off the top and the right, as it does inside a framed edit's client.
        const int h = Height();
        const TRect r =
            BorderStyle() == bsSingle ? Bounds(Width() - h + 1, 1, h - 3, h - 3) : Bounds(Width() - h, 0, h, h);
        FBtnWindow->SetBoundsRect(r);
        FButton->SetBounds(0, 0, FBtnWindow->Width(), FBtnWindow->Height());
    }
}

void TExSpinEdit::SetEditRect() { SetTextMargins(0, GetButtonWidth() + 2); }

void TExSpinEdit::WidgetCreated()
{
    TCustomEdit::WidgetCreated();
    SetEditRect();
}

int TExSpinEdit::GetMinHeight() { return FontCharHeight(Font()) + 4 * GetSystemMetrics(SM_CYBORDER) + 1; }
