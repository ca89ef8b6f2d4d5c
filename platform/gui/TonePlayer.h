#pragma once
// Beeps through the desktop's sound server. The caller goes on at once: the tones play one after
// another, as the system's beep sounds them, and nothing here ever waits on the server. A server
// that is not there, or does not answer within a moment, rings the bell for the tones it would
// have played, and so does an output that takes tones but never begins to play them (a suspended
// sound device); the next tone asks again, so sound comes back with the server.

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
    // How long the server may take to answer (to connect, to open an output, to take samples)
    // before its tones ring the bell instead: counted from when the request left, and what the
    // server sent is read before its answer is judged late, so a busy program is no silence.
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
    // Rings the bell for a tone nothing sounded.
    void SetBell(std::function<void()> bell);
    // The time kAnswerMs gives the server.
    void SetAnswerMs(int ms);
    // Sound outputs open now: one while tones play, none once the last has ended.
    static int OpenOutputs();

private:
    TTonePlayer();
    struct TImpl;
    std::unique_ptr<TImpl> F;
};
