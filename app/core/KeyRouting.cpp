#include "app/core/KeyRouting.h"

#include "platform/core/VirtualKeys.h"
#include "script/CmdFile.h"

bool EditsWhileDisconnected(uint16_t key) { return key == VK_BACK; }

bool MayRunKeyMacro(uint16_t key, bool extended)
{
    const bool grey = (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE;
    return !(extended && grey);
}

void TKeyRouting::FormKeyDown(uint16_t& key, TShiftState shift, bool extended, IKeyWindow& window)
{
    FKeyConsumed = 1;
    if (!window.Connected()) {
        if (key == VK_RETURN)
            window.ConnectHost();
        else if (!EditsWhileDisconnected(key))
            key = 0;
        return;
    }
    if (!MayRunKeyMacro(key, extended))
        return;
    const cKeyMacro* macro = FindKeyMacro(window.KeyMacros(), key, shift);
    if (!macro)
        return;
    FKeyConsumed = 0;
    // A copy: the command may load another command file and free the macro.
    const AnsiString command = macro->ToBuff;
    window.ExecuteCommand(command);
}

void TKeyRouting::FormKeyPress(char& key) const
{
    if (FKeyConsumed == 0)
        key = 0;
}

void TKeyRouting::InputKeyDown(uint16_t key, TShiftState shift, bool extended, IKeyWindow& window,
                               TTypedHistory& history)
{
    if (!extended)
        return;
    if (key == VK_PRIOR || key == VK_NEXT) {
        window.FocusTerminal();
        if (key == VK_PRIOR)
            window.PageUp();
        else
            window.PageDown();
        return;
    }
    if (key != VK_UP && key != VK_DOWN)
        return;
    if (shift.Contains(ssShift)) {
        if (key == VK_UP)
            window.CursorUp();
        else
            window.CursorDown();
        return;
    }
    if (auto line = key == VK_UP ? history.Up() : history.Down())
        window.ShowInInput(*line);
}

void TKeyRouting::TerminalKeyDown(uint16_t key, bool extended, IKeyWindow& window)
{
    if (!extended)
        return;
    switch (key) {
    case VK_PRIOR: window.PageUp(); break;
    case VK_NEXT: window.PageDown(); break;
    case VK_UP: window.CursorUp(); break;
    case VK_DOWN: window.CursorDown(); break;
    default: break;
    }
}

void TKeyRouting::MouseWheel(bool up, IKeyWindow& window)
{
    for (int i = 0; i < kWheelLines; ++i) {
        if (up)
            window.CursorUp();
        else
            window.CursorDown();
    }
}
