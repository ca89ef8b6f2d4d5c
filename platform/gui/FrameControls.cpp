#include "platform/gui/FrameControls.h"

#include <algorithm>
#include <vector>

namespace {

void Fill(TCanvas* c, const TRect& r, TColor color)
{
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(color);
    c->FillRect(r);
}

// One line of an edge on the flagged sides of r, which then shrinks past it: top and left in
// topLeft, then bottom and right, over the corners, in bottomRight.
void EdgeLine(TCanvas* c, TRect& r, unsigned flags, TColor topLeft, TColor bottomRight)
{
    if (r.IsEmpty())
        return;
    if (flags & BF_TOP)
        Fill(c, TRect{r.Left, r.Top, r.Right - 1, r.Top + 1}, topLeft);
    if (flags & BF_LEFT)
        Fill(c, TRect{r.Left, r.Top, r.Left + 1, r.Bottom - 1}, topLeft);
    if (flags & BF_BOTTOM)
        Fill(c, TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
    if (flags & BF_RIGHT)
        Fill(c, TRect{r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
    r.Left += (flags & BF_LEFT) ? 1 : 0;
    r.Top += (flags & BF_TOP) ? 1 : 0;
    r.Right -= (flags & BF_RIGHT) ? 1 : 0;
    r.Bottom -= (flags & BF_BOTTOM) ? 1 : 0;
}

// The colours of an edge line: raised or sunken, outer or inner.
void EdgeColors(unsigned line, unsigned flags, TColor& topLeft, TColor& bottomRight)
{
    const bool outer = line & (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
    if (flags & BF_MONO) {
        topLeft = bottomRight = outer ? clWindowFrame : clWindow;
        return;
    }
    if (flags & BF_FLAT) {
        topLeft = bottomRight = outer ? clBtnShadow : clBtnFace;
        return;
    }
    switch (line) {
    case BDR_RAISEDOUTER:
        topLeft = (flags & BF_SOFT) ? clBtnHighlight : cl3DLight;
        bottomRight = cl3DDkShadow;
        break;
    case BDR_RAISEDINNER:
        topLeft = (flags & BF_SOFT) ? cl3DLight : clBtnHighlight;
        bottomRight = clBtnShadow;
        break;
    case BDR_SUNKENOUTER:
        topLeft = clBtnShadow;
        bottomRight = clBtnHighlight;
        break;
    default:
        topLeft = cl3DDkShadow;
        bottomRight = cl3DLight;
        break;
    }
}

// A filled triangle pointing in the scroll direction, centred in r.
void Arrow(TCanvas* c, const TRect& r, unsigned part, TColor color)
{
    const int side = std::min(r.Width(), r.Height());
    const int h = std::max(2, (side - 4) / 3), cx = r.Left + (r.Width() - 1) / 2, cy = r.Top + (r.Height() - 1) / 2;
    std::vector<TPoint> points;
    switch (part) {
    case DFCS_SCROLLUP:
        points = {{cx - h + 1, cy + h / 2}, {cx + h - 1, cy + h / 2}, {cx, cy - (h - 1) + h / 2}};
        break;
    case DFCS_SCROLLLEFT:
        points = {{cx + h / 2, cy - h + 1}, {cx + h / 2, cy + h - 1}, {cx - (h - 1) + h / 2, cy}};
        break;
    case DFCS_SCROLLRIGHT:
        points = {{cx - h / 2, cy - h + 1}, {cx - h / 2, cy + h - 1}, {cx + (h - 1) - h / 2, cy}};
        break;
    default:  // down, and the combo box's button
        points = {{cx - h + 1, cy - h / 2}, {cx + h - 1, cy - h / 2}, {cx, cy + (h - 1) - h / 2}};
        break;
    }
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(color);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(color);
    c->Polygon(points);
}

void PushButton(TCanvas* c, TRect r, unsigned state)
{
    const bool pushed = state & (DFCS_PUSHED | DFCS_CHECKED);
    if (state & DFCS_FLAT) {
        c->Brush()->SetColor(pushed ? clBtnShadow : clBtnFace);
        c->FrameRect(r);
        r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        Fill(c, r, clBtnFace);
        return;
    }
    DrawEdge(c, r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | (pushed ? 0u : unsigned(BF_SOFT)));
}

void CheckBox(TCanvas* c, const TRect& box, unsigned state)
{
    TRect r = box;
    DrawEdge(c, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST | (state & DFCS_FLAT ? unsigned(BF_FLAT) : 0u));
    Fill(c, r, state & (DFCS_INACTIVE | DFCS_PUSHED) ? clBtnFace : clWindow);
    if (!(state & DFCS_CHECKED) || r.Width() < 7 || r.Height() < 7)
        return;
    // The 7 x 7 tick: each column three pixels high, down to the third column, then up.
    const TColor ink = state & DFCS_INACTIVE ? clGrayText : clWindowText;
    const int x0 = r.Left + (r.Width() - 7) / 2, y0 = r.Top + (r.Height() - 7) / 2;
    static const int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        Fill(c, TRect{x0 + i, y0 + kTop[i], x0 + i + 1, y0 + kTop[i] + 3}, ink);
}

void RadioButton(TCanvas* c, const TRect& box, unsigned state)
{
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(clBtnShadow);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(state & (DFCS_INACTIVE | DFCS_PUSHED) ? clBtnFace : clWindow);
    c->Ellipse(box);
    if (!(state & DFCS_CHECKED))
        return;
    const int d = std::max(2, box.Width() / 3);
    const int x = box.Left + (box.Width() - d) / 2, y = box.Top + (box.Height() - d) / 2;
    const TColor ink = state & DFCS_INACTIVE ? clGrayText : clWindowText;
    c->Pen()->SetColor(ink);
    c->Brush()->SetColor(ink);
    c->Ellipse(x, y, x + d, y + d);
}

}  // namespace

bool DrawEdge(TCanvas* Canvas, TRect& Rect, unsigned Edge, unsigned Flags)
{
    if (!Canvas)
        return false;
    TCanvasToolsKept kept(Canvas);
    TRect r = Rect;
    for (const unsigned line :
         {Edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER), Edge & (BDR_RAISEDINNER | BDR_SUNKENINNER)}) {
        if (line == 0)
            continue;
        // Both kinds of one line asked for at once: the raised one.
        const unsigned one =
            line & (BDR_RAISEDOUTER | BDR_RAISEDINNER) ? line & (BDR_RAISEDOUTER | BDR_RAISEDINNER) : line;
        TColor topLeft = clNone, bottomRight = clNone;
        EdgeColors(one, Flags, topLeft, bottomRight);
        EdgeLine(Canvas, r, Flags, topLeft, bottomRight);
    }
    if ((Flags & BF_MIDDLE) && !r.IsEmpty())
        Fill(Canvas, r, Flags & BF_MONO ? clWindow : clBtnFace);
    if (Flags & BF_ADJUST)
        Rect = r;
    return true;
}

bool DrawFrameControl(TCanvas* Canvas, TRect& Rect, unsigned Kind, unsigned State)
{
    if (!Canvas || Rect.IsEmpty())
        return false;
    TCanvasToolsKept kept(Canvas);
    const int side = std::min(Rect.Width(), Rect.Height());
    const TRect square{Rect.Left, Rect.Top, Rect.Left + side, Rect.Top + side};
    if (Kind == DFC_BUTTON) {
        switch (State & 0x1F) {
        case DFCS_BUTTONPUSH: PushButton(Canvas, Rect, State); return true;
        case DFCS_BUTTONCHECK:
        case DFCS_BUTTON3STATE: CheckBox(Canvas, square, State); return true;
        case DFCS_BUTTONRADIO: RadioButton(Canvas, square, State); return true;
        default: return false;
        }
    }
    if (Kind == DFC_SCROLL) {
        const unsigned part = State & 0x1F;
        if (part > DFCS_SCROLLRIGHT && part != DFCS_SCROLLCOMBOBOX)
            return false;
        PushButton(Canvas, Rect, (State & DFCS_PUSHED) ? State | DFCS_FLAT : State);
        TRect arrow = Rect;
        if (State & DFCS_PUSHED) {
            arrow.Left += 1;
            arrow.Top += 1;
        }
        Arrow(Canvas, arrow, part, State & DFCS_INACTIVE ? clGrayText : clBtnText);
        return true;
    }
    return false;
}
