// The heap figure follows what the program allocates and frees, from small blocks kept in the
// allocator's arenas to a large block mapped on its own, in the sanitizer's build as in glibc's.

#include "platform/core/HeapInUse.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

struct THeapCase {
    const char* name;
    size_t blocks, size;
};

class HeapInUse : public ::testing::TestWithParam<THeapCase> {};

TEST_P(HeapInUse, GrowsByWhatIsAllocatedAndShrinksByWhatIsFreed)
{
    const THeapCase& c = GetParam();
    const size_t total = c.blocks * c.size;
    std::vector<std::unique_ptr<char[]>> blocks;
    blocks.reserve(c.blocks);
    const size_t before = HeapBytesInUse();
    for (size_t i = 0; i < c.blocks; ++i) {
        blocks.emplace_back(new char[c.size]);
        std::memset(blocks.back().get(), 1, c.size);  // used, so that it is not left out
    }
    const size_t held = HeapBytesInUse();
    EXPECT_GE(held, before + total);
    EXPECT_LE(held, before + total * 2 + (64 << 10));  // the allocator's own headers at most
    blocks.clear();
    EXPECT_LE(HeapBytesInUse(), before + (64 << 10));
}

INSTANTIATE_TEST_SUITE_P(Blocks, HeapInUse,
                         ::testing::Values(THeapCase{"ManySmall", 20000, 48}, THeapCase{"OneLarge", 1, 16 << 20}),
                         [](const auto& param) { return std::string(param.param.name); });
