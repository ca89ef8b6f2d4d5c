#pragma once
// The script records of one character: triggers, variables, key macros, buttons, user timers,
// aliases, the settings record and the walk record. Records are owned by the list that holds them.

#include <cstdint>
#include <vector>

#include "platform/core/AnsiString.h"
#include "script/OwnedList.h"

class TMyButton;
class TExTimerEvent;

class cTriggers {
public:
    cTriggers() = default;
    virtual ~cTriggers() = default;

    // Status bits.
    static constexpr uint32_t Enabled = 0x1;
    static constexpr uint32_t FiredOnLine = 0x2;
    static constexpr uint32_t StaysEnabled = 0x4;
    static constexpr uint32_t CompleteOnly = 0x8;

    cTriggers* ParentRec = nullptr;
    int32_t Action = 0;  // kept for the command file only
    int32_t Number = 0;
    uint32_t Status = Enabled | StaysEnabled | CompleteOnly;
    int32_t Parent = 0;  // the parent's number as read from a command file
    AnsiString NickName;
    AnsiString Group;
    AnsiString From;  // the pattern
    AnsiString To;    // the action
    AnsiString FileName;
};

class cVariables {
public:
    cVariables() = default;
    virtual ~cVariables() = default;

    int32_t Action = 0;
    int32_t Spare = 0;
    char Type = 'S';  // 'D' numeric, 'S' text
    AnsiString Name;
    AnsiString Dvalue;
    AnsiString Value;
    AnsiString ReturnText;  // copy of Value handed out by the read operations
    AnsiString FileName;
};

class cKeyMacro {
public:
    cKeyMacro() = default;
    virtual ~cKeyMacro() = default;

    int32_t Action = 1;  // bit 0 enabled
    AnsiString Name;
    uint16_t ShortCut = 0;  // key code and shift bits, as the framework's ShortCut encodes them
    AnsiString ToBuff;
    AnsiString FileName;
};

struct cButton {
    int32_t Action = 0;
    int32_t Status = 0;  // bit 0: the button is on
    AnsiString Name;
    AnsiString OnBuff;
    AnsiString OffBuff;
    AnsiString Spare;
    AnsiString FileName;
    TMyButton* Control = nullptr;  // the button bar's control, null until the bar builds it
};

struct cTimer {
    static constexpr int32_t CycleForever = 0x2;  // Action bit

    int32_t Action = CycleForever;
    int32_t Status = 0;  // 0 off, 1 on, 2 restart, 3 off
    int32_t Ticker = 0;  // period in seconds
    int32_t Countdown = 0;
    int32_t Repeat = 0;
    int32_t RepeatsLeft = 0;
    AnsiString Name;
    AnsiString OnBuff;
    AnsiString Spare;
    int Handle = 0;
    TExTimerEvent* Event = nullptr;  // its event in the window's user-timer list
};

struct cAlias {
    int32_t Action = 0;
    AnsiString Name;
    AnsiString Text;  // the replacement
    AnsiString FileName;
};

struct cConfig {
    uint8_t TrigMode = 0;  // 1 = triggers on; else only "#tro" triggers are tried
    int32_t ActivePage = 2;
    int32_t TimerActivee = 0;
    int32_t ToolView = 15;  // 0x1 windows bar, 0x2 command bar, 0x4 walk bar, 0x8 other bar
    AnsiString StatusLine;
    AnsiString StartUpCmd;
    AnsiString WFCFCmd;
    AnsiString WFCSCmd;
};

struct cWalk {
    int32_t State = 0;  // 0 none, 1 recording, 2 loaded
    int32_t Current = 0;
    int32_t Previous = -1;
    int32_t Saved = 0;
    uint8_t StepPending = 0;
    uint8_t MultiStep = 0;
    AnsiString FileName;
    AnsiString Comment;  // pending comment for the next recorded step
    std::vector<AnsiString> Steps;
};

// A typed text slot: captures (Kind 2 digits, 3 word, 4 any text) and function arguments (Kind 0).
struct cWordSlot {
    int32_t Kind = 0;
    AnsiString Text;
};

using TButtonList = TOwnedList<cButton>;
using TTimerRecList = TOwnedList<cTimer>;
using TTriggerList = TOwnedList<cTriggers>;
using TVariableList = TOwnedList<cVariables>;
using TAliasList = TOwnedList<cAlias>;
using TKeyMacroList = TOwnedList<cKeyMacro>;
