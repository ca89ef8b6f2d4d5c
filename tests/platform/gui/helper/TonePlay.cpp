// tone_play FREQUENCY,MS...: beeps each, one after another, as the program's #beep does, through
// the desktop's sound output (the one PULSE_SERVER names), and prints
//
//   BEEP FREQUENCY,MS 1|0     what Beep returned, for each
//   PLAYING 1|0 WAITING N     whether a tone plays after the last, and how many wait behind it
//   OPEN N                    once every tone has ended: the outputs still open (0)
//
// Exits 0, or 1 when the tones have not ended within a minute.

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

#include "platform/gui/Sound.h"
#include "platform/gui/TonePlayer.h"

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    for (int i = 1; i < argc; ++i) {
        unsigned frequency = 0, ms = 0;
        if (std::sscanf(argv[i], "%u,%u", &frequency, &ms) != 2) {
            std::fprintf(stderr, "usage: tone_play FREQUENCY,MS...\n");
            return 2;
        }
        std::printf("BEEP %s %d\n", argv[i], Beep(frequency, ms) ? 1 : 0);
    }
    TTonePlayer& player = TTonePlayer::Instance();
    std::printf("PLAYING %d WAITING %zu\n", player.Playing() ? 1 : 0, player.Waiting());
    std::fflush(stdout);
    QElapsedTimer waited;
    waited.start();
    // The outputs of ended tones are freed from the event loop: wait for that too.
    while ((player.Playing() || player.Waiting() > 0 || TTonePlayer::OpenOutputs() > 0) && waited.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    std::printf("OPEN %d\n", TTonePlayer::OpenOutputs());
    return player.Playing() ? 1 : 0;
}
