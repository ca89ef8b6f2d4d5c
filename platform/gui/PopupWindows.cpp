#include "platform/gui/PopupWindows.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#include "platform/gui/Forms.h"

void SendCancelMode(TControl* Sender)
{
    TCustomForm* form = Sender->ParentForm();
    if (TWinControl* active = form ? form->ActiveControl() : nullptr)
        active->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

void ShowPopupWindow(TWinControl* Popup, TPoint Origin)
{
    Popup->SetBounds(Origin.x, Origin.y, Popup->Width(), Popup->Height());
    Popup->SetVisible(true);
    if (Popup->HandleAllocated() && Popup->IsPopupWindow())
        Popup->Handle()->raise();
}

bool PopupTookFocus(TWinControl* Popup)
{
    if (!Popup || !Popup->HandleAllocated() || !Popup->Visible())
        return false;
    QWidget* w = Popup->Handle();
    QWidget* focus = QApplication::focusWidget();
    return QApplication::activeWindow() == w->window() || (focus && (focus == w || w->isAncestorOf(focus)));
}

bool LeftMouseButtonDown() { return QGuiApplication::mouseButtons() & Qt::LeftButton; }
