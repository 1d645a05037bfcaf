// Memory for the citation lists that outgrow their inline entry. A large network has millions
// of them, each a few entries long: taken one by one from the general heap they cost a
// header each, a call each to make and to release, and their release alone takes a noticeable
// part of a run. Here they are cut from a few large chunks, a block given back is kept for
// the next list of its size, and everything goes at once with the store.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "store/large_array.hpp"

namespace seedweave {

struct PMIDLIST;

class CitationBlocks {
 public:
  CitationBlocks() = default;
  CitationBlocks(CitationBlocks&&) noexcept = default;
  CitationBlocks& operator=(CitationBlocks&&) noexcept = default;

  // A block of 2^sizeClass entries (sizeClass from 1 to 31), uninitialised. Throws
  // std::bad_alloc when memory runs out. Time complexity: O(1) amortised.
  PMIDLIST* take(unsigned sizeClass);
  // Keeps a block that take(sizeClass) gave for the next request of that class.
  // Time complexity: O(1).
  void giveBack(PMIDLIST* block, unsigned sizeClass);

 private:
  struct ChunkDeleter {
    void operator()(char* chunk) const { releaseLarge(chunk); }
  };
  // A block given back, holding the link to the next of its class.
  struct FreeBlock {
    FreeBlock* next;
  };

  char* carve(std::size_t bytes);

  std::vector<std::unique_ptr<char, ChunkDeleter>> chunks_;
  char* free_ = nullptr;  // the unused rest of the last chunk
  std::size_t freeBytes_{};
  std::array<FreeBlock*, 32> kept_{};
};

}  // namespace seedweave
