#include "platform/gui/SyntheticInput.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>
#include <map>

#include "platform/core/Cp949.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/DragDrop.h"
#include "platform/gui/WinControl.h"

namespace {

Qt::MouseButtons gHeld;

Qt::KeyboardModifiers Modifiers(TShiftState Shift)
{
    Qt::KeyboardModifiers m;
    if (Shift.Contains(ssShift))
        m |= Qt::ShiftModifier;
    if (Shift.Contains(ssCtrl))
        m |= Qt::ControlModifier;
    if (Shift.Contains(ssAlt))
        m |= Qt::AltModifier;
    return m;
}

const std::map<std::string, std::pair<uint16_t, int>, std::less<>>& Names()
{
    static const std::map<std::string, std::pair<uint16_t, int>, std::less<>> names{
        {"VK_BACK", {VK_BACK, Qt::Key_Backspace}},
        {"VK_TAB", {VK_TAB, Qt::Key_Tab}},
        {"VK_RETURN", {VK_RETURN, Qt::Key_Return}},
        {"VK_ESCAPE", {VK_ESCAPE, Qt::Key_Escape}},
        {"VK_SPACE", {VK_SPACE, Qt::Key_Space}},
        {"VK_PRIOR", {VK_PRIOR, Qt::Key_PageUp}},
        {"VK_NEXT", {VK_NEXT, Qt::Key_PageDown}},
        {"VK_END", {VK_END, Qt::Key_End}},
        {"VK_HOME", {VK_HOME, Qt::Key_Home}},
        {"VK_LEFT", {VK_LEFT, Qt::Key_Left}},
        {"VK_UP", {VK_UP, Qt::Key_Up}},
        {"VK_RIGHT", {VK_RIGHT, Qt::Key_Right}},
        {"VK_DOWN", {VK_DOWN, Qt::Key_Down}},
        {"VK_INSERT", {VK_INSERT, Qt::Key_Insert}},
        {"VK_DELETE", {VK_DELETE, Qt::Key_Delete}},
    };
    return names;
}

int QtKeyOf(uint16_t vk, char typed)
{
    for (const auto& [name, keys] : Names())
        if (keys.first == vk)
            return keys.second;
    if (vk >= VK_F1 && vk <= VK_F1 + 23)
        return Qt::Key_F1 + (vk - VK_F1);
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return vk;
    return typed ? static_cast<int>(static_cast<unsigned char>(typed)) : static_cast<int>(Qt::Key_unknown);
}

}  // namespace

bool VirtualKeyOf(const AnsiString& Name, uint16_t& VirtualKey, AnsiString& Text)
{
    Text.clear();
    if (const auto it = Names().find(Name); it != Names().end()) {
        VirtualKey = it->second.first;
        if (VirtualKey == VK_SPACE)
            Text = " ";
        else if (VirtualKey == VK_RETURN)
            Text = "\r";
        else if (VirtualKey == VK_ESCAPE)
            Text = "\x1B";
        else if (VirtualKey == VK_BACK)
            Text = "\b";
        else if (VirtualKey == VK_TAB)
            Text = "\t";
        return true;
    }
    if (Name.size() > 3 && Name[0] == 'V' && Name[1] == 'K' && Name[2] == '_' && Name[3] == 'F') {
        int n = 0;
        if (TryStrToInt(std::string_view(Name).substr(4), n) && n >= 1 && n <= 24) {
            VirtualKey = static_cast<uint16_t>(VK_F1 + n - 1);
            return true;
        }
        return false;
    }
    if (Name.empty() || static_cast<size_t>(CharLengthAt(Name, 0)) != Name.size())
        return false;
    const char c = Name[0];
    Text = Name;
    if (c >= 'a' && c <= 'z')
        VirtualKey = static_cast<uint16_t>(c - 'a' + 'A');
    else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        VirtualKey = static_cast<uint16_t>(c);
    else if (c == ' ')
        VirtualKey = VK_SPACE;
    else
        VirtualKey = 0;  // punctuation and Hangul type their text only
    return true;
}

void SendKeyStroke(TWinControl* Control, uint16_t VirtualKey, TShiftState Shift, const AnsiString& Text)
{
    QWidget* w = InputWindow(Control);
    const int key = QtKeyOf(VirtualKey, Text.size() == 1 ? Text[0] : 0);
    const QString text = QString::fromStdString(Cp949ToUtf8(Text));
    QKeyEvent down(QEvent::KeyPress, key, Modifiers(Shift), text);
    QCoreApplication::sendEvent(w, &down);
    // The press may have freed the control; the release goes to a window that still exists.
    if (TWinControl::FromWidget(w) != Control)
        return;
    QKeyEvent up(QEvent::KeyRelease, key, Modifiers(Shift), text);
    QCoreApplication::sendEvent(w, &up);
}

void SendMouseInput(TWinControl* Control, TMouseAction Action, TMouseButton Button, int X, int Y, TShiftState Shift)
{
    QWidget* w = InputWindow(Control);
    const Qt::MouseButton button = Button == mbLeft ? Qt::LeftButton
        : Button == mbRight                         ? Qt::RightButton
                                                    : Qt::MiddleButton;
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton changed = Qt::NoButton;
    switch (Action) {
    case maDown:
        type = QEvent::MouseButtonPress;
        changed = button;
        gHeld |= button;
        break;
    case maDouble:
        type = QEvent::MouseButtonDblClick;
        changed = button;
        gHeld |= button;
        break;
    case maUp:
        type = QEvent::MouseButtonRelease;
        changed = button;
        gHeld &= ~Qt::MouseButtons(button);
        break;
    case maMove: break;
    }
    const QPointF local(X, Y);
    const QPointF global = w->mapToGlobal(local);
    QMouseEvent e(type, local, local, global, changed, gHeld, Modifiers(Shift));
    QCoreApplication::sendEvent(w, &e);
}

void SendWheelInput(TWinControl* Control, int Delta, TShiftState Shift, int X, int Y)
{
    QWidget* w = InputWindow(Control);
    const QPointF local(X, Y);
    QWheelEvent e(local, w->mapToGlobal(local), QPoint(), QPoint(0, Delta), gHeld, Modifiers(Shift), Qt::NoScrollPhase,
                  false);
    QCoreApplication::sendEvent(w, &e);
}

void SendImeCommit(TWinControl* Control, const AnsiString& Text)
{
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromStdString(Cp949ToUtf8(Text)));
    QCoreApplication::sendEvent(Control->Handle(), &commit);
}

void SendTypedText(TWinControl* Control, const AnsiString& Text)
{
    for (size_t i = 0; i < Text.size();) {
        const size_t len = static_cast<size_t>(CharLengthAt(Text, i));
        const AnsiString ch = Text.substr(i, len);
        i += len;
        if (len == 2) {
            SendImeCommit(Control, ch);
            continue;
        }
        uint16_t vk = 0;
        AnsiString typed;
        if (ch == "\r")
            vk = VK_RETURN;
        else if (ch == "\t")
            vk = VK_TAB;
        else if (ch == "\b")
            vk = VK_BACK;
        else if (ch == "\x1B")
            vk = VK_ESCAPE;
        else
            VirtualKeyOf(ch, vk, typed);
        // Upper-case letters are typed with Shift held.
        const TShiftState shift = ch[0] >= 'A' && ch[0] <= 'Z' ? TShiftState{ssShift} : TShiftState{};
        SendKeyStroke(Control, vk, shift, ch);
    }
}

TWinControl* FocusedControl()
{
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (TWinControl* c = TWinControl::FromWidget(w))
            return c;
    return nullptr;
}

int SendDropInput(TWinControl* Control, const TDragData& Data, TShiftState Shift, int X, int Y)
{
    QPointer<QWidget> w = InputWindow(Control);
    if (!w)
        return DROPEFFECT_NONE;
    const std::unique_ptr<QMimeData> mime = MimeDataOf(Data, RTFAware());
    // A file manager offers its files to copy or move, copying unless told otherwise.
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    const QPointF at(X, Y);
    QDragEnterEvent enter(at.toPoint(), offered, mime.get(), Qt::LeftButton, Modifiers(Shift));
    QCoreApplication::sendEvent(w, &enter);
    if (!w || !enter.isAccepted())
        return DROPEFFECT_NONE;
    QDragMoveEvent move(at.toPoint(), offered, mime.get(), Qt::LeftButton, Modifiers(Shift));
    QCoreApplication::sendEvent(w, &move);
    if (!w)
        return DROPEFFECT_NONE;
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(w, &leave);
        return DROPEFFECT_NONE;
    }
    QDropEvent drop(at, offered, mime.get(), Qt::LeftButton, Modifiers(Shift));
    drop.setDropAction(move.dropAction());
    QCoreApplication::sendEvent(w, &drop);
    if (!drop.isAccepted())
        return DROPEFFECT_NONE;
    return drop.dropAction() == Qt::MoveAction ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}
