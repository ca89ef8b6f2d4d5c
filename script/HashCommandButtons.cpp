// "#" words of the command buttons: switching one on or off as a click would.

#include "script/Buttons.h"
#include "script/HashCommand.h"
#include "script/ScriptState.h"

namespace {

void On(THashCall& call)
{
    if (auto name = call.Word())
        ButtonOn(call.State, *name);
}

void Off(THashCall& call)
{
    if (auto name = call.Word())
        ButtonOff(call.State, *name);
}

constexpr THashWord Words[] = {
    {"bto", On},
    {"btf", Off},
};

}  // namespace

std::span<const THashWord> ButtonHashWords() { return Words; }
