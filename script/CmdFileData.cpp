// The script lists as a whole: clearing them before a load, the start-up commands after it, and
// the key-macro look-up.

#include "platform/core/StringList.h"
#include "script/CmdFile.h"
#include "script/ScriptState.h"

AnsiString CmdFileName(std::string_view path)
{
    const size_t cut = path.find_last_of("\\/:");
    return AnsiString(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

void TScriptState::ClearCmdData()
{
    ButtonList.Clear();
    ClearUserTimers();  // their events go with them
    TriggerList.Clear();
    VariableList.Clear();
    AliasList.Clear();
    KeyMacroList.Clear();
    TriggersChanged();
    Host.ButtonListChanged();
    CmdConfig.StatusLine.clear();
    CmdConfig.StartUpCmd.clear();
}

void TScriptState::RunStartUpCmd()
{
    if (CmdConfig.StartUpCmd.empty())
        return;
    // A start-up line may load another file, which replaces the text being run: run a copy.
    TStringList lines;
    lines.SetText(CmdConfig.StartUpCmd);
    for (int i = 0; i < lines.Count(); ++i)
        ExecuteCommand(lines.Strings(i));
}

cKeyMacro* FindKeyMacro(const TKeyMacroList& list, uint16_t key, TShiftState shift)
{
    return FindKeyMacroByShortCut(list, ShortCut(key, shift));
}

cKeyMacro* FindKeyMacroByShortCut(const TKeyMacroList& list, TShortCut shortCut)
{
    // 0 is no key at all (a key without a code): it must not run the macros that have no key.
    if (shortCut == scNone)
        return nullptr;
    for (const auto& macro : list)
        if (macro->ShortCut == shortCut)
            return macro.get();
    return nullptr;
}
