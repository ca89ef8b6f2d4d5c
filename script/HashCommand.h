#pragma once
// The "#" command words. TScriptState::ExecuteHashCommand (HashCommand.cpp) takes the command word
// and looks it up in the tables below, one per group of words (HashCommand*.cpp); a word no table
// has is reported as unknown.

#include <optional>
#include <span>
#include <string_view>

#include "platform/core/AnsiString.h"

class TScriptState;

// One "#" command being run: its arguments are taken, in order, from the tokenizer that has just
// split off the command word. A handler takes every argument it needs before it runs anything,
// since a command it runs uses the same tokenizer.
class THashCall {
public:
    THashCall(TScriptState& state, std::string_view rest) : State(state), Rest(rest) {}

    // The next argument split at blanks; none when no word is left.
    std::optional<AnsiString> Word();
    // The next argument split at ','.
    std::optional<AnsiString> Item();
    // The next argument split at blanks or ','.
    std::optional<AnsiString> Number();

    TScriptState& State;
    // The text after the command word and the separator that ended it.
    const std::string_view Rest;
};

using THashHandler = void (*)(THashCall&);

struct THashWord {
    std::string_view Word;
    THashHandler Run;
};

// The words of each group.
std::span<const THashWord> FileHashWords();      // load, save
std::span<const THashWord> MiscHashWords();      // rem, play, cr, echo, beep
std::span<const THashWord> TriggerHashWords();   // td ... tmo
std::span<const THashWord> TimerHashWords();     // tio ... std, tim
std::span<const THashWord> VariableHashWords();  // vd, vr, vsd, vns, vs, vm
std::span<const THashWord> ButtonHashWords();    // bto, btf
std::span<const THashWord> WalkHashWords();      // wl ... wfn

// The handler of a command word, or null when no group knows it.
THashHandler FindHashCommand(std::string_view word);

namespace HashText {

// "tim" without its seconds.
inline constexpr const char* TimerUsage =
    "\r\n\xBB\xE7\xBF\xEB\xB9\xFD : \xC5\xB8\xC0\xCC\xB8\xD3\xC0\xCC\xB8\xA7 \xC3\xCA\xBC\xF6\n\r";

}  // namespace HashText
