#pragma once
// Sizes the kernel reports for this process ("VmSize:" mapped, "VmRSS:" resident, "VmHWM:" its
// resident peak), for tests that bound what a run costs in memory.

#include <fstream>
#include <string>

// The figure after Key in /proc/self/status, in kB; -1 where there is none.
inline long ProcStatusKb(const char* Key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(Key, 0) == 0)
            return std::stol(line.substr(std::string(Key).size()));
    return -1;
}
