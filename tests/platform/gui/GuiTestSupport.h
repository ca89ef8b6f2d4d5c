#pragma once
// Shared by the GUI tests: one application object for the whole test program, and helpers that
// send synthetic Qt input to a control's widget.

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <functional>
#include <string>

#include "platform/gui/Application.h"

// The application (made before the first test; offscreen unless QT_QPA_PLATFORM names a platform).
TApplication* TestApplication();

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void SendKey(QWidget* w, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             const QString& text = QString());
// Press then release.
void TypeKey(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString());

// Screenshots under Xvfb: whether the run has a real X display; the events of a few turns of
// the loop; the form shown and its client area read back from the X server; and that picture
// checked against the golden PNG FOLDER/NAME.png of the source tree (HM_UPDATE_GOLDEN=1 writes
// it instead), allowing font smoothing to differ on a few pixels.
bool OnX();
void Settle(int rounds = 10);
QImage Shoot(TForm& form);
void ExpectScreenshot(TForm& form, const std::string& folder, const std::string& name);
// Any picture checked the same way against FOLDER/NAME.png.
void ExpectPicture(const QImage& picture, const std::string& folder, const std::string& name);
// The same for a rectangle of the screen (popup windows included), in screen coordinates.
void ExpectScreenRect(int left, int top, int width, int height, const std::string& folder, const std::string& name);

// Once `ready` finds the widget shown, gives it the focus, runs `then` (a screenshot of it, say)
// and runs the xdotool commands.
void TypeWhenShown(std::function<QWidget*()> ready, const char* commands, std::function<void(QWidget*)> then = nullptr);

// The test environment cancels unhooked dialogs and pop-ups; tests that want the real ones hold
// one of these.
class TRealDialogs {
public:
    TRealDialogs();
    ~TRealDialogs();

private:
    std::string FOld;
};

// A control of the form, placed on it.
template <class T>
T* Place(TForm& form, int l, int t, int w, int h)
{
    auto* c = new T(&form);
    c->SetBounds(l, t, w, h);
    c->SetParent(&form);
    return c;
}
