#pragma once
// Every new and delete of a program that links CountedAllocation.cpp is counted: the bytes held
// now, the most held since the peak was last reset, and every byte asked for.

#include <cstdint>

int64_t HeldBytes();
// The peak starts again from what is held now.
void ResetPeakHeldBytes();
int64_t PeakHeldBytes();
int64_t AllocatedBytes();
