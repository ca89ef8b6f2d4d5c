#pragma once
// What a recording of beeps holds: each tone's pitch and length, read from its rising zero
// crossings. A tone is a run of crossings a like period apart; silence or a change of pitch
// ends it.

#include <cmath>
#include <vector>

struct TMeasuredTone {
    double Hertz;
    double Ms;
};

inline std::vector<TMeasuredTone> MeasureTones(const std::vector<double>& samples, int rate)
{
    // Where the wave rises through zero, to a fraction of a sample.
    std::vector<double> rises;
    for (size_t i = 1; i < samples.size(); ++i)
        if (samples[i - 1] < 0 && samples[i] >= 0)
            rises.push_back(static_cast<double>(i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]));
    std::vector<TMeasuredTone> tones;
    // Crossings first to last, a like period apart: a tone when they span a few whole periods
    // (a click or a fade is none).
    auto keep = [&](size_t first, size_t last) {
        if (last < first + 3)
            return;
        const double span = rises[last] - rises[first];
        const double period = span / static_cast<double>(last - first);
        tones.push_back({rate / period, (span + period) * 1000 / rate});
    };
    size_t first = 0;
    for (size_t i = 1; i < rises.size(); ++i) {
        if (i - 1 == first)
            continue;
        const double usual = (rises[i - 1] - rises[first]) / static_cast<double>(i - 1 - first);
        if (std::abs(rises[i] - rises[i - 1] - usual) > usual * 0.05) {
            keep(first, i - 1);
            first = i - 1;
        }
    }
    if (!rises.empty())
        keep(first, rises.size() - 1);
    return tones;
}
