#pragma once
// Large buffers in huge pages: touching 8 MB for the first time costs some two thousand page
// faults in pages of 4 KB, and four in pages of 2 MB.

#include <cstddef>

inline constexpr std::size_t HugePageSize = std::size_t{2} << 20;

// Memory for bytes, starting on a huge page boundary; the system is asked to back its whole
// huge pages with huge pages when they are first touched (only advice: where the system has
// none, nothing changes). Release it with std::free. Throws std::bad_alloc when there is no
// memory.
void* AllocateInHugePages(std::size_t bytes);
