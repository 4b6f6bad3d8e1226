#include "platform/HugePages.h"

#include <sys/mman.h>
#include <cstdlib>
#include <new>

void* AllocateInHugePages(std::size_t bytes)
{
    // aligned_alloc wants a size that is a multiple of the alignment.
    const std::size_t rounded = (bytes + HugePageSize - 1) / HugePageSize * HugePageSize;
    void* memory = std::aligned_alloc(HugePageSize, rounded == 0 ? HugePageSize : rounded);
    if (memory == nullptr)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    // Only the whole huge pages that bytes fill: the rest of the last one stays untouched
    // and costs no memory.
    if (const std::size_t whole = bytes / HugePageSize * HugePageSize; whole > 0)
        madvise(memory, whole, MADV_HUGEPAGE);
#endif
    return memory;
}
