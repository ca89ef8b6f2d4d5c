#include "platform/gui/OwnerDrawDelegate.h"

#include "platform/gui/Canvas.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/DrawTextLayout.h"
#include "platform/gui/WinControl.h"

TOwnerDrawDelegate::TOwnerDrawDelegate(TWinControl* control, TRules rules, QObject* view)
    : QStyledItemDelegate(view), FControl(control), FRules(std::move(rules))
{}

void TOwnerDrawDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!FRules.Drawn()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    TCanvas* canvas = FRules.Canvas;
    canvas->BeginPaint(painter);
    TDrawItemStruct dis;
    dis.ItemID = index.row();
    dis.Canvas = canvas;
    const QRect r = option.rect;
    dis.Rect = TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    if (option.state & QStyle::State_Selected)
        dis.ItemState |= odSelected;
    if (option.state & QStyle::State_HasFocus)
        dis.ItemState |= odFocused;
    if (!FControl->Enabled())
        dis.ItemState |= odDisabled;
    dis.ItemData = static_cast<intptr_t>(index.data(kDataRole).toLongLong());
    canvas->SetFont(FControl->Font());
    canvas->Brush()->SetColor(FControl->Color());
    try {
        FControl->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    } catch (...) {
        TWidgetBridge::HandleException();
    }
    canvas->EndPaint();
}

QSize TOwnerDrawDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    TMeasureItemStruct mis;
    mis.ItemID = index.row();
    mis.ItemHeight = FRules.ItemHeight();
    try {
        FControl->Perform(CN_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    } catch (...) {
        TWidgetBridge::HandleException();
    }
    const int width = FRules.Width([&] { return QStyledItemDelegate::sizeHint(option, index).width(); });
    return QSize(width, std::max(mis.ItemHeight, 1));
}

void DefaultDrawItemMessage(TMessage& message, const std::function<void(int, TRect, TOwnerDrawState)>& drawItem)
{
    auto* dis = reinterpret_cast<TDrawItemStruct*>(message.LParam);
    TCanvas* c = dis->Canvas;
    if (dis->ItemState & odSelected) {
        c->Brush()->SetColor(clHighlight);
        c->Font()->SetColor(clHighlightText);
    }
    if (dis->ItemID >= 0)
        drawItem(dis->ItemID, dis->Rect, dis->ItemState);
    else
        c->FillRect(dis->Rect);
    if (dis->ItemState & odFocused)
        c->DrawFocusRect(dis->Rect);
}

void DrawItemText(TCanvas* canvas, TRect rect, const AnsiString& text)
{
    canvas->FillRect(rect);
    rect.Left += 2;
    canvas->Brush()->SetStyle(bsClear);
    DrawText(canvas, text, rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
}
