#pragma once

#include "platform/KitInternal.h"

#include <cstddef>

// The C library's heap, tuned for the two ways the process uses it.
namespace Heap {

// After a plan of 100,000 files is freed, the C library keeps a hundred megabytes resident for nothing:
// gives the free memory at the heap's top and in its free pages back to the system.
void giveBack();

// A page fault costs microseconds, ten on some virtual machines, and a command over 10,000 files first
// touches some 6,000 pages: more time than its renames. Makes sure the heap has `bytes` free at its top,
// grown at once and in huge pages, a fault each 2 MB; from then on the heap holds every block, large ones
// too, and keeps what is freed for the process's life. The heap stays as it was where the system refuses
// the memory or huge pages.
void reserve(std::size_t bytes);

} // namespace Heap
