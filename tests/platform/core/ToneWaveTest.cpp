#include "platform/core/ToneWave.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "tests/platform/core/ToneMeasure.h"

namespace {

// One sample of the bytes at, as -1 to 1.
double Decoded(const char* at, TToneFormat::TSample sample)
{
    switch (sample) {
    case TToneFormat::kUInt8: return (static_cast<unsigned char>(*at) - 128) / 127.0;
    case TToneFormat::kInt16: {
        int16_t v;
        std::memcpy(&v, at, sizeof v);
        return v / 32767.0;
    }
    case TToneFormat::kInt32: {
        int32_t v;
        std::memcpy(&v, at, sizeof v);
        return v / 2147483647.0;
    }
    case TToneFormat::kFloat: {
        float v;
        std::memcpy(&v, at, sizeof v);
        return v;
    }
    }
    return 0;
}

// The whole tone, read in pieces of piece bytes: the samples of each channel.
std::vector<std::vector<double>> ReadAll(TToneWave& wave, size_t piece)
{
    const TToneFormat& f = wave.Format();
    std::vector<std::vector<double>> channels(static_cast<size_t>(f.Channels));
    std::vector<char> buffer(piece);
    while (const size_t got = wave.Read(buffer.data(), buffer.size())) {
        EXPECT_EQ(got % static_cast<size_t>(f.BytesPerFrame()), 0u) << "only whole frames";
        for (size_t at = 0; at < got; at += static_cast<size_t>(f.BytesPerSample())) {
            const size_t channel = at / static_cast<size_t>(f.BytesPerSample()) % channels.size();
            channels[channel].push_back(Decoded(buffer.data() + at, f.Sample));
        }
    }
    return channels;
}

struct TToneCase {
    const char* Name;
    uint32_t Frequency, Ms;
    TToneFormat Format;
    size_t Piece;  // bytes a read asks for: not always a whole number of frames
    uint64_t Frames;
};

void PrintTo(const TToneCase& c, std::ostream* out) { *out << c.Name; }

class ToneSamples : public ::testing::TestWithParam<TToneCase> {};

TEST_P(ToneSamples, HaveThePitchAndTheLength)
{
    const TToneCase& c = GetParam();
    TToneWave wave(c.Frequency, c.Ms, c.Format);
    EXPECT_EQ(wave.FrameCount(), c.Frames);
    const auto channels = ReadAll(wave, c.Piece);
    EXPECT_TRUE(wave.AtEnd());
    ASSERT_EQ(channels[0].size(), c.Frames);
    for (const auto& channel : channels)
        EXPECT_EQ(channel, channels[0]) << "every channel sounds the same";
    const auto tones = MeasureTones(channels[0], c.Format.SampleRate);
    ASSERT_EQ(tones.size(), 1u);
    EXPECT_NEAR(tones[0].Hertz, c.Frequency, c.Frequency * 0.002);
    // The crossings span the tone but for part of a period at either end.
    EXPECT_NEAR(tones[0].Ms, c.Ms, 1000.0 / c.Frequency + 1);
    double peak = 0;
    for (double v : channels[0])
        peak = std::max(peak, std::abs(v));
    EXPECT_NEAR(peak, TToneWave::kAmplitude, 0.01);
    // Faded in and out: no click at either end.
    EXPECT_NEAR(channels[0].front(), 0, 0.01);
    EXPECT_NEAR(channels[0].back(), 0, 0.01);
}

const TToneCase kToneCases[] = {
    {"A440Mono16Bit", 440, 500, {44100, 1, TToneFormat::kInt16}, 4096, 22050},
    {"HighAlarmStereo", 2000, 500, {48000, 2, TToneFormat::kInt16}, 1000, 24000},
    {"LowShortFloat", 200, 50, {48000, 1, TToneFormat::kFloat}, 999, 2400},
    {"LowestPitchEightBit", kLowestBeep, 1000, {8000, 1, TToneFormat::kUInt8}, 333, 8000},
    {"FourChannels32Bit", 1000, 100, {96000, 4, TToneFormat::kInt32}, 70000, 9600},
    {"PieceSmallerThanAFrame", 1000, 20, {48000, 2, TToneFormat::kInt16}, 7, 960},
};
INSTANTIATE_TEST_SUITE_P(Tones, ToneSamples, ::testing::ValuesIn(kToneCases),
                         [](const auto& param) { return std::string(param.param.Name); });

TEST(ToneWave, ZeroLengthHasNoSamples)
{
    TToneWave wave(440, 0, {48000, 2, TToneFormat::kInt16});
    char buffer[64];
    EXPECT_EQ(wave.FrameCount(), 0u);
    EXPECT_TRUE(wave.AtEnd());
    EXPECT_EQ(wave.Read(buffer, sizeof buffer), 0u);
}

TEST(ToneWave, PitchTheRateCannotCarryIsSilenceOfTheLength)
{
    // 32767 Hz is a pitch the beep takes, but 48000 samples a second carry 24000 Hz at most.
    TToneWave wave(kHighestBeep, 100, {48000, 1, TToneFormat::kUInt8});
    const auto channels = ReadAll(wave, 512);
    ASSERT_EQ(channels[0].size(), 4800u);
    for (double v : channels[0])
        ASSERT_EQ(v, 0);
}

TEST(ToneWave, FormatWithoutRateOrChannelsHasNoSamples)
{
    for (const TToneFormat format : {TToneFormat{0, 1, TToneFormat::kInt16}, TToneFormat{48000, 0, TToneFormat::kInt16},
                                     TToneFormat{-8000, 1, TToneFormat::kInt16}}) {
        TToneWave wave(440, 1000, format);
        char buffer[64];
        EXPECT_EQ(wave.FrameCount(), 0u);
        EXPECT_EQ(wave.Read(buffer, sizeof buffer), 0u);
    }
}

TEST(ToneWave, LongestToneKeepsItsPhaseExact)
{
    // 2^32 - 1 ms, as long as a beep can ask: the count does not overflow, and a sample a whole
    // number of seconds on is the same as at the start (a drifting phase would differ).
    const uint32_t longest = 0xFFFFFFFFu;
    TToneWave wave(441, longest, {48000, 2, TToneFormat::kInt16});
    EXPECT_EQ(wave.FrameCount(), uint64_t{longest} * 48);
    const uint64_t later = uint64_t{48000} * 3600 * 24 * 40;  // 40 days on
    for (uint64_t frame : {uint64_t{1000}, uint64_t{1013}, uint64_t{47999}})
        EXPECT_DOUBLE_EQ(wave.SampleAt(frame + later), wave.SampleAt(frame)) << frame;
    EXPECT_NE(wave.SampleAt(1013), 0);
}

struct TPitchCase {
    const char* Name;
    uint32_t Frequency;
    bool Accepted;
};
void PrintTo(const TPitchCase& c, std::ostream* out) { *out << c.Name; }

class BeepPitch : public ::testing::TestWithParam<TPitchCase> {};

TEST_P(BeepPitch, IsTakenWithinTheSystemRange)
{
    EXPECT_EQ(BeepPitchAccepted(GetParam().Frequency), GetParam().Accepted);
}

const TPitchCase kPitchCases[] = {
    {"Zero", 0, false},       {"JustBelowLowest", 36, false},     {"Lowest", 37, true},
    {"Highest", 32767, true}, {"JustAboveHighest", 32768, false}, {"Huge", 0xFFFFFFFFu, false},
};
INSTANTIATE_TEST_SUITE_P(Pitches, BeepPitch, ::testing::ValuesIn(kPitchCases),
                         [](const auto& param) { return std::string(param.param.Name); });

}  // namespace
