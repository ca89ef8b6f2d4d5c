#pragma once
// A script state whose program folder is a fresh temporary folder, for walk files.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "script/RecordingHost.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"
#include "script/Walk.h"

using Strings = std::vector<AnsiString>;

// A recording host that can act on each line sent, once its CR LF has gone out: how a test makes
// a walk step reach back into the walk engine.
class TWalkTestHost : public TRecordingHost {
public:
    void SendText(const AnsiString& text) override
    {
        TRecordingHost::SendText(text);
        if (text != "\r\n") {
            line_ += text;
            return;
        }
        const AnsiString line = std::exchange(line_, AnsiString());
        std::function<void(const AnsiString&)> onLine = OnLine;  // may replace itself
        if (onLine)
            onLine(line);
    }
    std::function<void(const AnsiString&)> OnLine;

private:
    AnsiString line_;
};

class WalkTest : public ::testing::Test {
protected:
    TWalkTestHost host;
    TScriptState state{host};

    bool Run(const AnsiString& text) { return state.ExecuteCommand(text); }
    // What was sent, cut into lines at CR LF.
    std::vector<AnsiString> Lines() const;
    AnsiString Messages() const { return host.Messages(); }
    cVariables* AddVariable(const AnsiString& name, const AnsiString& value, char type);
    void AdvanceMs(uint64_t ms) { host.Clock.Advance(ms); }

    void SetUp() override;
    void TearDown() override;

    // The native path of "Cmd/" + name in the test's folder.
    std::string CmdPath(const std::string& name) const { return Folder + "/Cmd/" + name; }
    // Writes bytes as the walk file "Cmd/" + name.
    void WriteWalk(const std::string& name, const std::string& bytes) const;
    std::string ReadWalk(const std::string& name) const;
    // Opens a walk holding these lines (written with CR LF).
    void OpenLines(const std::vector<AnsiString>& lines);
    // The lines sent so far, emptied.
    std::vector<AnsiString> TakeLines();
    // Message-box texts shown so far.
    std::vector<AnsiString> Boxes() const;

    std::string Folder;
};

// cp949 bytes from UTF-8 test text.
AnsiString Kr(const char* utf8);
