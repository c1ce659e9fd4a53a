#include "platform/Heap.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr std::uintptr_t hugePage = std::uintptr_t(2) << 20;
constexpr int defaultTopPad = 128 << 10;

std::uintptr_t heapEnd()
{
    return reinterpret_cast<std::uintptr_t>(::sbrk(0));
}

// Whole huge pages only: advising a part of one would split the mapping for nothing.
void adviseHugePages(std::uintptr_t from, std::uintptr_t to)
{
    const std::uintptr_t first = (from + hugePage - 1) & ~(hugePage - 1);
    const std::uintptr_t last = to & ~(hugePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

} // namespace

void Heap::giveBack()
{
    ::malloc_trim(0);
}

void Heap::reserve(std::size_t bytes)
{
    // Every block comes from the heap, large ones too, and stays there for the next.
    ::mallopt(M_MMAP_MAX, 0);
    ::mallopt(M_TRIM_THRESHOLD, INT_MAX);
    const struct mallinfo2 usage = ::mallinfo2();
    if (usage.keepcost >= bytes)
        return;
    const std::uintptr_t before = heapEnd();
    ::mallopt(M_TOP_PAD, int(std::min<std::size_t>(bytes, INT_MAX)));
    // A block larger than all free memory makes the heap grow, by the pad too. Volatile, or the compiler
    // drops an allocation that nothing reads.
    void* volatile growth = std::malloc(usage.fordblks + 1);
    ::mallopt(M_TOP_PAD, defaultTopPad);
    std::free(growth);
    adviseHugePages(before, heapEnd());
}
