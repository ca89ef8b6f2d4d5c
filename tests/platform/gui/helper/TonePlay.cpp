// tone_play [--answer-ms=N]: beeps as the program's #beep does, through the desktop's sound
// server (the one PULSE_SERVER names), driven by commands on standard input, one a line, each
// answered by one line on standard output:
//
//   beep FREQUENCY,MS[,OWNER]  BEEP FREQUENCY,MS[,OWNER] 1|0    what Beep returned
//   stop OWNER                 STOP OWNER                       the owner's tones stopped
//   state                      PLAYING 1|0 WAITING N OPEN N BELLS N
//   settle                     the same, once no tone plays or waits and the server holds no
//                              output of the player's (or after 20 s)
//   fed                        the same, once the output has taken every waiting tone
//                              (or after 20 s)
//   heard N                    HEARD N, once the server has said it played N tones (or after
//                              20 s: the number it said)
//   turn N                     TURN N, once the sound library has had N turns from now; the
//                              lines after it run right then, before the event loop goes on
//   busy MS                    BUSY MS                          after the thread did nothing
//                                                               else for MS milliseconds
//
// At the end of the input it prints LONGEST-GAP-MS N, the longest time the event loop went
// without running its 10 ms timer (busy's own time aside), and exits 0. --answer-ms shortens the time the sound server
// has to answer before the bell rings instead.

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "platform/gui/Sound.h"
#include "platform/gui/TonePlayer.h"

namespace {

void PrintState()
{
    TTonePlayer& player = TTonePlayer::Instance();
    std::printf("PLAYING %d WAITING %zu OPEN %d BELLS %zu\n", player.Playing() ? 1 : 0, player.Waiting(),
                TTonePlayer::OpenOutputs(), player.Bells());
}

bool Settled()
{
    const TTonePlayer& player = TTonePlayer::Instance();
    return !player.Playing() && player.Waiting() == 0 && TTonePlayer::OpenOutputs() == 0;
}

bool Fed() { return TTonePlayer::Instance().Waiting() == 0; }

// The wait of a settle, fed or heard command: what it waits for, and its answer.
struct TWait {
    std::function<bool()> Done;
    std::function<void()> Answer;
    QElapsedTimer Since;
};

// Owners are small numbers; any distinct addresses serve.
const void* Owner(unsigned n) { return reinterpret_cast<const void*>(static_cast<uintptr_t>(n) * 16 + 16); }

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--answer-ms=", 12) == 0)
            TTonePlayer::Instance().SetAnswerMs(std::atoi(argv[i] + 12));

    QElapsedTimer sinceTick;
    sinceTick.start();
    qint64 longestGap = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    tick.start(10);

    std::string input;
    std::deque<std::string> lines;
    bool ended = false;
    std::optional<TWait> wait;
    unsigned turnsLeft = 0;
    QTimer next;
    next.setSingleShot(true);
    std::function<void()> run = [&] {
        if (wait) {
            if (!wait->Done() && wait->Since.elapsed() < 20000) {
                next.start(10);
                return;
            }
            wait->Answer();
            wait.reset();
        }
        while (!lines.empty() && !wait && turnsLeft == 0) {
            const std::string line = lines.front();
            lines.pop_front();
            unsigned frequency = 0, ms = 0, owner = 0, count = 0;
            char word[16] = {};
            if (std::sscanf(line.c_str(), "beep %u,%u,%u", &frequency, &ms, &owner) >= 2)
                std::printf("BEEP %s %d\n", line.c_str() + 5, Beep(frequency, ms, Owner(owner)) ? 1 : 0);
            else if (std::sscanf(line.c_str(), "stop %u", &owner) == 1) {
                StopBeeps(Owner(owner));
                std::printf("STOP %u\n", owner);
            } else if (std::sscanf(line.c_str(), "%15s", word) == 1 && std::strcmp(word, "state") == 0)
                PrintState();
            else if (std::strcmp(word, "settle") == 0 || std::strcmp(word, "fed") == 0) {
                wait.emplace(TWait{word[0] == 's' ? Settled : Fed, PrintState, {}});
                wait->Since.start();
                next.start(0);
            } else if (std::sscanf(line.c_str(), "heard %u", &count) == 1) {
                wait.emplace(TWait{[count] { return TTonePlayer::Instance().Heard() >= count; },
                                   [] { std::printf("HEARD %zu\n", TTonePlayer::Instance().Heard()); },
                                   {}});
                wait->Since.start();
                next.start(0);
            } else if (std::sscanf(line.c_str(), "turn %u", &count) == 1 && count > 0) {
                turnsLeft = count;
                TTonePlayer::Instance().SetOnTurn([&, count] {
                    if (turnsLeft == 0 || --turnsLeft > 0)
                        return;
                    std::printf("TURN %u\n", count);
                    run();
                });
            } else if (std::sscanf(line.c_str(), "busy %u", &ms) == 1) {
                // Work that keeps the event loop from turning, as a long script does.
                QThread::msleep(ms);
                sinceTick.restart();  // the gap that counts is the player's, not this one
                std::printf("BUSY %u\n", ms);
            } else
                std::printf("UNKNOWN %s\n", line.c_str());
            std::fflush(stdout);
        }
        std::fflush(stdout);
        if (ended && lines.empty() && !wait && turnsLeft == 0) {
            std::printf("LONGEST-GAP-MS %lld\n", static_cast<long long>(longestGap));
            std::fflush(stdout);
            QCoreApplication::exit(0);
        }
    };
    QObject::connect(&next, &QTimer::timeout, run);
    QSocketNotifier in(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&in, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            ended = true;
            in.setEnabled(false);
        } else {
            input.append(buffer, static_cast<size_t>(got));
        }
        for (size_t end; (end = input.find('\n')) != std::string::npos; input.erase(0, end + 1))
            lines.push_back(input.substr(0, end));
        if (!wait && turnsLeft == 0)
            run();
    });
    return QApplication::exec();
}
