#pragma once
// The benchmark's host text and triggers: lines like a Korean MUD's (cp949 Hangul and English),
// of which about one in a hundred matches one of the triggers. Every trigger has a name word of
// its own, made of syllables that ordinary lines never use, so that a matching line matches
// exactly one trigger (TinTin++ fires only one action per line).

#include <cstdint>
#include <string>
#include <vector>

struct TBenchTrigger {
    std::string Pattern;        // ours (cp949)
    std::string Action;         // ours
    std::string TintinPattern;  // the same pattern in TinTin++'s notation (cp949)
};

std::vector<TBenchTrigger> MakeBenchTriggers(int count);
// lines lines of text without line ends; about matchPercent of them match one of the triggers.
std::vector<std::string> MakeBenchLines(int lines, const std::vector<TBenchTrigger>& triggers, uint32_t seed);
