#include "app/core/StatusBar.h"

#include "platform/core/FilePaths.h"
#include "script/ScriptState.h"
#include "script/Walk.h"

const std::array<TStatusPanelLayout, 8> kStatusPanels = {{
    {StatusText::Hangul, 30, false, false, StatusText::Hangul},
    {StatusText::Insert, 30, true, false, StatusText::Overwrite},
    {"CPU\xC1\xA1\xC0\xAF", 50, false, true, nullptr},                                   // CPU점유
    {"File", 120, false, false, nullptr},                                                //
    {"\xC1\xA2\xBC\xD3\xBD\xC3\xB0\xA3", 50, true, false, StatusText::NoConnectedTime},  // 접속시간
    {"\xC6\xAE\xB8\xAE\xB0\xC5", 40, false, false, "T:Off"},                             // 트리거
    {"Walk", 100, false, false, "W:Paused"},
    {"Status", 50, false, false, nullptr},
}};

const std::array<TSystemTimer, 5> kSystemTimers = {{
    {"ConnectTimer", 2000, false, false},
    {"StatusEvent", 1000, true, true},
    {"CpuTimer", 10, true, true},
    {"ConnectedTimer", 1000, true, true},
    {"WalkTimer", 10000, false, false},
}};

AnsiString ImeIndicatorText(std::optional<uint32_t> conversionStatus)
{
    return (!conversionStatus || *conversionStatus == 1) ? StatusText::Hangul : StatusText::English;
}

AnsiString InsertIndicatorText(bool insertOn) { return insertOn ? StatusText::Insert : StatusText::Overwrite; }

AnsiString CmdFilePanelText(const AnsiString& triggerFile) { return ExtractFileName(triggerFile); }

AnsiString ConnectedTimeText(bool connected, int64_t now, int64_t connectTime)
{
    if (!connected || now < connectTime)
        return StatusText::NoConnectedTime;
    const long long s = now - connectTime;
    return Format("%02lld:%02lld:%02lld", s / 3600, s % 3600 / 60, s % 60);
}

AnsiString TriggerModeText(uint8_t trigMode) { return trigMode == 1 ? "T:On" : "T:Off"; }

AnsiString WalkStatusText(const cWalk& walk, bool walkTimerRunning)
{
    if (walkTimerRunning)
        return "W:Paused";
    switch (walk.State) {
    case 1: return "W:Rec(" + IntToStr(static_cast<int64_t>(walk.Steps.size())) + ")";
    case 2:
        return "W:" + IntToStr(walk.Current) + "/" + IntToStr(walk.Previous) + "/" + IntToStr(walk.Saved) + "/" +
            IntToStr(static_cast<int64_t>(walk.Steps.size()));
    case 3: return "W:Ready";
    case 4: return "W:endRec";
    default: return "W:Off";
    }
}

AnsiString SocketStatusText(int errorNumber, const AnsiString& statusText)
{
    return "(" + IntToStr(errorNumber) + ")" + statusText;
}

AnsiString TranslateCaption(bool translate) { return translate ? "T" : "D"; }

AnsiString StatusLineText(TScriptState& state)
{
    AnsiString text = state.CmdConfig.StatusLine;
    if (text.find('%') != AnsiString::npos)
        state.ExpandFunctions(text);
    if (text.find('@') != AnsiString::npos)
        state.ExpandVariables(text);
    if (text.size() > kMaxStatusLine)
        text.resize(IsTrailByteAt(text, kMaxStatusLine) ? kMaxStatusLine - 1 : kMaxStatusLine);
    return text;
}

std::optional<TStatusRefresh> StatusEventTexts(TScriptState& state, bool connected)
{
    if (!connected)
        return std::nullopt;
    TStatusRefresh refresh;
    refresh.StatusLine = StatusLineText(state);
    refresh.Trigger = TriggerModeText(state.CmdConfig.TrigMode);
    refresh.Walk = WalkStatusText(state.WalkRec, WalkTimerRunning(state));
    return refresh;
}
