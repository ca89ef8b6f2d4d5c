#pragma once
// Memory blocks that know their size, and pointer arithmetic on byte arrays. A block keeps its
// size in a header and is listed while it lives, so a pointer that did not come from AllocMemo
// has size 0 and is never freed or resized.

#include <cstddef>
#include <cstdint>

// A zero-filled block; null for Size < 1.
void* AllocMemo(int32_t Size);
// Resizes a block; bytes added are zero. A null pointer gets a new block; a size below 1 frees
// the block and gives null; a pointer that is no block gives null and stays as it was.
void* ReallocMemo(void* P, int32_t Size);
// Frees a block and nulls the pointer; null or a pointer that is no block only nulls it.
void FreeMemo(void*& P);
// The block's size; 0 for null or for a pointer that is no block.
int32_t GetMemoSize(const void* P);

// True when the two ranges hold the same bytes; a size below 1 is equal.
bool CompareMem(const void* A, const void* B, int32_t Size);

inline void* HugeOffset(void* P, ptrdiff_t N) { return static_cast<char*>(P) + N; }
inline void* HugeInc(void* P, ptrdiff_t N) { return HugeOffset(P, N); }
inline void* HugeDec(void* P, ptrdiff_t N) { return HugeOffset(P, -N); }
// Copies N bytes from Src to Dst.
void HMemCpy(void* Dst, const void* Src, ptrdiff_t N);
// Moves Count pointer-sized elements of the array at Base from index Src to index Dst; the two
// ranges may overlap.
void HugeMove(void* Base, int32_t Dst, int32_t Src, int32_t Count);
