#include "TriggerTestSupport.h"

#include "script/TriggerOps.h"
#include "script/Words.h"

namespace {

AnsiString Unescape(std::string_view text)
{
    AnsiString out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == 'r')) {
            out += text[i + 1] == 'n' ? '\n' : '\r';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

void TTriggerTestHost::SendText(const AnsiString& text)
{
    TRecordingHost::SendText(text);
    if (!State)
        return;
    TScriptState& s = *State;
    const std::string_view t = text;
    auto number = [&](size_t skip) { return StrToIntDef(Trim(After(t, skip)), 0); };
    if (StartsWith(t, "JUMP "))
        s.TrigJump = number(5);
    else if (t == "STOP")
        s.TrigContinue = 0;
    else if (StartsWith(t, "SUSPEND "))
        s.TrigSuspend = number(8);
    else if (t == "RESUME")
        s.TrigSuspend = 0;
    else if (StartsWith(t, "DEL "))
        DeleteTriggerByNumber(s, number(4));
    else if (StartsWith(t, "ON "))
        TriggerOnByNumber(s, number(3));
    else if (StartsWith(t, "OFF "))
        TriggerOffByNumber(s, number(4));
    else if (StartsWith(t, "STATUS ")) {
        // Written straight into the record, as "#ts" does.
        std::string_view rest;
        const int n = StrToIntDef(TakeFirstWord(After(t, 7), rest), 0);
        if (cTriggers* trigger = n >= 1 ? s.TriggerList[n - 1] : nullptr)
            trigger->Status = static_cast<uint32_t>(StrToIntDef(Trim(rest), 0));
    } else if (StartsWith(t, "FEED ") && Feed) {
        for (const AnsiString& piece : Pieces(Unescape(After(t, 5))))
            Feed(piece);
    }
}

std::vector<AnsiString> Pieces(std::string_view text)
{
    std::vector<AnsiString> out;
    for (const char c : text)
        out.emplace_back(1, c);
    return out;
}

cTriggers* AddTrigger(TScriptState& state, const AnsiString& from, const AnsiString& to, uint32_t status,
                      const AnsiString& nick, const AnsiString& group)
{
    auto t = std::make_unique<cTriggers>();
    t->From = from;
    t->To = to;
    t->Status = status;
    t->NickName = nick;
    t->Group = group;
    cTriggers* added = state.TriggerList.Add(std::move(t));
    state.TriggersChanged();
    return added;
}
