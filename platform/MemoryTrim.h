// Handing memory the heap holds free back to the system.
#pragma once

namespace platform {

// Returns the free memory at the top and in the free pages of the heap to the
// system, after a burst of allocations (such as loading a large file) has
// been freed. Does nothing where the C library offers no such call.
void ReturnFreeMemoryToSystem();

}  // namespace platform
