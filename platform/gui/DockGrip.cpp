#include "platform/gui/DockGrip.h"

#include <cstdlib>
#include <utility>

#include "platform/gui/Canvas.h"
#include "platform/gui/Queue.h"

TDockGrip::TDockGrip(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 100, kDockGripSize);
    SetColor(clBtnFace);
    SetCursor(crSizeAll);
}

TDockGrip::~TDockGrip() = default;

TWinControl* TDockGrip::Client() const { return FClientAlive && *FClientAlive ? FClient : nullptr; }

void TDockGrip::SetClient(TWinControl* Value)
{
    FClient = Value;
    FClientAlive = Value ? Value->AliveToken() : TAliveToken();
}

// Two raised lines along the strip, across it when it stands upright.
void TDockGrip::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(ClientRect());
    const bool upright = Height() > Width();
    const int length = upright ? Height() : Width();
    for (const int at : {2, 5}) {
        for (const auto& [color, offset] : {std::pair{clBtnHighlight, 0}, std::pair{clBtnShadow, 1}}) {
            canvas->Pen()->SetColor(color);
            if (upright) {
                canvas->MoveTo(at + offset, 2);
                canvas->LineTo(at + offset, length - 2);
            } else {
                canvas->MoveTo(2, at + offset);
                canvas->LineTo(length - 2, at + offset);
            }
        }
    }
}

void TDockGrip::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || FDrag)
        return;
    FPressed = true;
    FPress = ClientToScreen(TPoint{X, Y});
}

void TDockGrip::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FPressed)
        return;
    // The release went elsewhere (the window system took the mouse away): no drag goes on.
    if (!Shift.Contains(ssLeft)) {
        FPressed = false;
        if (FDrag)
            FDrag->Cancel();
        FDrag.reset();
        return;
    }
    const TPoint at = ClientToScreen(TPoint{X, Y});
    if (!FDrag) {
        TWinControl* client = Client();
        if (!client || client->DragKind() != dkDock ||
            (std::abs(at.x - FPress.x) < kDockDragThreshold && std::abs(at.y - FPress.y) < kDockDragThreshold))
            return;
        FDrag = std::make_unique<TDockDrag>(client, FPress);
    }
    FDrag->Move(at);
}

void TDockGrip::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FPressed = false;
    if (!FDrag)
        return;
    std::shared_ptr<TDockDrag> drag(FDrag.release());
    QueueCall([drag, at = ClientToScreen(TPoint{X, Y})] { drag->Drop(at); });
}
