// The "#" command words. Only the fallback for a word it does not know lives here so far.

#include "script/ScriptState.h"
#include "script/ScriptText.h"

void TScriptState::ExecuteHashCommand(const AnsiString& text)
{
    const AnsiString word = GetWord(text, " ,").value_or(AnsiString());
    PutDirectString(word + ScriptText::UnknownCommand);
}
