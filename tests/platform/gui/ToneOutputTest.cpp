// Beeps through a real sound server: a PulseAudio server of the case's own whose one output
// writes what it plays into a pipe, read back here and measured; the server is stopped, killed
// and started again under the beeps. tone_play (helper/TonePlay.cpp) beeps, as a program of its
// own, and reports how long its event loop ever went without a turn.

#include <signal.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/platform/gui/ToneServerSupport.h"

namespace {

// Beeps through a sound server that is there, missing, hangs, stops, dies or comes back: each
// step is a command to tone_play (several lines at once) with the lines it answers, or one of
// the server's: "!stop" (SIGSTOP), "!continue", "!kill" (SIGKILL), "!restart", "!suspend" and
// "!resume" (its output), "!sound" (until the output has played a tenth of a second of a tone),
// "!inputs N" (the server holds N playback streams, as it says itself, once it has dealt with
// what it was sent: it is asked again for up to ten seconds), "!other HZ,MS" (another
// client, pacat, plays a tone to its end). Through all of it tone_play's event loop never misses
// a turn for a second (but for its own busy moments). Then the tones the output played: pitch and
// length (0: cut short, any length).
struct TServerStep {
    const char* Do;
    const char* Answer = "";
    int Times = 1;
};
struct TServerCase {
    const char* Name;
    enum { kNone, kHung, kReal } Server;
    std::vector<TServerStep> Steps;
    std::vector<TMeasuredTone> Played = {};
    // The time the server has to answer: half a second, not the program's two, but where a case
    // shows what a busy program does with the program's own.
    int AnswerMs = 500;
    // tone_play's event loop is Qt's own, not GLib's: the two take a due timer and a socket with
    // something to read in different orders.
    bool QtLoop = false;
};

const TServerCase kServerCases[] = {
    // A length of 0 and a pitch the system's beep refuses sound nothing; the rest play in turn.
    {"BeepsSoundTheirPitchAndLengthInTurn",
     TServerCase::kReal,
     {{"beep 880,300\nbeep 440,0\nbeep 20,100\nbeep 2000,200\nbeep 300,120\nbeep 1000,100\nstate",
       "BEEP 880,300 1\nBEEP 440,0 1\nBEEP 20,100 0\nBEEP 2000,200 1\nBEEP 300,120 1\nBEEP 1000,100 1\n"
       "PLAYING 1 WAITING 3 OPEN 0 BELLS 0"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"}},
     {{880, 300}, {2000, 200}, {300, 120}, {1000, 100}}},
    // One plays and 16 wait; the next two are refused.
    {"BeepsPastTheQueueBoundAreRefused",
     TServerCase::kReal,
     {{"beep 1000,5\nbeep 1000,5\nbeep 1000,5\nbeep 1000,5\nbeep 1000,5\nbeep 1000,5\nbeep 1000,5\nbeep 1000,5\n"
       "beep 1000,5\nbeep 1000,5\nbeep 1000,5\nbeep 1000,5\nbeep 1000,5\nbeep 1000,5\nbeep 1000,5\nbeep 1000,5\n"
       "beep 1000,5\nbeep 1000,5\nbeep 1000,5\nstate",
       "BEEP 1000,5 1\nBEEP 1000,5 1\nBEEP 1000,5 1\nBEEP 1000,5 1\nBEEP 1000,5 1\nBEEP 1000,5 1\nBEEP 1000,5 1\n"
       "BEEP 1000,5 1\nBEEP 1000,5 1\nBEEP 1000,5 1\nBEEP 1000,5 1\nBEEP 1000,5 1\nBEEP 1000,5 1\nBEEP 1000,5 1\n"
       "BEEP 1000,5 1\nBEEP 1000,5 1\nBEEP 1000,5 1\nBEEP 1000,5 0\nBEEP 1000,5 0\nPLAYING 1 WAITING 16 OPEN 0 BELLS "
       "0"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"}}},
    // Each beep asks again, and rings the bell when nothing is there.
    {"NoServerRingsTheBell",
     TServerCase::kNone,
     {{"beep 880,300", "BEEP 880,300 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 1"},
      {"beep 500,100", "BEEP 500,100 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 2"}}},
    // The first beep froze the window for 30 s, and again every couple of seconds.
    {"RegressionServerThatNeverAnswersFreezesNothing",
     TServerCase::kHung,
     {{"beep 880,300", "BEEP 880,300 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 1"},
      {"beep 500,100\nbeep 600,100", "BEEP 500,100 1\nBEEP 600,100 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 3"}}},
    // A beep after the server stopped froze the window, for good after 40 s; sound comes back
    // with the server. About 2 s: the server's time to answer runs out twice.
    {"RegressionStoppedServerFreezesNothing",
     TServerCase::kReal,
     {{"beep 440,100", "BEEP 440,100 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"},
      {"!stop"},
      {"beep 440,100", "BEEP 440,100 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 1"},
      {"beep 660,100", "BEEP 660,100 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 2"},
      {"!continue"},
      {"beep 990,150", "BEEP 990,150 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 2"}},
     {{440, 100}, {990, 150}}},
    // Killed mid-tone, the server left every later beep silent, even once it was back. The tone
    // it was playing is heard, cut short; the one after it rings the bell.
    {"RegressionLostServerRingsTheBellUntilItIsBack",
     TServerCase::kReal,
     {{"beep 440,5000\nbeep 660,100", "BEEP 440,5000 1\nBEEP 660,100 1"},
      {"heard 1", "HEARD 1"},
      {"!kill"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 1"},
      {"beep 440,100", "BEEP 440,100 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 2"},
      {"!restart"},
      {"beep 770,150", "BEEP 770,150 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 2"}},
     {{440, 0}, {770, 150}}},
    // A closed window's minute-long tones played on for a quarter of an hour.
    {"RegressionStoppedOwnersTonesEnd",
     TServerCase::kReal,
     {{"beep 440,60000,1\nbeep 440,60000,1\nbeep 880,150,2\nbeep 440,60000,1",
       "BEEP 440,60000,1 1\nBEEP 440,60000,1 1\nBEEP 880,150,2 1\nBEEP 440,60000,1 1"},
      {"!sound"},
      {"state", "PLAYING 1 WAITING 3 OPEN 1 BELLS 0"},
      // The output is closed and another opened for window 2's tone: until the server has said
      // the first is gone, it holds both.
      {"stop 1\nstate", "STOP 1\nPLAYING 1 WAITING 0 OPEN 2 BELLS 0"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"}},
     {{440, 0}, {880, 150}}},
    // Two seconds of work right after a beep, before the request to the server could leave or
    // its answer be read, rang the bell in place of the tone: on the first beep (which connects)
    // and on a later one (which opens an output on the connection).
    {"RegressionBusyMomentAfterABeepRangTheBell",
     TServerCase::kReal,
     {{"beep 880,300\nbusy 2100", "BEEP 880,300 1\nBUSY 2100"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"},
      {"beep 660,200\nbusy 2100", "BEEP 660,200 1\nBUSY 2100"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"}},
     {{880, 300}, {660, 200}},
     2000},
    // Two seconds of work while a tone played cut it short: the server's requests for more came
    // meanwhile and were judged late before they were read. It goes on after a gap.
    {"RegressionBusyMomentMidToneCutTheTone",
     TServerCase::kReal,
     {{"beep 440,1000", "BEEP 440,1000 1"},
      {"!sound"},
      {"busy 2100", "BUSY 2100"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"}},
     {{440, 1000}},
     2000,
     true},
    // Closing a window whose tone the output held behind another window's cut the other's short.
    // Window 2's tone is stopped while the output holds it after the end of window 1's: window 1's
    // is heard whole, and window 1's next tone after it.
    {"RegressionStoppedOwnerCutAnotherOwnersTone",
     TServerCase::kReal,
     {{"beep 880,1000,1\nbeep 440,1000,2", "BEEP 880,1000,1 1\nBEEP 440,1000,2 1"},
      {"fed\nstop 2\nstate", "PLAYING 1 WAITING 0 OPEN 1 BELLS 0\nSTOP 2\nPLAYING 1 WAITING 0 OPEN 1 BELLS 0"},
      {"beep 660,200,1", "BEEP 660,200,1 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"}},
     {{880, 1000}, {660, 200}}},
    // The same with the closed window's tone first: its part is silenced in place, and the tone
    // the output holds after it is heard whole.
    {"StoppedOwnerBeforeAnotherOwnersToneLeavesItWhole",
     TServerCase::kReal,
     {{"beep 880,1000,1\nbeep 440,1000,2", "BEEP 880,1000,1 1\nBEEP 440,1000,2 1"},
      {"fed\nstop 1\nstate", "PLAYING 1 WAITING 0 OPEN 1 BELLS 0\nSTOP 1\nPLAYING 1 WAITING 0 OPEN 1 BELLS 0"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"}},
     {{880, 0}, {440, 1000}}},
    // Each beep closed at once (its window closed) left a playback stream on the server when the
    // server had not yet answered for it: past 256 the server refused every new one, another
    // program's sound and the next beep's. Each is closed once the server answers.
    {"RegressionBeepClosedAtOnceLeftAStreamOnTheServer",
     TServerCase::kReal,
     {{"beep 500,100", "BEEP 500,100 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"},
      {"beep 1000,200,1\nstop 1", "BEEP 1000,200,1 1\nSTOP 1", 300},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"},
      {"!inputs 0"},
      {"!other 1500,200"},
      {"beep 700,150", "BEEP 700,150 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"}},
     {{500, 100}, {1500, 200}, {700, 150}}},
    // The same while the server is stopped: the stream it has not answered for is dropped with
    // the connection when the server is late, and the server drops it when it goes on.
    {"RegressionBeepClosedAtOnceOnAStoppedServerLeftAStream",
     TServerCase::kReal,
     {{"beep 500,100", "BEEP 500,100 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"},
      {"!stop"},
      {"beep 1000,200,1\nstop 1", "BEEP 1000,200,1 1\nSTOP 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"},
      {"!continue"},
      {"!inputs 0"},
      {"beep 700,150", "BEEP 700,150 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"}},
     {{500, 100}, {700, 150}}},
    // Two seconds of work right after the sound library's first turn on a new connection, which
    // only queues its first request, rang the bell in place of the tone: the wait ran from that
    // turn, not from when the request left at the next. So on the first beep after the server
    // came back. Work after a later turn, or after the first of a beep on the connection, is no
    // silence either.
    {"RegressionBusyMomentAfterTheLibrarysFirstTurnRangTheBell",
     TServerCase::kReal,
     {{"beep 880,300\nturn 1\nbusy 2100", "BEEP 880,300 1\nTURN 1\nBUSY 2100"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"},
      {"beep 660,200\nturn 1\nbusy 2100", "BEEP 660,200 1\nTURN 1\nBUSY 2100"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"},
      {"!kill"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"},
      {"!restart"},
      {"beep 550,200\nturn 1\nbusy 2100", "BEEP 550,200 1\nTURN 1\nBUSY 2100"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"},
      {"!kill"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"},
      {"!restart"},
      {"beep 770,200\nturn 2\nbusy 2100", "BEEP 770,200 1\nTURN 2\nBUSY 2100"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"},
      {"!kill"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"},
      {"!restart"},
      {"beep 990,200\nturn 3\nbusy 2100", "BEEP 990,200 1\nTURN 3\nBUSY 2100"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 0"}},
     {{880, 300}, {660, 200}, {550, 200}, {770, 200}, {990, 200}},
     2000},
    // A server that takes the connection and then answers nothing, from the first request on:
    // the bell rings, the window goes on, and sound comes back with the server.
    {"ServerStoppedBeforeItsFirstAnswerRingsTheBell",
     TServerCase::kReal,
     {{"!stop"},
      {"beep 440,100", "BEEP 440,100 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 1"},
      {"!continue"},
      {"beep 990,150", "BEEP 990,150 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 1"}},
     {{990, 150}}},
    // A tone the server's only output, suspended, never played rang no bell.
    {"RegressionSuspendedOutputRangNoBell",
     TServerCase::kReal,
     {{"!suspend"},
      {"beep 600,100", "BEEP 600,100 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 1"},
      {"!resume"},
      {"beep 990,150", "BEEP 990,150 1"},
      {"settle", "PLAYING 0 WAITING 0 OPEN 0 BELLS 1"}},
     {{990, 150}}},
};

void PrintTo(const TServerCase& c, std::ostream* os) { *os << c.Name; }

// How far a tone's measured length may be from its own: a period or two at either end, where one
// tone gives way to the next.
double Tolerance(const TMeasuredTone& tone) { return 2 * 1000.0 / tone.Hertz + 2; }

}  // namespace

class ToneOutputServer : public testing::TestWithParam<TServerCase> {};

TEST_P(ToneOutputServer, Beeps)
{
    const TServerCase& c = GetParam();
    std::optional<TSoundServer> real;
    std::optional<THungServer> hung;
    QString address;
    if (c.Server == TServerCase::kReal) {
        real.emplace();
        ASSERT_EQ(real->Why(), "");
        address = real->Address();
    } else if (c.Server == TServerCase::kHung) {
        hung.emplace();
        ASSERT_TRUE(hung->Listening());
        address = hung->Address();
    }
    TTonePlay play(address, {"--answer-ms=" + QString::number(c.AnswerMs)}, c.QtLoop);
    for (const TServerStep& step : c.Steps) {
        const std::string what = step.Do;
        unsigned number = 0, frequency = 0, ms = 0;
        if (std::sscanf(step.Do, "!inputs %u", &number) == 1)
            ASSERT_EQ(ServerSays([&] { return real->Inputs(); }, static_cast<int>(number)), static_cast<int>(number));
        else if (std::sscanf(step.Do, "!other %u,%u", &frequency, &ms) == 2)
            ASSERT_TRUE(real->PlayThroughAnotherClient(frequency, ms)) << "pacat could not play";
        else if (what == "!stop")
            real->Signal(SIGSTOP);
        else if (what == "!continue")
            real->Signal(SIGCONT);
        else if (what == "!kill")
            real->Signal(SIGKILL);
        else if (what == "!restart")
            ASSERT_TRUE(real->Start()) << real->Why();
        else if (what == "!suspend" || what == "!resume")
            ASSERT_TRUE(real->Suspend(what == "!suspend")) << "pactl could not " << what.substr(1) << " the output";
        else if (what == "!sound")
            ASSERT_FALSE(TonesPlayed(*real, 1, 100).empty()) << "no tone began";
        else
            for (int time = 0; time < step.Times; ++time)
                ASSERT_EQ(play.Ask(what), step.Answer) << "at " << what << ", time " << time;
    }
    const long gap = play.Finish();
    EXPECT_GE(gap, 0);
    EXPECT_LT(gap, 1000);
    if (c.Played.empty())
        return;
    // The tones reach the pipe in order, and its reader may lag on a loaded machine: all are
    // there once the last has its length.
    const TMeasuredTone& last = c.Played.back();
    const double lastLeastMs = last.Ms > 0 ? last.Ms - Tolerance(last) : 0;
    const std::vector<TMeasuredTone> tones = TonesPlayed(*real, c.Played.size(), lastLeastMs);
    std::string heard;
    for (const TMeasuredTone& t : tones)
        heard += " " + std::to_string(std::lround(t.Hertz)) + " Hz " + std::to_string(std::lround(t.Ms)) + " ms;";
    ASSERT_EQ(tones.size(), c.Played.size()) << "heard:" << heard;
    for (size_t i = 0; i < tones.size(); ++i) {
        const TMeasuredTone& expected = c.Played[i];
        EXPECT_NEAR(tones[i].Hertz, expected.Hertz, expected.Hertz * 0.005) << "tone " << i;
        if (expected.Ms > 0)
            EXPECT_NEAR(tones[i].Ms, expected.Ms, Tolerance(expected)) << "tone " << i;
        else
            EXPECT_LT(tones[i].Ms, 5000) << "tone " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, ToneOutputServer, testing::ValuesIn(kServerCases),
                         [](const testing::TestParamInfo<TServerCase>& row) { return std::string(row.param.Name); });
