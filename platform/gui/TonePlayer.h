#pragma once
// Beeps through the desktop's sound output. The caller goes on at once; the tones play one
// after another, as the system's beep sounds them, fed from the event loop.

#include <cstddef>
#include <cstdint>
#include <memory>

class TTonePlayer {
public:
    enum TResult {
        kQueued,     // sounds after the tones before it
        kNoOutput,   // the desktop has no sound output
        kQueueFull,  // kMaxWaiting tones wait already: this one is dropped
    };
    // Tones waiting behind the one that plays. A script that beeps in a loop would otherwise
    // queue minutes of sound; past this the newest are dropped.
    static constexpr size_t kMaxWaiting = 16;

    static TTonePlayer& Instance();
    ~TTonePlayer();

    // A pitch in hertz and a length in milliseconds, both as the system's beep takes them (Beep
    // sounds nothing for a length of 0 and never asks for it).
    TResult Play(uint32_t frequency, uint32_t durationMs);
    bool Playing() const;
    size_t Waiting() const;
    // Sound outputs open now: one while a tone plays, none once the last has ended.
    static int OpenOutputs();

private:
    TTonePlayer();
    struct TImpl;
    std::unique_ptr<TImpl> F;
};
