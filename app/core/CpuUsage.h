#pragma once
// How busy each processor is, from the kernel's counters in /proc/stat. Every caller (each
// character window) keeps its own meter, so one window's reading never shortens another's
// interval. Failures raise Exception with the texts the status bar shows.

#include <cstdint>
#include <string>
#include <vector>

class TCpuUsage {
public:
    explicit TCpuUsage(std::string statPath = "/proc/stat");

    // The number of processors, collecting first when nothing was read yet.
    int GetCPUCount();
    // Takes a new reading; the one before becomes the previous reading.
    void CollectCPUData();
    // The busy share of processor `index` (0.0 to 1.0) between the previous and the current
    // reading; the first reading compares with all zeros, equal readings give 0.
    double GetCPUUsage(int index);
    // Nothing to give back: the counters are read afresh every time.
    void ReleaseCPUData() {}

private:
    struct TTimes {
        uint64_t Idle = 0;   // idle and waiting for input or output
        uint64_t Total = 0;  // user through steal
    };
    std::string FPath;
    int FCount = -1;
    std::vector<TTimes> FCurrent, FPrevious;
};
