#include "platform/core/HeapInUse.h"

#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
#define HM_ASAN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HM_ASAN_ALLOCATOR 1
#endif
#endif

#ifdef HM_ASAN_ALLOCATOR
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

size_t HeapBytesInUse()
{
#ifdef HM_ASAN_ALLOCATOR
    return __sanitizer_get_current_allocated_bytes();
#else
    // Small blocks in the arenas, and the large ones mapped on their own.
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}
