#pragma once
// The bytes the process's allocator has handed out and not yet taken back, from the allocator's
// own count: glibc's, or the address sanitizer's where that allocator stands in for glibc's (it
// leaves glibc's count at zero). For tests and benchmarks: glibc's count walks every free block
// of every arena, so on a heap a long session left in pieces one count takes tens of milliseconds.

#include <cstddef>

size_t HeapBytesInUse();
