#pragma once
// One character's script state against a recording host whose program folder is a fresh
// temporary folder, and the scriptrun tool built beside the tests.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "script/RecordingHost.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"

using Strings = std::vector<AnsiString>;

constexpr uint32_t Complete = cTriggers::Enabled | cTriggers::StaysEnabled | cTriggers::CompleteOnly;
constexpr uint32_t Partial = cTriggers::Enabled | cTriggers::StaysEnabled;
constexpr uint32_t OneShot = cTriggers::Enabled | cTriggers::CompleteOnly;

// Records like TRecordingHost, and besides: logs every sent text but CR LF as "SECONDS:text" and
// hands it to OnSend; hands every whole line to OnLine once its CR LF has gone out; with
// BarClicks, clicks a button as the button bar does (the on bit toggles, then the command for the
// new state runs). The handlers are how a test makes what is sent reach back into the engine.
class TTestHost : public TRecordingHost {
public:
    void SendText(const AnsiString& text) override;
    void ClickButton(cButton& button) override;

    TScriptState* State = nullptr;
    bool BarClicks = false;
    std::function<void(const AnsiString&)> OnSend, OnLine;
    std::vector<std::string> Log;

private:
    AnsiString line_;
};

// An OnSend handler that understands plain words an action sends, so a test can steer a running
// trigger pass without the "#" words: JUMP n, STOP, SUSPEND n, RESUME, DEL n, ON n, OFF n,
// MOVE n m (trigger n to position m), STATUS n value, FEED text (\n and \r allowed; handed to
// feed one byte a piece).
std::function<void(const AnsiString&)> TriggerWords(TScriptState& s, std::function<void(const AnsiString&)> feed);
cTriggers* AddTrigger(TScriptState& state, const AnsiString& from, const AnsiString& to, uint32_t status = Complete,
                      const AnsiString& nick = "", const AnsiString& group = "");

// One step of a scenario. Text is cut at "&&" into parts, each typed as a command, except: "<..."
// is host text received, "+N" moves the clock on N ms, "auto" switches the walk auto-rewind on,
// "record NAME" starts recording a walk. Then the lines sent during the step are compared with
// Sent (unless it is Any), the messages with Messages (unless null), the walk's steps with Walk
// (when given), and the values Checks names, each written word=number:
//   walk      state, current, previous, saved, pending (a step), multiStep, commentLength (of
//             the pending comment), walkTimerRunning, walkTimerInterval (ms);
//   triggers  triggers (count), suspended, triggerMode, and enabled with one 1, 0 or ? (not
//             checked) per trigger for its enabled bit;
//   timers    timerStatus and timerPeriod of the first user timer.
struct TStep {
    AnsiString Text;
    Strings Sent;
    const char* Checks = "";
    const char* Messages = nullptr;
    std::optional<Strings> Walk = std::nullopt;
};
extern const Strings Any;
void Play(TTestHost& host, TScriptState& state, const std::vector<TStep>& steps);

class ScriptTest : public ::testing::Test {
protected:
    ScriptTest();
    ~ScriptTest() override;

    TTestHost host;
    TScriptState state{host};
    std::string Folder;  // the host's program folder; walk files live in its "Cmd"

    bool Run(const AnsiString& text) { return state.ExecuteCommand(text); }
    // Every SendText call, in order.
    Strings Sends() const;
    // What was sent, cut into lines at CR LF (a trailing part without CR LF is a line too).
    Strings Lines() const;
    // The lines sent so far; the sends are then forgotten.
    Strings TakeLines();
    // The timer log so far, emptied.
    std::vector<std::string> Take() { return std::exchange(host.Log, {}); }
    AnsiString Messages() const { return host.Messages(); }
    // Message-box texts so far; every box must be captioned "error".
    Strings Boxes() const;
    // Host text, one byte a piece, into the trigger scan.
    void Receive(std::string_view text);
    void AdvanceSeconds(int seconds) { host.Clock.Advance(static_cast<uint64_t>(seconds) * 1000u); }

    cAlias* AddAlias(const AnsiString& name, const AnsiString& text);
    cVariables* AddVariable(const AnsiString& name, const AnsiString& value, char type);
    cTriggers* AddTrigger(const AnsiString& from, const AnsiString& to, uint32_t status = Complete,
                          const AnsiString& nick = "", const AnsiString& group = "")
    {
        return ::AddTrigger(state, from, to, status, nick, group);
    }
    cTimer* AddTimer(const AnsiString& name, int32_t ticker, int32_t status, const AnsiString& command,
                     int32_t repeat = 0, bool forever = true);

    std::string PathOf(const std::string& name) const { return Folder + "/" + name; }
    // Writes bytes to a file of the folder (making its folders) and gives its path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const;
    static std::string ReadFile(const std::string& path);
};

// cp949 bytes from UTF-8 test text.
AnsiString Ks(const char* utf8);

// The sample command file that the file and tool tests load and write back.
inline std::string GoldenPath() { return std::string(HM_SOURCE_DIR) + "/tests/script/data/Character.Cmd"; }

struct TToolRun {
    std::string Out;
    int Status = -1;
};
// Runs scriptrun on the directives, in folder when one is given; standard error is kept with
// standard output when withErrors, dropped otherwise.
TToolRun RunTool(const std::string& directives, const std::string& options = "", const std::string& folder = "",
                 bool withErrors = false);
// The folder of the test program, which is the tool's program folder too.
std::string BinFolder();
