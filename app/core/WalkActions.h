#pragma once
// When the character window's walk actions are enabled, and which tool bars its ToolView bits
// show. The window's action Update handlers ask these; the actions' Execute handlers call the
// walk engine.

#include <array>
#include <cstdint>

#include "script/Records.h"

enum class TWalkRule : uint8_t {
    Always,     // no Update handler
    Recording,  // a walk is being recorded
    CanRewind,  // a walk is open and its current index is above 0
    HasNext,    // a walk is open and a step is left at the current index
    Pending,    // a slow-walk step waits for its confirmation
    Open,       // a walk is open
};

struct TWalkAction {
    const char* Name;
    const char* Caption;
    TWalkRule Rule;
};
// Every walk action of the window, in menu order.
extern const std::array<TWalkAction, 15> kWalkActions;

bool WalkActionEnabled(TWalkRule rule, const cWalk& walk);

// ToolView bits.
enum TToolBarBit : int32_t { WindowsBar = 0x1, CmdBar = 0x2, WalkBar = 0x4, OtherBar = 0x8 };

struct TToolBarAction {
    TToolBarBit Bit;
    const char* ToolBar;
    const char* Action;
    const char* Caption;
};
extern const std::array<TToolBarAction, 4> kToolBarActions;

inline bool ToolBarShown(int32_t toolView, TToolBarBit bit) { return (toolView & bit) != 0; }
// The tool-bar action's Execute: flips the bar's bit; true when the bar is now shown.
bool ToggleToolBar(int32_t& toolView, TToolBarBit bit);
