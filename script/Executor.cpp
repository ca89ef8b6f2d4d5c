// The command executor: runs a command text command by command, with aliases and the keywords
// that the executor handles itself.

#include "script/Aliases.h"
#include "script/ScriptNumbers.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"
#include "script/TriggerRecords.h"
#include "script/Variables.h"
#include "script/Words.h"

namespace {

// Skips leading blanks.
std::string_view SkipBlanks(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsScriptBlank(text[i]))
        ++i;
    return text.substr(i);
}

// The command's first word: the text up to and including its first blank, trimmed.
AnsiString FirstWord(const AnsiString& command)
{
    size_t i = 0;
    while (i < command.size() && !IsScriptBlank(command[i]))
        ++i;
    return Trim(std::string_view(command).substr(0, i));
}

// At most nine arguments are split for "#tic" and "#ts".
constexpr int MaxKeywordArgs = 9;

}  // namespace

bool TScriptState::ExecuteCommand(const AnsiString& text)
{
    if (text.empty())
        return true;
    if (NestingAborted)
        return false;
    if (text.size() > MaxTextLength) {
        // Ends the outermost text too (loops included), as running too deep does.
        PutDirectString(ScriptText::TextTooLong);
        if (Nesting > 0)
            NestingAborted = true;
        return false;
    }
    if (Nesting >= MaxNesting) {
        // Stop the whole text that nested this deep rather than run out of stack.
        NestingAborted = true;
        PutDirectString(ScriptText::NestingTooDeep);
        return false;
    }
    struct Level {
        TScriptState& s;
        explicit Level(TScriptState& state) : s(state) { ++s.Nesting; }
        ~Level()
        {
            if (--s.Nesting == 0)
                s.NestingAborted = false;
        }
    } level(*this);

    std::string_view body = SkipBlanks(text);
    if (!body.empty() && body[0] == '\\') {
        SendText(AnsiString(body.substr(1)));
        return false;
    }
    AnsiString buffer(body);
    return RunCommands(buffer);
}

bool TScriptState::RunCommands(AnsiString& buffer)
{
    size_t cursor = 0;
    while (auto command = SplitCommand(buffer, cursor)) {
        bool dropRest = false;
        if (!RunOneCommand(*command, dropRest))
            return false;
        if (NestingAborted)
            return false;
        if (dropRest)
            break;
    }
    return true;
}

bool TScriptState::RunOneCommand(const AnsiString& command, bool& dropRest)
{
    std::string_view cmd = command;
    if (!cmd.empty() && cmd[0] == '\\') {
        SendText(AnsiString(cmd.substr(1)));
        return true;
    }

    // Aliases come before every keyword, so an alias can stand for any command. A command with
    // no first word names no alias.
    const AnsiString first = FirstWord(command);
    if (!first.empty()) {
        if (const cAlias* alias = FindAlias(AliasList, first))
            return ExecuteCommand(ExpandAlias(*this, *alias, command));
    }

    if (StartsWith(cmd, "#rem"))
        return true;
    if (StartsWith(cmd, "#break"))
        return false;
    if (StartsWith(cmd, "#send")) {
        SendCommand(AnsiString(After(cmd, 6)));
        return true;
    }
    if (StartsWith(cmd, "#wac")) {
        AppendWalkComment(AnsiString(After(cmd, 5)));
        return true;
    }
    if (StartsWith(cmd, "#wsc")) {
        SetWalkComment(AnsiString(After(cmd, 5)));
        return true;
    }
    if (StartsWith(cmd, "#tic") || StartsWith(cmd, "#ts")) {
        const bool timer = StartsWith(cmd, "#tic");
        std::vector<AnsiString> args;
        auto word = GetWord(SkipBlanks(After(cmd, timer ? 4 : 3)), ",");
        for (; word && static_cast<int>(args.size()) < MaxKeywordArgs; word = GetWord(","))
            args.push_back(*word);
        if (timer) {
            if (args.empty()) {
                PutDirectString(ScriptText::TimerArgsTooFew);
                dropRest = true;
                return true;
            }
            SetUserTimerCommand(args[0], args.size() > 1 ? args[1] : AnsiString());
            return true;
        }
        if (args.size() < 4) {
            PutDirectString(ScriptText::TriggerArgsTooFew);
            dropRest = true;
            return true;
        }
        // With a fifth argument the status comes from it.
        const uint32_t status = args.size() >= 5 ? static_cast<uint32_t>(ReadInt(args[4])) : 1u;
        SetTrigger(TriggerList, args[0], args[3], args[1], args[2], status);
        TriggersChanged();
        return true;
    }
    if (StartsWith(cmd, "#cap")) {
        std::string_view rest;
        const AnsiString name = TakeFirstWord(After(cmd, 5), rest);
        Host.PutCaptureText(name, ExpandFunctionsCopy(ExpandVariablesCopy(AnsiString(rest))));
        return true;
    }
    if (StartsWith(cmd, "#vss")) {
        std::string_view rest;
        const AnsiString name = TakeFirstWord(After(cmd, 5), rest);
        SetVariableValue(VariableList, name, ExpandVariablesCopy(AnsiString(rest)));
        return true;
    }
    if (StartsWith(cmd, "#loop")) {
        RunLoop(AnsiString(After(cmd, 6)));
        return true;
    }
    if (StartsWith(cmd, "#if")) {
        if (auto branch = SelectIfBranch(AnsiString(After(cmd, 3)))) {
            // A "#break" in the branch ends this text, but not the text that called it.
            if (!ExecuteCommand(*branch))
                dropRest = true;
        }
        return true;
    }

    AnsiString line = command;
    ExpandFunctions(line);
    if (line.empty())
        return true;
    ExpandVariables(line);
    if (line.size() >= 1 && line[0] == '#' && (line.size() < 2 || line[1] != '#')) {
        ExecuteHashCommand(line.substr(1));
        return true;
    }
    if (WalkRec.State == 1)
        RecordWalkStep(line);
    SendCommand(line);
    return true;
}

void TScriptState::RunLoop(const AnsiString& text)
{
    std::string_view rest;
    const AnsiString first = TakeFirstWord(text, rest);
    if (first.empty())
        return;
    std::string_view body;
    const AnsiString second = TakeFirstWord(rest, body);
    if (second.empty())
        return;
    const int32_t start = ReadInt(ExpandFunctionsCopy(ExpandVariablesCopy(first)));
    const int32_t end = ReadInt(ExpandFunctionsCopy(ExpandVariablesCopy(second)));
    const int32_t step = start > end ? -1 : 1;
    const AnsiString bodyText(body);

    // Nested loops share the counter. A loop ends once the counter reaches or passes its end, and
    // never runs more rounds than its own range, so an outer loop whose counter an inner loop
    // keeps resetting still ends.
    const int64_t rounds = end > start ? int64_t{end} - start : int64_t{start} - end;
    LoopValue = start;
    for (int64_t round = 0; round < rounds; ++round) {
        if (step > 0 ? LoopValue >= end : LoopValue <= end)
            break;
        ExecuteCommand(bodyText);
        if (NestingAborted)
            break;
        LoopValue = WrapAdd(LoopValue, step);
    }
}
