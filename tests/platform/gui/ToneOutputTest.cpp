// Beeps through a real sound server: a PulseAudio server of the case's own whose one output
// writes what it plays into a pipe, read back here and measured; the server is stopped, killed
// and started again under the beeps. tone_play (helper/TonePlay.cpp) beeps, as a program of its
// own, and reports how long its event loop ever went without a turn.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/core/ToneMeasure.h"

namespace {

constexpr int kRate = 48000;

// A PulseAudio server of the case's own, its output writing 16-bit mono at kRate, in real time,
// into a pipe that a thread here drains.
class TSoundServer {
public:
    // Ten seconds of sound, the most a pipe takes without root's rights.
    static constexpr int kPipeBytes = 1 << 20;

    TSoundServer()
    {
        FSocket = FDir.path() + "/native";
        if (!Start())
            return;
        const QString pipe = FDir.path() + "/played";
        FPipe = ::open(pipe.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK);
        if (FPipe < 0) {
            FWhy = "cannot read the sound server's output: " + std::string(std::strerror(errno));
            return;
        }
        // The output drops what a full pipe does not take; the pipe's usual size, 64 KiB, holds
        // two thirds of a second, which this thread may wait on a loaded machine.
        fcntl(FPipe, F_SETPIPE_SZ, kPipeBytes);
        FReader = std::thread([this] { Drain(); });
    }

    // Started again where it was, as after a crash: the same socket, the same pipe.
    bool Start()
    {
        const QString pulseaudio = QStandardPaths::findExecutable("pulseaudio");
        if (pulseaudio.isEmpty()) {
            FWhy = "pulseaudio is not installed (scripts/setup.sh installs it)";
            return false;
        }
        const QString dir = FDir.path();
        QDir().mkpath(dir + "/home");
        QDir().mkpath(dir + "/run");
        QFile::remove(FSocket);
        const QString pipe = dir + "/played";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", dir + "/home");
        env.insert("PULSE_RUNTIME_PATH", dir + "/run");
        env.insert("PULSE_STATE_PATH", dir + "/run");
        env.insert("XDG_RUNTIME_DIR", dir + "/run");
        FServer.setProcessEnvironment(env);
        FServer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        FServer.start(pulseaudio,
                      {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--log-level=error", "-L",
                       "module-pipe-sink file=" + pipe + " sink_name=played format=s16le rate=" +
                           QString::number(kRate) + " channels=1 use_system_clock_for_timing=yes",
                       "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + FSocket});
        // The socket is there once the modules are loaded; a loaded machine starts slowly.
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(FSocket) && waited.elapsed() < 20000 && FServer.state() != QProcess::NotRunning)
            QThread::msleep(20);
        if (!QFileInfo::exists(FSocket)) {
            FWhy = "the sound server did not start";
            return false;
        }
        return true;
    }

    // SIGSTOP, SIGCONT or SIGKILL; a killed server is waited for.
    void Signal(int signal)
    {
        ::kill(static_cast<pid_t>(FServer.processId()), signal);
        if (signal == SIGKILL)
            FServer.waitForFinished(5000);
    }

    ~TSoundServer()
    {
        FStop = true;
        if (FReader.joinable())
            FReader.join();
        if (FPipe >= 0)
            ::close(FPipe);
        if (FServer.state() != QProcess::NotRunning)
            ::kill(static_cast<pid_t>(FServer.processId()), SIGCONT);
        FServer.terminate();
        if (!FServer.waitForFinished(5000))
            FServer.kill();
        FServer.waitForFinished(5000);
    }

    // Suspends the one output, as a user may, or lets it play again; false when pactl failed.
    bool Suspend(bool suspend)
    {
        const QString pactl = QStandardPaths::findExecutable("pactl");
        if (pactl.isEmpty())
            return false;
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PULSE_SERVER", Address());
        env.insert("PULSE_COOKIE", "/dev/null");
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        run.start(pactl, {"suspend-sink", "played", suspend ? "1" : "0"});
        return run.waitForFinished(10000) && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0;
    }

    // Empty when the server runs.
    const std::string& Why() const { return FWhy; }
    QString Address() const { return "unix:" + FSocket; }

    // What the output played so far, -1 to 1.
    std::vector<double> Played()
    {
        std::lock_guard<std::mutex> lock(FLock);
        std::vector<double> samples;
        for (size_t at = 0; at + 1 < FBytes.size(); at += 2) {
            int16_t v;
            std::memcpy(&v, FBytes.data() + at, sizeof v);
            samples.push_back(v / 32767.0);
        }
        return samples;
    }

private:
    void Drain()
    {
        char buffer[8192];
        while (!FStop) {
            pollfd in{FPipe, POLLIN, 0};
            if (::poll(&in, 1, 50) <= 0)
                continue;
            const ssize_t got = ::read(FPipe, buffer, sizeof buffer);
            if (got == 0)
                QThread::msleep(10);  // no server writes: until one is started again
            if (got > 0) {
                std::lock_guard<std::mutex> lock(FLock);
                FBytes.insert(FBytes.end(), buffer, buffer + got);
            }
        }
    }

    QTemporaryDir FDir;
    QProcess FServer;
    QString FSocket;
    std::string FWhy;
    int FPipe = -1;
    std::thread FReader;
    std::atomic<bool> FStop{false};
    std::mutex FLock;
    std::vector<char> FBytes;
};

// A socket that takes connections (the kernel does, for the backlog) and never answers: a sound
// server that hangs.
class THungServer {
public:
    THungServer() { FListening = FServer.listen(FDir.path() + "/native"); }
    bool Listening() const { return FListening; }
    QString Address() const { return "unix:" + FServer.fullServerName(); }

private:
    QTemporaryDir FDir;
    QLocalServer FServer;
    bool FListening = false;
};

// tone_play, asked one command at a time.
class TTonePlay {
public:
    // address "" for a server that is not there. qtLoop: Qt's own event loop, not GLib's.
    TTonePlay(const QString& address, const QStringList& arguments = {}, bool qtLoop = false)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (qtLoop)
            env.insert("QT_NO_GLIB", "1");
        else
            env.remove("QT_NO_GLIB");
        env.insert("PULSE_SERVER", address.isEmpty() ? "unix:" + FDir.path() + "/no-sound-server-here" : address);
        // The server runs as this user with anonymous access; no desktop's own server is asked.
        env.insert("PULSE_COOKIE", "/dev/null");
        FPlay.setProcessEnvironment(env);
        FPlay.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        FPlay.start(QCoreApplication::applicationDirPath() + "/tone_play", arguments);
    }
    ~TTonePlay()
    {
        if (FPlay.state() != QProcess::NotRunning) {
            FPlay.kill();
            FPlay.waitForFinished(5000);
        }
    }

    // The lines that answer the commands, one a line: given at once, they run one after another
    // with no turn of tone_play's event loop between them.
    std::string Ask(const std::string& commands)
    {
        FPlay.write(QByteArray::fromStdString(commands + "\n"));
        std::string answers = Line();
        for (char c : commands)
            if (c == '\n')
                answers += "\n" + Line();
        return answers;
    }

    // LONGEST-GAP-MS, once the commands have ended; -1 when tone_play did not say.
    long Finish()
    {
        FPlay.closeWriteChannel();
        const std::string last = Line();
        EXPECT_TRUE(FPlay.waitForFinished(10000)) << "tone_play did not end";
        EXPECT_EQ(FPlay.exitCode(), 0);
        long gap = -1;
        return std::sscanf(last.c_str(), "LONGEST-GAP-MS %ld", &gap) == 1 ? gap : -1;
    }

private:
    std::string Line()
    {
        QElapsedTimer waited;
        waited.start();
        // A settle command answers within 20 s at most.
        while (!FPlay.canReadLine() && waited.elapsed() < 30000)
            if (!FPlay.waitForReadyRead(1000) && FPlay.state() == QProcess::NotRunning)
                break;
        return FPlay.readLine().trimmed().toStdString();
    }

    QTemporaryDir FDir;
    QProcess FPlay;
};

// Tones of one pitch that a pause of the server split are one tone.
std::vector<TMeasuredTone> Joined(const std::vector<TMeasuredTone>& tones)
{
    std::vector<TMeasuredTone> joined;
    for (const TMeasuredTone& t : tones)
        if (!joined.empty() && std::abs(joined.back().Hertz - t.Hertz) < t.Hertz * 0.01)
            joined.back().Ms += t.Ms;
        else
            joined.push_back(t);
    return joined;
}

// The tones the server's output played, once there are at least count and the count-th has
// sounded for leastMs: the output writes in real time, and its last samples reach the pipe a
// little after the output has been closed.
std::vector<TMeasuredTone> TonesPlayed(TSoundServer& server, size_t count, double leastMs = 0)
{
    QElapsedTimer waited;
    waited.start();
    std::vector<TMeasuredTone> tones = Joined(MeasureTones(server.Played(), kRate));
    while ((tones.size() < count || tones[count - 1].Ms < leastMs) && waited.elapsed() < 10000) {
        QThread::msleep(20);
        tones = Joined(MeasureTones(server.Played(), kRate));
    }
    return tones;
}

// Beeps through a sound server that is there, missing, hangs, stops, dies or comes back: each
// step is a command to tone_play (several lines at once) with the lines it answers, or one of
// the server's: "!stop" (SIGSTOP), "!continue", "!kill" (SIGKILL), "!restart", "!suspend" and
// "!resume" (its output), "!sound" (until the output has played a tenth of a second of a tone:
// the server has long told tone_play that it plays). Through all of it tone_play's event loop
// never misses a turn for a second (but for its own busy moments). Then the tones the output
// played: pitch and length (0: cut short, any length).
struct TServerStep {
    const char* Do;
    const char* Answer = "";
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
    // Killed mid-tone, the server left every later beep silent, even once it was back.
    {"RegressionLostServerRingsTheBellUntilItIsBack",
     TServerCase::kReal,
     {{"beep 440,5000\nbeep 660,100", "BEEP 440,5000 1\nBEEP 660,100 1"},
      {"!sound"},
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
      {"stop 1\nstate", "STOP 1\nPLAYING 1 WAITING 0 OPEN 1 BELLS 0"},
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
        if (what == "!stop")
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
            ASSERT_EQ(play.Ask(what), step.Answer) << "at " << what;
    }
    const long gap = play.Finish();
    EXPECT_GE(gap, 0);
    EXPECT_LT(gap, 1000);
    if (c.Played.empty())
        return;
    const std::vector<TMeasuredTone> tones = TonesPlayed(*real, c.Played.size());
    std::string heard;
    for (const TMeasuredTone& t : tones)
        heard += " " + std::to_string(std::lround(t.Hertz)) + " Hz " + std::to_string(std::lround(t.Ms)) + " ms;";
    ASSERT_EQ(tones.size(), c.Played.size()) << "heard:" << heard;
    for (size_t i = 0; i < tones.size(); ++i) {
        const TMeasuredTone& expected = c.Played[i];
        EXPECT_NEAR(tones[i].Hertz, expected.Hertz, expected.Hertz * 0.005) << "tone " << i;
        // Within a period or two at either end, where one tone gives way to the next.
        if (expected.Ms > 0)
            EXPECT_NEAR(tones[i].Ms, expected.Ms, 2 * 1000.0 / expected.Hertz + 2) << "tone " << i;
        else
            EXPECT_LT(tones[i].Ms, 5000) << "tone " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, ToneOutputServer, testing::ValuesIn(kServerCases),
                         [](const testing::TestParamInfo<TServerCase>& row) { return std::string(row.param.Name); });
