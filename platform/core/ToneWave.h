#pragma once
// The samples of a beep: a sine tone of a pitch and a length in a sound output's format, made
// piece by piece as the output asks for them, so a tone of any length costs the same memory.

#include <cstddef>
#include <cstdint>

// The pitches the system's beep sounds, in hertz; it refuses any other.
constexpr uint32_t kLowestBeep = 37;
constexpr uint32_t kHighestBeep = 32767;
bool BeepPitchAccepted(uint32_t frequency);

struct TToneFormat {
    enum TSample { kUInt8, kInt16, kInt32, kFloat };
    int SampleRate = 48000;
    int Channels = 1;
    TSample Sample = kInt16;

    int BytesPerSample() const;
    int BytesPerFrame() const { return BytesPerSample() * Channels; }
    // A rate and a channel count above zero.
    bool Valid() const;
};

class TToneWave {
public:
    // Fades in and out over this long (or a quarter of a shorter tone), so a tone starts and
    // ends without a click.
    static constexpr uint32_t kFadeMs = 5;
    // Of full scale: loud enough to hear, short of clipping any mixer.
    static constexpr double kAmplitude = 0.5;

    // A pitch the format cannot carry (half its sample rate or above) is silence of that length.
    TToneWave(uint32_t frequency, uint32_t durationMs, const TToneFormat& format);

    const TToneFormat& Format() const { return FFormat; }
    // Frames (a sample for each channel) of the whole tone, and of what is still to be read.
    uint64_t FrameCount() const { return FFrames; }
    uint64_t FramesLeft() const { return FFrames - FNext; }
    bool AtEnd() const { return FNext == FFrames; }
    // Writes the next whole frames that fit in size bytes; returns the bytes written, 0 at the end.
    size_t Read(char* out, size_t size);

    // The sample of a frame, -1 to 1.
    double SampleAt(uint64_t frame) const;

private:
    TToneFormat FFormat;
    uint32_t FFrequency;
    bool FAudible;
    uint64_t FFrames, FFadeFrames, FNext = 0;
};
