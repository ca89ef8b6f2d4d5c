#include "platform/gui/Forms.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/core/WindowCascade.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Application.h"
#include "platform/gui/ControlCanvas.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/KeyBridge.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Queue.h"

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle |= csAcceptsControls;
    SetVisible(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    if (Screen)
        Screen->FForms.push_back(this);
    RegisterFormHandlers();
}

TCustomForm::~TCustomForm()
{
    Destroying();
    if (OnDestroy) {
        TNotifyEvent handler = OnDestroy;
        handler(this);
    }
    // What the form owns goes while the form is still whole (its handlers may be called).
    DestroyComponents();
    if (Screen) {
        auto& forms = Screen->FForms;
        forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
        if (Screen->FActiveForm == this)
            Screen->FActiveForm = nullptr;
    }
    if (Application && Application->FMainForm == this)
        Application->FMainForm = nullptr;
}

TCanvas* TCustomForm::Canvas() { return WindowCanvas(); }

QWidget* TCustomForm::CreateWidget() { return new TControlWidget(this); }

void TCustomForm::WidgetCreated()
{
    Handle()->setWindowTitle(AnsiToQString(Caption()));
    ApplyBorderStyle();
    TWinControl::WidgetCreated();
    if (FMenu) {
        FMenu->MenuBar(Handle());
        Realign();
    }
}

void TCustomForm::RegisterFormHandlers()
{
    RegisterHandler(CM_TEXTCHANGED, [this](TMessage& m) {
        if (HandleAllocated())
            Handle()->setWindowTitle(AnsiToQString(Caption()));
        Inherited(m);
    });
    RegisterHandler(CM_DIALOGKEY, [this](TMessage& m) {
        if (m.WParam == VK_TAB && !CurrentKeyShift().Contains(ssCtrl)) {
            SelectNext(FActiveControl, !CurrentKeyShift().Contains(ssShift), true);
            m.Result = 1;
            return;
        }
        Inherited(m);
    });
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v)
{
    if (v == FBorderStyle)
        return;
    FBorderStyle = v;
    ApplyBorderStyle();
}

void TCustomForm::ApplyBorderStyle()
{
    if (!HandleAllocated() || Parent())
        return;
    QWidget* w = Handle();
    Qt::WindowFlags flags = Qt::Window;
    switch (FBorderStyle) {
    case bsNone: flags |= Qt::FramelessWindowHint; break;
    case bsDialog: flags = Qt::Dialog; break;
    case bsToolWindow:
    case bsSizeToolWin: flags = Qt::Tool; break;
    default: break;
    }
    bool wasVisible = w->isVisible();
    w->setWindowFlags(Qt::WindowFlags::fromInt(WindowFlagsFor(flags.toInt())));
    ApplySizeLimits();
    if (wasVisible)
        w->show();
}

void TCustomForm::BoundsChanged(const TRect& OldBounds, bool SizeChanged)
{
    // A fixed size follows the new size; size limits are asked again (WM_GETMINMAXINFO), so a
    // handler answering with the current size lets the program resize the form.
    if (HandleAllocated() && SizeChanged)
        ApplySizeLimits();
    TWinControl::BoundsChanged(OldBounds, SizeChanged);
}

void TCustomForm::SetWindowState(TWindowState v)
{
    FWindowState = v;
    if (!HandleAllocated())
        return;
    QWidget* w = Handle();
    Qt::WindowStates s = w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (v == wsMinimized)
        s |= Qt::WindowMinimized;
    if (v == wsMaximized)
        s |= Qt::WindowMaximized;
    w->setWindowState(s);
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (ALeft != Left() || ATop != Top())
        FPlaceGiven = true;
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomForm::SetParent(TWinControl* AParent)
{
    const bool wasDocked = Parent() != nullptr;
    TWinControl::SetParent(AParent);
    if (wasDocked && !Parent() && HandleAllocated()) {
        ApplyBorderStyle();
        TWidgetBridge::Place(Handle(), this);
    }
}

void TCustomForm::ApplyPosition()
{
    // A docked form's place is its site's to give.
    if (FPositioned || Parent())
        return;
    FPositioned = true;
    std::vector<TPoint> taken;
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
        if (const TCustomForm* other = Screen->Forms(i); other != this && other->Visible())
            taken.push_back(TPoint{other->Left(), other->Top()});
    const TCustomForm* center = nullptr;
    switch (FPosition) {
    case poMainFormCenter: center = Application ? Application->MainForm() : nullptr; break;
    case poOwnerFormCenter: center = dynamic_cast<const TCustomForm*>(Owner()); break;
    default: break;
    }
    if (center == this)
        center = nullptr;
    const bool screenCenter = FPosition == poScreenCenter || FPosition == poDesktopCenter;
    if (!center && !screenCenter) {
        if (FPlaceGiven)
            return;
        const TRect area = Screen ? Screen->WorkAreaRect() : TRect{};
        const TPoint place = CascadePlace(Width(), Height(), area, taken);
        SetBounds(place.x, place.y, Width(), Height());
        return;
    }
    TRect area =
        center ? center->BoundsRect() : TRect{0, 0, Screen ? Screen->Width() : 0, Screen ? Screen->Height() : 0};
    // A docked form's bounds are its site's client coordinates.
    if (center && center->Parent()) {
        const TPoint origin = center->ClientToScreen(TPoint{0, 0});
        area = Bounds(origin.x, origin.y, center->Width(), center->Height());
    }
    int left = area.Left + (area.Width() - Width()) / 2;
    int top = area.Top + (area.Height() - Height()) / 2;
    if (center && Screen) {
        // Centred on a window near a screen edge, it stays on the screen: its right and bottom
        // edges first, then its title bar, which wins when it is larger than the screen.
        left = std::max(std::min(left, Screen->Width() - Width()), 0);
        top = std::max(std::min(top, Screen->Height() - Height()), 0);
    }
    const TPoint place = AwayFromTaken(TPoint{left, top}, taken);
    SetBounds(place.x, place.y, Width(), Height());
}

void TCustomForm::VisibleChanged()
{
    if (Visible()) {
        HandleNeeded();
        DoShow();
        ApplyPosition();
        UpdateWidgetVisible();
        if (HandleAllocated() && Visible()) {
            Handle()->raise();
            if (!FShowingWithoutActivation)
                Handle()->activateWindow();
            // The control chosen while the form was hidden gets the focus now.
            if (FActiveControl && FActiveControl->CanFocus() && FActiveControl->HandleAllocated())
                FActiveControl->Handle()->setFocus(Qt::OtherFocusReason);
        }
    } else {
        const bool wasActive = FActive;
        UpdateWidgetVisible();
        DoHide();
        // Once the window system has had its say (a window manager picks a window itself, none
        // leaves the keys going nowhere), and only if that window is still shown then (a closing
        // main window hides its windows, then itself).
        if (wasActive && FActiveBefore)
            QueueCall([before = FActiveBefore] {
                const QWidget* active = QApplication::activeWindow();
                if (before && before->isVisible() && (!active || !active->isVisible()))
                    before->activateWindow();
            });
    }
}

QWidget* WindowWithTheKeys()
{
    QWidget* active = QApplication::activeWindow();
    if (active && active->isVisible())
        return active;
    TCustomForm* last = Screen ? Screen->ActiveForm() : nullptr;
    return last && last->Visible() && last->HandleAllocated() ? last->Handle() : nullptr;
}

void ActivateAgain(QWidget* window)
{
    if (window && window->isVisible() && !window->isActiveWindow())
        window->activateWindow();
}

void TCustomForm::ShowWithoutActivation()
{
    HandleNeeded();
    Handle()->setAttribute(Qt::WA_ShowWithoutActivating, true);
    FShowingWithoutActivation = true;
    Show();
    FShowingWithoutActivation = false;
    if (HandleAllocated())
        Handle()->setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::PaintWindow()
{
    if (OnPaint)
        OnPaint(this);
}

void TCustomForm::BringToFront()
{
    if (HandleAllocated()) {
        Handle()->raise();
        Handle()->activateWindow();
    }
}

// --- Closing ----------------------------------------------------------------------------------

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::Close()
{
    if (Modal()) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        Hide();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    default: Release(); break;
    }
}

bool TCustomForm::WindowCloseRequested()
{
    Close();
    return !Visible();
}

void TCustomForm::Release()
{
    Hide();
    TCustomForm* self = this;
    QueueCall([self] {
        // Only if nobody freed it meanwhile.
        if (Screen && Screen->HasForm(self))
            delete self;
    });
}

void TCustomForm::CloseModal()
{
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone)
        FModalResult = mrNone;
    else if (action == caFree)
        Release();
}

namespace {
TModalFormHook& ModalFormHook()
{
    static TModalFormHook hook;
    return hook;
}
}  // namespace

TModalFormHook SetModalFormHook(TModalFormHook hook)
{
    std::swap(ModalFormHook(), hook);
    return hook;
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || Modal())
        throw EInvalidOperation("Cannot make a visible window modal");
    FModalResult = mrNone;
    ++FModalLevel;
    HandleNeeded();
    Handle()->setWindowModality(Qt::ApplicationModal);
    struct TLevel {
        TCustomForm* f;
        QPointer<QWidget> before = WindowWithTheKeys();
        ~TLevel()
        {
            // Hidden while still modal: Qt keeps a window that stops being modal while shown in its
            // list of modal windows, and every other window then stays blocked for good.
            f->Hide();
            if (f->HandleAllocated())
                f->Handle()->setWindowModality(Qt::NonModal);
            --f->FModalLevel;
            // The window that was active before gets the keys again.
            ActivateAgain(before);
        }
    } level{this};
    // The dialog takes the mouse: a press that opened it (a double click) never sees its release,
    // and the capture that press set would take the first click on the form after the dialog.
    SetCaptureControl(nullptr);
    Show();
    if (ModalFormHook()) {
        // A copy: the hook may replace itself.
        const TModalFormHook hook = ModalFormHook();
        hook(*this);
    }
    QEventLoop loop;
    for (;;) {
        if (Application && Application->Terminated()) {
            if (FModalResult == mrNone)
                FModalResult = mrCancel;
            break;
        }
        if (FModalResult != mrNone) {
            CloseModal();
            if (FModalResult != mrNone)
                break;
        }
        if (!Visible()) {
            FModalResult = mrCancel;
            break;
        }
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
    return FModalResult;
}

// --- Focus and activation ---------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control == FActiveControl)
        return;
    if (control && (!ContainsControl(control) || control == this))
        throw EInvalidOperation("Invalid control for the form's active control");
    if (control && Visible() && !control->CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = control;
    if (control && control->HandleAllocated() && Visible())
        control->Handle()->setFocus(Qt::OtherFocusReason);
}

void TCustomForm::FocusControl(TWinControl* control)
{
    SetActiveControl(control);
    // Without a window system focus (hidden or inactive window) the bookkeeping still follows.
    if (control && FFocusedControl != control && (!control->HandleAllocated() || !control->Focused()))
        SetFocusedControl(control);
    // Focusing a control of a window that is not the active one activates that window, so the
    // keys typed next reach the control (a capture window that was just shown keeps none).
    if (control && Visible() && HandleAllocated() && !Handle()->isActiveWindow())
        Handle()->activateWindow();
}

void TCustomForm::SetFocusedControl(TWinControl* control)
{
    if (control == FFocusedControl)
        return;
    TWinControl* old = FFocusedControl;
    FFocusedControl = control;
    if (control != this)
        FActiveControl = control;
    // Exit from the old chain up to the common parent, enter down the new one.
    for (TWinControl* c = old; c && c != this && !(control && c->ContainsControl(control)); c = c->Parent()) {
        c->Perform(CM_EXIT);
        if (FFocusedControl != control)
            return;
    }
    std::vector<TWinControl*> enter;
    for (TWinControl* c = control; c && c != this && !(old && c->ContainsControl(old)); c = c->Parent())
        enter.push_back(c);
    for (auto it = enter.rbegin(); it != enter.rend(); ++it) {
        (*it)->Perform(CM_ENTER);
        if (FFocusedControl != control)
            return;
    }
    // Every control of the form hears where the focus went (a label shows its focus control's).
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::SelectNext(TWinControl* current, bool forward, bool checkTabStop)
{
    if (!HandleAllocated())
        return;
    QWidget* start = current && current->HandleAllocated() ? current->Handle() : Handle();
    QWidget* w = start;
    do {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        TWinControl* c = TWinControl::FromWidget(w);
        if (c && c != this && ContainsControl(c) && c->CanFocus() && (!checkTabStop || c->TabStop())) {
            FocusControl(c);
            return;
        }
    } while (w && w != start);
}

bool TCustomForm::IsShortCut(uint16_t Key, TShiftState Shift)
{
    bool handled = false;
    if (OnShortCut)
        OnShortCut(Key, Shift, handled);
    return handled || FormMenuShortCut(this, Key, Shift);
}

void TCustomForm::SetMenu(TMainMenu* menu)
{
    if (menu == FMenu)
        return;
    if (FMenu)
        FMenu->RemoveFreeNotification(this);
    FMenu = menu;
    if (menu) {
        menu->FreeNotification(this);
        if (HandleAllocated())
            menu->MenuBar(Handle());
    }
    Realign();
}

void TCustomForm::AdjustClientRect(TRect& Rect)
{
    if (FMenu) {
        FMenu->FitBar(Width());
        Rect.Top += FMenu->BarHeight();
    }
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMenu) {
        FMenu = nullptr;
        if (!InState(csDestroying))
            Realign();
    }
}

void TCustomForm::SetActive(bool v)
{
    if (v == FActive)
        return;
    FActive = v;
    if (v) {
        if (Screen) {
            TCustomForm* before = Screen->FActiveForm;
            if (before && before != this && before->HandleAllocated())
                FActiveBefore = before->Handle();
            Screen->FActiveForm = this;
        }
        Activate();
    } else {
        Deactivate();
    }
}

void TCustomForm::Activate()
{
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (OnDeactivate)
        OnDeactivate(this);
}
