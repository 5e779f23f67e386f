// Handing free heap memory back to the system: glibc's malloc_trim, a no-op
// with other C libraries.
#include "platform/MemoryTrim.h"

#include <cstdlib>  // defines __GLIBC__ with the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void ReturnFreeMemoryToSystem() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace platform
