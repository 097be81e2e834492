#include "process/HeapTuning.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace kestrel {

void KeepPictureBuffersInHeap()
{
#if defined(M_MMAP_THRESHOLD) && defined(M_TRIM_THRESHOLD)
    // 32 MiB is the largest threshold glibc takes on 64-bit systems.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

}  // namespace kestrel
