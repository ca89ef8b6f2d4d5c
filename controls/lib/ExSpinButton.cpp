// The diagonal spin button (its faces, the half under the pointer, auto-repeat) and the up-down
// held at position 0.

#include <algorithm>
#include <iterator>

#include "controls/lib/ExSpin.h"
#include "controls/lib/FlaggedCall.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Resources.h"
#include "platform/gui/SystemMetrics.h"

namespace {

// The two 6 x 6 arrows, black on a white (see-through) ground.
const char* const kSpinUp[] = {"......", "..#...", ".###..", "#####.", "......", "......"};
const char* const kSpinDown[] = {"......", "......", "#####.", ".###..", "..#...", "......"};

void DrawRows(TBitmap* b, const char* const* rows, int count)
{
    b->SetSize(6, count);
    for (int y = 0; y < count; ++y)
        for (int x = 0; x < 6; ++x)
            b->Canvas()->SetPixels(x, y, rows[y][x] == '#' ? clBlack : clWhite);
    b->Canvas()->Brush()->SetColor(clWhite);  // the ground stays white in one bit a pixel
    b->SetMonochrome(true);
}

bool RegisterSpinGlyphs()
{
    RegisterBitmapResource("EXSPINUP", [](TBitmap* b) { DrawRows(b, kSpinUp, int(std::size(kSpinUp))); });
    RegisterBitmapResource("EXSPINDOWN", [](TBitmap* b) { DrawRows(b, kSpinDown, int(std::size(kSpinDown))); });
    return true;
}
const bool kSpinGlyphs = RegisterSpinGlyphs();

int Nearest(double v) { return static_cast<int>(RoundToEven(v)); }

}  // namespace

int DefaultSpinButtonWidth() { return std::min(GetSystemMetrics(SM_CXVSCROLL), 15); }

// --- TExSpinButton ------------------------------------------------------------------------------

TExSpinButton::TExSpinButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FUpBitmap(std::make_unique<TBitmap>()), FDownBitmap(std::make_unique<TBitmap>()),
      FTopDownBmp(std::make_unique<TBitmap>()), FBottomDownBmp(std::make_unique<TBitmap>()),
      FNotDownBmp(std::make_unique<TBitmap>())
{
    LoadBitmapResource(FUpBitmap.get(), "EXSPINUP");
    LoadBitmapResource(FDownBitmap.get(), "EXSPINDOWN");
    FUpBitmap->OnChange = [this](TObject*) { GlyphChanged(); };
    FDownBitmap->OnChange = [this](TObject*) { GlyphChanged(); };
    SetBounds(Left(), Top(), 20, 20);
    DrawAllBitmap();
    RegisterHandler(CM_ENABLEDCHANGED, [this](TMessage& m) {
        Inherited(m);
        GlyphChanged();
    });
}

TExSpinButton::~TExSpinButton()
{
    FUpBitmap->OnChange = nullptr;
    FDownBitmap->OnChange = nullptr;
}

void TExSpinButton::GlyphChanged()
{
    FNeedsRedraw = true;
    Invalidate();
}

void TExSpinButton::SetUpGlyph(TBitmap* Value)
{
    if (Value)
        FUpBitmap->Assign(Value);
    else
        LoadBitmapResource(FUpBitmap.get(), "EXSPINUP");
    GlyphChanged();
}

void TExSpinButton::SetDownGlyph(TBitmap* Value)
{
    if (Value)
        FDownBitmap->Assign(Value);
    else
        LoadBitmapResource(FDownBitmap.get(), "EXSPINDOWN");
    GlyphChanged();
}

void TExSpinButton::SetDown(TSpinButtonState Value)
{
    if (Value == FDown)
        return;
    FDown = Value;
    Repaint();
}

void TExSpinButton::SetFocusControl(TWinControl* Value)
{
    FFocusControl = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TExSpinButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TExSpinButton::TopClick()
{
    if (!OnTopClick)
        return;
    TAliveToken alive = AliveToken();
    OnTopClick(this);
    if (*alive && !(ControlState() & csLButtonDown))
        SetDown(sbNotDown);
}

void TExSpinButton::BottomClick()
{
    if (!OnBottomClick)
        return;
    TAliveToken alive = AliveToken();
    OnBottomClick(this);
    if (*alive && !(ControlState() & csLButtonDown))
        SetDown(sbNotDown);
}

void TExSpinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (!*alive || Button != mbLeft || !Enabled())
        return;
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused()) {
        FFocusControl->SetFocus();
        if (!*alive)
            return;
    }
    if (FDown == sbNotDown) {
        FLastDown = sbNotDown;
        FDown = SpinButtonHalf(X, Y, Width(), Height());
        if (FDown == sbBottomDown)
            BottomClick();
        else
            TopClick();
        if (!*alive)
            return;
        if (FDown != FLastDown) {
            FLastDown = FDown;
            Repaint();
        }
        if (!FRepeatTimer) {
            FRepeatTimer = std::make_unique<TTimer>(nullptr);
            FRepeatTimer->SetOnTimer([this](TObject*) { TimerExpired(); });
        }
        FRepeatTimer->SetEnabled(false);
        FRepeatTimer->SetInterval(400);
        FRepeatTimer->SetEnabled(true);
    }
    FDragging = true;
}

void TExSpinButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!*alive || !FDragging)
        return;
    TSpinButtonState next = FDown;
    if (X >= 0 && X <= Width() && Y >= 0 && Y <= Height()) {
        if (SpinButtonHalf(X, Y, Width(), Height()) == sbBottomDown) {
            if (FDown != sbBottomDown)
                next = FLastDown == sbBottomDown ? sbBottomDown : sbNotDown;
        } else if (FDown != sbTopDown) {
            next = FLastDown == sbTopDown ? sbTopDown : sbNotDown;
        }
    } else {
        next = sbNotDown;
    }
    SetDown(next);
}

void TExSpinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAliveToken alive = AliveToken();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!*alive || !FDragging)
        return;
    FDragging = false;
    if (X >= 0 && X <= Width() && Y >= 0 && Y <= Height()) {
        FDown = sbNotDown;
        FLastDown = sbNotDown;
        Repaint();
    }
}

void TExSpinButton::TimerExpired()
{
    FRepeatTimer->SetInterval(100);
    if (FDown == sbNotDown || !MouseCapture())
        return;
    TAliveToken alive = AliveToken();
    try {
        if (FDown == sbBottomDown)
            BottomClick();
        else
            TopClick();
    } catch (...) {
        if (*alive && FRepeatTimer)
            FRepeatTimer->SetEnabled(false);
        throw;
    }
}

void TExSpinButton::Paint()
{
    if (!Enabled() && !InState(csDesigning))
        FDragging = false;
    if (FNotDownBmp->Width() != Width() || FNotDownBmp->Height() != Height() || FNeedsRedraw)
        DrawAllBitmap();
    FNeedsRedraw = false;
    TBitmap* face = FDown == sbTopDown ? FTopDownBmp.get()
        : FDown == sbBottomDown        ? FBottomDownBmp.get()
                                       : FNotDownBmp.get();
    Canvas()->Draw(0, 0, face);
}

void TExSpinButton::DrawAllBitmap()
{
    DrawBitmap(FTopDownBmp.get(), sbTopDown);
    DrawBitmap(FBottomDownBmp.get(), sbBottomDown);
    DrawBitmap(FNotDownBmp.get(), sbNotDown);
}

void TExSpinButton::DrawBitmap(TBitmap* ABitmap, TSpinButtonState ADownState)
{
    const int w = Width(), h = Height();
    ABitmap->SetSize(w, h);
    TCanvas* c = ABitmap->Canvas();
    c->Pen()->SetWidth(1);
    c->Brush()->SetColor(clBtnFace);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(Rect(0, 0, w, h));
    auto line = [c](std::initializer_list<TPoint> points) {
        const TPoint* p = points.begin();
        c->MoveTo(p->x, p->y);
        for (++p; p != points.end(); ++p)
            c->LineTo(p->x, p->y);
    };
    // Outline and the dividing diagonal.
    c->Pen()->SetColor(clWindowFrame);
    line({{0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}, {0, 0}});
    line({{-1, h}, {w, -1}});
    // The top half's edges.
    c->Pen()->SetColor(ADownState == sbTopDown ? clBtnShadow : clBtnHighlight);
    line({{1, h - 4}, {1, 1}, {w - 3, 1}});
    if (ADownState != sbTopDown) {
        c->Pen()->SetColor(clBtnShadow);
        line({{1, h - 3}, {w - 2, 0}});
    }
    // The bottom half's edges.
    c->Pen()->SetColor(ADownState == sbBottomDown ? clBtnHighlight : clBtnShadow);
    line({{2, h - 2}, {w - 2, h - 2}, {w - 2, 1}});
    c->Pen()->SetColor(ADownState == sbBottomDown ? clBtnShadow : clBtnHighlight);
    line({{2, h - 2}, {w - 1, 1}});
    // The arrows, the top one shifted by the press.
    const int d = ADownState == sbTopDown ? 2 : 1;
    const int gw = FUpBitmap->Width(), gh = FUpBitmap->Height();
    const int upX = Nearest(w / 4.0 - gw / 2.0) + d, upY = Nearest(h / 4.0 - gh / 2.0) + d;
    c->BrushCopy(Bounds(upX, upY, gw, gh), FUpBitmap.get(), Rect(0, 0, gw, gh), FUpBitmap->TransparentColor());
    const int dw = FDownBitmap->Width(), dh = FDownBitmap->Height();
    const int downX = Nearest(3 * w / 4.0 - dw / 2.0) - 1, downY = Nearest(3 * h / 4.0 - dh / 2.0) - 1;
    c->BrushCopy(Bounds(downX, downY, dw, dh), FDownBitmap.get(), Rect(0, 0, dw, dh), FDownBitmap->TransparentColor());
    if (ADownState == sbBottomDown) {
        c->Pen()->SetColor(clBtnShadow);
        line({{3, h - 2}, {w - 1, 2}});
    }
}

// --- TExUpDown ----------------------------------------------------------------------------------

TExUpDown::TExUpDown(TComponent* AOwner) : TCustomUpDown(AOwner)
{
    SetOrientation(udVertical);
    SetMin(-1);
    SetMax(1);
    SetPosition(0);
    for (unsigned msg : {CN_VSCROLL, CN_HSCROLL}) {
        RegisterHandler(msg, [this](TMessage& m) {
            if ((m.WParam & 0xFFFF) != SB_THUMBPOSITION || FChanging)
                return;
            const int pos = static_cast<int16_t>((m.WParam >> 16) & 0xFFFF);
            const bool alive = WhileFlagged(FChanging, AliveToken(), [&] {
                if (pos > 0 && OnClick)
                    OnClick(this, btNext);
                else if (pos < 0 && OnClick)
                    OnClick(this, btPrev);
            });
            if (alive)
                SetPosition(0);
        });
    }
    RegisterHandler(WM_SIZE, [this](TMessage& m) {
        Inherited(m);
        if (Width() != DefaultSpinButtonWidth())
            SetWidth(DefaultSpinButtonWidth());
    });
}

TExUpDown::~TExUpDown() { OnClick = nullptr; }
