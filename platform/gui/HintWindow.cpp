#include "platform/gui/HintWindow.h"

#include <QPainter>
#include <QWidget>

#include "platform/gui/DrawText.h"

namespace {

constexpr unsigned kHintTextFlags = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;

class THintWidget : public QWidget {
public:
    explicit THintWidget(THintWindow* owner)
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), FOwner(owner)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        TCanvas canvas;
        canvas.BeginPaint(&painter);
        FOwner->PaintOn(&canvas, TRect{0, 0, width(), height()});
        canvas.EndPaint();
    }

private:
    THintWindow* FOwner;
};

}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TComponent(AOwner) { FFont.SetColor(clInfoText); }

THintWindow::~THintWindow() = default;

QWidget* THintWindow::Widget()
{
    if (!FWidget)
        FWidget = std::make_unique<THintWidget>(this);
    return FWidget.get();
}

void THintWindow::SetColor(TColor Value)
{
    FColor = Value;
    if (FWidget)
        FWidget->update();
}

TRect THintWindow::CalcHintRect(int MaxWidth, const AnsiString& AHint)
{
    TCanvas canvas;
    canvas.SetFont(&FFont);
    TRect r{0, 0, MaxWidth, 0};
    DrawText(&canvas, AHint, r, kHintTextFlags | DT_CALCRECT);
    r.Right += 6;
    r.Bottom += 2;
    return r;
}

void THintWindow::ActivateHint(const TRect& Rect, const AnsiString& AHint)
{
    FCaption = AHint;
    QWidget* w = Widget();
    w->setGeometry(Rect.Left, Rect.Top, std::max(1, Rect.Width()), std::max(1, Rect.Height()));
    w->show();
    w->raise();
    w->update();
}

void THintWindow::ReleaseHandle()
{
    if (FWidget)
        FWidget->hide();
}

bool THintWindow::Visible() const { return FWidget && FWidget->isVisible(); }

TRect THintWindow::BoundsRect() const
{
    if (!FWidget)
        return TRect{};
    const QRect g = FWidget->geometry();
    return TRect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void THintWindow::PaintOn(TCanvas* Canvas, const TRect& Client)
{
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(FColor);
    Canvas->FillRect(Client);
    Canvas->Brush()->SetColor(clWindowFrame);
    Canvas->FrameRect(Client);
    Canvas->SetFont(&FFont);
    Canvas->Brush()->SetStyle(bsClear);
    TRect text{Client.Left + 2, Client.Top + 2, Client.Right - 2, Client.Bottom};
    DrawText(Canvas, FCaption, text, kHintTextFlags);
}
