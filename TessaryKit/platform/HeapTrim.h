#pragma once

#include "platform/KitInternal.h"

// The C library keeps freed memory for the process's next allocations. After a plan of 100,000 files is
// freed, that is a hundred megabytes the process keeps resident for nothing.
namespace HeapTrim {

// Gives the free memory at the heap's top and in its free pages back to the system.
void giveBack();

} // namespace HeapTrim
