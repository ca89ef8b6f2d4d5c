// A program that ends while its tones are at any step of their way to the sound server: it ends
// at once, cleanly, and the server holds nothing of it afterwards, neither a playback stream nor
// a connection.

#include <gtest/gtest.h>

#include <string>

#include "tests/platform/gui/ToneServerSupport.h"

namespace {

// What tone_play is asked before its input ends, with the lines it answers.
struct TEndCase {
    const char* Name;
    const char* Do;
    const char* Answer;
};

const TEndCase kEndCases[] = {
    {"WhileConnecting", "beep 1000,300,1", "BEEP 1000,300,1 1"},
    {"AfterTheLibrarysFirstTurn", "beep 1000,300,1\nturn 1", "BEEP 1000,300,1 1\nTURN 1"},
    {"WhileTheOutputIsBeingMade", "beep 440,50\nsettle\nbeep 1000,300,1",
     "BEEP 440,50 1\nPLAYING 0 WAITING 0 OPEN 0 BELLS 0\nBEEP 1000,300,1 1"},
    {"WhileATonePlays", "beep 440,50\nsettle\nbeep 1000,3000,1\nheard 2",
     "BEEP 440,50 1\nPLAYING 0 WAITING 0 OPEN 0 BELLS 0\nBEEP 1000,3000,1 1\nHEARD 2"},
    {"WhileAClosedOutputIsBeingMade", "beep 440,50\nsettle\nbeep 1000,300,1\nstop 1",
     "BEEP 440,50 1\nPLAYING 0 WAITING 0 OPEN 0 BELLS 0\nBEEP 1000,300,1 1\nSTOP 1"},
};

void PrintTo(const TEndCase& c, std::ostream* os) { *os << c.Name; }

}  // namespace

class ToneProgramEnd : public testing::TestWithParam<TEndCase> {};

TEST_P(ToneProgramEnd, LeavesNothingOnTheServer)
{
    const TEndCase& c = GetParam();
    TSoundServer server;
    ASSERT_EQ(server.Why(), "");
    TTonePlay play(server.Address());
    ASSERT_EQ(play.Ask(c.Do), c.Answer);
    EXPECT_GE(play.Finish(), 0);
    EXPECT_EQ(ServerSays([&] { return server.Inputs(); }, 0), 0);
    EXPECT_EQ(ServerSays([&] { return server.Clients(); }, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, ToneProgramEnd, testing::ValuesIn(kEndCases),
                         [](const testing::TestParamInfo<TEndCase>& row) { return std::string(row.param.Name); });
