#include "platform/gui/PopupForm.h"

#include <QWidget>

TPopupForm::TPopupForm(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetPosition(poDesigned);
}

void TPopupForm::ShowAt(TPoint Origin, int Width, int Height)
{
    SetBounds(Origin.x, Origin.y, Width, Height);
    SetVisible(true);
    QWidget* w = Handle();
    w->raise();
    w->activateWindow();
}
