#include "store/citation_blocks.hpp"

#include <algorithm>
#include <utility>

#include "store/records.hpp"

namespace seedweave {

PMIDLIST* CitationBlocks::take(unsigned sizeClass) {
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
  if (bytes > freeBytes_) {  // a block larger than a chunk gets a chunk of its own
    const std::size_t chunkBytes = std::max(bytes, kLargeChunkBytes);
    std::unique_ptr<char, ChunkDeleter> chunk(static_cast<char*>(allocateLarge(chunkBytes)));
    free_ = chunk.get();
    chunks_.push_back(std::move(chunk));
    freeBytes_ = chunkBytes;
  }
  char* block = free_;
  free_ += bytes;
  freeBytes_ -= bytes;
  return block;
}

}  // namespace seedweave
