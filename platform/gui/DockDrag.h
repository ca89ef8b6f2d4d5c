#pragma once
// The drag that docks a control: it starts where the pointer took the control, follows the
// pointer, and ends with a drop that docks the control on the dock site under the pointer when
// that site accepts it (OnDockOver), or else floats it there as a window of its own. The site
// hears the drag come, move and leave; a frame on the screen shows where the control would go.
// The frame is a ring whose inside lets the pointer through, so the window under the pointer
// is found as the window system stacks them.

#include <memory>

#include "platform/core/Geometry.h"
#include "platform/gui/WinControl.h"

class QWidget;

class TDockDrag {
public:
    // Starts the drag of Control (its DragKind dkDock) at a screen point on it.
    TDockDrag(TWinControl* Control, TPoint Start);
    ~TDockDrag();
    TDockDrag(const TDockDrag&) = delete;
    TDockDrag& operator=(const TDockDrag&) = delete;

    // The pointer is at a screen point.
    void Move(TPoint Point);
    // The drop at a screen point; nothing once the control is gone.
    void Drop(TPoint Point);
    // The drag ends without a drop: the site under the pointer hears it leave.
    void Cancel();

    // The control dragged (null once it is freed).
    TWinControl* Control() const;
    // The dock site under the pointer, accepting or not (null: none, or it was freed).
    TWinControl* Site() const;
    // Whether that site takes the control, and what it would do with it.
    bool Accepted() const { return FAccepted && Site(); }
    const TDragDockObject& DockObject() const { return FObject; }
    // Where the control would float with the pointer at a screen point: its floating size, held
    // where the pointer took it.
    TRect FloatRect(TPoint Point) const;
    // The screen point the drag was last told of.
    TPoint Point() const { return FPoint; }
    // The frame shown now, on the screen.
    TRect FrameRect() const { return FFrameRect; }

private:
    void Leave(TPoint Point);
    void ShowFrame(const TRect& r);

    TWinControl* FControl;
    TAliveToken FControlAlive;
    TPoint FGrab;
    TPoint FPoint;
    TWinControl* FSite = nullptr;
    TAliveToken FSiteAlive;
    bool FAccepted = false;
    TDragDockObject FObject;
    TRect FFrameRect;
    std::unique_ptr<QWidget> FFrame;
};

// The dock site a control dropped at a screen point would go to: the nearest control there,
// or one it lies in, that is a shown dock site; never the dragged control or one of its own
// (the docked control's own place counts as its site's). Null when there is none.
TWinControl* FindDockSite(TPoint ScreenPoint, const TWinControl* Dragged);
