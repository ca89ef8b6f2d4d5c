#pragma once
// The framework's control: a component with a place on a parent, a font, a colour, a caption and
// mouse input, reached through numeric messages. TWinControl (WinControl.h) adds a Qt widget;
// TGraphicControl draws on its parent's window.

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/Alignment.h"  // TAlignment
#include "platform/core/Colors.h"
#include "platform/core/Component.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/GraphicsTypes.h"
#include "platform/gui/Liveness.h"
#include "platform/gui/Messages.h"

class TWinControl;
class TCustomForm;
class TCanvas;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TCursor = int;
enum : TCursor {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
};

// ControlStyle flags.
enum : unsigned {
    csAcceptsControls = 1u << 0,
    csCaptureMouse = 1u << 1,
    csClickEvents = 1u << 3,
    csFramed = 1u << 4,
    csSetCaption = 1u << 5,
    csOpaque = 1u << 6,
    csDoubleClicks = 1u << 7,
    csFixedWidth = 1u << 8,
    csFixedHeight = 1u << 9,
    csReplicatable = 1u << 11,
    csNoStdEvents = 1u << 12,
};
// ControlState flags.
// csPaintCopy: the control is painting a copy of itself (onto another control's picture).
enum : unsigned {
    csLButtonDown = 1u << 0,
    csClicked = 1u << 1,
    csAlignmentNeeded = 1u << 4,
    csFocusing = 1u << 5,
    csPaintCopy = 1u << 7
};

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TMessageHandler = std::function<void(TMessage& Message)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // Held across a call that may free this control: false afterwards when it did.
    TAliveToken AliveToken() const { return FAlive.Token(); }

    // --- Messages: Perform runs WndProc, which runs Dispatch: the handler registered last for
    // the message number, or DefaultHandler when there is none.
    LRESULT Perform(unsigned Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void WndProc(TMessage& Message);
    void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    // --- Place.
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int v) { SetWidth(FWidth - ClientWidth() + v); }
    void SetClientHeight(int v) { SetHeight(FHeight - ClientHeight() + v); }
    virtual TPoint ClientOrigin() const;  // screen position of the client's top-left corner
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    TAlign Align() const { return FAlign; }
    virtual void SetAlign(TAlign v);
    void BringToFront();
    void SendToBack();

    // --- Look and state.
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and on every parent up to a shown window.
    virtual bool Showing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool v);
    TFont* Font() { return FFont.get(); }
    void SetFont(TFont* f) { FFont->Assign(f); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool v);
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& v);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool v);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v);
    // Caption and Text are one text (cp949).
    const AnsiString& Caption() const { return FText; }
    void SetCaption(const AnsiString& v) { SetText(v); }
    const AnsiString& Text() const { return FText; }
    void SetText(const AnsiString& v);
    unsigned ControlStyle() const { return FControlStyle; }
    void SetControlStyle(unsigned v) { FControlStyle = v; }
    unsigned ControlState() const { return FControlState; }
    void SetControlState(unsigned v) { FControlState = v; }

    // --- Painting: Invalidate marks the control for painting later; Update paints what is
    // marked now; Repaint does both.
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }

    // Paints the control's own picture (a window: its background and PaintWindow, not its
    // children; a graphic control: WM_PAINT) onto Dest, with the control's top-left corner at
    // Dest's point Origin and clipped to Clip (Dest's coordinates). For pictures of a copy: the
    // caller marks csPaintCopy.
    virtual void PaintCopyTo(TCanvas* Dest, TPoint Origin, const TRect& Clip) {}

    // --- Mouse capture: the control that receives every mouse message until released. A press
    // takes it for controls with csCaptureMouse and the release gives it back.
    bool MouseCapture() const;
    void SetMouseCapture(bool v);

    // The form the control sits on (following parents), or null.
    TCustomForm* ParentForm() const;

    TNotifyEvent OnClick, OnDblClick, OnResize;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TCanResizeEvent OnCanResize;

protected:
    // Adds a handler for one message number. A later registration (a subclass) hides earlier
    // ones; a handler reaches the one it hides with Inherited.
    void RegisterHandler(unsigned Msg, TMessageHandler Handler);
    void Inherited(TMessage& Message);

    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Resize();
    virtual bool CanResize(int& NewWidth, int& NewHeight);
    // Bounds changed: windowed controls move their widget, graphic ones repaint the parent.
    virtual void BoundsChanged(const TRect& OldBounds, bool SizeChanged);
    virtual void VisibleChanged() {}
    virtual void CursorChanged() {}
    virtual void HintChanged() {}
    void RequestAlign();
    void SetParentFontFromParent();
    void SetParentColorFromParent();

    unsigned FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    unsigned FControlState = 0;

private:
    void RegisterStandardHandlers();
    void RunHandler(int index, TMessage& Message);
    void DoMouseDown(TMessage& m, TMouseButton button, TShiftState extra);
    void DoMouseUp(TMessage& m, TMouseButton button);
    void FontChanged();

    struct THandlerEntry {
        unsigned Msg;
        TMessageHandler Handler;
    };
    std::vector<THandlerEntry> FHandlers;
    std::vector<int> FDispatchStack;  // index of the handler running, innermost last
    // Falls once the control is destroyed: a handler may free the control it runs for.
    TLiveness FAlive;

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    bool FVisible = true;
    bool FEnabled = true;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FCopyingParentFont = false;
    TColor FColor = clWindow;
    bool FParentColor = false;
    AnsiString FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    AnsiString FText;

    friend class TWinControl;
};

// The control holding the mouse capture, or null.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// The mouse pointer in screen coordinates.
TPoint GetCursorPos();
// Moves the mouse pointer to the screen point where the window system lets a program move it
// (X11); elsewhere nothing happens.
void SetCursorPos(TPoint p);
// The control at a screen point: the window's topmost graphic child there, else the window;
// disabled graphic children count when asked. Null over no window of this program.
TControl* FindDragTarget(TPoint screenPos, bool AllowDisabled);
