#include "platform/gui/ComboLook.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionComboBox>

#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Graphics.h"

namespace {

QColor Q(TColor c)
{
    return QColor::fromRgb(ColorToRGB(c) & 0xFF, (ColorToRGB(c) >> 8) & 0xFF, (ColorToRGB(c) >> 16) & 0xFF);
}

// Draws a combo's frame and drop button flat, by the look it is given.
class TFlatComboStyle : public QProxyStyle {
public:
    TFlatComboLook Look;

    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* w) const override
    {
        const auto* o = qstyleoption_cast<const QStyleOptionComboBox*>(opt);
        if (cc != CC_ComboBox || !o || !Look.Flat) {
            QProxyStyle::drawComplexControl(cc, opt, p, w);
            return;
        }
        const QRect r = o->rect;
        const bool enabled = o->state & State_Enabled;
        p->save();
        p->fillRect(r, o->palette.color(QPalette::Base));
        // The control border: a sunken edge while hot, else frames that blend with the parent.
        if (Look.HotBorder) {
            p->setPen(Q(clBtnShadow));
            p->drawLine(r.topLeft(), r.topRight());
            p->drawLine(r.topLeft(), r.bottomLeft());
            p->setPen(Q(clBtnHighlight));
            p->drawLine(r.bottomLeft(), r.bottomRight());
            p->drawLine(r.topRight(), r.bottomRight());
            p->setPen(Q(clBtnFace));
            p->drawRect(r.adjusted(1, 1, -2, -2));
        } else {
            p->setPen(Q(Look.ParentColor));
            p->drawRect(r.adjusted(0, 0, -1, -1));
            p->drawRect(r.adjusted(1, 1, -2, -2));
        }
        p->setPen(o->palette.color(QPalette::Base));
        p->drawRect(r.adjusted(2, 2, -3, -3));
        // The drop button in the rightmost ButtonWidth pixels, 1 px inset.
        const QRect button = ButtonRect(r);
        const QRect face = button.adjusted(-2 + 2, 2, -2, -2);
        if (Look.HotButton && enabled) {
            p->fillRect(face, Q(clBtnFace));
            const bool sunken = Look.Dropped;
            p->setPen(Q(sunken ? clBtnShadow : clBtnHighlight));
            p->drawLine(face.topLeft(), face.topRight());
            p->drawLine(face.topLeft(), face.bottomLeft());
            p->setPen(Q(sunken ? clBtnHighlight : clBtnShadow));
            p->drawLine(face.bottomLeft(), face.bottomRight());
            p->drawLine(face.topRight(), face.bottomRight());
            if (Look.Etched && !sunken) {
                p->setPen(Q(clBtnHighlight));
                p->drawRect(face.adjusted(1, 1, -1, -1));
            }
        } else {
            p->fillRect(face, Q(clBtnFace));
        }
        // The arrow.
        const QPoint c = face.center() + (Look.Dropped ? QPoint(1, 1) : QPoint());
        p->setPen(Qt::NoPen);
        p->setBrush(enabled ? Q(clBtnText) : Q(clGrayText));
        const QPoint arrow[3] = {c + QPoint(-3, -1), c + QPoint(4, -1), c + QPoint(0, 3)};
        p->drawPolygon(arrow, 3);
        p->restore();
    }
    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                         const QWidget* w) const override
    {
        if (cc != CC_ComboBox || !Look.Flat)
            return QProxyStyle::subControlRect(cc, opt, sc, w);
        const QRect r = opt->rect;
        if (sc == SC_ComboBoxArrow)
            return ButtonRect(r);
        if (sc == SC_ComboBoxEditField)
            return QRect(r.left() + 3, r.top() + 3, r.width() - Look.ButtonWidth - 5, r.height() - 6);
        if (sc == SC_ComboBoxFrame)
            return r;
        return QProxyStyle::subControlRect(cc, opt, sc, w);
    }
    SubControl hitTestComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, const QPoint& pt,
                                     const QWidget* w) const override
    {
        if (cc == CC_ComboBox && Look.Flat)
            return ButtonRect(opt->rect).contains(pt) ? SC_ComboBoxArrow : SC_ComboBoxEditField;
        return QProxyStyle::hitTestComplexControl(cc, opt, pt, w);
    }

private:
    QRect ButtonRect(const QRect& r) const
    {
        return QRect(r.right() - Look.ButtonWidth, r.top() + 1, Look.ButtonWidth, r.height() - 2);
    }
};

QComboBox* ComboOf(TCustomComboBox* c) { return qobject_cast<QComboBox*>(c->Handle()); }

// The byte offset of a Qt position in the text.
int Bytes(const QString& text, int pos) { return static_cast<int>(QStringToAnsi(text.left(pos)).size()); }

int QtPos(const QString& text, int bytes)
{
    int pos = 0;
    while (pos < text.size() && Bytes(text, pos + 1) <= bytes)
        ++pos;
    return pos;
}

}  // namespace

void SetComboLook(TCustomComboBox* Combo, const TFlatComboLook& Look)
{
    QComboBox* w = ComboOf(Combo);
    auto* style = dynamic_cast<TFlatComboStyle*>(w->style());
    if (!style) {
        if (!Look.Flat)
            return;
        style = new TFlatComboStyle;
        style->setParent(w);
        w->setStyle(style);
        if (QLineEdit* e = w->lineEdit())
            e->setFrame(false);
    }
    style->Look = Look;
    w->update();
}

void SetComboDropWidth(TCustomComboBox* Combo, int Width)
{
    QComboBox* w = ComboOf(Combo);
    w->view()->setMinimumWidth(std::max(Width, w->width()));
}

int ComboDropWidth(TCustomComboBox* Combo)
{
    QComboBox* w = ComboOf(Combo);
    return std::max(w->view()->minimumWidth(), w->width());
}

void ComboEditSel(TCustomComboBox* Combo, int& Start, int& End)
{
    Start = End = 0;
    QLineEdit* e = ComboOf(Combo)->lineEdit();
    if (!e)
        return;
    const int s = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    const int t = e->hasSelectedText() ? e->selectionEnd() : e->cursorPosition();
    Start = Bytes(e->text(), s);
    End = Bytes(e->text(), t);
}

void SetComboEditSel(TCustomComboBox* Combo, int Start, int End)
{
    QLineEdit* e = ComboOf(Combo)->lineEdit();
    if (!e)
        return;
    const int s = QtPos(e->text(), Start), t = QtPos(e->text(), End < 0 ? 1 << 30 : End);
    e->setSelection(s, t - s);
}

void SetComboCaretAt(TCustomComboBox* Combo, TPoint Client)
{
    QComboBox* w = ComboOf(Combo);
    QLineEdit* e = w->lineEdit();
    if (!e)
        return;
    const QPoint p = e->mapFrom(w, QPoint(Client.x, Client.y));
    e->deselect();
    e->setCursorPosition(e->cursorPositionAt(p));
}
