#pragma once
// The Qt side of a windowed control: a widget that turns Qt's events into the control's
// messages (mouse with capture and enter/leave, keys in their phases, input-method text,
// painting, size, focus). TWidgetAdapter<QWidget> is the widget of a custom-painted control;
// a control wrapping a Qt widget class (an edit, a list) uses TWidgetAdapter<thatClass>, whose
// own handling runs as the default action of each message that is not suppressed.
//
// Keys: CN_KEYDOWN (shortcuts, Tab to the form's dialog keys), then WM_KEYDOWN (KeyDown, the
// form's first with KeyPreview; 0 suppresses the key's own action), then one WM_CHAR per cp949
// byte (KeyPress; 0 suppresses the character), WM_KEYUP on release. Keys held with Alt are
// WM_SYSKEYDOWN / WM_SYSKEYUP and type no character, as in Windows. Input-method text arrives
// the same way: each double-byte character as WM_IME_CHAR, whose default handling types its two
// bytes as two KeyPress calls (lead byte first); a character is typed whole or not at all. The
// application's hook sees every key, character, mouse and timer message first.

#include <QCloseEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QWheelEvent>
#include <QWidget>
#include <memory>
#include <type_traits>
#include <utility>

#include "platform/gui/Controls.h"

class TWinControl;

// The window that takes a control's mouse and drops: a scrolled window's viewport (Qt ignores
// mouse events sent to the scroll area itself), else the control's own; positions on it are the
// control's client coordinates.
QWidget* InputWindow(TWinControl* Control);

class TWidgetBridge {
public:
    static void Register(QWidget* widget, TWinControl* control, bool selfPainted);
    static void Detach(QWidget* widget);
    // Marks whether an input-method composition runs in the widget; returns the old mark.
    static bool SetComposing(QWidget* widget, bool composing);
    static TWinControl* ControlOf(const QWidget* widget);
    static void Reparent(TWinControl* control);
    static void ChildRemoved(TWinControl* parent, TControl* child);
    static bool InWidgetResize(const TWinControl* control);
    static void ApplyCursor(TWinControl* control, TCursor cursor);

    // Each returns true when the Qt base class should handle the event (maybe `replacement`).
    static bool Event(QWidget* w, QEvent* e);
    static bool Mouse(QWidget* w, QMouseEvent* e);
    // The pop-up that has the mouse now (a combo box's list, a calendar), or null.
    static QWidget* OpenPopup();
    // A press that opened a pop-up never sees its release: the capture it set is dropped.
    static void PressOpenedPopup(QWidget* w);
    static bool Key(QWidget* w, QKeyEvent* e, std::unique_ptr<QKeyEvent>& replacement);
    static bool InputMethod(QWidget* w, QInputMethodEvent* e, std::unique_ptr<QInputMethodEvent>& replacement);
    static bool Wheel(QWidget* w, QWheelEvent* e);
    static void Paint(QWidget* w, QPaintEvent* e);
    // After a Qt widget class painted itself: the graphic controls it holds (the labels of a
    // group box), painted into its back buffer and shown over that picture.
    static void PaintGraphicChildren(QWidget* w, QPaintEvent* e);
    static void Resized(QWidget* w);
    // Gives the widget the control's bounds. A window's Left and Top are those of its frame, as
    // the window system's own windows have them: placed at the top of the screen, its title bar
    // shows.
    static void Place(QWidget* w, const TControl* c);
    static void Focus(QWidget* w, bool in);
    static bool Close(QWidget* w, QCloseEvent* e);
    // An exception escaping a handler goes to the application's exception handling.
    static void HandleException();

    // Whether Qt is delivering an event to the widget or to one inside it: such a widget must
    // not be deleted now (its control may be freed by its own handler).
    static bool InEvent(const QWidget* widget);
    struct TEventScope {
        explicit TEventScope(const QWidget* w);
        ~TEventScope();
        TEventScope(const TEventScope&) = delete;
        TEventScope& operator=(const TEventScope&) = delete;
    };
};

// Forgets a control that is going away (mouse tracking, capture, timers, focus bookkeeping).
void ForgetControl(TControl* control);
Qt::CursorShape ToQtCursorShape(TCursor cursor);

template <class Base>
class TWidgetAdapter : public Base {
public:
    template <class... Args>
    explicit TWidgetAdapter(TWinControl* control, Args&&... args) : Base(std::forward<Args>(args)...)
    {
        TWidgetBridge::Register(this, control, std::is_same_v<Base, QWidget>);
        this->setMouseTracking(true);
        if constexpr (std::is_same_v<Base, QWidget>) {
            this->setAttribute(Qt::WA_OpaquePaintEvent);
            this->setAttribute(Qt::WA_InputMethodEnabled);
        }
    }
    ~TWidgetAdapter() override { TWidgetBridge::Detach(this); }

protected:
    bool event(QEvent* e) override
    {
        TWidgetBridge::TEventScope scope(this);
        bool base = true;
        try {
            base = TWidgetBridge::Event(this, e);
        } catch (...) {
            TWidgetBridge::HandleException();
        }
        return base ? Base::event(e) : true;
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        MouseCall(e, [this](QMouseEvent* ev) { Base::mousePressEvent(ev); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        MouseCall(e, [this](QMouseEvent* ev) { Base::mouseReleaseEvent(ev); });
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        MouseCall(e, [this](QMouseEvent* ev) { Base::mouseMoveEvent(ev); });
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        MouseCall(e, [this](QMouseEvent* ev) { Base::mouseDoubleClickEvent(ev); });
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        KeyCall(e, [this](QKeyEvent* ev) { Base::keyPressEvent(ev); });
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        KeyCall(e, [this](QKeyEvent* ev) { Base::keyReleaseEvent(ev); });
    }
    void inputMethodEvent(QInputMethodEvent* e) override
    {
        std::unique_ptr<QInputMethodEvent> replacement;
        bool base = false;
        try {
            base = TWidgetBridge::InputMethod(this, e, replacement);
        } catch (...) {
            TWidgetBridge::HandleException();
        }
        if (base && !std::is_same_v<Base, QWidget>)
            Base::inputMethodEvent(replacement ? replacement.get() : e);
        e->accept();
    }
    void wheelEvent(QWheelEvent* e) override
    {
        bool base = false;
        try {
            base = TWidgetBridge::Wheel(this, e);
        } catch (...) {
            TWidgetBridge::HandleException();
        }
        if (base && !std::is_same_v<Base, QWidget>)
            Base::wheelEvent(e);
        e->accept();
    }
    void paintEvent(QPaintEvent* e) override
    {
        if constexpr (std::is_same_v<Base, QWidget>) {
            try {
                TWidgetBridge::Paint(this, e);
            } catch (...) {
                TWidgetBridge::HandleException();
            }
        } else {
            Base::paintEvent(e);
            try {
                TWidgetBridge::PaintGraphicChildren(this, e);
            } catch (...) {
                TWidgetBridge::HandleException();
            }
        }
    }
    void resizeEvent(QResizeEvent* e) override
    {
        Base::resizeEvent(e);
        try {
            TWidgetBridge::Resized(this);
        } catch (...) {
            TWidgetBridge::HandleException();
        }
    }
    void moveEvent(QMoveEvent* e) override
    {
        Base::moveEvent(e);
        try {
            TWidgetBridge::Resized(this);
        } catch (...) {
            TWidgetBridge::HandleException();
        }
    }
    void focusInEvent(QFocusEvent* e) override
    {
        Base::focusInEvent(e);
        try {
            TWidgetBridge::Focus(this, true);
        } catch (...) {
            TWidgetBridge::HandleException();
        }
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        Base::focusOutEvent(e);
        try {
            TWidgetBridge::Focus(this, false);
        } catch (...) {
            TWidgetBridge::HandleException();
        }
    }
    void closeEvent(QCloseEvent* e) override
    {
        bool base = false;
        try {
            base = TWidgetBridge::Close(this, e);
        } catch (...) {
            TWidgetBridge::HandleException();
            e->ignore();
        }
        if (base)
            Base::closeEvent(e);
    }

private:
    template <class F>
    void MouseCall(QMouseEvent* e, F handler)
    {
        bool base = false;
        try {
            base = TWidgetBridge::Mouse(this, e);
        } catch (...) {
            TWidgetBridge::HandleException();
        }
        if (base && !std::is_same_v<Base, QWidget>) {
            const bool press = e->type() == QEvent::MouseButtonPress;
            QWidget* popup = press ? TWidgetBridge::OpenPopup() : nullptr;
            handler(e);
            if (press && TWidgetBridge::OpenPopup() != popup)
                TWidgetBridge::PressOpenedPopup(this);
        }
        e->accept();
    }
    template <class F>
    void KeyCall(QKeyEvent* e, F handler)
    {
        std::unique_ptr<QKeyEvent> replacement;
        bool base = false;
        try {
            base = TWidgetBridge::Key(this, e, replacement);
        } catch (...) {
            TWidgetBridge::HandleException();
        }
        // Our own widgets never pass a key on: the parent would run the phases again.
        if (base && !std::is_same_v<Base, QWidget>)
            handler(replacement ? replacement.get() : e);
        e->accept();
    }
};

using TControlWidget = TWidgetAdapter<QWidget>;
