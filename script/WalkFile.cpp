// Walk files and the walk's life: opening, recording into a file, ending, closing, rewinding.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/core/AtomicFile.h"
#include "platform/core/FilePaths.h"
#include "platform/core/StoredPath.h"
#include "platform/core/StringList.h"
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

std::vector<AnsiString> SplitWalkText(const AnsiString& text)
{
    TStringList lines;
    lines.SetText(text);
    std::vector<AnsiString> result;
    result.reserve(static_cast<size_t>(lines.Count()));
    for (int i = 0; i < lines.Count(); ++i)
        result.push_back(lines.Strings(i));
    return result;
}

AnsiString JoinWalkLines(const std::vector<AnsiString>& lines)
{
    AnsiString text;
    for (const AnsiString& line : lines)
        text += line + "\r\n";
    return text;
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
        result = AtomicWriteFile(path, JoinWalkLines(walk.Steps));
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

bool ReadWalkFile(const std::string& path, AnsiString& text)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

void OpenWalk(TScriptState& state, const AnsiString& name)
{
    cWalk& walk = state.WalkRec;
    walk.FileName = name;
    walk.Steps.clear();
    AnsiString text;
    if (!ReadWalkFile(WalkFilePath(state, name), text)) {
        // Nothing to replay: no walk, the name kept for the user to see.
        ResetWalk(walk, 0);
        return;
    }
    walk.Steps = SplitWalkText(text);
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
