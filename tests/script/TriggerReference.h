#pragma once
// The trigger scan read literally, for the differential test only: every pass tries every
// trigger in list order, and every try expands and compiles its pattern afresh.

#include "script/ScriptState.h"

void ReferenceScanReceivedText(TScriptState& s, const AnsiString& piece);
void ReferencePass(TScriptState& s, bool complete, const AnsiString& line);
