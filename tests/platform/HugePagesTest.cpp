#include "platform/HugePages.h"

#include <gtest/gtest.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

TEST(HugePages, MemoryStartsOnAHugePageAndHoldsEveryByteAskedFor)
{
    for (const std::size_t bytes : {std::size_t{1}, HugePageSize - 1, HugePageSize,
                                    std::size_t{1590} * 1301 * 4, 3 * HugePageSize + 1}) {
        auto* memory = static_cast<unsigned char*>(AllocateInHugePages(bytes));
        ASSERT_NE(memory, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(memory) % HugePageSize, 0U) << bytes;
        // Under AddressSanitizer a byte short would be reported here.
        std::memset(memory, 0xA5, bytes);
        EXPECT_EQ(memory[bytes - 1], 0xA5);
        std::free(memory);
    }
}

}  // namespace
