#pragma once
// Forms: top-level windows with a caption, key preview, modal showing and the close protocol
// (OnCloseQuery, then OnClose with its action), and the screen that lists them.

#include "platform/gui/WinControl.h"

#include <QCursor>
#include <QPointer>
#include <map>

class QEventLoop;
class TMainMenu;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
// The MDI values are kept and reported; the windows are ordinary top-level windows.
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;

// Limits of a form's size; 0 is no limit.
class TSizeConstraints : public TPersistent {
public:
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
    void Assign(TPersistent* Source) override;
    // Clamps a size to the limits.
    void Apply(int& Width, int& Height) const;
};

// A window's placement: its state (SW_SHOWNORMAL 1, SW_SHOWMINIMIZED 2, SW_SHOWMAXIMIZED 3) and
// its normal rectangle. The minimised and maximised points are not kept: -1, -1.
struct TWindowPlacement {
    int ShowCmd = 1;
    TPoint MinPosition{-1, -1};
    TPoint MaxPosition{-1, -1};
    TRect NormalPosition;
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// What WM_GETMINMAXINFO (LParam: a pointer to it) asks of a sizeable form before its size limits
// are applied: the smallest and largest size the user may give it (the maximised size and point
// are kept for handlers written against them; the window system places a maximised window).
struct TMinMaxInfo {
    TPoint ptReserved;
    TPoint ptMaxSize;
    TPoint ptMaxPosition;
    TPoint ptMinTrackSize;
    TPoint ptMaxTrackSize;
};

using TModalResult = int;
enum : TModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10
};

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(uint16_t Key, TShiftState Shift, bool& Handled)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v) { FKeyPreview = v; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    // Where the form shows first. A form placed by the program (moved from where it was made, or
    // given a placement) keeps its place; one the program never placed cascades as new windows
    // do. A centred form, or one that cascades, never takes the corner of another shown form.
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition v) { FPosition = v; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // A form given a parent (docked on a site) is a plain part of that window, without frame or
    // title bar; without one again it is a window of its own with its border style.
    void SetParent(TWinControl* AParent) override;
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState v);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v) { FModalResult = v; }
    bool Modal() const { return FModalLevel > 0; }
    bool Active() const { return FActive; }
    TCanvas* Canvas();

    // Shows modally: returns when ModalResult is set (and the close query agrees) or the form
    // closes; the result is the ModalResult (mrCancel when closed otherwise).
    virtual TModalResult ShowModal();
    // Runs the close protocol: a modal form gets mrCancel; otherwise OnCloseQuery may refuse,
    // OnClose picks the action (caHide by default), and closing the main form ends the program.
    void Close();
    virtual bool CloseQuery();
    // Frees the form later, from the event loop, once the handler that asked has returned.
    void Release();
    void BringToFront();
    // Shows the form without taking the activation from the active window (a window shown for
    // output while the player types elsewhere).
    void ShowWithoutActivation();

    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    // Gives a control on this form the focus (it becomes the active control).
    void FocusControl(TWinControl* control);
    // Moves the focus to the next (or previous) control that takes the focus, in tab order.
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);
    // OnShortCut, then the main menu's and the owned action lists' shortcuts; a key it handles
    // reaches no control.
    virtual bool IsShortCut(uint16_t Key, TShiftState Shift);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle v);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons v);
    // Change the limits, then call ConstraintsChanged, which also asks WM_GETMINMAXINFO again.
    TSizeConstraints* Constraints() { return &FConstraints; }
    void ConstraintsChanged();
    // The resolution the form was designed at (96 here, as the screen's).
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int v) { FPixelsPerInch = v; }
    // Scales the form's client size and every control on it, fonts included, by M/D.
    void ScaleBy(int M, int D);
    // The normal rectangle (also while maximised or minimised) and the state.
    TWindowPlacement GetPlacement();
    void SetPlacement(const TWindowPlacement& placement);

    // The menu bar at the top of the window; the aligned controls fill what is below it.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* menu);

    // OnDestroy runs from this class's destructor, after a derived form's own destructor: work
    // that needs the derived form belongs in that destructor. OnCreate is the derived form's to
    // call at the end of its constructor.
    TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnActivate, OnDeactivate, OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    bool WantsWidgetVisible() const override { return Visible(); }
    void VisibleChanged() override;
    void BoundsChanged(const TRect& OldBounds, bool SizeChanged) override;
    void AdjustClientRect(TRect& Rect) override;
    bool CanResize(int& NewWidth, int& NewHeight) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void PaintWindow() override;
    virtual void DoClose(TCloseAction& Action);
    virtual void DoShow();
    virtual void DoHide();
    virtual void Activate();
    virtual void Deactivate();

private:
    void RegisterFormHandlers();
    void ApplyBorderStyle();
    // The window flags of the border style with the form style and border icons applied.
    unsigned WindowFlagsFor(unsigned borderFlags) const;
    void ApplySizeLimits();
    void ApplyPosition();
    void CloseModal();
    // Called by the widget: the window system asked to close, activated or deactivated it.
    bool WindowCloseRequested();
    void SetActive(bool v);
    void SetFocusedControl(TWinControl* control);

    bool FKeyPreview = false;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    TModalResult FModalResult = mrNone;
    int FModalLevel = 0;
    bool FActive = false;
    bool FPositioned = false;
    // Set once the program (or the window system) moved the form.
    bool FPlaceGiven = false;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TMainMenu* FMenu = nullptr;
    TFormStyle FFormStyle = fsNormal;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TSizeConstraints FConstraints;
    int FPixelsPerInch = 96;
    bool FShowingWithoutActivation = false;
    // The window that was active before this one: it gets the activation back when this one is
    // hidden while active, as Windows gives it to the window below.
    QPointer<QWidget> FActiveBefore;

    friend class TWidgetBridge;
    friend class TWinControl;
    friend void ForgetControl(TControl*);
};

// The window that has the keys: the active window, or while none is (a dialog has just closed and
// the window system has not yet activated another) the form that was active last.
QWidget* WindowWithTheKeys();
// Activates a window that was active before a dialog, when it is still shown and not active.
void ActivateAgain(QWidget* window);

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;
    int Width() const;
    int Height() const;
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int index) const;
    bool HasForm(const TCustomForm* form) const;
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const { return FActiveForm ? FActiveForm->ActiveControl() : nullptr; }
    // A cursor for the whole program (crDefault lets each control show its own).
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v);
    // The cursor table: a cursor set for the number, else the standard cursor of that number,
    // else (an unknown number) the default cursor.
    QCursor Cursors(TCursor index) const;
    // Sets (or with null removes) the cursor of a number.
    void SetCursors(TCursor index, const QCursor* cursor);
    bool HasCursor(TCursor index) const;
    // The desktop less its panels; the whole screen when the system cannot tell.
    TRect WorkAreaRect() const;
    int PixelsPerInch() const { return 96; }

private:
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    TCursor FCursor = crDefault;
    std::map<TCursor, QCursor> FCursors;
    friend class TCustomForm;
};

// The screen of the running program (made by TApplication).
extern TScreen* Screen;

// Sees every form shown modally, once it is on screen and before its modal loop waits: tests and
// drivers answer the form there (a form left open waits for the user). Null removes the hook;
// returns the previous one.
using TModalFormHook = std::function<void(TCustomForm& form)>;
TModalFormHook SetModalFormHook(TModalFormHook hook);
