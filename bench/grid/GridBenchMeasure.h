#pragma once
// What the grid bench's parts measure with: a METRIC line, the milliseconds a run takes, and the
// process's resident size.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

inline void Metric(const char* Name, double Value) { std::printf("METRIC %s %.1f\n", Name, Value); }

template <class Run>
double Millis(Run run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A size the kernel reports for the process, in MB ("VmRSS:" now, "VmHWM:" at its peak).
inline double StatusMb(const char* Key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(Key, 0) == 0)
            return std::stod(line.substr(std::string(Key).size())) / 1024;
    return -1;
}
