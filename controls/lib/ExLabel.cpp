#include "controls/lib/ExLabel.h"

#include "controls/lib/CtrlUtils.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/Foreground.h"

int DrawShadowText(TCanvas* Canvas, std::string_view Text, int Count, TRect& Rect, unsigned Format, int ShadowSize,
                   TColor ShadowColor, TShadowPosition ShadowPos)
{
    TRect text = Rect, shadow = Rect;
    const TPoint offset = ShadowOffset(ShadowPos, ShadowSize);
    OffsetRect(shadow, offset.x, offset.y);
    const TColor color = Canvas->Font()->Color();
    Canvas->Font()->SetColor(ShadowColor);
    int result = DrawText(Canvas, Text, Count, shadow, Format);
    if (ShadowSize > 0)
        result += ShadowSize;
    Canvas->Font()->SetColor(color);
    DrawText(Canvas, Text, Count, text, Format);
    UnionRect(Rect, text, shadow);
    return result;
}

TExCustomLabel::TExCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle |= csOpaque | csReplicatable;
    SetBounds(Left(), Top(), 65, 17);
    SetParentColor(true);
    RegisterLabelHandlers();
}

TExCustomLabel::~TExCustomLabel() = default;

template <class T>
void TExCustomLabel::Change(T& Field, T Value, bool Resize)
{
    if (Field == Value)
        return;
    Field = Value;
    if (Resize)
        AdjustBounds();
    Invalidate();
}

void TExCustomLabel::SetAlignment(TAlignment Value) { Change(FAlignment, Value, false); }
void TExCustomLabel::SetLayout(TTextLayout Value) { Change(FLayout, Value, false); }
void TExCustomLabel::SetShadowColor(TColor Value) { Change(FShadowColor, Value, false); }
void TExCustomLabel::SetShadowPos(TShadowPosition Value) { Change(FShadowPos, Value, false); }
void TExCustomLabel::SetShowAccelChar(bool Value) { Change(FShowAccelChar, Value, false); }
void TExCustomLabel::SetShowFocus(bool Value) { Change(FShowFocus, Value, false); }
void TExCustomLabel::SetAutoSize(bool Value) { Change(FAutoSize, Value, true); }
void TExCustomLabel::SetWordWrap(bool Value) { Change(FWordWrap, Value, true); }
void TExCustomLabel::SetShadowSize(uint8_t Value) { Change(FShadowSize, Value, true); }
void TExCustomLabel::SetLeftMargin(int Value) { Change(FLeftMargin, std::max(Value, 0), true); }
void TExCustomLabel::SetRightMargin(int Value) { Change(FRightMargin, std::max(Value, 0), true); }

void TExCustomLabel::SetTransparent(bool Value)
{
    if (Value == Transparent())
        return;
    if (Value)
        FControlStyle &= ~csOpaque;
    else
        FControlStyle |= csOpaque;
    Invalidate();
}

void TExCustomLabel::SetFocusControl(TWinControl* Value)
{
    if (LinkComponent(this, FFocusControl, Value) && FShowFocus)
        Invalidate();
}

void TExCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TExCustomLabel::RegisterLabelHandlers()
{
    RegisterHandler(CM_TEXTCHANGED, [this](TMessage&) {
        Invalidate();
        AdjustBounds();
    });
    RegisterHandler(CM_FONTCHANGED, [this](TMessage& m) {
        Inherited(m);
        AdjustBounds();
    });
    RegisterHandler(CM_FOCUSCHANGED, [this](TMessage& m) {
        const bool focused = FFocusControl && reinterpret_cast<TObject*>(m.LParam) == FFocusControl;
        if (focused != FFocused) {
            FFocused = focused;
            if (FShowFocus)
                Invalidate();
        }
        Inherited(m);
    });
    RegisterHandler(CM_DIALOGCHAR, [this](TMessage& m) {
        const char hot = AcceleratorOf(GetLabelCaption());
        if (FFocusControl && Enabled() && FShowAccelChar && hot != 0 &&
            toupper(static_cast<unsigned char>(m.WParam)) == hot) {
            if (FFocusControl->CanFocus()) {
                FFocusControl->SetFocus();
                m.Result = 1;
            }
            return;
        }
        Inherited(m);
    });
    RegisterHandler(CM_ENABLEDCHANGED, [this](TMessage& m) {
        Inherited(m);
        UpdateTracking();
    });
    RegisterHandler(CM_VISIBLECHANGED, [this](TMessage& m) {
        Inherited(m);
        if (Visible())
            UpdateTracking();
    });
    RegisterHandler(CM_MOUSEENTER, [this](TMessage& m) {
        Inherited(m);
        if (!FMouseInControl && Enabled() && IsForegroundTask()) {
            FMouseInControl = true;
            MouseEnter();
        }
    });
    RegisterHandler(CM_MOUSELEAVE, [this](TMessage& m) {
        Inherited(m);
        if (FMouseInControl && Enabled() && !FDragging) {
            FMouseInControl = false;
            MouseLeave();
        }
    });
    for (unsigned msg : {WM_RBUTTONDOWN, WM_RBUTTONUP})
        RegisterHandler(msg, [this](TMessage& m) {
            TAliveToken alive = AliveToken();
            Inherited(m);
            if (*alive)
                UpdateTracking();
        });
}

void TExCustomLabel::DoDrawText(TRect& Rect, unsigned Flags)
{
    AnsiString text = GetLabelCaption();
    if ((Flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&")))
        text += ' ';
    if (!FShowAccelChar)
        Flags |= DT_NOPREFIX;
    TCanvas* c = Canvas();
    c->SetFont(Font());
    c->Font()->SetColor(GetDefaultFontColor());
    int size = FShadowSize;
    TShadowPosition pos = FShadowPos;
    TColor shadow = FShadowColor;
    if (!Enabled()) {
        if (size == 0 && NewStyleControls) {
            size = 1;
            pos = spRightBottom;
        }
        c->Font()->SetColor(clGrayText);
        shadow = clBtnHighlight;
    }
    DrawShadowText(c, text, -1, Rect, Flags, size, ColorToRGB(shadow), pos);
}

TRect TExCustomLabel::TextRect() const
{
    TRect r = ClientRect();
    r.Left += FLeftMargin + 1;
    r.Right -= FRightMargin + 1;
    return r;
}

void TExCustomLabel::Paint()
{
    if (!Enabled() && !InState(csDesigning))
        FDragging = false;
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    if (!Transparent()) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(client);
    }
    c->Brush()->SetStyle(bsClear);
    TRect r = TextRect();
    const unsigned style = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0u) | AlignmentTextFlags(FAlignment);
    if (FLayout != tlTop) {
        TRect measured = r;
        DoDrawText(measured, style | DT_CALCRECT);
        r.Left = client.Left + FLeftMargin;
        r.Right = client.Right - FRightMargin;
        const int drop = client.Height() - measured.Bottom;
        OffsetRect(r, 0, FLayout == tlBottom ? drop : drop / 2);
    }
    DoDrawText(r, style);
    if (FShowFocus && FFocusControl && FFocused && !InState(csDesigning)) {
        InflateRect(r, 1, 0);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->DrawFocusRect(r);
    }
}

void TExCustomLabel::AdjustBounds()
{
    if (!FAutoSize || InState(csLoading))
        return;
    TRect r = TextRect();
    DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0u));
    r.Left -= FLeftMargin + 1;
    r.Right += FRightMargin + 1;
    int left = Left();
    if (FAlignment == taRightJustify)
        left += Width() - r.Right;
    SetBounds(left, Top(), r.Right, r.Bottom);
}

void TExCustomLabel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Enabled())
        FDragging = true;
}

void TExCustomLabel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!*alive)
        return;
    if (Button == mbLeft)
        FDragging = false;
    UpdateTracking();
}

void TExCustomLabel::UpdateTracking()
{
    const bool inside = MouseOverControl(this);
    if (inside == FMouseInControl)
        return;
    FMouseInControl = inside;
    if (inside)
        MouseEnter();
    else
        MouseLeave();
}

void TExCustomLabel::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TExCustomLabel::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}
