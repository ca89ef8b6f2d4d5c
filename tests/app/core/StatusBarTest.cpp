// The status bar's panel texts and the status line built from its template.

#include "app/core/StatusBar.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "script/RecordingHost.h"
#include "script/ScriptState.h"

namespace {

cWalk Walk(int32_t state, int steps, int32_t current, int32_t previous, int32_t saved)
{
    cWalk walk;
    walk.State = state;
    walk.Steps.assign(steps, "n");
    walk.Current = current;
    walk.Previous = previous;
    walk.Saved = saved;
    return walk;
}

struct TTextCase {
    const char* name;
    std::function<AnsiString()> text;
    const char* expected;
};

class PanelText : public ::testing::TestWithParam<TTextCase> {};

TEST_P(PanelText, Reads) { EXPECT_EQ(GetParam().text(), GetParam().expected); }

const TTextCase kTextCases[] = {
    {"ImeWithoutContextIsHangul", [] { return ImeIndicatorText(std::nullopt); }, StatusText::Hangul},
    {"ImeOtherModeIsEnglish", [] { return ImeIndicatorText(9); }, StatusText::English},
    {"FileNameOfTheCommandFile", [] { return CmdFilePanelText("Cmd\\sub\\hero.Cmd"); }, "hero.Cmd"},
    {"ConnectedFor3725Seconds", [] { return ConnectedTimeText(true, 103725, 100000); }, "01:02:05"},
    {"HoursPastNinetyNine", [] { return ConnectedTimeText(true, 360000, 0); }, "100:00:00"},
    {"NotConnected", [] { return ConnectedTimeText(false, 5000, 1000); }, "00:00:00"},
    {"ClockSetBackShowsNoTime", [] { return ConnectedTimeText(true, 1000, 5000); }, "00:00:00"},
    {"TriggerModeOtherThanOneIsOff", [] { return TriggerModeText(2); }, "T:Off"},
    {"NoWalk", [] { return WalkStatusText(cWalk(), false); }, "W:Off"},
    {"WalkRecording", [] { return WalkStatusText(Walk(1, 3, 0, -1, 0), false); }, "W:Rec(3)"},
    {"WalkLoadedWithItsThreeIndexes", [] { return WalkStatusText(Walk(2, 12, 0, 0, 0), false); }, "W:0/0/0/12"},
    {"WalkLoadedMidway", [] { return WalkStatusText(Walk(2, 5, 3, 2, 1), false); }, "W:3/2/1/5"},
    {"WalkReady", [] { return WalkStatusText(Walk(3, 0, 0, 0, 0), false); }, "W:Ready"},
    {"WalkTimerRunningIsPaused", [] { return WalkStatusText(Walk(2, 5, 3, 2, 1), true); }, "W:Paused"},
    {"SocketStatus", [] { return SocketStatusText(10061, "Connection refused"); }, "(10061)Connection refused"},
};

INSTANTIATE_TEST_SUITE_P(Panels, PanelText, ::testing::ValuesIn(kTextCases),
                         [](const auto& param) { return std::string(param.param.name); });

class StatusLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto hp = std::make_unique<cVariables>();
        hp->Name = "hp";
        hp->Value = "120";
        state.VariableList.Add(std::move(hp));
        auto call = std::make_unique<cVariables>();
        call->Name = "call";
        call->Value = "%trim(  x  )";
        state.VariableList.Add(std::move(call));
    }
    TRecordingHost host;
    TScriptState state{host};
};

struct TLineCase {
    const char* name;
    const char* statusLine;
    const char* expected;
};

class StatusLineExpansion : public StatusLine, public ::testing::WithParamInterface<TLineCase> {};

TEST_P(StatusLineExpansion, Reads)
{
    state.CmdConfig.StatusLine = GetParam().statusLine;
    EXPECT_EQ(StatusLineText(state), GetParam().expected);
}

const TLineCase kLineCases[] = {
    {"TemplateWithoutMarksIsShownUnchanged", "HP 100 [ok]", "HP 100 [ok]"},
    {"BothExpanded", "%trim(  a  ) @(hp)", "a 120"},
    // A variable's value is not searched for function calls: functions go first.
    {"FunctionsBeforeVariables", "[@(call)]", "[%trim(  x  )]"},
};

INSTANTIATE_TEST_SUITE_P(Template, StatusLineExpansion, ::testing::ValuesIn(kLineCases),
                         [](const auto& param) { return std::string(param.param.name); });

struct TCutCase {
    const char* name;
    const char* prefix;
    const char* unit;      // repeated 600 times after the prefix
    const char* expanded;  // the prefix expanded
    size_t kept;
};

class StatusLineCut : public StatusLine, public ::testing::WithParamInterface<TCutCase> {};

TEST_P(StatusLineCut, NeverSplitsAHangulPair)
{
    AnsiString units;
    for (int i = 0; i < 600; ++i)
        units += GetParam().unit;
    state.CmdConfig.StatusLine = GetParam().prefix + units;
    EXPECT_EQ(StatusLineText(state), (GetParam().expanded + units).substr(0, GetParam().kept));
}

const TCutCase kCutCases[] = {
    {"AsciiCutAt1023", "", "ab", "", 1023},
    // 511 pairs fill 1022 bytes; the 512th would end at byte 1024.
    {"PairAcrossTheLimitIsLeftOutWhole", "", "\xC7\xD1", "", 1022},
    {"PairEndingAtTheLimitStays", "a", "\xC7\xD1", "a", 1023},
    // Cut after the expansion, not before it.
    {"ExpandedTextIsCut", "@(hp)", "\xC7\xD1", "120", 1023},
};

INSTANTIATE_TEST_SUITE_P(Limit, StatusLineCut, ::testing::ValuesIn(kCutCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(StatusLine, RefreshOnlyWhileConnected)
{
    state.CmdConfig.StatusLine = "HP @(hp)";
    state.CmdConfig.TrigMode = 1;
    state.WalkRec = Walk(2, 4, 1, 0, 0);
    EXPECT_FALSE(StatusEventTexts(state, false));
    auto refresh = StatusEventTexts(state, true);
    ASSERT_TRUE(refresh);
    EXPECT_EQ(refresh->StatusLine, "HP 120");
    EXPECT_EQ(refresh->Trigger, "T:On");
    EXPECT_EQ(refresh->Walk, "W:1/0/0/4");
    host.WalkTimerEvent->SetEnabled(true);
    EXPECT_EQ(StatusEventTexts(state, true)->Walk, "W:Paused");
}

}  // namespace
