#include "platform/core/ToneWave.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kTwoPi = 6.283185307179586;

}  // namespace

bool BeepPitchAccepted(uint32_t frequency) { return frequency >= kLowestBeep && frequency <= kHighestBeep; }

int TToneFormat::BytesPerSample() const
{
    switch (Sample) {
    case kUInt8: return 1;
    case kInt16: return 2;
    case kInt32:
    case kFloat: return 4;
    }
    return 0;
}

bool TToneFormat::Valid() const { return SampleRate > 0 && Channels > 0 && BytesPerSample() > 0; }

TToneWave::TToneWave(uint32_t frequency, uint32_t durationMs, const TToneFormat& format)
    : FFormat(format), FFrequency(frequency),
      FAudible(format.Valid() && frequency > 0 && uint64_t{frequency} * 2 < static_cast<uint64_t>(format.SampleRate)),
      FFrames(format.Valid() ? uint64_t{durationMs} * static_cast<uint64_t>(format.SampleRate) / 1000 : 0),
      FFadeFrames(
          std::min(uint64_t{kFadeMs} * static_cast<uint64_t>(std::max(format.SampleRate, 0)) / 1000, FFrames / 4))
{}

double TToneWave::SampleAt(uint64_t frame) const
{
    if (!FAudible || frame >= FFrames)
        return 0;
    // The phase as a share of a cycle, worked out in integers: exact however long the tone runs
    // (both factors are below the rate, so their product stays within 64 bits).
    const auto rate = static_cast<uint64_t>(FFormat.SampleRate);
    const uint64_t step = (FFrequency % rate) * (frame % rate) % rate;
    const double phase = static_cast<double>(step) / static_cast<double>(rate);
    double fade = 1;
    if (FFadeFrames > 0) {
        const uint64_t fromEdge = std::min(frame, FFrames - 1 - frame);
        if (fromEdge < FFadeFrames)
            fade = static_cast<double>(fromEdge) / static_cast<double>(FFadeFrames);
    }
    return kAmplitude * fade * std::sin(kTwoPi * phase);
}

namespace {

void Store(double value, TToneFormat::TSample sample, char* out)
{
    switch (sample) {
    case TToneFormat::kUInt8: {
        const auto v = static_cast<uint8_t>(std::lround(128 + value * 127));
        std::memcpy(out, &v, sizeof v);
        break;
    }
    case TToneFormat::kInt16: {
        const auto v = static_cast<int16_t>(std::lround(value * 32767));
        std::memcpy(out, &v, sizeof v);
        break;
    }
    case TToneFormat::kInt32: {
        const auto v = static_cast<int32_t>(std::lround(value * 2147483647.0));
        std::memcpy(out, &v, sizeof v);
        break;
    }
    case TToneFormat::kFloat: {
        const auto v = static_cast<float>(value);
        std::memcpy(out, &v, sizeof v);
        break;
    }
    }
}

}  // namespace

size_t TToneWave::Read(char* out, size_t size)
{
    const auto frameBytes = static_cast<size_t>(FFormat.BytesPerFrame());
    if (frameBytes == 0)
        return 0;
    const uint64_t frames = std::min<uint64_t>(size / frameBytes, FramesLeft());
    const auto sampleBytes = static_cast<size_t>(FFormat.BytesPerSample());
    for (uint64_t i = 0; i < frames; ++i, ++FNext) {
        const double value = SampleAt(FNext);
        for (int channel = 0; channel < FFormat.Channels; ++channel, out += sampleBytes)
            Store(value, FFormat.Sample, out);
    }
    return static_cast<size_t>(frames) * frameBytes;
}
