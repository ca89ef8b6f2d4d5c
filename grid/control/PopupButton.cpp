#include "grid/control/PopupButton.h"

#include "platform/gui/Canvas.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/DrawTextLayout.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/WindowShape.h"

void TPopupButton::SetFlat(bool Value)
{
    FFlat = Value;
    Invalidate();
}

void TPopupButton::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.WindowClassStyle |= CS_SAVEBITS;
    SetColor(clBtnFace);
}

void TPopupButton::WidgetCreated()
{
    TCustomControl::WidgetCreated();
    SetWindowPos(this, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TPopupButton::Paint()
{
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    if (!FFlat)
        Frame3D(canvas, r, clWhite, clGray, 1);
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsClear);
    DrawText(canvas, Caption(), r, DT_CENTER | DT_END_ELLIPSIS);
}
