// The script editor over 1,000 records on each of its six pages, offscreen: the time of filling
// every grid (what opening the editor and every load do), and of one New on the trigger page
// (its dialog answered at once; the trigger page shows the new row). Each figure is the median
// of a few runs. Prints METRIC lines; no peer.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/forms/AnsiTerminal.h"
#include "app/forms/DriverUnit.h"
#include "app/forms/TriggersEditUnit.h"
#include "controls/lib/ToolEdit.h"
#include "platform/core/TimerService.h"
#include "platform/gui/Application.h"
#include "platform/gui/StdCtrls.h"

namespace {

constexpr int kRecords = 1000, kRuns = 5;

double Ms(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

void Metric(const char* name, double value) { std::printf("METRIC %s %.6g\n", name, value); }

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Fill(TScriptState& s)
{
    for (int i = 0; i < kRecords; ++i) {
        const std::string n = std::to_string(i);
        auto b = std::make_unique<cButton>();
        b->Name = "b" + n, b->OnBuff = "say " + n;
        s.ButtonList.Add(std::move(b));
        auto t = std::make_unique<cTimer>();
        t->Name = "t" + n, t->Ticker = 30, t->OnBuff = "look";
        s.AddUserTimer(std::move(t));
        auto g = std::make_unique<cTriggers>();
        g->From = "(hp" + n + ")", g->To = "say " + n, g->NickName = n, g->Number = i + 1;
        s.TriggerList.Add(std::move(g));
        auto v = std::make_unique<cVariables>();
        v->Name = "v" + n, v->Value = n;
        s.VariableList.Add(std::move(v));
        auto a = std::make_unique<cAlias>();
        a->Name = "a" + n, a->Text = "say " + n;
        s.AliasList.Add(std::move(a));
        auto m = std::make_unique<cKeyMacro>();
        m->Name = "F" + n, m->ToBuff = "kill " + n;
        s.KeyMacroList.Add(std::move(m));
    }
    s.TriggersChanged();
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("HM_TEST", "1", 0);
    TManualTimerService clock(0);
    SetTimerService(&clock);
    {
        TApplication app(argc, argv);
        auto entry = std::make_shared<TCharBooks>();
        auto* window = new TAnsiTerminalForm(nullptr, entry);
        Fill(window->Script());
        window->OpenDriverUnit();
        TDriverForm* editor = window->DriverForm();
        std::vector<double> fills, news;
        for (int run = 0; run < kRuns; ++run) {
            const auto start = std::chrono::steady_clock::now();
            editor->Editor().FillAllGrids();
            fills.push_back(Ms(start));
        }
        SetModalFormHook([](TCustomForm& form) {
            auto& dialog = dynamic_cast<TTriggersEditForm&>(form);
            dialog.FromBuffEdit()->SetText("(new)");
            dialog.ToBuffMemo()->SetText("look");
            dialog.SaveExitButtonClick();
        });
        for (int run = 0; run < kRuns; ++run) {
            const auto start = std::chrono::steady_clock::now();
            editor->Editor().New(epTriggers);
            news.push_back(Ms(start));
        }
        SetModalFormHook(nullptr);
        Metric("editor_fill_ms_1000", Median(fills));
        Metric("editor_new_ms_1000", Median(news));
        delete window;
    }
    SetTimerService(nullptr);
    return 0;
}
