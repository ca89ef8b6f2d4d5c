#pragma once
// Draws and measures the items of a Qt item view (a list box, a combo box's list) through its
// control's CN_DRAWITEM and CN_MEASUREITEM, on the control's canvas bound to Qt's painter.

#include <QStyledItemDelegate>
#include <functional>

#include "platform/gui/StdMessages.h"

class TWinControl;

// The default handling of CN_DRAWITEM: highlight colours for a selected item, then drawItem for
// an item (an empty rectangle is filled), then the focus frame.
void DefaultDrawItemMessage(TMessage& message, const std::function<void(int, TRect, TOwnerDrawState)>& drawItem);
// An item's text as the list draws it: the rectangle filled, the text 2 pixels in, centred
// vertically.
void DrawItemText(TCanvas* canvas, TRect rect, const AnsiString& text);

class TOwnerDrawDelegate : public QStyledItemDelegate {
public:
    struct TRules {
        TCanvas* Canvas = nullptr;
        std::function<int()> ItemHeight;
        // Whether the control draws the items (else Qt's own look).
        std::function<bool()> Drawn;
        // The width an item asks for, given the width of its text (measured only when asked:
        // laying the text out costs more than the rest of the item).
        std::function<int(const std::function<int()>& textWidth)> Width;
    };
    // Owned by the view, which does not free its delegate itself.
    TOwnerDrawDelegate(TWinControl* control, TRules rules, QObject* view);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The item's user data kept in the view's model.
    static constexpr int kDataRole = Qt::UserRole;

private:
    TWinControl* FControl;
    TRules FRules;
};
