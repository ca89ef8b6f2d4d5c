// The tone tests' sound servers and tone_play: see ToneServerSupport.h.

#include "tests/platform/gui/ToneServerSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/core/ToneWave.h"

TSoundServer::TSoundServer()
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

bool TSoundServer::Start()
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

void TSoundServer::Signal(int signal)
{
    ::kill(static_cast<pid_t>(FServer.processId()), signal);
    if (signal == SIGKILL)
        FServer.waitForFinished(5000);
}

TSoundServer::~TSoundServer()
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

bool TSoundServer::RunClient(const char* program, const QStringList& arguments, const QByteArray& input,
                             QByteArray* output)
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
    if (!input.isEmpty())
        run.write(input);
    run.closeWriteChannel();
    const bool ended = run.waitForFinished(20000);
    if (output)
        *output = run.readAllStandardOutput();
    return ended && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0;
}

bool TSoundServer::Suspend(bool suspend) { return RunClient("pactl", {"suspend-sink", "played", suspend ? "1" : "0"}); }

int TSoundServer::Inputs()
{
    QByteArray listed;
    if (!RunClient("pactl", {"list", "short", "sink-inputs"}, {}, &listed))
        return -1;
    return static_cast<int>(listed.count('\n'));
}

bool TSoundServer::PlayThroughAnotherClient(uint32_t frequency, uint32_t durationMs)
{
    TToneWave wave(frequency, durationMs, TToneFormat{kToneServerRate, 1, TToneFormat::kInt16});
    QByteArray samples(static_cast<qsizetype>(wave.FrameCount() * 2), 0);
    wave.Read(samples.data(), static_cast<size_t>(samples.size()));
    return RunClient(
        "pacat",
        {"--playback", "--raw", "--format=s16le", "--rate=" + QString::number(kToneServerRate), "--channels=1"},
        samples);
}

std::vector<double> TSoundServer::Played()
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

void TSoundServer::Drain()
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

THungServer::THungServer() { FListening = FServer.listen(FDir.path() + "/native"); }

TTonePlay::TTonePlay(const QString& address, const QStringList& arguments, bool qtLoop)
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

TTonePlay::~TTonePlay()
{
    if (FPlay.state() != QProcess::NotRunning) {
        FPlay.kill();
        FPlay.waitForFinished(5000);
    }
}

std::string TTonePlay::Ask(const std::string& commands)
{
    FPlay.write(QByteArray::fromStdString(commands + "\n"));
    std::string answers = Line();
    for (char c : commands)
        if (c == '\n')
            answers += "\n" + Line();
    return answers;
}

long TTonePlay::Finish()
{
    FPlay.closeWriteChannel();
    const std::string last = Line();
    EXPECT_TRUE(FPlay.waitForFinished(10000)) << "tone_play did not end";
    EXPECT_EQ(FPlay.exitCode(), 0);
    long gap = -1;
    return std::sscanf(last.c_str(), "LONGEST-GAP-MS %ld", &gap) == 1 ? gap : -1;
}

std::string TTonePlay::Line()
{
    QElapsedTimer waited;
    waited.start();
    // A settle command answers within 20 s at most.
    while (!FPlay.canReadLine() && waited.elapsed() < 30000)
        if (!FPlay.waitForReadyRead(1000) && FPlay.state() == QProcess::NotRunning)
            break;
    return FPlay.readLine().trimmed().toStdString();
}

namespace {

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

std::vector<TMeasuredTone> TonesPlayed(TSoundServer& server, size_t count, double leastMs)
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
