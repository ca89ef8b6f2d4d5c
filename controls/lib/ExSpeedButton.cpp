#include "controls/lib/ExSpeedButton.h"

#include "controls/lib/CtrlUtils.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Foreground.h"

TPoint DropDownMenuPos(TExDropDownMenuPos Position, TPopupAlignment Alignment, int Width, int Height)
{
    if (Alignment == paCenter)
        return TPoint{Width / 2, Height};
    if (Position == dmpBottom)
        return Alignment == paLeft ? TPoint{-1, Height} : TPoint{Width + 1, Height};
    return Alignment == paLeft ? TPoint{Width, -1} : TPoint{-1, -1};
}

TRect DrawSpeedButtonFrame(TCanvas* Canvas, const TRect& Client, bool IsDown, bool IsFlat, TButtonStyle Style)
{
    const bool newLook = Style == bsNew || (Style == bsAutoDetect && NewStyleControls);
    TRect r = Client;
    auto edge = [&](TColor topLeft, TColor bottomRight) { Frame3D(Canvas, r, topLeft, bottomRight, 1); };
    if (!IsDown) {
        if (newLook && !IsFlat) {
            edge(clBtnHighlight, clWindowFrame);
            edge(clBtnFace, clBtnShadow);
        } else if (newLook) {
            edge(clBtnHighlight, clBtnShadow);
        } else if (!IsFlat) {
            edge(clWindowFrame, clWindowFrame);
            edge(clBtnHighlight, clBtnShadow);
        } else {
            edge(clBtnHighlight, clWindowFrame);
        }
    } else if (newLook && !IsFlat) {
        edge(clWindowFrame, clBtnHighlight);
        edge(clBtnShadow, clBtnFace);
    } else if (!newLook && !IsFlat) {
        edge(clWindowFrame, clWindowFrame);
        Canvas->Pen()->SetColor(clBtnShadow);
        Canvas->Polyline({{r.Left, r.Bottom - 1}, {r.Left, r.Top}, {r.Right, r.Top}});
    } else {
        edge(clWindowFrame, clBtnHighlight);
    }
    InflateRect(r, -1, -1);
    return r;
}

TExSpeedButton::TExSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TExButtonGlyph>()), FDrawImage(std::make_unique<TBitmap>())
{
    SetBounds(0, 0, 25, 25);
    FControlStyle = csCaptureMouse | csOpaque | csDoubleClicks | csReplicatable;
    FGlyph->OnChange = [this](TObject* sender) { GlyphChanged(sender); };
    // Captions drawn glyph by glyph as the window system's text output draws them: a bar
    // repaints many buttons at once.
    FDrawImage->Canvas()->SetUnshapedText(true);
    SetParentFont(true);
    SetParentShowHint(false);
    SetShowHint(true);
    RegisterButtonHandlers();
}

TExSpeedButton::~TExSpeedButton()
{
    LinkControlToAction(this, nullptr);
    FRepeatTimer.reset();
}

template <class T>
void TExSpeedButton::Change(T& Field, T Value)
{
    if (Field == Value)
        return;
    Field = Value;
    Invalidate();
}

void TExSpeedButton::SetAlignment(TAlignment Value)
{
    if (FGlyph->Alignment() == Value)
        return;
    FGlyph->SetAlignment(Value);
    Invalidate();
}

void TExSpeedButton::SetWordWrap(bool Value)
{
    if (FGlyph->WordWrap() == Value)
        return;
    FGlyph->SetWordWrap(Value);
    Invalidate();
}

void TExSpeedButton::SetLayout(TButtonLayout Value) { Change(FLayout, Value); }
void TExSpeedButton::SetSpacing(int Value) { Change(FSpacing, Value); }
void TExSpeedButton::SetFlat(bool Value) { Change(FFlat, Value); }
void TExSpeedButton::SetStyle(TButtonStyle Value) { Change(FStyle, Value); }
void TExSpeedButton::SetMarkDropDown(bool Value) { Change(FMarkDropDown, Value); }
void TExSpeedButton::SetTransparent(bool Value) { Change(FTransparent, Value); }
void TExSpeedButton::SetInactiveGrayed(bool Value) { Change(FGrayedInactive, Value); }

void TExSpeedButton::SetMargin(int Value)
{
    if (Value >= -1)
        Change(FMargin, Value);
}

void TExSpeedButton::SetNumGlyphs(int Value)
{
    Value = std::min(Value, kMaxNumGlyphs);
    if (Value == FGlyph->NumGlyphs())
        return;
    FGlyph->SetNumGlyphs(Value);
    Invalidate();
}

void TExSpeedButton::SetGlyph(TBitmap* Value)
{
    FGlyph->SetGlyph(Value);
    Invalidate();
}

void TExSpeedButton::GlyphChanged(TObject*) { Invalidate(); }

void TExSpeedButton::SetDropDownMenu(TPopupMenu* Value)
{
    if (LinkComponent(this, FDropDownMenu, Value) && FMarkDropDown)
        Invalidate();
}

void TExSpeedButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDropDownMenu)
        FDropDownMenu = nullptr;
}

void TExSpeedButton::SetAllowTimer(bool Value)
{
    FAllowTimer = Value;
    if (!Value && FRepeatTimer) {
        FRepeatTimer->SetEnabled(false);
        FRepeatTimer.reset();
    }
}

TBasicAction* TExSpeedButton::Action() const { return ControlAction(this); }

void TExSpeedButton::SetAction(TBasicAction* Value)
{
    LinkControlToAction(this, Value, [](TControl* control, TCustomAction* action) {
        static_cast<TExSpeedButton*>(control)->ActionChange(action, false);
    });
}

void TExSpeedButton::ActionChange(TCustomAction* Sender, bool CheckDefaults)
{
    if (!Sender)
        return;
    if ((!CheckDefaults || !FDown) && FGroupIndex != 0)
        SetDown(Sender->Checked());
    TActionList* list = Sender->ActionList();
    TImageList* images = list ? list->Images() : nullptr;
    if (!Glyph()->Empty() || !images || Sender->ImageIndex() < 0 || Sender->ImageIndex() >= images->Count())
        return;
    TBitmap glyph;
    glyph.SetSize(images->Width(), images->Height());
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, images->Width(), images->Height()));
    images->Draw(glyph.Canvas(), 0, 0, Sender->ImageIndex());
    glyph.SetTransparentColor(clFuchsia);
    SetGlyph(&glyph);
}

void TExSpeedButton::Click()
{
    if (TCustomForm* form = ParentForm())
        form->SetModalResult(FModalResult);
    TGraphicControl::Click();
}

void TExSpeedButton::Loaded()
{
    TGraphicControl::Loaded();
    PrepareGlyph();
}

void TExSpeedButton::PrepareGlyph()
{
    FGlyph->CreateButtonGlyph(!Enabled() ? rbsDisabled : FFlat ? rbsInactive : rbsUp);
}

// --- Grouping ---------------------------------------------------------------------------------

void TExSpeedButton::SetDown(bool Value)
{
    if (FGroupIndex == 0)
        Value = false;
    if (Value == FDown || (FDown && !FAllowAllUp))
        return;
    FDown = Value;
    if (Value) {
        if (FState == rbsUp)
            Invalidate();
        FState = rbsExclusive;
    } else {
        FState = rbsUp;
    }
    Repaint();
    if (Value)
        UpdateExclusive();
    Invalidate();
}

void TExSpeedButton::SetGroupIndex(int Value)
{
    if (FGroupIndex == Value)
        return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TExSpeedButton::SetAllowAllUp(bool Value)
{
    if (FAllowAllUp == Value)
        return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TExSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !Parent())
        return;
    TMessage m{CM_SPEEDBUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(m);
}

void TExSpeedButton::ButtonPressed(TExSpeedButton* Sender)
{
    if (!Sender || Sender == this)
        return;
    if (Sender->FDown && FDown) {
        FDown = false;
        FState = rbsUp;
        Repaint();
    }
    FAllowAllUp = Sender->FAllowAllUp;
}

void TExSpeedButton::RegisterButtonHandlers()
{
    RegisterHandler(CM_SPEEDBUTTONPRESSED, [this](TMessage& m) {
        if (m.WParam == static_cast<WPARAM>(FGroupIndex) && Parent() && Parent()->HandleAllocated())
            ButtonPressed(dynamic_cast<TExSpeedButton*>(reinterpret_cast<TObject*>(m.LParam)));
    });
    RegisterHandler(CM_DIALOGCHAR, [this](TMessage& m) {
        const char key = static_cast<char>(m.WParam);
        const char hot = GetHotkey(Caption());
        if (hot != 0 && Enabled() && Showing() && toupper(static_cast<unsigned char>(key)) == hot) {
            Click();
            m.Result = 1;
        } else {
            Inherited(m);
        }
    });
    RegisterHandler(CM_ENABLEDCHANGED, [this](TMessage& m) {
        Inherited(m);
        PrepareGlyph();
        UpdateTracking();
        Repaint();
    });
    RegisterHandler(CM_FONTCHANGED, [this](TMessage&) { Invalidate(); });
    RegisterHandler(CM_TEXTCHANGED, [this](TMessage&) { Invalidate(); });
    RegisterHandler(CM_SYSCOLORCHANGE, [this](TMessage&) {
        FGlyph->Invalidate();
        Invalidate();
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
            if (FFlat)
                Repaint();
            MouseEnter();
        }
    });
    RegisterHandler(CM_MOUSELEAVE, [this](TMessage& m) {
        Inherited(m);
        if (FMouseInControl && Enabled() && !FDragging) {
            FMouseInControl = false;
            if (FFlat)
                Invalidate();
            MouseLeave();
        }
    });
    RegisterHandler(WM_LBUTTONDOWN, [this](TMessage& m) {
        if (!SwallowsPress(m))
            Inherited(m);
    });
    RegisterHandler(WM_LBUTTONDBLCLK, [this](TMessage& m) {
        if (FMenuTracking || SwallowsPress(m))
            return;
        TAliveToken alive = AliveToken();
        Inherited(m);
        if (*alive && FDown)
            DblClick();
    });
    for (unsigned msg : {WM_RBUTTONDOWN, WM_RBUTTONUP})
        RegisterHandler(msg, [this](TMessage& m) {
            TAliveToken alive = AliveToken();
            Inherited(m);
            if (*alive)
                UpdateTracking();
        });
}

// --- Painting ---------------------------------------------------------------------------------

void TExSpeedButton::Paint()
{
    if (!Enabled()) {
        FState = rbsDisabled;
        FDragging = false;
    } else if (FState == rbsDisabled) {
        FState = FDown && FGroupIndex != 0 ? rbsExclusive : rbsUp;
    }
    const TExButtonState look = FFlat && !FMouseInControl && !InState(csDesigning) ? rbsInactive : FState;
    FDrawImage->SetSize(Width(), Height());
    TCanvas* canvas = FDrawImage->Canvas();
    TRect r = Rect(0, 0, Width(), Height());
    if (!canvas->Font()->SameAs(*Font()))
        canvas->SetFont(Font());  // only on a change: the canvas rebuilds its font each time
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(r);
    if (FTransparent)
        CopyParentImage(this, canvas);
    if (look != rbsInactive || FState == rbsExclusive)
        r = DrawSpeedButtonFrame(canvas, r, FState == rbsDown || FState == rbsExclusive, FFlat, FStyle);
    else if (FFlat)
        InflateRect(r, -2, -2);
    if (FState == rbsExclusive && !FTransparent && (!FFlat || look == rbsInactive)) {
        if (!FPattern)
            FPattern.reset(CreateTwoColorsBrushPattern(clBtnFace, clBtnHighlight));
        InflateRect(r, 1, 1);
        canvas->Brush()->SetBitmap(FPattern.get());
        canvas->FillRect(r);
        canvas->Brush()->SetBitmap(nullptr);
        InflateRect(r, -1, -1);
    }
    if (FState == rbsDown || FState == rbsExclusive)
        OffsetRect(r, 1, 1);
    const TExButtonState passed = FState == rbsDisabled || !FGrayedInactive ? FState : look;
    PaintGlyph(canvas, r, passed, FMarkDropDown && FDropDownMenu);
    Canvas()->Draw(0, 0, FDrawImage.get());
}

void TExSpeedButton::PaintGlyph(TCanvas* Canvas, const TRect& ARect, TExButtonState AState, bool DrawMark)
{
    FGlyph->Draw(Canvas, ARect, Caption(), FLayout, FMargin, FSpacing, DrawMark, AState,
                 AlignmentTextFlags(FGlyph->Alignment()));
}
