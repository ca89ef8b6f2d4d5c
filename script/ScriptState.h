#pragma once
// The script state of one character window and the engine that runs on it.
//
// The character window (TAnsiTerminalForm) owns one TScriptState and implements IScriptHost for
// it. The window's script operations (ExecuteCommand, ExpandVariables, SelectIfBranch and the
// rest) are members here under the same names; everything the engine needs from the window goes
// through the host. The evaluators keep their stacks on the C++ stack, so a message box that lets
// another pass run in the middle of a condition cannot disturb it.
//
// The class spans these files:
//   ScriptState.cpp     construction and the lists
//   Executor.cpp        ExecuteCommand and the command loop (RunCommands, RunLoop, RunOneCommand)
//   Splitting.cpp       SplitCommand, GetWord
//   Escapes.cpp         SendCommand
//   HashCommand.cpp     ExecuteHashCommand (the "#" words live in HashCommand*.cpp)
//   Variables.cpp       ExpandVariables
//   Functions.cpp       the "%name(...)" calls: ExpandFunctions, CallFunction, SplitArgs
//   Conditions.cpp      EvalCondition, SelectIfBranch
//   Arithmetic.cpp      EvalArithmetic
//   TriggerScan.cpp     ScanReceivedText and the trigger passes
//   TriggerAction.cpp   MatchTrigger, CaptureText, RunTriggerAction
//   UserTimer.cpp       the user timers and their events
//   TimerRecords.cpp    SetUserTimerCommand
//   Directions.cpp      ReverseDirection
//   WalkRecording.cpp   RecordWalkStep and the walk comments
//   CmdFileData.cpp     ClearCmdData, RunStartUpCmd
//   CmdFileReader.cpp   LoadCmdFile
//   CmdFileWriter.cpp   SaveCmdFile

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "script/Records.h"
#include "script/ScriptHost.h"

class TCallTail;
struct TCallLimits;
class TTriggerScanner;
struct TTriggerScannerDelete {
    void operator()(TTriggerScanner* scanner) const noexcept;
};

class TScriptState {
public:
    explicit TScriptState(IScriptHost& host);
    TScriptState(const TScriptState&) = delete;
    TScriptState& operator=(const TScriptState&) = delete;

    IScriptHost& Host;

    // The six script lists, in the order the engine uses and saves them.
    TButtonList ButtonList;
    TTimerRecList TimerRecList;
    TTriggerList TriggerList;
    TVariableList VariableList;
    TAliasList AliasList;
    TKeyMacroList KeyMacroList;

    cConfig CmdConfig;
    cWalk WalkRec;
    // Expires with the state: a walk timer that outlives it then fires into nothing.
    std::shared_ptr<int> WalkTimerToken = std::make_shared<int>(0);

    // Host text: the line being received and the last complete line.
    AnsiString CurrentLine;
    AnsiString LastLine;

    // Trigger-scan state.
    uint8_t ScanRunning = 0;
    int32_t TrigContinue = 0;
    int32_t TrigSuspend = 0;
    int32_t TrigJump = 0;
    uint8_t Closing = 0;

    // Captures of the trigger being run: at most 10.
    static constexpr int MaxCaptures = 10;
    std::array<cWordSlot, MaxCaptures> CaptureSlots;
    int32_t CaptureCount = 0;

    // Arguments of the function call being run, filled by SplitArgs.
    std::vector<cWordSlot> ArgSlots;
    int32_t ArgCount = 0;

    uint8_t FunctionKnown = 0;
    int32_t LoopValue = 0;  // counter of the running "#loop", shared by nested loops

    // The words of the command that called an alias: word 0 is all the arguments.
    std::vector<AnsiString> AliasWords;

    // ---- command executor ----

    // Runs a command text. Returns true to go on, false to stop ("#break" met, directly or in an
    // alias, or a text that began with '\').
    bool ExecuteCommand(const AnsiString& text);
    // The next command of buffer from cursor on; the cursor moves behind it. None when nothing is
    // left.
    std::optional<AnsiString> SplitCommand(const AnsiString& buffer, size_t& cursor);
    // The tokenizer: the first word of text, or (without a text) the next word of the text given
    // last. Separators are the given ones plus CR and LF; a word written "{...}" is one word
    // without its braces. None when no word is left.
    std::optional<AnsiString> GetWord(std::string_view text, std::string_view separators);
    std::optional<AnsiString> GetWord(std::string_view separators);
    // Sends one command line to the game: '$' escapes, CR LF added.
    void SendCommand(AnsiString text);
    void RunLoop(const AnsiString& text);

    // ---- variables and functions ----

    // Replaces every "@(name)" by the variable's value (or a system variable's).
    void ExpandVariables(AnsiString& text);
    AnsiString ExpandVariablesCopy(const AnsiString& text);
    // The same for a text of at most limit bytes (a trigger pattern): false, with the text left
    // as it was, as soon as the expansion passes the limit, so a long value costs no more than
    // the limit. Nothing is reported.
    bool ExpandVariablesWithin(AnsiString& text, size_t limit);
    // Replaces every function call "%name(args)", right-most first.
    void ExpandFunctions(AnsiString& text);
    AnsiString ExpandFunctionsCopy(const AnsiString& text);
    // Expands the call whose '%' stands just left of tail (the rest of the text, already
    // expanded) within the pass's limits; false when there is none, its name is unknown or it
    // does not fit (limits.Cut is then set), and the '%' stays text.
    bool ExpandFunctionCall(TCallTail& tail, TCallLimits& limits);
    // Runs one call ("name(args", without '%' and ')'); clears FunctionKnown for an unknown name.
    AnsiString CallFunction(std::string_view call);
    // Splits a text at ',' into ArgSlots.
    void SplitArgs(std::string_view text);

    // ---- conditions and arithmetic ----

    // Chooses the group to run for "#if" (text after "#if"); none when no group applies.
    std::optional<AnsiString> SelectIfBranch(const AnsiString& text);
    // Evaluates a condition; on error the result is 0 and error is set.
    int32_t EvalCondition(const AnsiString& condition, bool& error);
    // Evaluates an arithmetic expression: status 1 and the value, or status 0 and 0.0.
    double EvalArithmetic(const AnsiString& expression, int& status);

    // The reverse movement word, or "" when the word is not a movement word.
    AnsiString ReverseDirection(std::string_view word) const;

    // ---- neighbours of the executor ----

    // A command that begins with a single '#', given without it.
    void ExecuteHashCommand(const AnsiString& text);
    void AppendWalkComment(const AnsiString& text);
    void SetWalkComment(const AnsiString& text);
    void RecordWalkStep(const AnsiString& command);
    void SetUserTimerCommand(const AnsiString& name, const AnsiString& command);

    // ---- user timers ----
    // Every timer record owns one 1000 ms event of the host's user-timer list, found again by the
    // record's Handle; the event ticks into UserEventTimer once a second. With a host that has no
    // list the records exist but never tick.

    // Appends a timer that has no event yet, gives it one (disabled, with the list switched on)
    // and applies its settings (ApplyUserTimer). Timers read from a command file or made by the
    // editor come in here.
    cTimer* AddUserTimer(std::unique_ptr<cTimer> timer);
    // Frees a timer of TimerRecList and removes its event from the list. Any command may do it,
    // a timer's own command included.
    void DeleteUserTimer(cTimer* timer);
    void ClearUserTimers();
    // The event's interval 1000 ms and RepeatCount = Repeat; repeats left = Repeat, countdown =
    // Ticker; then ApplyUserTimerStatus. Run after the editor changes a timer.
    void ApplyUserTimer(cTimer& timer);
    // Status 0 or 3: the event off; 1: on; 2: on, with repeats left and countdown reloaded.
    void ApplyUserTimerStatus(cTimer& timer);
    // By name (the first timer of that name; an unknown name does nothing): stores the status and
    // applies it ("tio" 1, "tif" 0, "tis" 3, "tir" 2); or restarts it with a new period ("tim").
    void SetUserTimerStatus(const AnsiString& name, int32_t status);
    void SetUserTimerTicker(const AnsiString& name, int32_t seconds);
    // Switches the whole user-timer list on or off ("sta", "std").
    void SetUserTimersActive(bool active);
    // One tick of a user timer's event: counts down and runs the command when it falls due.
    void UserEventTimer(TExTimerEvent* event);
    // The timer's event in the host's list, or null.
    TExTimerEvent* UserTimerEvent(cTimer& timer);

    // ---- command files ----

    // Reads the command file at path (a program path) into the lists and CmdConfig, after
    // clearing them; then records the path, saves the character book and runs the start-up
    // commands. False when the file cannot be opened (nothing changes), else whether its last
    // section closed properly.
    bool LoadCmdFile(const AnsiString& path);
    // Writes the lists and CmdConfig to path, replacing the old file only when every write
    // succeeded; then records the path and saves the character book. False, with a message box,
    // on failure. Over a file whose load met a fault, the old file is first kept as path + ".bak".
    bool SaveCmdFile(const AnsiString& path);
    // The native path of the last file whose load met a fault or that could not be read, until
    // it is saved over; empty when none.
    std::string CmdFileToKeep;
    // Frees every record of the six lists; empties the status-line template and the start-up
    // commands.
    void ClearCmdData();
    // Runs the start-up commands line by line.
    void RunStartUpCmd();
    // The command file last loaded or saved. The window makes it its character entry's
    // TriggerFile when the engine asks it to save the character book.
    AnsiString TriggerFile;

    // The window's send and message routines.
    void SendText(const AnsiString& text) { Host.SendText(text); }
    void PutDirectString(const AnsiString& text) { Host.PutDirectString(text); }

    // Deepest nesting of command texts (aliases calling aliases and the like).
    static constexpr int MaxNesting = 64;
    // Longest command text the executor runs, and the longest text a variable expansion builds:
    // far beyond any typed line, and small enough that a script that keeps doubling a text ends
    // with a message instead of exhausting memory.
    static constexpr size_t MaxTextLength = size_t{1} << 20;

    // ---- trigger engine ----

    // One piece of decoded host text as the terminal reports it (a character or a control
    // character): builds the current line and runs the trigger passes over it.
    void ScanReceivedText(const AnsiString& piece);
    // One trigger pass over a line; complete is false for a partial-line pass.
    void ScanTriggers(bool complete, const AnsiString& line);
    // Matches a line against a pattern and fills the capture slots; true on a match.
    bool MatchTrigger(const AnsiString& line, const AnsiString& pattern);
    // Runs a trigger's action with the captures put in.
    void RunTriggerAction(const AnsiString& to);
    // The text of capture n, or null when there is no such capture.
    const AnsiString* CaptureText(int n) const;
    // Whoever changes the trigger list or a trigger's From, To or Status outside the trigger
    // commands (the script editor, the command-file loader, "#ts") calls this afterwards.
    void TriggersChanged();
    // The scan's line state and compiled patterns.
    TTriggerScanner& TriggerScan();
    std::unique_ptr<TTriggerScanner, TTriggerScannerDelete> TriggerScanState;

private:
    // The current line is complete: the complete-line pass, then it becomes the last line.
    void EndReceivedLine(TTriggerScanner& scan);
    bool RunCommands(AnsiString& buffer);
    bool RunOneCommand(const AnsiString& command, bool& dropRest);
    int32_t RandomBelow(int32_t n);

    // Tokenizer state, shared by nested calls as the window's is.
    AnsiString WordText;
    size_t WordCursor = 1;  // past the end of an empty text: no word

    int Nesting = 0;
    bool NestingAborted = false;  // the text being run went too deep or grew too long
    // The start-up texts being run, outermost first.
    std::vector<std::shared_ptr<const AnsiString>> RunningStartUps;
    std::minstd_rand Random;
    // Expires with the state: an event that outlives it then ticks into nothing.
    std::shared_ptr<int> UserTimerToken = std::make_shared<int>(0);
};
