#pragma once
// The bytes the process's allocator has handed out and not yet taken back, from the allocator's
// own count: glibc's, or the address sanitizer's where that allocator stands in for glibc's (it
// leaves glibc's count at zero).

#include <cstddef>

size_t HeapBytesInUse();
