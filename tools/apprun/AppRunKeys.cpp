// apprun's keyboard and mouse directives: real Qt key and wheel events sent to the window's
// controls, so they pass the key bridge, the program's message hook, the form's key preview and
// the control's own handling as a player's keys would.

#include "tools/apprun/AppRunKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>
#include <cctype>
#include <string_view>

#include "app/core/TypedHistory.h"
#include "app/forms/AnsiTerminal.h"
#include "controls/lib/ToolEdit.h"
#include "platform/core/AnsiString.h"
#include "platform/core/Strings.h"
#include "platform/gui/Graphics.h"
#include "terminal/control/Terminal.h"

namespace {

struct TQtKey {
    int Key = 0;
    Qt::KeyboardModifiers Modifiers;
    QString Text;
};

// The focused control of the window: where the window system would send a key.
QWidget* KeyTarget(TAppRun& run)
{
    TAnsiTerminalForm& window = run.Window();
    TWinControl* target = window.ActiveControl();
    return (target ? target : static_cast<TWinControl*>(&window))->Handle();
}

void Press(QWidget* target, const TQtKey& k)
{
    QPointer<QWidget> alive(target);
    QKeyEvent press(QEvent::KeyPress, k.Key, k.Modifiers, k.Text);
    QCoreApplication::sendEvent(target, &press);
    // The press may have freed the control.
    QKeyEvent release(QEvent::KeyRelease, k.Key, k.Modifiers, k.Text);
    if (alive)
        QCoreApplication::sendEvent(target, &release);
}

// A typed character as the key that types it (US layout).
TQtKey CharKey(std::string_view ch)
{
    TQtKey k;
    k.Text = AnsiToQString(ch);
    if (ch.size() != 1) {
        k.Key = Qt::Key_unknown;  // a Hangul character: text only, no virtual key
        return k;
    }
    const auto c = static_cast<unsigned char>(ch[0]);
    if (c == '\r' || c == '\n') {
        k.Key = Qt::Key_Return;
        k.Text = "\r";
    } else if (c == '\t') {
        k.Key = Qt::Key_Tab;
    } else {
        k.Key = std::toupper(c);
        if (std::isupper(c) ||
            std::string_view("~!@#$%^&*()_+{}|:\"<>?").find(static_cast<char>(c)) != std::string_view::npos)
            k.Modifiers |= Qt::ShiftModifier;
    }
    return k;
}

struct TNamedKey {
    const char* Name;
    int Key;
    bool Keypad;
    const char* Text;
};

// Num0-Num9 are the keypad with NumLock off: the editing and cursor keys without the extended bit.
const TNamedKey kNamedKeys[] = {
    {"Enter", Qt::Key_Return, false, "\r"},
    {"Escape", Qt::Key_Escape, false, "\x1b"},
    {"Tab", Qt::Key_Tab, false, "\t"},
    {"Space", Qt::Key_Space, false, " "},
    {"Backspace", Qt::Key_Backspace, false, "\b"},
    {"Up", Qt::Key_Up, false, ""},
    {"Down", Qt::Key_Down, false, ""},
    {"Left", Qt::Key_Left, false, ""},
    {"Right", Qt::Key_Right, false, ""},
    {"PageUp", Qt::Key_PageUp, false, ""},
    {"PageDown", Qt::Key_PageDown, false, ""},
    {"Home", Qt::Key_Home, false, ""},
    {"End", Qt::Key_End, false, ""},
    {"Insert", Qt::Key_Insert, false, ""},
    {"Delete", Qt::Key_Delete, false, ""},
    {"Num0", Qt::Key_Insert, true, ""},
    {"Num1", Qt::Key_End, true, ""},
    {"Num2", Qt::Key_Down, true, ""},
    {"Num3", Qt::Key_PageDown, true, ""},
    {"Num4", Qt::Key_Left, true, ""},
    {"Num5", Qt::Key_Clear, true, ""},
    {"Num6", Qt::Key_Right, true, ""},
    {"Num7", Qt::Key_Home, true, ""},
    {"Num8", Qt::Key_Up, true, ""},
    {"Num9", Qt::Key_PageUp, true, ""},
};

// [Shift+][Ctrl+][Alt+]NAME.
TQtKey ParseKey(const AnsiString& spec)
{
    TQtKey k;
    AnsiString name = spec;
    for (const auto& [prefix, modifier] :
         {std::pair{"Shift+", Qt::ShiftModifier}, std::pair{"Ctrl+", Qt::ControlModifier},
          std::pair{"Alt+", Qt::AltModifier}}) {
        if (name.rfind(prefix, 0) == 0) {
            k.Modifiers |= modifier;
            name.erase(0, std::string_view(prefix).size());
        }
    }
    const bool shift = k.Modifiers & Qt::ShiftModifier;
    const bool ctrl = k.Modifiers & Qt::ControlModifier;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        const char c = name[0];
        k.Key = std::toupper(static_cast<unsigned char>(c));
        if (std::isalpha(static_cast<unsigned char>(c)))
            k.Text = QString(QChar(ctrl ? (k.Key & 0x1F) : shift ? k.Key : std::tolower(k.Key)));
        else if (!ctrl)
            k.Text = QString(QChar(c));
        return k;
    }
    if (name.size() >= 2 && name[0] == 'F') {
        int n = 0;
        if (TryStrToInt(name.substr(1), n) && n >= 1 && n <= 12) {
            k.Key = Qt::Key_F1 + n - 1;
            return k;
        }
    }
    for (const TNamedKey& named : kNamedKeys) {
        if (name != named.Name)
            continue;
        k.Key = named.Key;
        if (named.Keypad)
            k.Modifiers |= Qt::KeypadModifier;
        k.Text = named.Text;
        return k;
    }
    throw EAppRunError("unknown key " + spec);
}

}  // namespace

void AppRunType(TAppRun& run, const AnsiString& rest)
{
    for (size_t i = 0; i < rest.size();) {
        const size_t length = static_cast<size_t>(CharLengthAt(rest, i));
        Press(KeyTarget(run), CharKey(std::string_view(rest).substr(i, length)));
        run.Pump();
        i += length;
    }
}

void AppRunKey(TAppRun& run, const AnsiString& rest) { Press(KeyTarget(run), ParseKey(rest)); }

void AppRunPostText(TAppRun& run, const AnsiString& text)
{
    QWidget* target = KeyTarget(run);
    for (size_t i = 0; i < text.size();) {
        const size_t length = static_cast<size_t>(CharLengthAt(text, i));
        const TQtKey k = CharKey(std::string_view(text).substr(i, length));
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, k.Key, k.Modifiers, k.Text));
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, k.Key, k.Modifiers, k.Text));
        i += length;
    }
}

void AppRunPressKey(QWidget* target, const AnsiString& spec) { Press(target, ParseKey(spec)); }

void AppRunFocus(TAppRun& run, const AnsiString& rest)
{
    TAnsiTerminalForm& window = run.Window();
    if (rest == "terminal")
        window.Terminal()->SetFocus();
    else if (rest == "input")
        window.ComboEdit()->SetFocus();
    else
        throw EAppRunError("focus input|terminal");
}

void AppRunWheel(TAppRun& run, const AnsiString& rest)
{
    AnsiString args = rest;
    const size_t blank = args.find(' ');
    const AnsiString direction = args.substr(0, blank);
    int steps = 1;
    if (blank != AnsiString::npos && (!TryStrToInt(args.substr(blank + 1), steps) || steps < 0))
        throw EAppRunError("not a number: " + args.substr(blank + 1));
    if (direction != "up" && direction != "down")
        throw EAppRunError("wheel up|down N");
    QWidget* target = run.Window().Terminal()->Handle();
    const QPoint delta(0, direction == "up" ? 120 : -120);
    const QPointF at(10, 10);
    for (int i = 0; i < steps; ++i) {
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), delta, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(target, &wheel);
    }
}

void AppRunHistory(TAppRun& run, const AnsiString&)
{
    TTypedHistory& history = run.Window().History();
    run.Print("HISTORY " + std::to_string(history.Count()));
    for (int i = 0; i < history.Count(); ++i)
        run.Print("H " + TAppRun::Text(history.Line(i)));
    run.Print("CURSOR " + std::to_string(history.HistoryIndex()));
}
