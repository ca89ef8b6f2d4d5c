#pragma once
// The key handling of a character window, without the display: the window's key preview (key
// macros, and reconnecting while not connected), the input line's scrolling and history keys, the
// terminal's scrolling keys and the mouse wheel. Every handler takes the key as the framework
// passes it (a virtual-key code, by reference: 0 suppresses the key's own action) and whether the
// key carries the extended-key mark (the grey cursor, page and editing keys, not the same keys on
// the numeric keypad).

#include <cstdint>

#include "app/core/TypedHistory.h"
#include "platform/core/AnsiString.h"
#include "platform/core/ShiftState.h"
#include "script/Records.h"

class IKeyWindow {
public:
    virtual ~IKeyWindow() = default;

    virtual bool Connected() = 0;
    virtual void ConnectHost() = 0;
    virtual const TKeyMacroList& KeyMacros() = 0;
    virtual void ExecuteCommand(const AnsiString& text) = 0;

    // The terminal's view: one line or one page back (up) or forward (down).
    virtual void CursorUp() = 0;
    virtual void CursorDown() = 0;
    virtual void PageUp() = 0;
    virtual void PageDown() = 0;
    virtual void FocusTerminal() = 0;
    // Puts a history line into the input line.
    virtual void ShowInInput(const AnsiString& text) = 0;
};

// True for the keys that still edit the input line while not connected. Backspace erases there as
// it would where it arrives as a typed character; every other editing key loses its action.
bool EditsWhileDisconnected(uint16_t key);

// True when the key may run a key macro: the grey cursor, page, Insert and Delete keys never do
// (the same keys on the numeric keypad can), so they keep moving and editing.
bool MayRunKeyMacro(uint16_t key, bool extended);

class TKeyRouting {
public:
    // Lines the view moves for one step of the mouse wheel.
    static constexpr int kWheelLines = 4;

    // 1 while a key is handled normally, 0 after a key macro ran for the key being pressed.
    uint8_t KeyConsumed() const { return FKeyConsumed; }

    // The window's preview of every key-down. Not connected: Enter starts a reconnect and goes on
    // to the input line, Backspace goes on to edit it, any other key loses its key-down.
    // Connected: a key bound to a key macro runs the macro, and the key still goes on.
    void FormKeyDown(uint16_t& key, TShiftState shift, bool extended, IKeyWindow& window);
    // The character of a key that ran a key macro is not typed.
    void FormKeyPress(char& key) const;
    // Any key-up ends the keystroke that ran a key macro: what is typed next is typed, also text
    // from an input method, which arrives without a key-down of its own.
    void FormKeyUp() { FKeyConsumed = 1; }
    // The input line: PageUp and PageDown scroll the terminal a page and give it the focus; Shift
    // with Up or Down scrolls one line; Up and Down alone walk the history.
    static void InputKeyDown(uint16_t key, TShiftState shift, bool extended, IKeyWindow& window,
                             TTypedHistory& history);
    // The terminal: PageUp, PageDown, Up and Down scroll it.
    static void TerminalKeyDown(uint16_t key, bool extended, IKeyWindow& window);
    static void MouseWheel(bool up, IKeyWindow& window);

private:
    uint8_t FKeyConsumed = 1;
};
