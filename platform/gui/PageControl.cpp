// The page control and its tab sheets.

#include "platform/gui/Canvas.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/DrawTextLayout.h"
#include "platform/gui/ListBoxes.h"

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle |= csAcceptsControls;
    SetVisible(false);
    SetColor(clBtnFace);
    RegisterHandler(CM_TEXTCHANGED, [this](TMessage& m) {
        Inherited(m);
        if (FPageControl)
            FPageControl->Invalidate();
    });
}

TTabSheet::~TTabSheet()
{
    Destroying();
    if (FPageControl)
        FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* v)
{
    if (v == FPageControl)
        return;
    if (FPageControl)
        FPageControl->RemovePage(this);
    FPageControl = v;
    SetParent(v);
    if (v)
        v->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl)
        return -1;
    for (int i = 0; i < FPageControl->PageCount(); ++i)
        if (FPageControl->Pages(i) == this)
            return i;
    return -1;
}

void TTabSheet::SetTabVisible(bool v)
{
    FTabVisible = v;
    if (FPageControl) {
        FPageControl->LayoutPages();
        FPageControl->Invalidate();
    }
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
    FControlStyle |= csAcceptsControls | csOpaque;
    SetColor(clBtnFace);
    RegisterHandler(WM_SIZE, [this](TMessage& m) {
        Inherited(m);
        LayoutPages();
    });
}

TPageControl::~TPageControl()
{
    Destroying();
    for (TTabSheet* p : FPages)
        p->FPageControl = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const
{
    if (index < 0 || index >= PageCount())
        ListIndexError(index);
    return FPages[static_cast<size_t>(index)];
}

void TPageControl::InsertPage(TTabSheet* page)
{
    FPages.push_back(page);
    if (!FActivePage)
        SetActivePage(page);
    LayoutPages();
    Invalidate();
}

void TPageControl::RemovePage(TTabSheet* page)
{
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end())
        return;
    size_t index = static_cast<size_t>(it - FPages.begin());
    FPages.erase(it);
    if (FActivePage == page) {
        FActivePage = nullptr;
        if (!FPages.empty() && !InState(csDestroying))
            SetActivePage(FPages[std::min(index, FPages.size() - 1)]);
    }
    Invalidate();
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int v)
{
    SetActivePage(v >= 0 && v < PageCount() ? FPages[static_cast<size_t>(v)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* v)
{
    if (v && v->FPageControl != this)
        return;
    if (v == FActivePage)
        return;
    if (FActivePage)
        FActivePage->SetVisible(false);
    FActivePage = v;
    if (v) {
        v->SetVisible(true);
        v->BringToFront();
    }
    LayoutPages();
    Invalidate();
}

std::vector<TTabPlace> TPageControl::Places()
{
    std::vector<int> widths;
    int selected = -1;
    Canvas()->SetFont(Font());
    for (TTabSheet* p : FPages) {
        if (!p->TabVisible())
            continue;
        if (p == FActivePage)
            selected = static_cast<int>(widths.size());
        widths.push_back(Canvas()->TextWidth(p->Caption()) + 12);
    }
    return LayoutTabs(widths, Width() - 4, FMultiLine, selected);
}

int TPageControl::RowCount() { return std::max(TabRowCount(Places()), 1); }

TRect TPageControl::TabRect(int index)
{
    std::vector<TTabPlace> places = Places();
    int rows = std::max(TabRowCount(places), 1);
    int visible = 0;
    for (int i = 0; i < PageCount(); ++i) {
        if (!FPages[static_cast<size_t>(i)]->TabVisible())
            continue;
        if (i == index) {
            const TTabPlace& p = places[static_cast<size_t>(visible)];
            int top = (rows - 1 - p.Row) * FTabHeight;
            return Rect(2 + p.Left, top, 2 + p.Left + p.Width, top + FTabHeight);
        }
        ++visible;
    }
    return TRect{};
}

int TPageControl::TabAtPos(TPoint p)
{
    for (int i = 0; i < PageCount(); ++i)
        if (FPages[static_cast<size_t>(i)]->TabVisible() && PtInRect(TabRect(i), p))
            return i;
    return -1;
}

void TPageControl::AdjustClientRect(TRect& Rect)
{
    Rect.Top += RowCount() * FTabHeight + 2;
    Rect.Left += 2;
    Rect.Right -= 2;
    Rect.Bottom -= 2;
}

void TPageControl::LayoutPages()
{
    TRect r = ClientRect();
    AdjustClientRect(r);
    for (TTabSheet* p : FPages)
        p->SetBounds(r.Left, r.Top, std::max(r.Width(), 0), std::max(r.Height(), 0));
}

void TPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    int i = Button == mbLeft ? TabAtPos(TPoint{X, Y}) : -1;
    if (i < 0 || FPages[static_cast<size_t>(i)] == FActivePage)
        return;
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    if (!allow)
        return;
    SetActivePageIndex(i);
    if (OnChange)
        OnChange(this);
}

void TPageControl::SetMultiLine(bool v)
{
    FMultiLine = v;
    LayoutPages();
    Invalidate();
}

void TPageControl::SetTabHeight(int v)
{
    FTabHeight = std::max(v, 1);
    LayoutPages();
    Invalidate();
}

void TPageControl::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    int top = RowCount() * FTabHeight;
    TRect page = Rect(0, top, Width(), Height());
    Frame3D(c, page, clBtnHighlight, clBtnShadow, 1);
    c->SetFont(Font());
    for (int i = 0; i < PageCount(); ++i) {
        if (!FPages[static_cast<size_t>(i)]->TabVisible())
            continue;
        TRect r = TabRect(i);
        bool active = FPages[static_cast<size_t>(i)] == FActivePage;
        if (!active) {
            r.Top += 2;
        } else {
            r.Left -= 2;
            r.Right += 2;
            r.Bottom += 1;
        }
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(r);
        c->Pen()->SetColor(clBtnHighlight);
        c->Polyline({{r.Left, r.Bottom - 1}, {r.Left, r.Top}, {r.Right - 1, r.Top}});
        c->Pen()->SetColor(clBtnShadow);
        c->Polyline({{r.Right - 1, r.Top}, {r.Right - 1, r.Bottom}});
        c->Brush()->SetStyle(bsClear);
        DrawText(c, FPages[static_cast<size_t>(i)]->Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        c->Brush()->SetStyle(bsSolid);
    }
}
