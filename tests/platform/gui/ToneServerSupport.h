#pragma once
// Sound servers for the tone tests: a PulseAudio server of the case's own whose one output
// writes what it plays into a pipe, read back and measured; a socket that never answers; and
// tone_play (helper/TonePlay.cpp), which beeps as a program of its own, asked one command at a
// time.

#include <QLocalServer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/core/ToneMeasure.h"

// The output's rate: 16-bit mono samples.
constexpr int kToneServerRate = 48000;

// A PulseAudio server of the case's own, its output writing 16-bit mono at kToneServerRate, in
// real time, into a pipe that a thread here drains. It is stopped, killed and started again
// under the beeps.
class TSoundServer {
public:
    // Ten seconds of sound, the most a pipe takes without root's rights.
    static constexpr int kPipeBytes = 1 << 20;

    TSoundServer();
    ~TSoundServer();

    // Started again where it was, as after a crash: the same socket, the same pipe.
    bool Start();
    // SIGSTOP, SIGCONT or SIGKILL; a killed server is waited for.
    void Signal(int signal);
    // Suspends the one output, as a user may, or lets it play again; false when pactl failed.
    bool Suspend(bool suspend);
    // The playback streams the server holds, whoever's, from the server itself; -1 when pactl
    // failed.
    int Inputs();
    // Plays a tone through pacat, another client of the server, to its end; false when pacat
    // failed (the server refused it, say).
    bool PlayThroughAnotherClient(uint32_t frequency, uint32_t durationMs);

    // Empty when the server runs.
    const std::string& Why() const { return FWhy; }
    QString Address() const { return "unix:" + FSocket; }

    // What the output played so far, -1 to 1.
    std::vector<double> Played();

private:
    void Drain();
    // A client program run against this server: false unless it ran and exited 0.
    bool RunClient(const char* program, const QStringList& arguments, const QByteArray& input = {},
                   QByteArray* output = nullptr);

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
    THungServer();
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
    TTonePlay(const QString& address, const QStringList& arguments = {}, bool qtLoop = false);
    ~TTonePlay();

    // The lines that answer the commands, one a line: given at once, they run one after another
    // with no turn of tone_play's event loop between them.
    std::string Ask(const std::string& commands);
    // LONGEST-GAP-MS, once the commands have ended; -1 when tone_play did not say.
    long Finish();

private:
    std::string Line();

    QTemporaryDir FDir;
    QProcess FPlay;
};

// The tones the server's output played, once there are at least count and the count-th has
// sounded for leastMs: the output writes in real time, and its last samples reach the pipe a
// little after the output has been closed. Tones of one pitch that a pause of the server split
// are one tone.
std::vector<TMeasuredTone> TonesPlayed(TSoundServer& server, size_t count, double leastMs = 0);
