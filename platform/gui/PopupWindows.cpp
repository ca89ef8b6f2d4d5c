#include "platform/gui/PopupWindows.h"

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

bool LeftMouseButtonDown() { return QGuiApplication::mouseButtons() & Qt::LeftButton; }
