// "#" words of the variables: deleting, reading, resetting, setting and computing them.

#include <cctype>

#include "script/HashCommand.h"
#include "script/ScriptState.h"
#include "script/Variables.h"

namespace {

void Delete(THashCall& call)
{
    if (auto name = call.Word())
        DeleteVariable(call.State.VariableList, *name);
}

// The value is handed out and goes nowhere.
void Read(THashCall& call)
{
    if (auto name = call.Word())
        ReadVariable(call.State.VariableList, *name);
}

void Reset(THashCall& call)
{
    if (auto name = call.Word())
        ResetVariable(call.State.VariableList, *name);
}

// A numeric variable set to 0 (created as one when it does not exist), default "0".
void SetZero(THashCall& call)
{
    if (auto name = call.Word())
        SetVariable(call.State.VariableList, *name, "0", "0");
}

// The type a "#vs" word gives: its first character past blanks ("1,0, S" is typed as often as
// "1,0,S"), 'S' or 'D' in either case; 0 for any other, and the type follows from the value:
// a variable is only ever text or a number.
char GivenVariableType(const AnsiString& word)
{
    const size_t at = word.find_first_not_of(' ');
    const char c = at == AnsiString::npos ? 0 : static_cast<char>(std::toupper(static_cast<unsigned char>(word[at])));
    return c == 'S' || c == 'D' ? c : 0;
}

// The name, then value, default and type split at ','. Value and default may be missing; the
// type is the first character of the fourth word, else it follows from the value.
void Set(THashCall& call)
{
    const auto name = call.Word();
    if (!name)
        return;
    const AnsiString value = call.Item().value_or(AnsiString());
    const AnsiString defaultValue = call.Item().value_or(AnsiString());
    const AnsiString type = call.Item().value_or(AnsiString());
    SetVariable(call.State.VariableList, *name, value, defaultValue, GivenVariableType(type));
}

// The name, then the expression and a text to append (for a text variable) split at ','.
void Compute(THashCall& call)
{
    const auto name = call.Word();
    if (!name)
        return;
    const AnsiString expression = call.Item().value_or(AnsiString());
    const AnsiString extra = call.Item().value_or(AnsiString());
    ComputeVariable(call.State, call.State.VariableList, *name, extra, expression);
}

constexpr THashWord Words[] = {
    {"vd", Delete}, {"vr", Read}, {"vsd", Reset}, {"vns", SetZero}, {"vs", Set}, {"vm", Compute},
};

}  // namespace

std::span<const THashWord> VariableHashWords() { return Words; }
