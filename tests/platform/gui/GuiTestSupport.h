#pragma once
// Shared by the GUI tests: one application object for the whole test program, and helpers that
// send synthetic Qt input to a control's widget.

#include <QByteArray>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <string>

#include "platform/gui/Application.h"
#include "tests/platform/gui/RealX.h"
#include "tests/platform/gui/XWait.h"

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
// it instead), allowing font smoothing to differ on a few pixels. The X server maps and paints in
// its own time, later on a loaded machine: the checks read the screen again until it matches
// (XWait.h's deadline), and a picture that never matches is saved in the temporary folder.
bool OnX();
void Settle(int rounds = 10);
// Shows the form and waits until the X server has it on the screen (a failure when it never
// comes).
void ShowOnScreen(TForm& form);
QImage Shoot(TForm& form);
void ExpectScreenshot(TForm& form, const std::string& folder, const std::string& name);
// The same for a rectangle of the screen (popup windows included), in screen coordinates.
void ExpectScreenRect(int left, int top, int width, int height, const std::string& folder, const std::string& name);
// A picture made otherwise (a file a tool painted), checked once the same way against FOLDER/NAME.png.
void ExpectPicture(const QImage& picture, const std::string& folder, const std::string& name);

// The colour of a pixel of a picture, without its alpha.
inline QRgb RgbAt(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

// Once `ready` finds the widget on the screen, gives it the focus, waits until the X server has
// given it, runs `then` (a screenshot of it, say) and runs the xdotool commands. A widget that
// never shows, or stays shown long after the commands, fails the test and is closed so that the
// loop waiting on it ends.
void TypeWhenShown(std::function<QWidget*()> ready, const char* commands, std::function<void(QWidget*)> then = nullptr);

// Runs a program (xclip, xdotool) to its end while the loop answers the X server meanwhile, and
// gives its standard output; a program that does not start or end in time fails the test.
QByteArray RunServed(const QString& program, const QStringList& args, const QByteArray& input = {});

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

// How many of its clicks a button placed on the form at (10, 100) runs when it is clicked once
// (pressed and released): 1, unless the click went elsewhere.
int ClicksOfAButtonClickedOnce(TForm& form);

// An alignment's name, for messages: "top", "left", ..., "none".
const char* AlignName(TAlign align);
