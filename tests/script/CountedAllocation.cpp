// The program's new and delete, replaced to count what they hand out.

#include "CountedAllocation.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int64_t> gLive{0}, gPeak{0}, gAllocated{0};

// Each block carries its size in front, kept as aligned as the block itself. Every form that a
// sanitizer would otherwise take over is replaced, so that no block is freed by another.
void* CountedNew(size_t n) noexcept
{
    constexpr size_t header = alignof(std::max_align_t);
    void* block = std::malloc(n + header);
    if (!block)
        return nullptr;
    *static_cast<size_t*>(block) = n;
    gAllocated += static_cast<int64_t>(n);
    const int64_t live = gLive += static_cast<int64_t>(n);
    for (int64_t peak = gPeak.load(); live > peak && !gPeak.compare_exchange_weak(peak, live);) {}
    return static_cast<char*>(block) + header;
}

void CountedDelete(void* p) noexcept
{
    if (!p)
        return;
    char* block = static_cast<char*>(p) - alignof(std::max_align_t);
    gLive -= static_cast<int64_t>(*reinterpret_cast<size_t*>(block));
    std::free(block);
}

void* CountedNewOrThrow(size_t n)
{
    if (void* p = CountedNew(n))
        return p;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(size_t n) { return CountedNewOrThrow(n); }
void* operator new[](size_t n) { return CountedNewOrThrow(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return CountedNew(n); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return CountedNew(n); }
void operator delete(void* p) noexcept { CountedDelete(p); }
void operator delete[](void* p) noexcept { CountedDelete(p); }
void operator delete(void* p, size_t) noexcept { CountedDelete(p); }
void operator delete[](void* p, size_t) noexcept { CountedDelete(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { CountedDelete(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { CountedDelete(p); }

int64_t HeldBytes() { return gLive.load(); }
void ResetPeakHeldBytes() { gPeak.store(gLive.load()); }
int64_t PeakHeldBytes() { return gPeak.load(); }
int64_t AllocatedBytes() { return gAllocated.load(); }
