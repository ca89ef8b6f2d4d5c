#pragma once
// A recording host for trigger tests. Besides recording, it understands a few plain words that
// actions send, so that tests can steer a running pass without the "#" commands:
//   JUMP n, STOP, SUSPEND n, RESUME, DEL n, ON n, OFF n, STATUS n value, FEED text (\n \r allowed)
// FEED hands the text, one byte at a time, to Feed (the scan under test).

#include <functional>
#include <memory>
#include <vector>

#include "script/RecordingHost.h"
#include "script/ScriptState.h"

class TTriggerTestHost : public TRecordingHost {
public:
    void SendText(const AnsiString& text) override;

    TScriptState* State = nullptr;
    std::function<void(const AnsiString& piece)> Feed;
};

// Pieces as the terminal reports them: one byte each.
std::vector<AnsiString> Pieces(std::string_view text);

// Adds a trigger to the list.
cTriggers* AddTrigger(TScriptState& state, const AnsiString& from, const AnsiString& to,
                      uint32_t status = cTriggers::Enabled | cTriggers::StaysEnabled | cTriggers::CompleteOnly,
                      const AnsiString& nick = "", const AnsiString& group = "");
