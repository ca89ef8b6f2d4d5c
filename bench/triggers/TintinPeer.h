#pragma once
// Runs TinTin++ as the benchmark's peer: its "#scan txt" of a text file runs its actions on
// every line. TinTin++ wants a terminal, so it runs in a private tmux server.

#include <string>
#include <vector>

#include "bench/triggers/BenchText.h"

struct TTintinRun {
    bool Ok = false;
    std::string Error;   // why it could not be measured
    long Actions = 0;    // actions fired
    double Seconds = 0;  // the scan alone, as TinTin++ timed it
};

// Scans file (lines ending in LF) with the triggers as TinTin++ actions.
TTintinRun RunTintin(const std::string& folder, const std::string& file, const std::vector<TBenchTrigger>& triggers);
