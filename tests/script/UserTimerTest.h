#pragma once
// One character's script state with user timers on the recording host's manual clock. Every line
// the engine sends is logged with the second it went out at, so a test reads when commands ran.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/core/TimerList.h"
#include "script/RecordingHost.h"
#include "script/ScriptState.h"
#include "script/TimerRecords.h"
#include "script/UserTimer.h"

// A recording host that logs each sent line as "SECONDS:text" and can act on a sent line, which
// is how a test makes a timer's command reach back into the engine.
class TTimerTestHost : public TRecordingHost {
public:
    void SendText(const AnsiString& text) override
    {
        TRecordingHost::SendText(text);
        if (text == "\r\n")
            return;
        Log.push_back(std::to_string(Clock.Now() / 1000) + ":" + text);
        // A copy: the handler may replace itself.
        std::function<void(const AnsiString&)> onSend = OnSend;
        if (onSend)
            onSend(text);
    }

    std::vector<std::string> Log;
    std::function<void(const AnsiString&)> OnSend;
};

class UserTimerTest : public ::testing::Test {
protected:
    TTimerTestHost host;
    TScriptState state{host};

    // Adds a timer as the command-file reader or the editor would.
    cTimer* AddTimer(const AnsiString& name, int32_t ticker, int32_t repeat, int32_t status, bool forever,
                     const AnsiString& command)
    {
        auto timer = std::make_unique<cTimer>();
        timer->Name = name;
        timer->Ticker = ticker;
        timer->Repeat = repeat;
        timer->Status = status;
        timer->Action = forever ? cTimer::CycleForever : 0;
        timer->OnBuff = command;
        return state.AddUserTimer(std::move(timer));
    }
    void AdvanceSeconds(int seconds) { host.Clock.Advance(static_cast<uint64_t>(seconds) * 1000u); }
    // The log so far, emptied.
    std::vector<std::string> Take() { return std::exchange(host.Log, {}); }
    std::string Ttc(const AnsiString& name) { return state.ExpandFunctionsCopy("%ttc(" + name + ")"); }
};

using Log = std::vector<std::string>;
