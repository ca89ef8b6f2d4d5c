#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "script/RecordingHost.h"
#include "script/ScriptState.h"

// One character's script state against a recording host.
class ScriptTest : public ::testing::Test {
protected:
    TRecordingHost host;
    TScriptState state{host};

    bool Run(const AnsiString& text) { return state.ExecuteCommand(text); }
    // Every SendText call, in order.
    std::vector<AnsiString> Sends() const;
    // What was sent, cut into lines at CR LF (a trailing part without CR LF is a line too).
    std::vector<AnsiString> Lines() const;
    AnsiString Messages() const { return host.Messages(); }

    cAlias* AddAlias(const AnsiString& name, const AnsiString& text);
    cVariables* AddVariable(const AnsiString& name, const AnsiString& value, char type);
};

using Strings = std::vector<AnsiString>;
