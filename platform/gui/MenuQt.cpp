// The Qt side of the menus: each item with sub-items gets a QMenu, each item a QAction, built
// on demand and refreshed in place when a property changes. An owner-drawn menu measures and
// paints its items through a proxy style that hands each item to TMenu::MeasureItem/DrawItem.

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <algorithm>

#include "platform/core/Cp949.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Menus.h"

#include "platform/gui/MenuQt.h"

namespace {

TMenuItem* ItemOfAction(const QAction* action)
{
    return action ? static_cast<TMenuItem*>(action->data().value<void*>()) : nullptr;
}

// Reads the item back from the style option (see TQtMenu::initStyleOption).
TMenuItem* ItemOfOption(const QStyleOption* option)
{
    return ItemOfAction(qobject_cast<const QAction*>(option ? option->styleObject : nullptr));
}

class TOwnerDrawStyle : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        TMenuItem* item = type == CT_MenuItem ? ItemOfOption(option) : nullptr;
        TMenu* menu = item ? item->GetParentMenu() : nullptr;
        if (!menu)
            return QProxyStyle::sizeFromContents(type, option, size, widget);
        TBitmap measure;
        measure.SetSize(1, 1);
        int width = size.width(), height = size.height();
        menu->MeasureItem(item, measure.Canvas(), width, height);
        return QSize(std::max(width, 1), std::max(height, 1));
    }
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        TMenuItem* item = element == CE_MenuItem ? ItemOfOption(option) : nullptr;
        TMenu* menu = item ? item->GetParentMenu() : nullptr;
        if (!menu || option->rect.isEmpty()) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        TOwnerDrawState state = 0;
        if (option->state & State_Selected)
            state |= odSelected;
        if (!(option->state & State_Enabled))
            state |= odGrayed | odDisabled;
        if (item->Checked())
            state |= odChecked;
        if (item->Default())
            state |= odDefault;
        // The item draws on a canvas as tall as the menu, its rectangle at its own height, as
        // the system's menu does: what a menu paints along its whole edge (a band) lines up.
        const QRect r = option->rect;
        const int height = widget ? std::max(widget->height(), r.bottom() + 1) : r.height();
        const int top = widget ? r.top() : 0;
        TBitmap picture;
        picture.SetPixelFormat(pf24bit);
        picture.SetSize(r.width(), height);
        menu->DrawItem(item, picture.Canvas(), Rect(0, top, r.width(), top + r.height()), state);
        painter->drawImage(r.topLeft(), picture.Image(), QRect(0, top, r.width(), r.height()));
    }
};

TOwnerDrawStyle* OwnerDrawStyle()
{
    static QPointer<TOwnerDrawStyle> style;
    if (!style)
        style = new TOwnerDrawStyle;  // lives with the application
    if (!style->parent() && QCoreApplication::instance())
        style->setParent(QCoreApplication::instance());
    return style;
}

class TQtMenu : public QMenu {
public:
    TQtMenu(TMenu* menu, TMenuItem* item) : FMenu(menu), FItem(item) {}
    bool ByMouse = true;

protected:
    // The style gets the item through the option, for owner drawing.
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override
    {
        QMenu::initStyleOption(option, action);
        option->styleObject = const_cast<QAction*>(action);
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        ByMouse = true;
        QMenu::mouseMoveEvent(e);
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        ByMouse = false;
        AnsiString text = QStringToAnsi(e->text());
        unsigned char c = text.size() == 1 ? static_cast<unsigned char>(text[0]) : 0;
        bool handled = false;
        if (c >= 0x20 && c < 0x7F) {
            try {
                handled = FMenu->MenuChar(static_cast<char>(c), FItem);
            } catch (...) {
                TWidgetBridge::HandleException();
            }
        }
        if (!handled) {
            QMenu::keyPressEvent(e);
            return;
        }
        // The character chose an item: every open menu closes.
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }

private:
    TMenu* FMenu;
    TMenuItem* FItem;
};

}  // namespace

QAction* TMenuQt::ActionOf(TMenu* menu, TMenuItem* item)
{
    if (!item->FQtAction) {
        auto* action = new QAction;
        action->setData(QVariant::fromValue<void*>(item));
        QObject::connect(action, &QAction::triggered, [item] { ChooseMenuItem(item); });
        item->FQtAction = action;
    }
    Apply(menu, item);
    return item->FQtAction;
}

void TMenuQt::Apply(TMenu* menu, TMenuItem* item)
{
    QAction* a = item->FQtAction;
    if (!a)
        return;
    a->setSeparator(item->IsLine());
    QString text = AnsiToQString(item->Caption());
    if (item->ShortCut())
        text += QLatin1Char('\t') + AnsiToQString(ShortCutToText(item->ShortCut()));
    // A line's caption ("-") is no text to show: some styles draw a separator's text beside it.
    a->setText(item->IsLine() ? QString() : text);
    a->setCheckable(item->Checked() || item->RadioItem());
    a->setChecked(item->Checked());
    a->setEnabled(item->Enabled());
    a->setVisible(item->Visible());
    QFont font = a->font();
    font.setBold(item->Default());
    a->setFont(font);
    TImageList* images = menu ? menu->Images() : nullptr;
    if (images && item->ImageIndex() >= 0 && item->ImageIndex() < images->Count()) {
        TBitmap picture;
        images->GetBitmap(item->ImageIndex(), &picture);
        a->setIcon(QIcon(QPixmap::fromImage(picture.Image())));
    } else {
        a->setIcon(QIcon());
    }
    a->setMenu(item->Count() > 0 && menu ? MenuOf(menu, item) : nullptr);
}

void TMenuQt::Fill(QWidget* target, TMenu* menu, TMenuItem* parent)
{
    parent->FQtDirty = false;
    for (QAction* old : target->actions())
        target->removeAction(old);
    for (int i = 0; i < parent->Count(); ++i)
        target->addAction(ActionOf(menu, parent->Items(i)));
}

QMenu* TMenuQt::MenuOf(TMenu* menu, TMenuItem* item)
{
    if (!item->FQtMenu) {
        auto* qmenu = new TQtMenu(menu, item);
        item->FQtMenu = qmenu;
        QObject::connect(qmenu, &QMenu::aboutToShow, [menu, item, qmenu] {
            try {
                // A branch's OnClick runs as it opens, so it can update its items.
                std::shared_ptr<bool> alive = item->AliveToken();
                if (item->Parent() && item->OnClick)
                    item->OnClick(item);
                if (!*alive)
                    return;
                qmenu->setStyle(menu->OwnerDraw() ? OwnerDrawStyle() : nullptr);
                if (item->FQtDirty)
                    Fill(qmenu, menu, item);
            } catch (...) {
                TWidgetBridge::HandleException();
            }
        });
        QObject::connect(qmenu, &QMenu::aboutToHide, [menu, qmenu] {
            try {
                menu->MenuSelect(nullptr, qmenu->ByMouse);
            } catch (...) {
                TWidgetBridge::HandleException();
            }
        });
        QObject::connect(qmenu, &QMenu::hovered, [menu, qmenu](QAction* action) {
            try {
                menu->MenuSelect(ItemOfAction(action), qmenu->ByMouse);
            } catch (...) {
                TWidgetBridge::HandleException();
            }
        });
    }
    if (item->FQtDirty)
        Fill(item->FQtMenu, menu, item);
    return item->FQtMenu;
}

void TMenuQt::ItemChanged(TMenuItem* item, bool structure)
{
    TMenu* menu = item->GetParentMenu();
    if (structure) {
        item->FQtDirty = true;
        if (item->FQtMenu && !item->FQtMenu->isVisible() && menu)
            Fill(item->FQtMenu, menu, item);
    }
    Apply(menu, item);
}

void TMenuQt::Forget(TMenuItem* item)
{
    delete item->FQtAction;
    item->FQtAction = nullptr;
    if (QMenu* qmenu = item->FQtMenu) {
        item->FQtMenu = nullptr;
        // No signal of a menu whose item is gone may reach the item.
        qmenu->disconnect();
        if (qmenu->isVisible())
            qmenu->deleteLater();
        else
            delete qmenu;
    }
}

TMenuItem* TMenuQt::RunPopup(TPopupMenu* menu, int x, int y)
{
    QMenu* qmenu = MenuOf(menu, menu->Items());
    qmenu->setStyle(menu->OwnerDraw() ? OwnerDrawStyle() : nullptr);
    int width = qmenu->sizeHint().width();
    if (menu->Alignment() == paRight)
        x -= width;
    else if (menu->Alignment() == paCenter)
        x -= width / 2;
    // The chosen item's click is queued by its action's trigger; nothing to return here.
    qmenu->exec(QPoint(x, y));
    return nullptr;
}

// --- TMainMenu

TMainMenu::~TMainMenu()
{
    if (FBar)
        delete FBar.data();
}

QMenuBar* TMainMenu::MenuBar(QWidget* window)
{
    if (FBar && FBar->parentWidget() != window)
        delete FBar.data();
    if (!FBar) {
        FBar = new QMenuBar(window);
        QObject::connect(FBar.data(), &QMenuBar::hovered,
                         [this](QAction* action) { MenuSelect(ItemOfAction(action), true); });
        TMenuQt::Fill(FBar, this, Items());
        FBar->setGeometry(0, 0, window->width(), FBar->sizeHint().height());
        FBar->show();
    }
    return FBar;
}

int TMainMenu::BarHeight() const { return FBar ? FBar->sizeHint().height() : 0; }

void TMainMenu::FitBar(int width)
{
    if (FBar)
        FBar->setGeometry(0, 0, width, FBar->sizeHint().height());
}

void TMainMenu::MenuChanged(TMenuItem* Item, bool Structure)
{
    if (FBar && Structure && Item == Items())
        TMenuQt::Fill(FBar, this, Items());
}
