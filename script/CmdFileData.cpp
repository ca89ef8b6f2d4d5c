// The script lists as a whole: clearing them before a load, the start-up commands after it, and
// the key-macro look-up.

#include <memory>

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
    // Let go of, not only emptied: the next load reads its own.
    AnsiString().swap(CmdConfig.StatusLine);
    AnsiString().swap(CmdConfig.StartUpCmd);
}

void TScriptState::RunStartUpCmd()
{
    if (CmdConfig.StartUpCmd.empty())
        return;
    // A start-up line may load another file, which replaces the text being run: run a copy. A
    // file that loads itself (or files that load each other) runs the same text at many levels,
    // which is then kept once.
    std::shared_ptr<const AnsiString> text;
    for (const auto& running : RunningStartUps) {
        if (*running == CmdConfig.StartUpCmd) {
            text = running;
            break;
        }
    }
    if (!text)
        text = std::make_shared<const AnsiString>(CmdConfig.StartUpCmd);
    RunningStartUps.push_back(text);
    struct TPop {
        std::vector<std::shared_ptr<const AnsiString>>& Texts;
        ~TPop() { Texts.pop_back(); }
    } pop{RunningStartUps};
    // Line by line as a string list splits them, without making the list: a text of bare line
    // ends would cost far more as a list than as text. Once a line has gone too deep, every
    // further line of a nested text is refused at once, so the rest is not split at all.
    for (size_t p = 0; p < text->size() && !(NestingAborted && Nesting > 0);)
        ExecuteCommand(AnsiString(TakeLine(*text, p)));
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
