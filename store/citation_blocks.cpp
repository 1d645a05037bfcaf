#include "store/citation_blocks.hpp"

#include <algorithm>
#include <new>

#include "store/records.hpp"

namespace seedweave {

namespace {
// Chunks grow from 64 KB to 4 MB, so a small network takes little memory and a large one few
// chunks; a block larger than that gets a chunk of its own.
constexpr std::size_t kFirstChunkBytes = std::size_t{64} << 10;
constexpr std::size_t kLargestChunkBytes = std::size_t{4} << 20;
}  // namespace

PMIDLIST* CitationBlocks::take(unsigned sizeClass) {
  if (sizeClass >= kept_.size()) throw std::bad_alloc();
  if (FreeBlock* block = kept_[sizeClass]) {
    kept_[sizeClass] = block->next;
    return reinterpret_cast<PMIDLIST*>(block);
  }
  static_assert(sizeof(PMIDLIST) * 2 >= sizeof(FreeBlock));
  return reinterpret_cast<PMIDLIST*>(carve(sizeof(PMIDLIST) << sizeClass));
}

void CitationBlocks::giveBack(PMIDLIST* block, unsigned sizeClass) {
  auto* kept = reinterpret_cast<FreeBlock*>(block);
  kept->next = kept_[sizeClass];
  kept_[sizeClass] = kept;
}

char* CitationBlocks::carve(std::size_t bytes) {
  if (bytes > freeBytes_) {
    const std::size_t grown =
        std::min(kFirstChunkBytes << std::min<std::size_t>(chunks_.size(), 6), kLargestChunkBytes);
    const std::size_t chunkBytes = std::max(bytes, grown);
    chunks_.reserve(chunks_.size() + 1);
    chunks_.emplace_back(static_cast<char*>(allocateLarge(chunkBytes)));
    free_ = chunks_.back().get();
    freeBytes_ = chunkBytes;
  }
  char* block = free_;
  free_ += bytes;
  freeBytes_ -= bytes;
  return block;
}

void CitationBlocks::clear() {
  chunks_.clear();
  free_ = nullptr;
  freeBytes_ = 0;
  kept_.fill(nullptr);
}

}  // namespace seedweave
