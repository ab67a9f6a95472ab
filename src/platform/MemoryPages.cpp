#include "platform/MemoryPages.h"

#include <cstdint>
#include <cstdlib> // defines __GLIBC__ where it applies

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#endif

namespace velmora {

void preferLargeMemoryPages() {
#if defined(__linux__) && defined(__GLIBC__)
    // Blocks up to a reserve block's size come from the heap instead of a mapping of their own
    // (a file's lines or a table's column mapped, freed and mapped again would be touched
    // afresh each time), and freed memory stays in the heap for the next block.
    constexpr std::size_t kBlock = std::size_t(30) << 20;
    constexpr int kBlocks = 4; // the large catalogue's load stays within them
    constexpr std::uintptr_t kLargePage = std::uintptr_t(2) << 20;
    mallopt(M_MMAP_THRESHOLD, int(kBlock + (std::size_t(1) << 20)));
    mallopt(M_TRIM_THRESHOLD, int(kBlock * (kBlocks + 1)));
    // The heap grows by the blocks, untouched, and the kernel is asked to back them with large
    // pages; they go back to the heap, where the load's allocations then land. (Through
    // volatile pointers: blocks allocated and freed unused may be optimised away.)
    void* volatile blocks[kBlocks] = {};
    for (int i = 0; i < kBlocks; ++i) {
        blocks[i] = std::malloc(kBlock);
        const auto at = reinterpret_cast<std::uintptr_t>(blocks[i]);
        const auto start = (at + kLargePage - 1) & ~(kLargePage - 1);
        const auto end = (at + kBlock) & ~(kLargePage - 1);
        if (at != 0 && end > start)
            madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
    for (void* block : blocks)
        std::free(block);
#endif
}

} // namespace velmora
