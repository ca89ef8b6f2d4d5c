#include "controls/lib/ExSwitch.h"

#include "controls/lib/CtrlUtils.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Resources.h"

namespace {

const char* const kPictureNames[2] = {"SWITCH_OFF", "SWITCH_ON"};

// Our own pictures: a slot with the knob at the left (off, grey) or at the right (on, green),
// on a see-through background (the lower-left pixel's colour).
void DrawSwitchPicture(TBitmap* bitmap, bool on)
{
    constexpr int kWidth = 36, kHeight = 18;
    bitmap->SetSize(kWidth, kHeight);
    TCanvas* c = bitmap->Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, kWidth, kHeight));
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(on ? RGB(0x30, 0xA0, 0x40) : RGB(0xA0, 0xA0, 0xA0));
    c->RoundRect(0, 1, kWidth, kHeight - 1, 14, 14);
    c->Brush()->SetColor(clWhite);
    const int knob = on ? kWidth - kHeight : 0;
    c->Ellipse(knob, 0, knob + kHeight, kHeight);
}

}  // namespace

void RegisterSwitchPictures()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterBitmapResource(kPictureNames[0], [](TBitmap* b) { DrawSwitchPicture(b, false); });
    RegisterBitmapResource(kPictureNames[1], [](TBitmap* b) { DrawSwitchPicture(b, true); });
}

TExSwitch::TExSwitch(TComponent* AOwner) : TCustomControl(AOwner)
{
    RegisterSwitchPictures();
    SetBounds(Left(), Top(), 50, 60);
    SetTabStop(true);
    for (int i = 0; i < 2; ++i) {
        FBitmaps[i] = std::make_unique<TBitmap>();
        LoadBitmapResource(FBitmaps[i].get(), kPictureNames[i]);
        GlyphChanged(i);
        FBitmaps[i]->OnChange = [this, i](TObject*) { GlyphChanged(i); };
    }
    RegisterHandler(CM_DIALOGCHAR, [this](TMessage& m) {
        const char hot = GetHotkey(Caption());
        if (hot != 0 && toupper(static_cast<unsigned char>(m.WParam)) == hot && CanFocus()) {
            SetFocus();
            m.Result = 1;
        } else {
            Inherited(m);
        }
    });
    for (unsigned msg : {CM_ENABLEDCHANGED, CM_TEXTCHANGED})
        RegisterHandler(msg, [this](TMessage& m) {
            Inherited(m);
            Invalidate();
        });
}

TExSwitch::~TExSwitch()
{
    for (auto& b : FBitmaps)
        b->OnChange = nullptr;
}

void TExSwitch::SetStateOn(bool Value)
{
    if (Value == FStateOn)
        return;
    FStateOn = Value;
    Invalidate();
    if (Value)
        DoOn();
    else
        DoOff();
}

void TExSwitch::DoOn()
{
    if (OnOn)
        OnOn(this);
}

void TExSwitch::DoOff()
{
    if (OnOff)
        OnOff(this);
}

void TExSwitch::SetTextPosition(TTextPos Value)
{
    if (Value == FTextPosition)
        return;
    FTextPosition = Value;
    Invalidate();
}

void TExSwitch::SetBorderStyle(TBorderStyle Value)
{
    if (Value == FBorderStyle)
        return;
    FBorderStyle = Value;
    Invalidate();
}

void TExSwitch::SetShowFocus(bool Value)
{
    if (Value == FShowFocus)
        return;
    FShowFocus = Value;
    Invalidate();
}

TBitmap* TExSwitch::GetSwitchGlyph(int Index)
{
    Index = Index != 0;
    if (InState(csLoading))
        FUserBitmaps |= static_cast<uint8_t>(1u << Index);
    return FBitmaps[Index].get();
}

void TExSwitch::SetSwitchGlyph(int Index, TBitmap* Bitmap)
{
    Index = Index != 0;
    if (Bitmap) {
        FBitmaps[Index]->Assign(Bitmap);
        FUserBitmaps |= static_cast<uint8_t>(1u << Index);
    } else {
        LoadBitmapResource(FBitmaps[Index].get(), kPictureNames[Index]);
        FUserBitmaps &= static_cast<uint8_t>(~(1u << Index));
    }
}

void TExSwitch::GlyphChanged(int Index)
{
    FDisabledBitmaps[Index].reset();
    try {
        if (!FBitmaps[Index]->Empty())
            FDisabledBitmaps[Index].reset(CreateDisabledBitmap(FBitmaps[Index].get(), clBlack));
    } catch (const std::exception&) {
        // A glyph that cannot be embossed is drawn as it is when disabled.
    }
    Invalidate();
}

TRect TExSwitch::InnerRect() const
{
    TRect r = ClientRect();
    if (FBorderStyle == bsSingle)
        InflateRect(r, -1, -1);
    return r;
}

void TExSwitch::Paint()
{
    TCanvas* c = Canvas();
    c->SetFont(Font());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    if (FBorderStyle == bsSingle) {
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(ClientRect());
        c->Brush()->SetColor(Color());
    }
    TBitmap* glyph = FBitmaps[FStateOn].get();
    if (!Enabled() && FDisabledBitmaps[FStateOn])
        glyph = FDisabledBitmaps[FStateOn].get();
    const TSwitchPlacement place = SwitchPlacement(FTextPosition, InnerRect(), TSize{glyph->Width(), glyph->Height()});
    DrawBitmapTransparent(c, place.Glyph.x, place.Glyph.y, glyph, clDefault);
    if (FFocused && FShowFocus && TabStop() && !InState(csDesigning)) {
        TRect focus = Bounds(place.Glyph.x, place.Glyph.y, glyph->Width(), glyph->Height());
        InflateRect(focus, 1, 1);
        c->DrawFocusRect(focus);
    }
    if (FTextPosition != tpNone) {
        TRect r = place.Caption;
        c->Brush()->SetStyle(bsClear);
        DrawText(c, Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
    }
}

void TExSwitch::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    if (Button == mbLeft) {
        if (CanFocus())
            SetFocus();
        ToggleSwitch();
        if (!*alive)
            return;
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TExSwitch::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key != 0 && ShortCut(Key, Shift) == FToggleKey) {
        ToggleSwitch();
        Key = 0;
    }
}

void TExSwitch::DoEnter()
{
    FFocused = true;
    if (FShowFocus)
        Invalidate();
    TCustomControl::DoEnter();
}

void TExSwitch::DoExit()
{
    FFocused = false;
    if (FShowFocus)
        Invalidate();
    TCustomControl::DoExit();
}
