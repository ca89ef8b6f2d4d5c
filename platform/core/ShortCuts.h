#pragma once
// The framework's shortcut value: the virtual-key code in the low byte, 0x2000 Shift, 0x4000
// Ctrl, 0x8000 Alt. Command files store this number.

#include <cstdint>
#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/core/ShiftState.h"

using TShortCut = uint16_t;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

// 0 for a key code above 255; only Shift, Ctrl and Alt of the shift state count.
inline TShortCut ShortCut(uint16_t key, TShiftState shift)
{
    if (key > 0xFF)
        return 0;
    TShortCut result = key;
    if (shift.Contains(ssShift))
        result |= scShift;
    if (shift.Contains(ssCtrl))
        result |= scCtrl;
    if (shift.Contains(ssAlt))
        result |= scAlt;
    return result;
}

inline void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift)
{
    key = static_cast<uint16_t>(shortCut & ~(scShift | scCtrl | scAlt));
    shift = TShiftState();
    if (shortCut & scShift)
        shift << ssShift;
    if (shortCut & scCtrl)
        shift << ssCtrl;
    if (shortCut & scAlt)
        shift << ssAlt;
}
// "Shift+", "Ctrl+", "Alt+" (in that order) and the key's name ("F1", "Enter", "A", "Up");
// empty for a key without a name.
AnsiString ShortCutToText(TShortCut shortCut);
// The inverse: modifiers in any order and case; 0 when the key name is unknown.
TShortCut TextToShortCut(std::string_view text);
// The name of a virtual key as a shortcut shows it, empty when it has none.
AnsiString KeyName(uint8_t key);
