#pragma once
// Qt keys to Windows virtual-key codes and shift state. Command files store keys as virtual-key
// codes, so the numeric keypad, the grey editing keys and the letter keys must come out exactly
// as Windows reports them. The extended-key bit (bit 24 of the key data) marks the grey keys;
// under X11 it and the scan code come from the native key code, elsewhere from Qt's keypad flag.

#include <QKeyEvent>
#include <cstdint>

#include "platform/core/AnsiString.h"
#include "platform/core/Component.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Messages.h"


// Key data bits (the LParam of key messages).
constexpr LPARAM KF_EXTENDED_BIT = 1 << 24;
constexpr LPARAM KF_ALTDOWN_BIT = 1 << 29;
constexpr LPARAM KF_REPEAT_BIT = 1 << 30;
constexpr LPARAM KF_UP_BIT = static_cast<LPARAM>(1u << 31);

struct TKeyStroke {
    uint16_t Key = 0;  // virtual-key code; 0 when the key has none
    TShiftState Shift;
    LPARAM KeyData = 0;  // repeat count 1, scan code, extended bit, Alt, previous state, release
};

uint16_t QtKeyToVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);
TShiftState ModifiersToShiftState(Qt::KeyboardModifiers modifiers);
// Set-1 scan code and extended flag of a Linux input key code (the X11 key code less 8);
// false for codes without one.
bool LinuxKeyToScanCode(unsigned linuxCode, unsigned& scanCode, bool& extended);
TKeyStroke TranslateKeyEvent(const QKeyEvent& e);
// The cp949 bytes a key event types (its text); a character outside cp949 becomes "?".
AnsiString KeyEventChars(const QKeyEvent& e);

// The shift state of the key message being handled (key messages carry only Alt in their data).
TShiftState CurrentKeyShift();
void SetCurrentKeyShift(TShiftState shift);

// The state of a key as the program's key messages left it (GetKeyState reads it for the keys the
// window system does not report): bit 15 while the key is down, bit 0 its toggle, which every
// press (not a repeat) flips. The key bridge notes each key message of the program's windows;
// keys pressed while another program had the keyboard are not seen.
int16_t NotedKeyState(int virtualKey);
void NoteKeyState(uint16_t virtualKey, bool press, bool autoRepeat);
