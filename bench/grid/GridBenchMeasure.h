#pragma once
// What the grid bench's parts measure with: a METRIC line, and the milliseconds a run takes.

#include <chrono>
#include <cstdio>

inline void Metric(const char* Name, double Value) { std::printf("METRIC %s %.1f\n", Name, Value); }

template <class Run>
double Millis(Run run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
