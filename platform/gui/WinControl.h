#pragma once
// Windowed controls (a Qt widget each, holding child controls, taking the keyboard focus, docking
// on one another: Docking.cpp), the custom-painted control, and the window-less graphic control
// that paints on its parent.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/DragDrop.h"

class QWidget;
class QImage;
class TCanvas;
class TControlCanvas;
class TWidgetBridge;

// Window styles a control asks for in CreateParams (Win32 values). WS_POPUP: a window of its own
// without frame, kept with its parent's window but placed at screen coordinates;
// WS_BORDER: a one-pixel frame in the window-frame colour round it, the client area inside the
// frame (client coordinates stay those of the window); CS_SAVEBITS changes nothing here.
enum : uint32_t { WS_POPUP = 0x80000000u, WS_BORDER = 0x00800000u };
enum : uint32_t { CS_SAVEBITS = 0x0800u };
// A window procedure: what a control does with a message.
using TWndMethod = std::function<void(TMessage& Message)>;

// How a control is dragged: as an item (dkDrag) or to be docked on a dock site (dkDock).
enum TDragKind { dkDrag, dkDock };

// A dock drag as its target sees it: the control dragged, the edge it would take (alNone:
// where it is dropped), and its rectangle there in screen coordinates.
struct TDragDockObject {
    TWinControl* Control = nullptr;
    TAlign DropAlign = alNone;
    TRect DockRect;
};
using TDockOverEvent =
    std::function<void(TObject* Sender, TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDockDropEvent = std::function<void(TObject* Sender, TDragDockObject* Source, int X, int Y)>;

struct TCreateParams {
    uint32_t Style = 0;
    uint32_t ExStyle = 0;
    uint32_t WindowClassStyle = 0;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // --- Children, in painting order (the last is on top).
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(const TControl* AControl) const;
    // The topmost visible child at a client point (graphic children only unless asked).
    TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false) const;
    // Sends the message to every child until one sets a non-zero result.
    void Broadcast(TMessage& Message);
    void NotifyControls(unsigned Msg);

    // --- The widget, made on first need.
    QWidget* Handle();
    bool HandleAllocated() const { return FWidget != nullptr; }
    void HandleNeeded() { Handle(); }
    // Makes the widget again (a style that only a new window can show): DestroyWnd, then
    // CreateWidget and WidgetCreated; children move to the new widget.
    void RecreateWnd();
    // The control of a widget made by this layer, or null.
    static TWinControl* FromWidget(const QWidget* widget);

    // --- Alignment of the children.
    void Realign();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    void AlignChild(TControl* child);

    // --- Focus.
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v);
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int v) { FTabOrder = v; }
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    void DefaultHandler(TMessage& Message) override;

    // --- Window subclassing: a procedure every message of the control passes through before
    // the control's own handling. Whoever sets one keeps the procedure it replaced (WindowHook()
    // before the change) and passes messages on to it, or to DefWindowProc when there was none;
    // it survives a new widget (RecreateWnd), which first sends WM_DESTROY.
    const TWndMethod& WindowHook() const { return FWindowHook; }
    void SetWindowHook(TWndMethod hook) { FWindowHook = std::move(hook); }
    // The control's own handling, without the hook.
    void DefWindowProc(TMessage& Message) { TControl::WndProc(Message); }
    void WndProc(TMessage& Message) override;

    // --- Painting.
    void Invalidate() override;
    void Update() override;
    void InvalidateRect(const TRect& r);
    TPoint ClientOrigin() const override;
    // Less the window scroll bars that are shown.
    TRect ClientRect() const override;
    bool Showing() const override;
    // The window was made as a popup (WS_POPUP).
    bool IsPopupWindow() const { return (FCreateParams.Style & WS_POPUP) != 0; }
    void PaintCopyTo(TCanvas* Dest, TPoint Origin, const TRect& Clip) override;
    void SetChildOrder(TControl* child, int index);

    // --- Docking (Docking.cpp); only windowed controls dock here. A control whose DragKind is
    // dkDock is dragged (TDockGrip) onto a dock site, which takes it when OnDockOver accepts it;
    // dropped anywhere else it floats there as a window of its own. With its dock manager on, a
    // site gives each docked control the edge of its DockArea nearest the drop point, as deep as
    // the control's size when it last floated, and its other controls keep the rest.
    TDragKind DragKind() const { return FDragKind; }
    void SetDragKind(TDragKind v) { FDragKind = v; }
    bool DockSite() const { return FDockSite; }
    void SetDockSite(bool v) { FDockSite = v; }
    bool UseDockManager() const { return FUseDockManager; }
    void SetUseDockManager(bool v);
    // The site this control is docked on, or null while it floats.
    TWinControl* HostDockSite() const { return FHostDockSite; }
    int DockClientCount() const { return static_cast<int>(FDockClients.size()); }
    TWinControl* DockClients(int index) const;
    // The size the control had when it last floated.
    int UndockWidth() const { return FHostDockSite ? FUndockWidth : Width(); }
    int UndockHeight() const { return FHostDockSite ? FUndockHeight : Height(); }
    // Docks the control on the site at an edge (alNone: at its bounds' place in the site);
    // false when the site cannot hold it (itself, or one of its own controls).
    bool ManualDock(TWinControl* NewDockSite, TAlign DropAlign);
    // Floats the control as a window of its own at a screen rectangle (moves it when it floats).
    bool ManualFloat(const TRect& ScreenPos);
    // Where docked controls go, in client coordinates: the client area by default.
    virtual TRect DockArea();
    // What a drop at a client point of this site would do with a control dragged as DragRect
    // (screen): with the dock manager, the edge the point chooses among what the other docked
    // controls leave, and the control's rectangle there on the screen; without, DragRect.
    TDragDockObject DockTarget(TWinControl* Control, TPoint Point, const TRect& DragRect);
    // Asks the site whether it takes the drag (Accept starts true): OnDockOver.
    virtual void DockOver(TDragDockObject& Source, int X, int Y, TDragState State, bool& Accept);
    // The drop the site accepted: the control docks, then OnDockDrop.
    virtual void DockDrop(TDragDockObject& Source, int X, int Y);
    TDockOverEvent OnDockOver;
    TDockDropEvent OnDockDrop;

    TNotifyEvent OnEnter, OnExit;
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseWheelUpDownEvent OnMouseWheelDown, OnMouseWheelUp;

protected:
    // The widget of this control; a subclass wrapping a Qt widget makes its own here.
    virtual QWidget* CreateWidget();
    // Widget just made: geometry, look and children follow the control.
    virtual void WidgetCreated();
    // What the window is made as; asked each time it is made.
    virtual void CreateParams(TCreateParams&) {}
    // The widget is about to go for a new one: keep what only it holds.
    virtual void DestroyWnd() {}
    void BoundsChanged(const TRect& OldBounds, bool SizeChanged) override;
    void VisibleChanged() override;
    void CursorChanged() override;
    void HintChanged() override;
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    // The dock manager: each shown docked control takes its edge of Area, in docking order;
    // Area keeps what is left.
    void PlaceDockClients(TRect& Area);
    virtual void AdjustClientRect(TRect&) {}
    // Whether the widget is shown: visible, and with a parent (forms decide for themselves).
    virtual bool WantsWidgetVisible() const;
    void UpdateWidgetVisible();

    // Key phases: the form's preview first (KeyPreview), then the control's own.
    bool DoKeyDown(uint16_t& Key, TShiftState Shift);
    bool DoKeyUp(uint16_t& Key, TShiftState Shift);
    bool DoKeyPress(char& Key);
    virtual void KeyDown(uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // Wheel: the control's handlers, then its parent's; true when handled.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);

    // Painting through WM_PAINT: background (unless csOpaque), PaintWindow, graphic children.
    virtual void PaintWindow() {}
    void PaintControls();
    // The canvas drawing on this control's window (its back buffer), made on first need.
    TControlCanvas* WindowCanvas();
    // The pixels shown in the widget; everything the canvases draw lands here.
    QImage* BackBuffer();
    bool FFocusOnClick = false;
    // Bytes an input-method character left for the key-press phase (WM_IME_CHAR's default).
    AnsiString FImeChars;
    TRect FUpdateRect;  // the part being painted during WM_PAINT

private:
    void RegisterWinHandlers();
    void ApplyFont();
    void ApplyFocusPolicy();
    void ReleaseCanvases(TCanvas* except = nullptr);
    void UpdateBackBufferSize();

    QWidget* FWidget = nullptr;
    TWndMethod FWindowHook;
    std::vector<TControl*> FControls;
    std::unique_ptr<QImage> FBackBuffer;
    std::unique_ptr<TControlCanvas> FWindowCanvas;
    TCreateParams FCreateParams;
    int FAlignLevel = 0;
    bool FAlignPending = false;
    bool FAligning = false;
    bool FPainting = false;
    TRect FDirty;  // marked for painting since the last Update, in client coordinates
    // The canvas (its own or a graphic child's) whose painter holds the back buffer, if any:
    // one at a time.
    TControlCanvas* FOpenCanvas = nullptr;
    bool FTabStop = false;
    int FTabOrder = -1;
    TDragKind FDragKind = dkDrag;
    bool FDockSite = false;
    bool FUseDockManager = false;
    TWinControl* FHostDockSite = nullptr;
    std::vector<TWinControl*> FDockClients;
    int FUndockWidth = 0, FUndockHeight = 0;

    friend class TWidgetBridge;
    friend class TControl;
    friend class TControlCanvas;
    friend class TGraphicControl;
    friend class TCustomForm;
};

// A windowed control that paints itself: override Paint and draw on Canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas();

protected:
    virtual void Paint() {}
    void PaintWindow() override { Paint(); }
};

// A control without a window: it paints on its parent's window within its bounds, and its parent
// passes it the mouse messages that fall on it.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas();
    void PaintCopyTo(TCanvas* Dest, TPoint Origin, const TRect& Clip) override;

protected:
    virtual void Paint() {}

private:
    std::unique_ptr<TControlCanvas> FCanvas;
    friend class TWinControl;
};
