// ctlrun's mouse, key and typing directives: synthetic Qt events sent to the widget under the
// point (a wrapped widget's inner part, such as a list's viewport), as the window system would.

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "platform/gui/Graphics.h"
#include "tools/ctlrun/CtlRun.h"
#include "tools/ctlrun/CtlRunText.h"

namespace {

// The widget and point a control's client point falls on.
QWidget* Target(TControl* c, QPoint& pos)
{
    TWinControl* host = dynamic_cast<TWinControl*>(c);
    if (!host) {
        host = c->Parent();
        if (!host)
            throw ECtlError("not on the form: " + c->Name());
        pos += QPoint(c->Left(), c->Top());
    }
    QWidget* w = host->Handle();
    if (QWidget* inner = w->childAt(pos)) {
        pos = inner->mapFrom(w, pos);
        return inner;
    }
    return w;
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods)
{
    QPointF local(pos);
    QMouseEvent e(type, local, local, QPointF(w->mapToGlobal(pos)), button, buttons, mods);
    QCoreApplication::sendEvent(w, &e);
}

struct TKeyName {
    const char* name;
    int key;
    const char* text;
};

const TKeyName kKeys[] = {
    {"Enter", Qt::Key_Return, "\r"},
    {"Escape", Qt::Key_Escape, "\x1B"},
    {"Space", Qt::Key_Space, " "},
    {"Tab", Qt::Key_Tab, "\t"},
    {"Backspace", Qt::Key_Backspace, "\b"},
    {"Delete", Qt::Key_Delete, ""},
    {"Home", Qt::Key_Home, ""},
    {"End", Qt::Key_End, ""},
    {"PgUp", Qt::Key_PageUp, ""},
    {"PgDn", Qt::Key_PageDown, ""},
    {"Left", Qt::Key_Left, ""},
    {"Right", Qt::Key_Right, ""},
    {"Up", Qt::Key_Up, ""},
    {"Down", Qt::Key_Down, ""},
    {"NumAdd", Qt::Key_Plus, "+"},
    {"NumSub", Qt::Key_Minus, "-"},
};

}  // namespace

void TCtlRun::Mouse(std::string_view line)
{
    std::vector<AnsiString> w = Words(line);
    const AnsiString kind = w[0];
    size_t first = kind == "mouse" ? 3 : 2;
    if (w.size() < first + 2)
        throw ECtlError("missing arguments: " + kind);
    TControl* c = FindControl(w[1]);
    int x = 0, y = 0;
    if (!TryStrToInt(w[first], x) || !TryStrToInt(w[first + 1], y))
        throw ECtlError("bad value: " + w[first] + " " + w[first + 1]);
    Qt::MouseButton button = Qt::LeftButton;
    Qt::KeyboardModifiers mods;
    for (size_t i = first + 2; i < w.size(); ++i) {
        if (w[i] == "Left")
            button = Qt::LeftButton;
        else if (w[i] == "Right")
            button = Qt::RightButton;
        else if (w[i] == "Shift")
            mods |= Qt::ShiftModifier;
        else if (w[i] == "Ctrl")
            mods |= Qt::ControlModifier;
        else if (w[i] == "Alt")
            mods |= Qt::AltModifier;
        else
            throw ECtlError("bad value: " + w[i]);
    }
    QPoint pos(x, y);
    QWidget* target = Target(c, pos);
    QPointer<QWidget> alive = target;
    auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        if (alive)
            SendMouse(alive, type, pos, type == QEvent::MouseMove ? Qt::NoButton : button, buttons, mods);
    };
    if (kind == "mouse") {
        const AnsiString& what = w[2];
        if (what == "down")
            send(QEvent::MouseButtonPress, button);
        else if (what == "up")
            send(QEvent::MouseButtonRelease, Qt::NoButton);
        else if (what == "move")
            send(QEvent::MouseMove, Qt::NoButton);
        else
            throw ECtlError("bad value: " + what);
        return;
    }
    send(QEvent::MouseButtonPress, button);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    if (kind == "dblclick") {
        send(QEvent::MouseButtonDblClick, button);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    }
}

void TCtlRun::Key(const AnsiString& name, const AnsiString& spec)
{
    auto* c = dynamic_cast<TWinControl*>(Find(name));
    if (!c)
        throw ECtlError("not a windowed control: " + name);
    std::string_view s = spec;
    Qt::KeyboardModifiers mods;
    for (;;) {
        if (s.substr(0, 6) == "Shift+") {
            mods |= Qt::ShiftModifier;
            s.remove_prefix(6);
        } else if (s.substr(0, 5) == "Ctrl+") {
            mods |= Qt::ControlModifier;
            s.remove_prefix(5);
        } else if (s.substr(0, 4) == "Alt+") {
            mods |= Qt::AltModifier;
            s.remove_prefix(4);
        } else {
            break;
        }
    }
    int key = 0;
    QString text;
    if (s.size() == 1 && ((s[0] >= 'A' && s[0] <= 'Z') || (s[0] >= '0' && s[0] <= '9'))) {
        key = s[0];
        char ch =
            (s[0] >= 'A' && s[0] <= 'Z' && !(mods & Qt::ShiftModifier)) ? static_cast<char>(s[0] - 'A' + 'a') : s[0];
        if ((mods & Qt::ControlModifier) && s[0] >= 'A' && s[0] <= 'Z')
            ch = static_cast<char>(s[0] - 'A' + 1);
        text = QString(QChar(ch));
    } else if (s.size() >= 2 && s.size() <= 3 && s[0] == 'F' && StrToIntDef(s.substr(1), 0) >= 1 &&
               StrToIntDef(s.substr(1), 0) <= 12) {
        key = Qt::Key_F1 + StrToIntDef(s.substr(1), 1) - 1;
    } else {
        for (const TKeyName& k : kKeys) {
            if (s == k.name) {
                key = k.key;
                text = QString::fromLatin1(k.text);
                if (s.substr(0, 3) == "Num")
                    mods |= Qt::KeypadModifier;
            }
        }
    }
    if (key == 0)
        throw ECtlError("bad value: " + spec);
    QPointer<QWidget> w = c->Handle();
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(w, &press);
    if (w) {
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QCoreApplication::sendEvent(w, &release);
    }
}

void TCtlRun::Type(const AnsiString& name, const AnsiString& text)
{
    auto* c = dynamic_cast<TWinControl*>(Find(name));
    if (!c)
        throw ECtlError("not a windowed control: " + name);
    QPointer<QWidget> w = c->Handle();
    for (size_t i = 0; i < text.size() && w;) {
        size_t len = static_cast<size_t>(CharLengthAt(text, i));
        QString q = AnsiToQString(text.substr(i, len));
        i += len;
        if (len == 2) {
            // A Hangul syllable comes from the input method, committed whole.
            QInputMethodEvent commit;
            commit.setCommitString(q);
            QCoreApplication::sendEvent(w, &commit);
            continue;
        }
        char ch = text[i - 1];
        int key = (ch >= 'a' && ch <= 'z') ? ch - 'a' + 'A' : static_cast<unsigned char>(ch);
        if (ch == '\r' || ch == '\n')
            key = Qt::Key_Return;
        else if (ch == '\t')
            key = Qt::Key_Tab;
        else if (ch == '\b')
            key = Qt::Key_Backspace;
        Qt::KeyboardModifiers mods = (ch >= 'A' && ch <= 'Z') ? Qt::ShiftModifier : Qt::NoModifier;
        QKeyEvent press(QEvent::KeyPress, key, mods, q);
        QCoreApplication::sendEvent(w, &press);
        if (w) {
            QKeyEvent release(QEvent::KeyRelease, key, mods, q);
            QCoreApplication::sendEvent(w, &release);
        }
    }
}
