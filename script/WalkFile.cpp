// Walk files and the walk's life: opening, recording into a file, ending, closing, rewinding.

#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/core/AtomicFile.h"
#include "platform/core/FilePaths.h"
#include "platform/core/StoredPath.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"
#include "script/Utility.h"
#include "script/Walk.h"
#include "script/WalkText.h"

AnsiString ParseWalkLine(const AnsiString& line)
{
    std::string_view rest = line;
    if (!rest.empty() && rest.front() == 'B')
        rest.remove_prefix(1);
    const size_t comment = rest.find("//");
    if (comment == std::string_view::npos)
        return Trim(rest);
    return Trim(rest.substr(0, comment));
}

std::string WalkFilePath(TScriptState& state, const AnsiString& name)
{
    const AnsiString folder = state.Host.ProgramFolder();
    return NativePath(IncludeTrailingBackslash(folder.empty() ? AnsiString(".") : folder) + "Cmd\\" + name);
}

namespace {

size_t CountLines(std::string_view text)
{
    size_t count = 0;
    for (size_t p = 0; p < text.size(); ++count)
        TakeLine(text, p);
    return count;
}

}  // namespace

std::vector<AnsiString> SplitWalkText(std::string_view text)
{
    // Straight into a list of the right size: one copy of each line, nothing in between.
    std::vector<AnsiString> lines;
    lines.reserve(CountLines(text));
    for (size_t p = 0; p < text.size();)
        lines.emplace_back(TakeLine(text, p));
    return lines;
}

AnsiString JoinWalkLines(const std::vector<AnsiString>& lines)
{
    AnsiString text;
    for (const AnsiString& line : lines)
        text += line + "\r\n";
    return text;
}

TWriteResult WriteWalkLines(const std::string& nativePath, const std::vector<AnsiString>& lines)
{
    if (lines.size() > MaxWalkSteps)
        return {false, "More steps than a walk file may hold."};
    const AnsiString text = JoinWalkLines(lines);
    if (text.size() > MaxWalkFileBytes)
        return {false, "Larger than a walk file may be."};
    return AtomicWriteFile(nativePath, text);
}

bool SaveWalkFile(TScriptState& state)
{
    const cWalk& walk = state.WalkRec;
    TWriteResult result;
    const std::string path = WalkFilePath(state, walk.FileName);
    if (Trim(walk.FileName).empty()) {
        result.Ok = false;
        result.Message = "No walk file name.";
    } else {
        // The "Cmd" folder (or a subfolder the name holds) is made when it is missing.
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
        result = WriteWalkLines(path, walk.Steps);
    }
    if (!result) {
        WriteLog("%s: %s", path.c_str(), result.Message.c_str());
        state.Host.ShowMessageBox(ScriptText::ErrorCaption, WalkText::SaveFailed + walk.FileName);
        return false;
    }
    return true;
}

namespace {

void ResetWalk(cWalk& walk, int32_t newState)
{
    walk.State = newState;
    walk.Current = 0;
    walk.Previous = 0;
    walk.Saved = 0;
    walk.StepPending = 0;
    walk.MultiStep = 0;
}

// The steps of the walk file, or none when it cannot be read or holds more than a walk may.
std::optional<std::vector<AnsiString>> ReadWalkFile(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error) && std::filesystem::file_size(path, error) > MaxWalkFileBytes &&
        !error) {
        WriteLog("%s: larger than the %llu bytes a walk file may hold.", path.c_str(),
                 static_cast<unsigned long long>(MaxWalkFileBytes));
        return std::nullopt;
    }
    std::optional<TFreadStream> in = TFreadStream::Open(path, MaxWalkFileBytes);
    if (!in)
        return std::nullopt;
    const AnsiString text = in->Take(in->Remaining());
    in.reset();
    if (CountLines(text) > MaxWalkSteps) {
        WriteLog("%s: more than the %lu steps a walk may have.", path.c_str(),
                 static_cast<unsigned long>(MaxWalkSteps));
        return std::nullopt;
    }
    return SplitWalkText(text);
}

}  // namespace

void OpenWalk(TScriptState& state, const AnsiString& name)
{
    cWalk& walk = state.WalkRec;
    walk.FileName = name;
    walk.Steps.clear();
    std::optional<std::vector<AnsiString>> steps = ReadWalkFile(WalkFilePath(state, name));
    if (!steps) {
        // Nothing to replay: no walk, the name kept for the user to see.
        ResetWalk(walk, 0);
        return;
    }
    walk.Steps = std::move(*steps);
    ResetWalk(walk, 2);
}

void NewWalkRecord(TScriptState& state, const AnsiString& name)
{
    cWalk& walk = state.WalkRec;
    walk.Steps.clear();
    walk.FileName = name;
    ResetWalk(walk, 1);
}

bool EndWalkRecord(TScriptState& state)
{
    cWalk& walk = state.WalkRec;
    if (walk.State == 0) {
        state.PutDirectString(ScriptText::NoWalk);
        return true;
    }
    if (walk.State != 1)
        return true;
    if (!SaveWalkFile(state))
        return false;  // still recording: nothing recorded is lost
    RewindWalk(state);
    return true;
}

bool CloseWalk(TScriptState& state)
{
    cWalk& walk = state.WalkRec;
    if (walk.State == 0)
        return true;
    if (!SaveWalkFile(state))
        return false;  // the walk stays open with its steps
    walk.Steps.clear();
    ResetWalk(walk, 0);
    return true;
}

void RewindWalk(TScriptState& state)
{
    cWalk& walk = state.WalkRec;
    if (walk.State == 0) {
        state.PutDirectString(ScriptText::NoWalk);
        return;
    }
    ResetWalk(walk, 2);
}
