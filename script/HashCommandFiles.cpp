// "#" words of command files: "load" and "save".

#include "script/HashCommand.h"
#include "script/ScriptState.h"

namespace {

// A start-up command of the file may load it again; the executor's nesting limit ends that.
void Load(THashCall& call)
{
    if (auto file = call.Word())
        call.State.LoadCmdFile(*file);
}

void Save(THashCall& call)
{
    if (auto file = call.Word())
        call.State.SaveCmdFile(*file);
}

constexpr THashWord Words[] = {
    {"load", Load},
    {"save", Save},
};

}  // namespace

std::span<const THashWord> FileHashWords() { return Words; }
