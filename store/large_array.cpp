#include "store/large_array.hpp"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace seedweave {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
}

void* allocateLarge(std::size_t bytes) {
  if (bytes < kHugePage) {
    void* block = std::malloc(bytes);
    if (block == nullptr) throw std::bad_alloc();
    return block;
  }
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* block = std::aligned_alloc(kHugePage, rounded);
  if (block == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only a hint: where huge pages are off or scarce, the block keeps ordinary pages.
  madvise(block, rounded, MADV_HUGEPAGE);
#endif
  return block;
}

void releaseLarge(void* block) noexcept { std::free(block); }

}  // namespace seedweave
