#include "tests/script/CountingAllocator.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int64_t> gLive{0};
std::atomic<int64_t> gPeak{0};
// Each block carries its size in front, kept as aligned as the block itself.
constexpr size_t kHeader = alignof(std::max_align_t);

void* Allocate(size_t n) noexcept
{
    void* block = std::malloc(n + kHeader);
    if (!block)
        return nullptr;
    *static_cast<size_t*>(block) = n;
    const int64_t live = gLive.fetch_add(static_cast<int64_t>(n)) + static_cast<int64_t>(n);
    int64_t peak = gPeak.load();
    while (live > peak && !gPeak.compare_exchange_weak(peak, live)) {}
    return static_cast<char*>(block) + kHeader;
}

void* AllocateOrThrow(size_t n)
{
    if (void* p = Allocate(n))
        return p;
    throw std::bad_alloc();
}

void Release(void* p) noexcept
{
    if (!p)
        return;
    char* block = static_cast<char*>(p) - kHeader;
    gLive.fetch_sub(static_cast<int64_t>(*reinterpret_cast<size_t*>(block)));
    std::free(block);
}

}  // namespace

int64_t LiveBytes() { return gLive.load(); }
int64_t PeakBytes() { return gPeak.load(); }
void ResetPeak() { gPeak.store(gLive.load()); }

void* operator new(size_t n) { return AllocateOrThrow(n); }
void* operator new[](size_t n) { return AllocateOrThrow(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
