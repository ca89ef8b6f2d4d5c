#include "ScriptTest.h"

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/core/Cp949.h"
#include "script/TriggerOps.h"
#include "script/UserTimer.h"
#include "script/Walk.h"
#include "script/Words.h"
#include "tests/TempName.h"

namespace {

// Pieces as the terminal reports them: one byte each.
Strings Pieces(std::string_view text)
{
    Strings out;
    for (const char c : text)
        out.emplace_back(1, c);
    return out;
}

// What was sent, cut into lines at CR LF (a trailing part without CR LF is a line too).
Strings SentLines(const TRecordingHost& host)
{
    Strings lines;
    const AnsiString all = host.Sent();
    size_t start = 0;
    for (size_t at; (at = all.find("\r\n", start)) != AnsiString::npos; start = at + 2)
        lines.push_back(all.substr(start, at - start));
    if (start < all.size())
        lines.push_back(all.substr(start));
    return lines;
}

}  // namespace

void TTestHost::SendText(const AnsiString& text)
{
    TRecordingHost::SendText(text);
    if (text == "\r\n") {
        std::function<void(const AnsiString&)> onLine = OnLine;  // a copy: it may replace itself
        const AnsiString line = std::exchange(line_, AnsiString());
        if (onLine)
            onLine(line);
        return;
    }
    line_ += text;
    Log.push_back(std::to_string(Clock.Now() / 1000) + ":" + text);
    std::function<void(const AnsiString&)> onSend = OnSend;
    if (onSend)
        onSend(text);
}

void TTestHost::ClickButton(cButton& button)
{
    TRecordingHost::ClickButton(button);
    if (!BarClicks)
        return;
    button.Status ^= 1;
    State->ExecuteCommand((button.Status & 1) ? button.OnBuff : button.OffBuff);
}

std::function<void(const AnsiString&)> TriggerWords(TScriptState& s, std::function<void(const AnsiString&)> feed)
{
    return [&s, feed](const AnsiString& text) {
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
        else if (StartsWith(t, "MOVE ")) {
            // As the script editor moves a trigger, from position n to m.
            std::string_view rest;
            const int from = StrToIntDef(TakeFirstWord(After(t, 5), rest), 0);
            s.TriggerList.Move(from - 1, StrToIntDef(Trim(rest), 0) - 1);
            s.TriggersChanged();
        } else if (StartsWith(t, "STATUS ")) {
            // Written straight into the record, as "#ts" does.
            std::string_view rest;
            const int n = StrToIntDef(TakeFirstWord(After(t, 7), rest), 0);
            if (cTriggers* trigger = n >= 1 ? s.TriggerList[n - 1] : nullptr)
                trigger->Status = static_cast<uint32_t>(StrToIntDef(Trim(rest), 0));
        } else if (StartsWith(t, "FEED ") && feed) {
            AnsiString bytes;
            const std::string_view fed = After(t, 5);
            for (size_t i = 0; i < fed.size(); ++i) {
                const bool escape = fed[i] == '\\' && i + 1 < fed.size() && (fed[i + 1] == 'n' || fed[i + 1] == 'r');
                bytes += escape ? (fed[++i] == 'n' ? '\n' : '\r') : fed[i];
            }
            for (const AnsiString& piece : Pieces(bytes))
                feed(piece);
        }
    };
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

const Strings Any{"*"};

void Play(TTestHost& host, TScriptState& state, const std::vector<TStep>& steps)
{
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.Text);
        for (size_t start = 0, end; start <= step.Text.size(); start = end + 2) {
            end = std::min(step.Text.find("&&", start), step.Text.size());
            const AnsiString part = step.Text.substr(start, end - start);
            if (part.starts_with("<")) {
                for (const AnsiString& piece : Pieces(part.substr(1)))
                    state.ScanReceivedText(piece);
            } else if (part.starts_with("+")) {
                host.Clock.Advance(static_cast<uint64_t>(StrToInt(part.substr(1))));
            } else if (part == "auto") {
                host.WalkAutoRewind = true;
            } else if (part.starts_with("record ")) {
                NewWalkRecord(state, part.substr(7));
            } else {
                state.ExecuteCommand(part);
            }
        }
        const Strings sent = SentLines(host);
        if (step.Sent != Any) {
            EXPECT_EQ(sent, step.Sent);
        }
        if (step.Messages) {
            EXPECT_EQ(host.Messages(), step.Messages);
        }
        std::erase_if(host.Events, [](const TScriptEvent& e) {
            return e.What == TScriptEvent::Send || e.What == TScriptEvent::Message;
        });
        if (step.Walk) {
            EXPECT_EQ(state.WalkRec.Steps, *step.Walk);
        }
        std::istringstream checks(step.Checks);
        for (std::string item; checks >> item;) {
            const cWalk& w = state.WalkRec;
            const size_t eq = item.find('=');
            const std::string key = item.substr(0, eq), value = eq == std::string::npos ? "" : item.substr(eq + 1);
            if (key == "enabled") {
                std::string on;
                for (int i = 0; i < state.TriggerList.Count() && i < static_cast<int>(value.size()); ++i)
                    on += value[i] == '?' ? '?' : (state.TriggerList[i]->Status & cTriggers::Enabled) ? '1' : '0';
                EXPECT_EQ(on, value) << item;
                continue;
            }
            const std::pair<const char*, std::function<int64_t()>> keys[] = {
                {"state", [&] { return w.State; }},
                {"current", [&] { return w.Current; }},
                {"previous", [&] { return w.Previous; }},
                {"saved", [&] { return w.Saved; }},
                {"pending", [&] { return w.StepPending; }},
                {"multiStep", [&] { return w.MultiStep; }},
                {"commentLength", [&] { return static_cast<int64_t>(w.Comment.size()); }},
                {"walkTimerRunning", [&] { return WalkTimerRunning(state); }},
                {"walkTimerInterval", [&] { return host.WalkTimerEvent->Interval(); }},
                {"triggers", [&] { return state.TriggerList.Count(); }},
                {"suspended", [&] { return state.TrigSuspend; }},
                {"triggerMode", [&] { return state.CmdConfig.TrigMode; }},
                {"timerStatus", [&] { return state.TimerRecList[0]->Status; }},
                {"timerPeriod", [&] { return state.TimerRecList[0]->Ticker; }},
            };
            const auto found =
                std::find_if(std::begin(keys), std::end(keys), [&](const auto& k) { return key == k.first; });
            if (found == std::end(keys) || value.empty()) {
                ADD_FAILURE() << "unknown check " << item;
                continue;
            }
            const int64_t got = found->second();
            EXPECT_EQ(got, std::stoll(value)) << item;
        }
    }
}

ScriptTest::ScriptTest()
{
    host.State = &state;
    std::string name = TempPattern("script-test");
    if (mkdtemp(name.data()))
        Folder = name;
    host.Folder = Folder;
}

ScriptTest::~ScriptTest()
{
    std::error_code ignored;
    if (!Folder.empty())
        std::filesystem::remove_all(Folder, ignored);
}

Strings ScriptTest::Sends() const
{
    Strings sends;
    for (const auto& e : host.Events)
        if (e.What == TScriptEvent::Send)
            sends.push_back(e.Text);
    return sends;
}

Strings ScriptTest::Lines() const { return SentLines(host); }

Strings ScriptTest::TakeLines()
{
    Strings lines = Lines();
    std::erase_if(host.Events, [](const TScriptEvent& e) { return e.What == TScriptEvent::Send; });
    return lines;
}

Strings ScriptTest::Boxes() const
{
    Strings boxes;
    for (const auto& e : host.Events)
        if (e.What == TScriptEvent::MessageBox) {
            EXPECT_EQ(e.Text, "\xBF\xA1\xB7\xAF");  // captioned "error"
            boxes.push_back(e.Name);
        }
    return boxes;
}

void ScriptTest::Receive(std::string_view text)
{
    for (const AnsiString& piece : Pieces(text))
        state.ScanReceivedText(piece);
}

cAlias* ScriptTest::AddAlias(const AnsiString& name, const AnsiString& text)
{
    auto alias = std::make_unique<cAlias>();
    alias->Name = name;
    alias->Text = text;
    return state.AliasList.Add(std::move(alias));
}

cVariables* ScriptTest::AddVariable(const AnsiString& name, const AnsiString& value, char type)
{
    auto v = std::make_unique<cVariables>();
    v->Name = name;
    v->Value = value;
    v->Type = type;
    return state.VariableList.Add(std::move(v));
}

cTimer* ScriptTest::AddTimer(const AnsiString& name, int32_t ticker, int32_t status, const AnsiString& command,
                             int32_t repeat, bool forever)
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

std::string ScriptTest::WriteFile(const std::string& name, const std::string& bytes) const
{
    const std::filesystem::path path = PathOf(name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

std::string ScriptTest::ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

AnsiString Ks(const char* utf8) { return Utf8ToCp949(utf8); }

std::string BinFolder()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string self(path, n > 0 ? static_cast<size_t>(n) : 0);
    return self.substr(0, self.rfind('/') + 1);
}

TToolRun RunTool(const std::string& directives, const std::string& options, const std::string& folder, bool withErrors)
{
    std::string name = TempPattern("scriptrun-test");
    const int fd = mkstemp(name.data());
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(name, std::ios::binary) << directives;
    const std::string cd = folder.empty() ? "" : "cd " + folder + " && ";
    const std::string command =
        cd + BinFolder() + "scriptrun " + options + " < " + name + (withErrors ? " 2>&1" : " 2>/dev/null");
    TToolRun run;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            run.Out.append(buffer, got);
        const int status = pclose(pipe);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    unlink(name.c_str());
    return run;
}
