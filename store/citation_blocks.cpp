#include "store/citation_blocks.hpp"

#include <algorithm>
#include <cassert>
#include <utility>

#include "store/records.hpp"

namespace seedweave {

namespace {
// Huge-page sized; a block larger than that gets a chunk of its own.
constexpr std::size_t kChunkBytes = std::size_t{4} << 20;
}  // namespace

PMIDLIST* CitationBlocks::take(unsigned sizeClass) {
  assert(sizeClass < kept_.size());
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
    const std::size_t chunkBytes = std::max(bytes, kChunkBytes);
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

void CitationBlocks::clear() {
  chunks_.clear();
  free_ = nullptr;
  freeBytes_ = 0;
  kept_.fill(nullptr);
}

}  // namespace seedweave
