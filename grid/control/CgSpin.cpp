#include "grid/control/CgSpin.h"

#include <cmath>
#include <iterator>

#include "grid/control/EditMinHeight.h"
#include "platform/core/DateFormat.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Resources.h"
#include "platform/gui/Sound.h"
#include "platform/gui/StdMessages.h"

namespace {

// The arrows of the two buttons, black on a white (see-through) ground.
const char* const kUp[] = {".......", "...#...", "..###..", ".#####.", "......."};
const char* const kDown[] = {".......", ".#####.", "..###..", "...#...", "......."};
const char* const kLeft[] = {"....", "..#.", ".##.", "###.", ".##.", "..#.", "...."};
const char* const kRight[] = {"....", ".#..", ".##.", ".###", ".##.", ".#..", "...."};

template <size_t N>
void DrawRows(TBitmap* b, const char* const (&rows)[N])
{
    const int w = static_cast<int>(std::char_traits<char>::length(rows[0]));
    b->SetSize(w, static_cast<int>(N));
    for (int y = 0; y < static_cast<int>(N); ++y)
        for (int x = 0; x < w; ++x)
            b->Canvas()->SetPixels(x, y, rows[y][x] == '#' ? clBlack : clWhite);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->SetMonochrome(true);
}

bool RegisterArrows()
{
    RegisterBitmapResource("CgSpinUp", [](TBitmap* b) { DrawRows(b, kUp); });
    RegisterBitmapResource("CgSpinDown", [](TBitmap* b) { DrawRows(b, kDown); });
    RegisterBitmapResource("CgSpinLeft", [](TBitmap* b) { DrawRows(b, kLeft); });
    RegisterBitmapResource("CgSpinRight", [](TBitmap* b) { DrawRows(b, kRight); });
    return true;
}
const bool kArrows = RegisterArrows();

}  // namespace

// --- TCgTimerSpeedButton -------------------------------------------------------------------------

TCgTimerSpeedButton::TCgTimerSpeedButton(TComponent* AOwner) : TExSpeedButton(AOwner)
{
    SetInitPause(400);
    SetRepeatInterval(100);
}

void TCgTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    TExSpeedButton::MouseDown(Button, Shift, X, Y);
    if (*alive && Parent())
        Parent()->Invalidate();
}

void TCgTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    TExSpeedButton::MouseUp(Button, Shift, X, Y);
    if (*alive && Parent())
        Parent()->Invalidate();
}

// --- TCgSpinButton -------------------------------------------------------------------------------

TCgSpinButton::TCgSpinButton(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle &= ~csSetCaption;
    FUpButton = MakeButton(true);
    FDownButton = MakeButton(false);
    FFocusedButton = FUpButton;
    LoadArrows();
    SetBounds(0, 0, 15, 25);
    RegisterHandler(WM_GETDLGCODE, [](TMessage& m) { m.Result = DLGC_WANTARROWS; });
}

TCgTimerSpeedButton* TCgSpinButton::MakeButton(bool Up)
{
    auto* b = new TCgTimerSpeedButton(this);
    b->SetRepeats(true);
    b->SetParent(this);
    b->OnClick = [this, Up](TObject*) {
        const TNotifyEvent& e = Up ? OnUpClick : OnDownClick;
        if (e)
            e(this);
    };
    b->OnMouseDown = [this, b](TObject*, TMouseButton Button, TShiftState, int, int) {
        if (Button == mbLeft)
            Pressed(b);
    };
    return b;
}

void TCgSpinButton::Pressed(TCgTimerSpeedButton* Button)
{
    FFocusedButton = Button;
    if (FFocusControl && FFocusControl->CanFocus()) {
        if (!FFocusControl->Focused())
            FFocusControl->SetFocus();
    } else if (CanFocus() && !Focused()) {
        SetFocus();
    }
}

void TCgSpinButton::LoadArrows()
{
    const bool vertical = FDirection == spVertical;
    if (!FUserUpGlyph) {
        TBitmap b;
        LoadBitmapResource(&b, vertical ? "CgSpinUp" : "CgSpinRight");
        FUpButton->SetGlyph(&b);
    }
    if (!FUserDownGlyph) {
        TBitmap b;
        LoadBitmapResource(&b, vertical ? "CgSpinDown" : "CgSpinLeft");
        FDownButton->SetGlyph(&b);
    }
}

void TCgSpinButton::SetUpGlyph(TBitmap* Value)
{
    FUserUpGlyph = Value != nullptr;
    if (Value)
        FUpButton->SetGlyph(Value);
    else
        LoadArrows();
}

void TCgSpinButton::SetDownGlyph(TBitmap* Value)
{
    FUserDownGlyph = Value != nullptr;
    if (Value)
        FDownButton->SetGlyph(Value);
    else
        LoadArrows();
}

void TCgSpinButton::SetDirection(TSpinDirection Value)
{
    if (Value == FDirection)
        return;
    FDirection = Value;
    LoadArrows();
    Layout();
}

void TCgSpinButton::SetFocusControl(TWinControl* Value)
{
    FFocusControl = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TCgSpinButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TCgSpinButton::SetFlat(bool Value)
{
    FUpButton->SetFlat(Value);
    FDownButton->SetFlat(Value);
}

void TCgSpinButton::SetTransparent(bool Value)
{
    FUpButton->SetTransparent(Value);
    FDownButton->SetTransparent(Value);
}

void TCgSpinButton::BoundsChanged(const TRect& OldBounds, bool SizeChanged)
{
    TWinControl::BoundsChanged(OldBounds, SizeChanged);
    Layout();
}

void TCgSpinButton::Layout()
{
    if (!FUpButton || !FDownButton)
        return;
    if (FDirection == spVertical) {
        const int w = std::max(Width(), 15);
        const int half = Height() / 2;
        FUpButton->SetBounds(0, 0, w, half);
        // The two overlap by one pixel.
        FDownButton->SetBounds(0, half - 1, w, Height() - half + 1);
    } else {
        const int w = std::max(Width(), 20);
        const int half = w / 2;
        FDownButton->SetBounds(0, 0, half, Height());
        FUpButton->SetBounds(half, 0, w - half, Height());
    }
}

void TCgSpinButton::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TAliveToken alive = AliveToken();
    TWinControl::KeyDown(Key, Shift);
    if (!*alive)
        return;
    if (Key == VK_SPACE) {
        FFocusedButton->Click();
    } else if (Key == VK_UP || Key == VK_DOWN) {
        FFocusedButton = Key == VK_UP ? FUpButton : FDownButton;
        FFocusedButton->Click();
    }
}

// --- TCgSpinEdit ---------------------------------------------------------------------------------

TCgSpinEdit::TCgSpinEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    FButton = new TCgSpinButton(this);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetFocusControl(this);
    FButton->SetParent(this);
    FButton->OnUpClick = [this](TObject* s) { UpClick(s); };
    FButton->OnDownClick = [this](TObject* s) { DownClick(s); };
    SetText("0");
    RegisterHandler(WM_PASTE, [this](TMessage& m) {
        if (FEditorEnabled && !ReadOnly())
            Inherited(m);
    });
    RegisterHandler(WM_CUT, [this](TMessage& m) {
        if (FEditorEnabled && !ReadOnly())
            Inherited(m);
    });
    // The buttons are enabled with the edit.
    RegisterHandler(CM_ENABLEDCHANGED, [this](TMessage& m) {
        Inherited(m);
        FButton->UpButton()->SetEnabled(Enabled());
        FButton->DownButton()->SetEnabled(Enabled());
    });
    PlaceButton();
}

int TCgSpinEdit::Value() const { return SpinIntOf(Text(), MinValue); }

void TCgSpinEdit::SetValue(int Value)
{
    SetText(IntToStr(SpinClamp(Value, MinValue, MaxValue)));
    if (!FEditorEnabled)
        SelectAll();
}

double TCgSpinEdit::FloatValue() const { return SpinFloatOf(Text(), MinValue); }

void TCgSpinEdit::SetFloatValue(double Value)
{
    SetText(SpinFloatText(SpinClamp(Value, MinFloatValue, MaxFloatValue), FPrecision));
    if (!FEditorEnabled)
        SelectAll();
}

TDateTime TCgSpinEdit::DateValue() const
{
    TDateTime d = 0;
    return TryStrToDate(Trim(Text()), d) ? d : std::floor(Now());
}

void TCgSpinEdit::SetDateValue(TDateTime Value) { SetText(DateToStr(SpinClamp(Value, MinDateValue, MaxDateValue))); }

TDateTime TCgSpinEdit::TimeValue() const
{
    TDateTime t = 0;
    return TryStrToTime(Trim(Text()), t) ? t : 0.0;
}

void TCgSpinEdit::SetTimeValue(TDateTime Value)
{
    // The caret stays where it was.
    const int caret = SelStart();
    SetText(TimeToStr(SpinClamp(Value, MinDateValue, MaxDateValue)));
    SetSelStart(caret);
}

void TCgSpinEdit::Rewrite()
{
    switch (FSpinType) {
    case sptNormal: SetValue(Value()); break;
    case sptFloat: SetFloatValue(FloatValue()); break;
    case sptDate: SetDateValue(DateValue()); break;
    case sptTime: SetTimeValue(TimeValue()); break;
    }
}

void TCgSpinEdit::SetSpinType(TCgSpinType Value)
{
    FSpinType = Value;
    Rewrite();
}

void TCgSpinEdit::SetPrecision(int Value)
{
    FPrecision = std::clamp(Value, 0, 15);
    Rewrite();
}

void TCgSpinEdit::SetDirection(TSpinDirection Value)
{
    FButton->SetDirection(Value);
    FButton->SetWidth(Value == spVertical ? 15 : 20);
    PlaceButton();
}

void TCgSpinEdit::SetSpinFlat(bool Value)
{
    FSpinFlat = Value;
    FButton->SetFlat(Value);
}

void TCgSpinEdit::SetSpinTransparent(bool Value)
{
    FSpinTransparent = Value;
    FButton->SetTransparent(Value);
}

void TCgSpinEdit::Step(int Delta)
{
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    const TFormatSettings& fs = FormatSettings();
    switch (FSpinType) {
    case sptNormal:
        SetValue(
            static_cast<int>(std::clamp<int64_t>(int64_t{Value()} + int64_t{Delta} * Increment, INT32_MIN, INT32_MAX)));
        break;
    case sptFloat: SetFloatValue(FloatValue() + Delta * IncrementFloat); break;
    case sptDate: {
        const int caret = SelStart();
        const int part = SpinPartAt(Text(), caret, fs.DateSeparator);
        SetDateValue(SpinStepDate(DateValue(), SpinDateField(fs.ShortDateFormat, part), Delta));
        SetSelStart(caret);
        break;
    }
    case sptTime:
        SetTimeValue(SpinStepTime(TimeValue(), SpinPartAt(Text(), SelStart(), fs.TimeSeparator), Delta));
        break;
    }
}

void TCgSpinEdit::UpClick(TObject*) { Step(1); }

void TCgSpinEdit::DownClick(TObject*) { Step(-1); }

void TCgSpinEdit::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_UP || Key == VK_DOWN) {
        TAliveToken alive = AliveToken();
        if (Key == VK_UP)
            UpClick(this);
        else
            DownClick(this);
        if (!*alive)
            return;
        Key = 0;
        return;
    }
    if (Key == VK_RETURN && ReturnIsTab) {
        Key = 0;
        if (TCustomForm* form = ParentForm())
            form->SelectNext(this, !Shift.Contains(ssShift), true);
        return;
    }
    if (Key == VK_DELETE && !FEditorEnabled) {
        Key = 0;
        return;
    }
    TCustomMaskEdit::KeyDown(Key, Shift);
}

void TCgSpinEdit::KeyPress(char& Key)
{
    // A spin edit takes no Hangul: the pair is refused whole, with the one beep of its first byte.
    const bool trail = FLeadTyped;
    FLeadTyped = !trail && IsLeadByte(static_cast<unsigned char>(Key));
    if (trail) {
        Key = 0;
        return;
    }
    const TTypedChar t = SpinFilterChar(FSpinType, Key, Text(), SelStart(), SelLength(), FPrecision, FEditorEnabled);
    if (t.Verdict != cvAccept) {
        if (t.Verdict == cvRefuseBeep)
            MessageBeep(0);
        Key = 0;
        return;
    }
    Key = t.Char;
    TCustomMaskEdit::KeyPress(Key);
}

void TCgSpinEdit::DoEnter()
{
    if (AutoSelect() && !((ControlState() & csLButtonDown) && FEditorEnabled))
        SelectAll();
    TWinControl::DoEnter();
}

void TCgSpinEdit::DoExit()
{
    // Leaving writes back a value that clamping changed.
    const AnsiString before = Text();
    switch (FSpinType) {
    case sptNormal:
        if (SpinClamp(Value(), MinValue, MaxValue) != Value())
            SetValue(Value());
        break;
    case sptFloat:
        if (SpinClamp(FloatValue(), MinFloatValue, MaxFloatValue) != FloatValue())
            SetFloatValue(FloatValue());
        break;
    case sptDate:
        if (SpinClamp(DateValue(), MinDateValue, MaxDateValue) != DateValue())
            SetDateValue(DateValue());
        break;
    case sptTime:
        if (SpinClamp(TimeValue(), MinDateValue, MaxDateValue) != TimeValue())
            SetTimeValue(TimeValue());
        break;
    }
    TCustomMaskEdit::DoExit();
}

int TCgSpinEdit::GetMinHeight() { return EditMinHeight(Font()); }

void TCgSpinEdit::WidgetCreated()
{
    TCustomMaskEdit::WidgetCreated();
    PlaceButton();
}

void TCgSpinEdit::BoundsChanged(const TRect& OldBounds, bool SizeChanged)
{
    TCustomMaskEdit::BoundsChanged(OldBounds, SizeChanged);
    if (SizeChanged && !FSettingHeight && Height() < GetMinHeight()) {
        FSettingHeight = true;
        SetHeight(GetMinHeight());
        FSettingHeight = false;
    }
    PlaceButton();
}

void TCgSpinEdit::PlaceButton()
{
    if (!FButton)
        return;
    const int w = FButton->Width();
    if (BorderStyle() == bsSingle)
        FButton->SetBounds(Width() - w - 2, 2, w, std::max(Height() - 4, 0));
    else
        FButton->SetBounds(Width() - w, 0, w, Height());
    SetTextMargins(0, w + 2);
}
