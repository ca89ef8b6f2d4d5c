// Beeps through a real sound server: a PulseAudio server of the case's own whose one output
// writes what it plays into a pipe, read back here and measured. tone_play (helper/TonePlay.cpp)
// beeps, as a program of its own, since a process picks its sound system once.

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
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
    TSoundServer()
    {
        const QString pulseaudio = QStandardPaths::findExecutable("pulseaudio");
        if (pulseaudio.isEmpty()) {
            FWhy = "pulseaudio is not installed (scripts/setup.sh installs it)";
            return;
        }
        const QString dir = FDir.path();
        QDir().mkpath(dir + "/home");
        QDir().mkpath(dir + "/run");
        FSocket = dir + "/native";
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
            return;
        }
        FPipe = ::open(pipe.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK);
        if (FPipe < 0) {
            FWhy = "cannot read the sound server's output: " + std::string(std::strerror(errno));
            return;
        }
        FReader = std::thread([this] { Drain(); });
    }
    ~TSoundServer()
    {
        FStop = true;
        if (FReader.joinable())
            FReader.join();
        if (FPipe >= 0)
            ::close(FPipe);
        FServer.terminate();
        if (!FServer.waitForFinished(5000))
            FServer.kill();
        FServer.waitForFinished(5000);
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

// tone_play's output for the beeps, with the sound server at address ("" for none).
QString Beeps(const QString& address, const QStringList& beeps)
{
    QProcess play;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULSE_SERVER", address.isEmpty() ? "unix:" + QDir::tempPath() + "/no-sound-server-here" : address);
    // The server runs as this user with anonymous access; no desktop's own server is asked.
    env.insert("PULSE_COOKIE", "/dev/null");
    play.setProcessEnvironment(env);
    play.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    play.start(QCoreApplication::applicationDirPath() + "/tone_play", beeps);
    EXPECT_TRUE(play.waitForFinished(90000)) << "tone_play did not end";
    EXPECT_EQ(play.exitCode(), 0);
    return QString::fromUtf8(play.readAllStandardOutput());
}

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

}  // namespace

TEST(ToneOutput, BeepsSoundTheirPitchAndLengthInTurn)
{
    TSoundServer server;
    ASSERT_EQ(server.Why(), "");
    // A length of 0 and a pitch the system's beep refuses sound nothing; the rest play in turn.
    const QString out = Beeps(server.Address(), {"880,300", "440,0", "20,100", "2000,200", "300,120", "1000,100"});
    EXPECT_EQ(out,
              "BEEP 880,300 1\nBEEP 440,0 1\nBEEP 20,100 0\nBEEP 2000,200 1\nBEEP 300,120 1\nBEEP 1000,100 1\n"
              "PLAYING 1 WAITING 3\nOPEN 0\n");
    const struct {
        double Hertz, Ms;
    } expected[] = {{880, 300}, {2000, 200}, {300, 120}, {1000, 100}};
    // The server's output runs in real time: its last samples follow tone_play's end closely.
    std::vector<TMeasuredTone> tones;
    QElapsedTimer waited;
    waited.start();
    do {
        QThread::msleep(50);
        tones = Joined(MeasureTones(server.Played(), kRate));
    } while (tones.size() < std::size(expected) && waited.elapsed() < 10000);
    ASSERT_EQ(tones.size(), std::size(expected));
    for (size_t i = 0; i < tones.size(); ++i) {
        EXPECT_NEAR(tones[i].Hertz, expected[i].Hertz, expected[i].Hertz * 0.005) << "tone " << i;
        // Within a period or two at either end, where one tone gives way to the next.
        EXPECT_NEAR(tones[i].Ms, expected[i].Ms, 2 * 1000.0 / expected[i].Hertz + 2) << "tone " << i;
    }
}

TEST(ToneOutput, BeepsPastTheQueueBoundAreRefused)
{
    TSoundServer server;
    ASSERT_EQ(server.Why(), "");
    // One plays and 16 wait; the next two are refused.
    QStringList beeps;
    QString expected;
    for (int i = 0; i < 19; ++i) {
        beeps << "1000,5";
        expected += QString("BEEP 1000,5 %1\n").arg(i < 17 ? 1 : 0);
    }
    EXPECT_EQ(Beeps(server.Address(), beeps), expected + "PLAYING 1 WAITING 16\nOPEN 0\n");
}

TEST(ToneOutput, WithoutASoundServerTheBellRingsInstead)
{
    // Nothing plays and no output stays open; the beep still counts as sounded.
    EXPECT_EQ(Beeps("", {"880,300", "440,0", "20,100"}),
              "BEEP 880,300 1\nBEEP 440,0 1\nBEEP 20,100 0\nPLAYING 0 WAITING 0\nOPEN 0\n");
}
