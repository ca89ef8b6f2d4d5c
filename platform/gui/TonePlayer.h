#pragma once
// Beeps through the desktop's sound server. The caller goes on at once: the tones play one after
// another, as the system's beep sounds them, and nothing here ever waits on the server. A server
// that is not there, or does not answer within a moment, rings the bell for the tones it would
// have played, and so does an output that fails before the server has played a tone it took (a
// sound device suspended, a server gone or stopped, mid-tone); the next tone asks again, so sound
// comes back with the server. Nothing of the player's stays on the server once its tones ended.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class TTonePlayer {
public:
    enum TResult {
        kQueued,     // sounds after the tones before it, or rings the bell if nothing answers
        kNoOutput,   // no event loop to play from
        kQueueFull,  // kMaxWaiting tones wait already: this one is dropped
    };
    // Tones waiting behind the one that plays. A script that beeps in a loop would otherwise
    // queue minutes of sound; past this the newest are dropped.
    static constexpr size_t kMaxWaiting = 16;
    // How long the server may take to answer (to connect, to open an output, to play on) before
    // its tones ring the bell instead: counted from when the request left the program, and what
    // the server sent is read before its answer is judged late, so a busy program is no silence.
    static constexpr int kAnswerMs = 2000;

    static TTonePlayer& Instance();
    ~TTonePlayer();

    // A pitch in hertz and a length in milliseconds, both as the system's beep takes them (Beep
    // sounds nothing for a length of 0 and never asks for it). owner is whoever asked, for Stop.
    TResult Play(uint32_t frequency, uint32_t durationMs, const void* owner = nullptr);
    // Cuts the owner's tone short and drops its waiting ones; the others play on.
    void Stop(const void* owner);
    // A tone sounds or is about to; Waiting counts those behind it that the output has not taken.
    bool Playing() const;
    size_t Waiting() const;
    // Tones that rang the bell in place of sounding.
    size_t Bells() const;
    // Tones the server said it played (enough of one to be heard, or all of a shorter one).
    size_t Heard() const;
    // Rings the bell for a tone nothing sounded.
    void SetBell(std::function<void()> bell);
    // The time kAnswerMs gives the server.
    void SetAnswerMs(int ms);
    // Called after each turn of the sound library (each of its events the event loop ran): a
    // test makes the thread busy at the turn it chooses.
    void SetOnTurn(std::function<void()> turned);
    // Sound outputs the server may hold for the player: one while tones play, and those closed
    // that the server has not yet said are gone; none once it has.
    static int OpenOutputs();

private:
    TTonePlayer();
    struct TImpl;
    std::unique_ptr<TImpl> F;
};
