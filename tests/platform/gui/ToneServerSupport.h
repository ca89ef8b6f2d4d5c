#pragma once
// Sound servers for the tone tests: a PulseAudio server of the case's own whose one output
// writes what it plays into a pipe, read back and measured, which is stopped, killed and started
// again under the beeps; a socket that never answers; and tone_play (helper/TonePlay.cpp), which
// beeps as a program of its own, asked one command at a time.

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
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/ToneWave.h"
#include "tests/platform/core/ToneMeasure.h"

// The rate of the server's output.
constexpr int kToneServerRate = 48000;

// A PulseAudio server of the case's own, its output writing 16-bit mono at kToneServerRate, in
// real time, into a pipe that a thread here drains.
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
                           QString::number(kToneServerRate) + " channels=1 use_system_clock_for_timing=yes",
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
    bool Suspend(bool suspend) { return RunClient("pactl", {"suspend-sink", "played", suspend ? "1" : "0"}); }

    // The playback streams the server holds, whoever's, as the server says; -1 when pactl failed.
    int Inputs()
    {
        QByteArray listed;
        if (!RunClient("pactl", {"list", "short", "sink-inputs"}, {}, &listed))
            return -1;
        return static_cast<int>(listed.count('\n'));
    }

    // The clients connected to the server, as it says, but for the pactl that asks; -1 when
    // pactl failed.
    int Clients()
    {
        QByteArray listed;
        if (!RunClient("pactl", {"list", "short", "clients"}, {}, &listed))
            return -1;
        return static_cast<int>(listed.count('\n')) - 1;
    }

    // Removes the one output, as unplugging the sound device does; false when pactl failed.
    bool RemoveOutput() { return RunClient("pactl", {"unload-module", "module-pipe-sink"}); }

    // Plays a tone to its end through pacat, another client of the server; false when pacat
    // failed (the server refused it, say).
    bool PlayThroughAnotherClient(uint32_t frequency, uint32_t durationMs)
    {
        TToneWave wave(frequency, durationMs, TToneFormat{kToneServerRate, 1, TToneFormat::kInt16});
        QByteArray samples(static_cast<qsizetype>(wave.FrameCount() * 2), 0);
        wave.Read(samples.data(), static_cast<size_t>(samples.size()));
        return RunClient(
            "pacat",
            {"--playback", "--raw", "--format=s16le", "--rate=" + QString::number(kToneServerRate), "--channels=1"},
            samples);
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
    // A client program run against this server, given input: false unless it ran and exited 0.
    bool RunClient(const char* program, const QStringList& arguments, const QByteArray& input = {},
                   QByteArray* output = nullptr)
    {
        const QString path = QStandardPaths::findExecutable(program);
        if (path.isEmpty()) {
            ADD_FAILURE() << program << " is not installed (scripts/setup.sh installs it)";
            return false;
        }
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PULSE_SERVER", Address());
        env.insert("PULSE_COOKIE", "/dev/null");
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(output ? QProcess::ForwardedErrorChannel : QProcess::ForwardedChannels);
        run.start(path, arguments);
        run.write(input);
        run.closeWriteChannel();
        const bool ended = run.waitForFinished(20000);
        if (output)
            *output = run.readAllStandardOutput();
        return ended && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0;
    }

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

// What count() says once it says want, or once it failed (-1), or after ten seconds of asking:
// the server deals in its own time with what it was sent, and with a client that went.
template <class TCount>
int ServerSays(TCount count, int want)
{
    QElapsedTimer waited;
    waited.start();
    int n = count();
    while (n != want && n >= 0 && waited.elapsed() < 10000) {
        QThread::msleep(50);
        n = count();
    }
    return n;
}

// Tones of one pitch that a pause of the server split are one tone.
inline std::vector<TMeasuredTone> Joined(const std::vector<TMeasuredTone>& tones)
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
inline std::vector<TMeasuredTone> TonesPlayed(TSoundServer& server, size_t count, double leastMs = 0)
{
    QElapsedTimer waited;
    waited.start();
    std::vector<TMeasuredTone> tones = Joined(MeasureTones(server.Played(), kToneServerRate));
    while ((tones.size() < count || tones[count - 1].Ms < leastMs) && waited.elapsed() < 10000) {
        QThread::msleep(20);
        tones = Joined(MeasureTones(server.Played(), kToneServerRate));
    }
    return tones;
}
