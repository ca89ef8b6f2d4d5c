// An output that fails while its tones play: its sink suspended or removed, its server killed,
// stopped or killed and started again, once the server has begun to play six tones. Every tone is heard or rings the bell: the player
// knows what was played from what the server said it played, and the tones it did not hear of
// are the last ones, so the first (six less the bells) must be in what the output played.

#include <signal.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/platform/gui/ToneServerSupport.h"

namespace {

struct TFailureCase {
    const char* Name;
    enum { kSuspend, kRemove, kKill, kStop, kRestart } Failure;
};

const TFailureCase kFailureCases[] = {
    {"SinkSuspended", TFailureCase::kSuspend},   {"SinkRemoved", TFailureCase::kRemove},
    {"ServerKilled", TFailureCase::kKill},       {"ServerStopped", TFailureCase::kStop},
    {"ServerRestarted", TFailureCase::kRestart},
};

void PrintTo(const TFailureCase& c, std::ostream* os) { *os << c.Name; }

// Six pitches, each told apart from the others by its measure.
constexpr unsigned kPitches[] = {600, 700, 800, 900, 1000, 1100};
constexpr unsigned kToneMs = 150;
// A tone is heard once 20 ms of it were played; the measure finds one from 10 ms.
constexpr double kHeardMs = 10;
// What the output has played when it fails: the first tone and some of the second.
constexpr double kFailAfterMs = 200;

}  // namespace

class ToneOutputFailure : public testing::TestWithParam<TFailureCase> {};

TEST_P(ToneOutputFailure, RegressionOutputFailingMidToneLeftTonesNeitherHeardNorBelled)
{
    const TFailureCase& c = GetParam();
    TSoundServer server;
    ASSERT_EQ(server.Why(), "");
    // The program's own time to answer: a loaded machine never makes a healthy server fail.
    TTonePlay play(server.Address());
    std::string beeps, answers;
    for (unsigned pitch : kPitches) {
        const std::string tone = std::to_string(pitch) + "," + std::to_string(kToneMs);
        beeps += (beeps.empty() ? "beep " : "\nbeep ") + tone;
        answers += (answers.empty() ? "BEEP " : "\nBEEP ") + tone + " 1";
    }
    ASSERT_EQ(play.Ask(beeps), answers);
    // The first tone played whole and the second begun: the server plays from the output.
    const std::vector<TMeasuredTone> begun = TonesPlayed(server, 2, kFailAfterMs - kToneMs);
    ASSERT_GE(begun.size(), 2u) << "the tones did not begin";

    switch (c.Failure) {
    case TFailureCase::kSuspend: ASSERT_TRUE(server.Suspend(true)) << "pactl could not suspend the output"; break;
    case TFailureCase::kRemove: ASSERT_TRUE(server.RemoveOutput()) << "pactl could not remove the output"; break;
    case TFailureCase::kKill: server.Signal(SIGKILL); break;
    case TFailureCase::kStop: server.Signal(SIGSTOP); break;
    case TFailureCase::kRestart:
        server.Signal(SIGKILL);
        ASSERT_TRUE(server.Start()) << server.Why();
        break;
    }
    const std::string settled = play.Ask("settle");
    size_t bells = 99;
    ASSERT_EQ(std::sscanf(settled.c_str(), "PLAYING 0 WAITING 0 OPEN 0 BELLS %zu", &bells), 1) << settled;
    if (c.Failure == TFailureCase::kSuspend)
        EXPECT_TRUE(server.Suspend(false));
    else if (c.Failure == TFailureCase::kStop)
        server.Signal(SIGCONT);
    const long gap = play.Finish();
    EXPECT_GE(gap, 0);
    EXPECT_LT(gap, 1000);

    const size_t count = std::size(kPitches);
    ASSERT_LE(bells, count);
    if (bells == count)
        return;
    // In order, and the pipe's reader may lag: the earlier ones are whole once the last heard
    // one shows as heard.
    const std::vector<TMeasuredTone> tones = TonesPlayed(server, count - bells, kHeardMs);
    std::string played;
    for (const TMeasuredTone& t : tones)
        played += " " + std::to_string(std::lround(t.Hertz)) + " Hz " + std::to_string(std::lround(t.Ms)) + " ms;";
    for (size_t i = 0; i + bells < count; ++i) {
        bool heard = false;
        for (const TMeasuredTone& t : tones)
            heard = heard || (std::abs(t.Hertz - kPitches[i]) < kPitches[i] * 0.005 && t.Ms >= kHeardMs);
        EXPECT_TRUE(heard) << kPitches[i] << " Hz neither heard nor belled (" << bells << " bells); played:" << played;
    }
}

INSTANTIATE_TEST_SUITE_P(Failures, ToneOutputFailure, testing::ValuesIn(kFailureCases),
                         [](const testing::TestParamInfo<TFailureCase>& row) { return std::string(row.param.Name); });
