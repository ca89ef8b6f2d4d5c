#include "platform/gui/KeyBridge.h"

#include <QGuiApplication>
#include <array>

#include "platform/core/Cp949.h"

namespace {

TShiftState gKeyShift;
// Per virtual key: bit 15 down, bit 0 toggled.
std::array<uint16_t, 256> gKeyStates{};

bool Keypad(Qt::KeyboardModifiers m) { return m & Qt::KeypadModifier; }

// Keys typed with Shift come back to the key that carries them (US layout, as Windows reports
// the virtual key of the physical key).
uint16_t ShiftedSymbolKey(int k)
{
    switch (k) {
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_QuoteDbl: return VK_OEM_7;
    default: return 0;
    }
}

}  // namespace

uint16_t QtKeyToVirtualKey(int k, Qt::KeyboardModifiers m)
{
    if (Keypad(m)) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9)
            return static_cast<uint16_t>(VK_NUMPAD0 + (k - Qt::Key_0));
        switch (k) {
        case Qt::Key_Asterisk: return VK_MULTIPLY;
        case Qt::Key_Plus: return VK_ADD;
        case Qt::Key_Minus: return VK_SUBTRACT;
        case Qt::Key_Period:
        case Qt::Key_Comma: return VK_DECIMAL;
        case Qt::Key_Slash: return VK_DIVIDE;
        default: break;
        }
    }
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return static_cast<uint16_t>(k);
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return static_cast<uint16_t>(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return static_cast<uint16_t>(VK_F1 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Hangul: return VK_HANGUL;
    case Qt::Key_Hangul_Hanja: return VK_HANJA;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Meta:
    case Qt::Key_Super_L: return VK_LWIN;
    case Qt::Key_Super_R: return VK_RWIN;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Semicolon: return VK_OEM_1;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return VK_OEM_PLUS;
    case Qt::Key_Comma: return VK_OEM_COMMA;
    case Qt::Key_Minus: return VK_OEM_MINUS;
    case Qt::Key_Period: return VK_OEM_PERIOD;
    case Qt::Key_Slash: return VK_OEM_2;
    case Qt::Key_QuoteLeft: return VK_OEM_3;
    case Qt::Key_BracketLeft: return VK_OEM_4;
    case Qt::Key_Backslash: return VK_OEM_5;
    case Qt::Key_BracketRight: return VK_OEM_6;
    case Qt::Key_Apostrophe: return VK_OEM_7;
    case Qt::Key_Asterisk: return '8';
    default: return ShiftedSymbolKey(k);
    }
}

TShiftState ModifiersToShiftState(Qt::KeyboardModifiers m)
{
    TShiftState s;
    if (m & Qt::ShiftModifier)
        s << ssShift;
    if (m & Qt::ControlModifier)
        s << ssCtrl;
    if (m & Qt::AltModifier)
        s << ssAlt;
    return s;
}

bool LinuxKeyToScanCode(unsigned code, unsigned& scan, bool& extended)
{
    // Linux key codes 1..88 are the set-1 scan codes themselves.
    if (code >= 1 && code <= 88) {
        scan = code;
        extended = false;
        return true;
    }
    struct TEntry {
        unsigned linux, scan;
        bool ext;
    };
    static const TEntry kTable[] = {
        {96, 0x1C, true},   {97, 0x1D, true},   {98, 0x35, true},   {99, 0x37, true},  {100, 0x38, true},
        {102, 0x47, true},  {103, 0x48, true},  {104, 0x49, true},  {105, 0x4B, true}, {106, 0x4D, true},
        {107, 0x4F, true},  {108, 0x50, true},  {109, 0x51, true},  {110, 0x52, true}, {111, 0x53, true},
        {119, 0x45, false}, {122, 0x72, false}, {123, 0x71, false}, {125, 0x5B, true}, {126, 0x5C, true},
        {127, 0x5D, true},
    };
    for (const TEntry& e : kTable) {
        if (e.linux == code) {
            scan = e.scan;
            extended = e.ext;
            return true;
        }
    }
    return false;
}

namespace {

// Without a native code: the grey editing and cursor keys are those without the keypad flag;
// keypad Enter and "/" are extended too.
bool ExtendedFromQt(int k, Qt::KeyboardModifiers m)
{
    switch (k) {
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down: return !Keypad(m);
    case Qt::Key_Enter: return true;
    case Qt::Key_Slash: return Keypad(m);
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Menu:
    case Qt::Key_Print: return true;
    default: return false;
    }
}

// Scan codes of the keys whose extended bit matters, for platforms without native codes.
unsigned ScanFromVirtualKey(uint16_t vk)
{
    switch (vk) {
    case VK_INSERT: return 0x52;
    case VK_DELETE: return 0x53;
    case VK_HOME: return 0x47;
    case VK_END: return 0x4F;
    case VK_PRIOR: return 0x49;
    case VK_NEXT: return 0x51;
    case VK_LEFT: return 0x4B;
    case VK_UP: return 0x48;
    case VK_RIGHT: return 0x4D;
    case VK_DOWN: return 0x50;
    case VK_RETURN: return 0x1C;
    case VK_ESCAPE: return 0x01;
    case VK_BACK: return 0x0E;
    case VK_TAB: return 0x0F;
    case VK_SPACE: return 0x39;
    default: return 0;
    }
}

}  // namespace

TKeyStroke TranslateKeyEvent(const QKeyEvent& e)
{
    TKeyStroke s;
    Qt::KeyboardModifiers m = e.modifiers();
    s.Key = QtKeyToVirtualKey(e.key(), m);
    s.Shift = ModifiersToShiftState(m);
    if (e.key() == Qt::Key_Backtab)
        s.Shift << ssShift;
    unsigned scan = 0;
    bool extended = false;
    bool native = e.nativeScanCode() > 8 && QGuiApplication::platformName() == QLatin1String("xcb") &&
        LinuxKeyToScanCode(e.nativeScanCode() - 8, scan, extended);
    if (!native) {
        extended = ExtendedFromQt(e.key(), m);
        scan = ScanFromVirtualKey(s.Key);
    }
    LPARAM data = 1 | static_cast<LPARAM>((scan & 0xFF) << 16);
    if (extended)
        data |= KF_EXTENDED_BIT;
    if (m & Qt::AltModifier)
        data |= KF_ALTDOWN_BIT;
    if (e.type() == QEvent::KeyRelease)
        data |= KF_REPEAT_BIT | KF_UP_BIT;
    else if (e.isAutoRepeat())
        data |= KF_REPEAT_BIT;
    s.KeyData = data;
    return s;
}

AnsiString KeyEventChars(const QKeyEvent& e)
{
    QString text = e.text();
    if (text.isEmpty())
        return AnsiString();
    return Utf16ToCp949(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())));
}

TShiftState CurrentKeyShift() { return gKeyShift; }
void SetCurrentKeyShift(TShiftState shift) { gKeyShift = shift; }

int16_t NotedKeyState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey >= static_cast<int>(gKeyStates.size()))
        return 0;
    return static_cast<int16_t>(gKeyStates[static_cast<size_t>(virtualKey)]);
}

void NoteKeyState(uint16_t virtualKey, bool press, bool autoRepeat)
{
    if (virtualKey >= gKeyStates.size())
        return;
    uint16_t& state = gKeyStates[virtualKey];
    if (!press) {
        state &= 0x0001;
        return;
    }
    if (!autoRepeat)
        state ^= 0x0001;
    state |= 0x8000;
}
