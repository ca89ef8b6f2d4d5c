// Status bar, tool bar with its buttons, and control bar.

#include "platform/gui/Canvas.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/DrawTextLayout.h"
#include "platform/gui/ListBoxes.h"

// --- TStatusBar -------------------------------------------------------------------------------

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 200, 19);
    FControlStyle |= csAcceptsControls | csOpaque;
    SetColor(clBtnFace);
    SetAlign(alBottom);
}

TStatusPanel* TStatusBar::Panels(int index) const
{
    if (index < 0 || index >= PanelCount())
        ListIndexError(index);
    return FPanels[static_cast<size_t>(index)].get();
}

TStatusPanel* TStatusBar::AddPanel()
{
    FPanels.push_back(std::make_unique<TStatusPanel>());
    Invalidate();
    return FPanels.back().get();
}

void TStatusBar::ClearPanels()
{
    FPanels.clear();
    Invalidate();
}

void TStatusBar::SetSimplePanel(bool v)
{
    FSimplePanel = v;
    Invalidate();
}

void TStatusBar::SetSimpleText(const AnsiString& v)
{
    FSimpleText = v;
    Invalidate();
}

void TStatusBar::SetSizeGrip(bool v)
{
    FSizeGrip = v;
    Invalidate();
}

TRect TStatusBar::PanelRect(int index) const
{
    int x = 0;
    for (int i = 0; i < index && i < PanelCount(); ++i)
        x += FPanels[static_cast<size_t>(i)]->Width + 2;
    int w = index == PanelCount() - 1 ? std::max(Width() - x, 0) : Panels(index)->Width;
    return Rect(x, 2, x + w, Height());
}

void TStatusBar::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    c->SetFont(Font());
    auto text = [&](TRect r, const AnsiString& s, TAlignment a) {
        r.Left += 2;
        r.Right -= 2;
        c->Brush()->SetStyle(bsClear);
        unsigned align = a == taRightJustify ? DT_RIGHT : a == taCenter ? DT_CENTER : DT_LEFT;
        DrawText(c, s, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align);
        c->Brush()->SetStyle(bsSolid);
    };
    if (FSimplePanel) {
        TRect r = Rect(0, 2, Width(), Height());
        Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
        text(r, FSimpleText, taLeftJustify);
        return;
    }
    for (int i = 0; i < PanelCount(); ++i) {
        TStatusPanel* p = Panels(i);
        TRect r = PanelRect(i);
        if (p->Bevel != pbNone)
            Frame3D(c, r, p->Bevel == pbLowered ? clBtnShadow : clBtnHighlight,
                    p->Bevel == pbLowered ? clBtnHighlight : clBtnShadow, 1);
        if (p->Style == psOwnerDraw && OnDrawPanel)
            OnDrawPanel(this, p, r);
        else
            text(r, p->Text, p->Alignment);
    }
}

// --- TToolButton ------------------------------------------------------------------------------

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 23, 22);
    FControlStyle &= ~csCaptureMouse;
    FControlStyle |= csCaptureMouse;
}

void TToolButton::SetStyle(TToolButtonStyle v)
{
    FStyle = v;
    if (auto* bar = dynamic_cast<TToolBar*>(Parent()))
        bar->ArrangeButtons();
    Invalidate();
}

void TToolButton::SetDown(bool v)
{
    if (v == FDown)
        return;
    FDown = v;
    // Grouped check buttons next to each other: one is down at a time.
    if (v && FGrouped && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TToolButton*>(Parent()->Controls(i)); b && b != this && b->FGrouped)
                b->SetDown(false);
    }
    Invalidate();
}

void TToolButton::SetImageIndex(int v)
{
    FImageIndex = v;
    Invalidate();
}

void TToolButton::Click()
{
    if (FStyle == tbsCheck)
        SetDown(!FDown || FGrouped);
    TGraphicControl::Click();
}

void TToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FPressed = Button == mbLeft && FStyle != tbsSeparator && FStyle != tbsDivider;
    Invalidate();
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FPressed = false;
    Invalidate();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TToolButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(r);
    if (FStyle == tbsSeparator || FStyle == tbsDivider) {
        if (FStyle == tbsDivider) {
            TRect line = Rect(r.Width() / 2 - 1, 2, r.Width() / 2 + 1, r.Height() - 2);
            Frame3D(c, line, clBtnShadow, clBtnHighlight, 1);
        }
        return;
    }
    auto* bar = dynamic_cast<TToolBar*>(Parent());
    bool sunken = FPressed || FDown;
    if (sunken || !(bar && bar->Flat()))
        Frame3D(c, r, sunken ? clBtnShadow : clBtnHighlight, sunken ? clBtnHighlight : clBtnShadow, 1);
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    if (!Enabled())
        c->Font()->SetColor(clGrayText);
    DrawText(c, Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

// --- TToolBar ---------------------------------------------------------------------------------

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 150, 29);
    FControlStyle |= csAcceptsControls | csOpaque;
    SetColor(clBtnFace);
    SetAlign(alTop);
    RegisterHandler(WM_SIZE, [this](TMessage& m) {
        Inherited(m);
        ArrangeButtons();
    });
}

int TToolBar::ButtonCount() const
{
    int n = 0;
    for (int i = 0; i < ControlCount(); ++i)
        n += dynamic_cast<TToolButton*>(Controls(i)) ? 1 : 0;
    return n;
}

TToolButton* TToolBar::Buttons(int index) const
{
    for (int i = 0, n = 0; i < ControlCount(); ++i)
        if (auto* b = dynamic_cast<TToolButton*>(Controls(i)); b && n++ == index)
            return b;
    ListIndexError(index);
}

void TToolBar::ArrangeButtons()
{
    if (FArranging)
        return;
    FArranging = true;
    int x = 0, y = 2;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible())
            continue;
        auto* b = dynamic_cast<TToolButton*>(c);
        int w = b && (b->Style() == tbsSeparator || b->Style() == tbsDivider) ? 8 : (b ? FButtonWidth : c->Width());
        int h = b ? FButtonHeight : c->Height();
        if (x > 0 && x + w > Width()) {
            x = 0;
            y += FButtonHeight;
        }
        c->SetBounds(x, y, w, h);
        x += w;
    }
    FArranging = false;
}

void TToolBar::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

void TToolBar::SetButtonWidth(int v)
{
    FButtonWidth = std::max(v, 1);
    ArrangeButtons();
}

void TToolBar::SetButtonHeight(int v)
{
    FButtonHeight = std::max(v, 1);
    ArrangeButtons();
}

void TToolBar::SetFlat(bool v)
{
    FFlat = v;
    Invalidate();
}

void TToolBar::SetShowCaptions(bool v)
{
    FShowCaptions = v;
    Invalidate();
}

// --- TControlBar ------------------------------------------------------------------------------

TControlBar::TControlBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 100, 50);
    FControlStyle |= csAcceptsControls | csOpaque;
    SetColor(clBtnFace);
    RegisterHandler(WM_SIZE, [this](TMessage& m) {
        Inherited(m);
        ArrangeBands();
    });
}

void TControlBar::ArrangeBands()
{
    if (FArranging)
        return;
    FArranging = true;
    int x = 0, y = 2, rowHeight = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible())
            continue;
        int w = c->Width() + kGrabWidth + 4;
        if (x > 0 && x + w > Width()) {
            x = 0;
            y += rowHeight + 4;
            rowHeight = 0;
        }
        c->SetBounds(x + kGrabWidth + 2, y + 2, c->Width(), c->Height());
        rowHeight = std::max(rowHeight, c->Height());
        x += w;
    }
    FArranging = false;
    Invalidate();
}

void TControlBar::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* ctl = Controls(i);
        if (!ctl->Visible())
            continue;
        TRect band = Rect(ctl->Left() - kGrabWidth - 2, ctl->Top() - 2, ctl->Left() + ctl->Width() + 2,
                          ctl->Top() + ctl->Height() + 2);
        Frame3D(c, band, clBtnHighlight, clBtnShadow, 1);
        TRect grab = Rect(band.Left + 3, band.Top + 2, band.Left + 6, band.Bottom - 2);
        Frame3D(c, grab, clBtnHighlight, clBtnShadow, 1);
    }
}
