#pragma once
// Command files (*.Cmd): one character's whole script as cp949 text with CR LF line ends. The
// load, save and clear operations are members of TScriptState (LoadCmdFile, SaveCmdFile,
// ClearCmdData, RunStartUpCmd); this header has what goes with them.

#include <cstdint>
#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/core/ShiftState.h"
#include "platform/core/ShortCuts.h"
#include "script/Records.h"

class TScriptState;

// The largest command file the program reads or writes. A command file is a script a player
// writes and edits: a hundred thousand triggers with long actions stay far below this. A larger
// file is refused before it is read, since a load holds everything it reads at once.
constexpr uint64_t MaxCmdFileBytes = uint64_t{64} << 20;

// The name records keep of the file they came from: the path's text after its last '\', '/' or
// ':'.
AnsiString CmdFileName(std::string_view path);

// The whole file as SaveCmdFile writes it.
AnsiString CmdFileText(const TScriptState& state);

// The first key macro of the list whose ShortCut is that of the key and shift state, or null.
cKeyMacro* FindKeyMacro(const TKeyMacroList& list, uint16_t key, TShiftState shift);
// The first key macro of the list with that ShortCut, enabled or not; null when none has it.
cKeyMacro* FindKeyMacroByShortCut(const TKeyMacroList& list, TShortCut shortCut);

// Message-box texts of the reader and the writer (caption ScriptText::ErrorCaption).
namespace CmdFileMessages {

inline constexpr const char* BadFormat =
    "Cmd File \xC6\xF7\xB8\xE4\xC0\xCC  \xC0\xDF\xB8\xF8\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9";
inline constexpr const char* BadSection =
    "Cmd File Section \xC6\xF7\xB8\xE4\xC0\xCC  \xC0\xDF\xB8\xF8\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9";
inline constexpr const char* BadConfigKey =
    "Cmd File Config Loading\xC1\xDF \xC0\xDF\xB8\xF8\xB5\xC8 \xB4\xDC\xBE\xEE \xB8\xB8\xB3\xB5\xC0\xBD";
inline constexpr const char* BadButtonKey =
    "Cmd File Button Loading\xC1\xDF \xC0\xDF\xB8\xF8\xB5\xC8 \xB4\xDC\xBE\xEE \xB8\xB8\xB3\xB5\xC0\xBD";
inline constexpr const char* BadTimerKey =
    "Cmd File Timer Loading\xC1\xDF \xC0\xDF\xB8\xF8\xB5\xC8 \xB4\xDC\xBE\xEE \xB8\xB8\xB3\xB5\xC0\xBD";
inline constexpr const char* BadTriggerKey =
    "Cmd File Trigger Loading\xC1\xDF \xC0\xDF\xB8\xF8\xB5\xC8 \xB4\xDC\xBE\xEE \xB8\xB8\xB3\xB5\xC0\xBD";
inline constexpr const char* BadVariableKey =
    "Cmd File \xBA\xAF\xBC\xF6 Loading\xC1\xDF \xC0\xDF\xB8\xF8\xB5\xC8 \xB4\xDC\xBE\xEE \xB8\xB8\xB3\xB5\xC0\xBD";
inline constexpr const char* BadAliasKey =
    "Cmd File Alias Loading\xC1\xDF \xC0\xDF\xB8\xF8\xB5\xC8 \xB4\xDC\xBE\xEE \xB8\xB8\xB3\xB5\xC0\xBD";
inline constexpr const char* BadKeyMacroKey =
    "Cmd File \xB8\xC5\xC5\xA9\xB7\xCE Loading\xC1\xDF \xC0\xDF\xB8\xF8\xB5\xC8 \xB4\xDC\xBE\xEE "
    "\xB8\xB8\xB3\xB5\xC0\xBD";
inline constexpr const char* SaveFailed = "Triggers File \xC0\xFA\xC0\xE5\xC0\xCC \xBE\xC8\xB5\xCB\xB4\xCF\xB4\xD9";

}  // namespace CmdFileMessages
