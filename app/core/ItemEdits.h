#pragma once
// The item dialogs' rules without their windows: what each dialog shows of its record, the
// checks its Save makes, and what it writes. The dialogs (app/forms/*EditUnit.h) read their
// controls into these structures and show the messages named here.

#include <cstdint>

#include "platform/core/AnsiString.h"
#include "platform/core/ShortCuts.h"
#include "script/Records.h"

namespace ItemEdit {

// Edit lengths, in cp949 bytes: the trigger's pattern, the button's and the alias's name, the
// timer's two numbers.
inline constexpr int kPatternMaxLength = 150;
inline constexpr int kButtonNameMaxLength = 20;
inline constexpr int kAliasNameMaxLength = 20;
inline constexpr int kTimerNumberMaxLength = 5;
inline constexpr int kTimerNumberMin = 1;
inline constexpr int kTimerNumberMax = 65535;

// --- Trigger dialog.
struct TTriggerFields {
    bool On = false;     // "실행": Status bit 0
    bool Cycle = false;  // "순환": Status bit 2
    bool Line = false;   // "라인단위반응": Status bit 3
    AnsiString NickName, Group, From, To;
};
TTriggerFields TriggerFields(const cTriggers& r);
// "트리거 에디터(" + the number + ")".
AnsiString TriggerCaption(const cTriggers& r);
// Writes the fields (an empty nickname becomes the number) and Action bit 0 cleared; true when
// the dialog may close: the pattern and the action are both set. A refused save has written.
bool SaveTrigger(cTriggers& r, const TTriggerFields& fields);

// --- Key-macro dialog.
// Another macro of the list (not self) that has the shortcut, or null.
const cKeyMacro* KeyTakenBy(const TKeyMacroList& list, const cKeyMacro* self, TShortCut shortCut);
// ShortCut, Name as the menus show the shortcut ("Ctrl+F1"), and the command text.
void SaveMacro(cKeyMacro& r, TShortCut shortCut, const AnsiString& toBuff);

// --- Button dialog.
struct TButtonFields {
    AnsiString Name;
    bool On = false;  // "상태" shows "On"
    AnsiString OnBuff, OffBuff;
};
TButtonFields ButtonFields(const cButton& r);
// Only a button with an Off command can be on (a toggle): choosing "On" without one goes back to
// "Off".
bool ButtonMayBeOn(const AnsiString& offBuff);
// False (nothing written) for an empty name; else Action 0 and the fields, Status bit 0 only
// for a toggle chosen "On".
bool SaveButton(cButton& r, const TButtonFields& fields);
// What the dialog writes, from the copy it edited onto the record the copy was taken from.
void WriteBackButton(cButton& to, const cButton& from);

// --- Timer dialog.
// The "상태" choices in their order: Off, On, Stop, Reset.
enum TTimerChoice : int { tcOff = 0, tcOn, tcStop, tcReset };
int TimerChoiceOf(int32_t status);
int32_t TimerStatusOf(int choice);
// A cycling timer has no repeat count: its box is disabled.
inline bool TimerRepeatEnabled(bool cycle) { return !cycle; }
struct TTimerFields {
    AnsiString Name;
    bool Cycle = false;
    int Ticker = 0;
    int Repeat = 0;
    int Choice = tcOff;
    AnsiString OnBuff;
};
TTimerFields TimerFields(const cTimer& r);
// False (nothing written) for an empty name; else Name, Action (bit 1 for cycling), Ticker,
// Status, OnBuff and Repeat. The caller then applies the timer to its event.
bool SaveTimer(cTimer& r, const TTimerFields& fields);

// --- Alias and variable dialogs.
enum class TNameCheck { Ok, Empty, Taken };
// An empty name, or one that another alias (exact compare) has.
TNameCheck CheckAliasName(const TAliasList& list, const cAlias* self, const AnsiString& name);
void SaveAlias(cAlias& r, const AnsiString& name, const AnsiString& text);
// An empty name, or one that another variable (exact compare) has; taken is then its name.
TNameCheck CheckVariableName(const TVariableList& list, const cVariables* self, const AnsiString& name,
                             AnsiString& taken);
// "변수 이름(name)를 가진 다른 변수가 있습니다."
AnsiString VariableTakenText(const AnsiString& name);
// Name, Action 0, Type 'D' for a number or 'S' for text, Value; the default value stays.
void SaveVariable(cVariables& r, const AnsiString& name, bool number, const AnsiString& value);
// A blank typed into the variable's name box is swallowed.
inline bool VariableNameTakes(char key) { return key != ' '; }

}  // namespace ItemEdit
