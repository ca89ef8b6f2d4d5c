#pragma once
// One character's script state for the "#" command words: a recording host that also clicks
// buttons as the button bar does, a folder of its own for command and walk files, and host text
// fed to the trigger scan.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/RecordingHost.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"

class THashTestHost : public TRecordingHost {
public:
    // The button bar's click: the button's on bit toggles, then its command for the new state
    // runs.
    void ClickButton(cButton& button) override;

    TScriptState* State = nullptr;
};

class HashCommandTest : public ::testing::Test {
protected:
    HashCommandTest();
    ~HashCommandTest() override;

    THashTestHost host;
    TScriptState state{host};
    // Made for each test; the host's program folder, so walk files live in its "Cmd".
    std::string Folder;

    bool Run(const AnsiString& text) { return state.ExecuteCommand(text); }
    // Host text, one byte a piece, as the terminal reports it.
    void Receive(std::string_view text);
    // What was sent, cut into lines at CR LF.
    std::vector<AnsiString> Lines() const;
    // Every message, concatenated; emptied with the other events by Clear.
    AnsiString Messages() const { return host.Messages(); }
    void Clear() { host.Clear(); }

    cTriggers* AddTrigger(const AnsiString& nick, const AnsiString& from, const AnsiString& to,
                          const AnsiString& group = "");
    cTimer* AddTimer(const AnsiString& name, int32_t ticker, int32_t status, const AnsiString& command);
    void AdvanceSeconds(int seconds) { host.Clock.Advance(static_cast<uint64_t>(seconds) * 1000u); }

    // A file of the folder: writes the bytes and gives its path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const;
    static std::string ReadFile(const std::string& path);
};

// " <== unknown command" after the word.
inline AnsiString Unknown(const AnsiString& word) { return word + ScriptText::UnknownCommand; }

// cp949 bytes from UTF-8 test text.
AnsiString Ks(const char* utf8);

using Strings = std::vector<AnsiString>;
