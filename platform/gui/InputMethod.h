#pragma once
// The input method's conversion status, which the Hangul/English indicators show. Linux has no
// portable way to ask for it (the input method runs in another process, behind IBus, Fcitx or
// none), so every window answers that it has no input method context.

#include <cstdint>
#include <optional>

class TWinControl;

// The conversion mode of the window's input method context (1: native, Hangul), or none when the
// window has no context or the query fails.
inline std::optional<uint32_t> ImmGetConversionStatus(const TWinControl* /*window*/) { return std::nullopt; }
