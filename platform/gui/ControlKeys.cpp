// The key phases and input-method text of a windowed control's widget.

#include "platform/gui/Application.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/KeyBridge.h"
#include "platform/gui/WinControl.h"

namespace {

bool Hook(TWinControl* c, unsigned msg, WPARAM w, LPARAM l)
{
    TMsg m{c, msg, w, l};
    return Application && Application->HookMessage(m);
}

// Types the bytes through the key-press phase; a two-byte character is typed whole or not at
// all. Returns false when the control went away meanwhile.
bool DeliverChars(QWidget* w, TWinControl* c, const AnsiString& bytes, LPARAM keyData, AnsiString& kept, bool& changed)
{
    for (size_t i = 0; i < bytes.size();) {
        size_t len = static_cast<size_t>(CharLengthAt(bytes, i));
        AnsiString out;
        bool drop = false;
        for (size_t j = i; j < i + len; ++j) {
            char k = bytes[j];
            if (Hook(c, WM_CHAR, static_cast<unsigned char>(k), keyData)) {
                k = 0;
            } else {
                TMessage m{WM_CHAR, static_cast<unsigned char>(k), keyData, 0};
                c->WndProc(m);
                k = static_cast<char>(m.WParam);
            }
            if (TWidgetBridge::ControlOf(w) != c)
                return false;
            if (k != bytes[j])
                changed = true;
            if (k == 0)
                drop = true;
            else
                out += k;
        }
        if (!drop)
            kept += out;
        i += len;
    }
    return true;
}

}  // namespace

bool TWidgetBridge::Key(QWidget* w, QKeyEvent* e, std::unique_ptr<QKeyEvent>& replacement)
{
    TWinControl* c = ControlOf(w);
    if (!c)
        return true;
    const bool press = e->type() == QEvent::KeyPress;
    TKeyStroke ks = TranslateKeyEvent(*e);
    SetCurrentKeyShift(ks.Shift);
    NoteKeyState(ks.Key, press, e->isAutoRepeat());
    bool keyDefault = true;
    // As Windows: keys held with Alt (without Ctrl), F10 and Alt itself are system keys, which
    // type no characters.
    const bool sys = (ks.Shift.Contains(ssAlt) && !ks.Shift.Contains(ssCtrl)) || ks.Key == VK_F10 || ks.Key == VK_MENU;
    if (ks.Key != 0) {
        unsigned msg = press ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
        if (Hook(c, msg, ks.Key, ks.KeyData))
            return false;
        TMessage cn{press ? CN_KEYDOWN : CN_KEYUP, ks.Key, ks.KeyData, 0};
        c->WndProc(cn);
        if (cn.Result != 0 || ControlOf(w) != c)
            return false;
        TMessage km{msg, ks.Key, ks.KeyData, 0};
        c->WndProc(km);
        if (ControlOf(w) != c)
            return false;
        keyDefault = km.WParam != 0;
    }
    if (press && sys && keyDefault && !e->text().isEmpty())
        replacement = std::make_unique<QKeyEvent>(e->type(), e->key(), e->modifiers(), QString());
    if (!press || sys)
        return keyDefault;
    AnsiString chars = KeyEventChars(*e);
    AnsiString kept;
    bool changed = false;
    if (!DeliverChars(w, c, chars, ks.KeyData, kept, changed))
        return false;
    if (keyDefault && !changed)
        return true;
    QString text = AnsiToQString(kept);
    if (keyDefault) {
        replacement = std::make_unique<QKeyEvent>(e->type(), e->key(), e->modifiers(), text, e->isAutoRepeat(),
                                                  static_cast<quint16>(e->count()));
        return true;
    }
    // The key's own action is suppressed; the characters it typed still arrive.
    if (kept.empty())
        return false;
    replacement = std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    return true;
}

bool TWidgetBridge::InputMethod(QWidget* w, QInputMethodEvent* e, std::unique_ptr<QInputMethodEvent>& replacement)
{
    TWinControl* c = ControlOf(w);
    if (!c)
        return true;
    const QString preedit = e->preeditString();
    const QString commit = e->commitString();
    if (!preedit.isEmpty() && !SetComposing(w, true)) {
        c->Perform(WM_IME_STARTCOMPOSITION);
        if (ControlOf(w) != c)
            return false;
    }
    AnsiString kept;
    bool changed = false;
    if (!commit.isEmpty()) {
        Hook(c, WM_IME_KEYDOWN, VK_PROCESSKEY, 0);
        AnsiString bytes = QStringToAnsi(commit);
        for (size_t i = 0; i < bytes.size();) {
            size_t len = static_cast<size_t>(CharLengthAt(bytes, i));
            AnsiString ch = bytes.substr(i, len);
            i += len;
            AnsiString typed = ch;
            if (len == 2) {
                // A double-byte character arrives as WM_IME_CHAR; its default types its bytes.
                c->FImeChars.clear();
                unsigned code = (static_cast<unsigned char>(ch[0]) << 8) | static_cast<unsigned char>(ch[1]);
                c->Perform(WM_IME_CHAR, code, 1);
                if (ControlOf(w) != c)
                    return false;
                typed = std::move(c->FImeChars);
                c->FImeChars.clear();
                if (typed != ch)
                    changed = true;
            }
            if (!DeliverChars(w, c, typed, 1, kept, changed))
                return false;
        }
    }
    if (!preedit.isEmpty()) {
        AnsiString first = QStringToAnsi(preedit.left(1));
        unsigned code = first.size() == 2
            ? (static_cast<unsigned char>(first[0]) << 8) | static_cast<unsigned char>(first[1])
            : (first.empty() ? 0u : static_cast<unsigned char>(first[0]));
        c->Perform(WM_IME_COMPOSITION, code, GCS_COMPSTR);
    } else if (SetComposing(w, false)) {
        c->Perform(WM_IME_ENDCOMPOSITION);
    }
    if (ControlOf(w) != c)
        return false;
    if (changed) {
        replacement = std::make_unique<QInputMethodEvent>(preedit, e->attributes());
        replacement->setCommitString(AnsiToQString(kept), e->replacementStart(), e->replacementLength());
    }
    return true;
}
