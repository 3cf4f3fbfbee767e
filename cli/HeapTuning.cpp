#include "cli/HeapTuning.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#endif

namespace tintwave::cli {

void prepareHeapFor(std::size_t bytes) {
#if defined(__linux__) && defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    if (bytes < 4 * kHugePage)
        return;
    // Every block from the heap (never a separate mapping of its own), and freed heap
    // memory kept, so the region advised below is where later large blocks are placed.
    if (mallopt(M_MMAP_MAX, 0) == 0 || mallopt(M_TRIM_THRESHOLD, INT32_MAX) == 0)
        return;
    void* block = std::malloc(bytes);
    if (!block)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t begin = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kHugePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    std::free(block);
#else
    (void)bytes;
#endif
}

} // namespace tintwave::cli
