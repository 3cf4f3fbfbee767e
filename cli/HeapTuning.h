#pragma once

#include <cstddef>

namespace tintwave::cli {

// Prepares the heap for a run that will allocate about bytes in a few large blocks (the
// code of a megabyte of text is tens of megabytes). On Linux with glibc the blocks are
// then taken from one heap region backed by transparent huge pages, which spares the
// tens of thousands of page faults that fresh 4 KiB pages would cost. Elsewhere, and
// when anything fails, it does nothing.
void prepareHeapFor(std::size_t bytes);

} // namespace tintwave::cli
