#pragma once
// A tool bar's grip: a strip with two raised lines along it, by which the control it belongs to
// (its Client, whose DragKind is dkDock) is dragged to be docked or floated (DockDrag.h). A left
// press and a move of a few pixels start the drag; the release drops the control where it is,
// once the release has been handled: docking and floating give the client's window a new place
// in the window system, which must not change under the event being delivered to it.

#include <memory>

#include "platform/gui/DockDrag.h"
#include "platform/gui/WinControl.h"

// The strip's thickness.
inline constexpr int kDockGripSize = 8;
// How far the pointer moves with the button held before a press becomes a drag.
inline constexpr int kDockDragThreshold = 5;

class TDockGrip : public TCustomControl {
public:
    explicit TDockGrip(TComponent* AOwner);
    ~TDockGrip() override;
    TWinControl* Client() const;
    void SetClient(TWinControl* Value);
    // The drag under way, or null.
    TDockDrag* Drag() const { return FDrag.get(); }

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TWinControl* FClient = nullptr;
    TAliveToken FClientAlive;
    bool FPressed = false;
    TPoint FPress;  // on the screen
    std::unique_ptr<TDockDrag> FDrag;
};
