#include "controls/core/CtrlMemory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace {

// The header sits before the bytes handed out; its size keeps them aligned for any type.
struct alignas(std::max_align_t) TBlockHeader {
    int32_t Size;
};

std::mutex gBlocksLock;
std::unordered_set<const void*> gBlocks;

TBlockHeader* HeaderOf(const void* p)
{
    return reinterpret_cast<TBlockHeader*>(const_cast<char*>(static_cast<const char*>(p)) - sizeof(TBlockHeader));
}

bool IsBlock(const void* p) { return p && gBlocks.count(p) != 0; }

}  // namespace

void* AllocMemo(int32_t Size)
{
    if (Size < 1)
        return nullptr;
    auto* header = static_cast<TBlockHeader*>(std::calloc(1, sizeof(TBlockHeader) + static_cast<size_t>(Size)));
    if (!header)
        return nullptr;
    header->Size = Size;
    void* p = header + 1;
    std::lock_guard<std::mutex> lock(gBlocksLock);
    gBlocks.insert(p);
    return p;
}

void* ReallocMemo(void* P, int32_t Size)
{
    if (!P)
        return AllocMemo(Size);
    std::unique_lock<std::mutex> lock(gBlocksLock);
    if (!IsBlock(P))
        return nullptr;
    if (Size < 1) {
        gBlocks.erase(P);
        std::free(HeaderOf(P));
        return nullptr;
    }
    TBlockHeader* old = HeaderOf(P);
    const int32_t oldSize = old->Size;
    auto* header = static_cast<TBlockHeader*>(std::realloc(old, sizeof(TBlockHeader) + static_cast<size_t>(Size)));
    if (!header)
        return nullptr;
    gBlocks.erase(P);
    header->Size = Size;
    void* q = header + 1;
    if (Size > oldSize)
        std::memset(static_cast<char*>(q) + oldSize, 0, static_cast<size_t>(Size - oldSize));
    gBlocks.insert(q);
    return q;
}

void FreeMemo(void*& P)
{
    if (P) {
        std::lock_guard<std::mutex> lock(gBlocksLock);
        if (gBlocks.erase(P))
            std::free(HeaderOf(P));
    }
    P = nullptr;
}

int32_t GetMemoSize(const void* P)
{
    std::lock_guard<std::mutex> lock(gBlocksLock);
    return IsBlock(P) ? HeaderOf(P)->Size : 0;
}

bool CompareMem(const void* A, const void* B, int32_t Size)
{
    return Size < 1 || std::memcmp(A, B, static_cast<size_t>(Size)) == 0;
}

void HMemCpy(void* Dst, const void* Src, ptrdiff_t N)
{
    if (N > 0)
        std::memmove(Dst, Src, static_cast<size_t>(N));
}

void HugeMove(void* Base, int32_t Dst, int32_t Src, int32_t Count)
{
    if (Count < 1)
        return;
    auto* items = static_cast<void**>(Base);
    std::memmove(items + Dst, items + Src, static_cast<size_t>(Count) * sizeof(void*));
}
