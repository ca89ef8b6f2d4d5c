#pragma once
// Counts the bytes this program holds through new and delete (it replaces the global operators),
// so that a test can bound what an operation holds at its peak.

#include <cstdint>

// Bytes allocated with new and not freed yet.
int64_t LiveBytes();
// The most LiveBytes has been since the last ResetPeak.
int64_t PeakBytes();
void ResetPeak();
