// The store's records: a node, an interaction and a citation entry, and the compact list
// that holds an interaction's citations.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

#include "store/citation_blocks.hpp"
#include "store/types.hpp"

namespace seedweave {

// A citation entry of an interaction: the article's PubMed id, the source files that reported
// it (bit i = source index i) and its article's tally, whose article load the network keeps.
struct PMIDLIST {
  std::int32_t pmid = 0;
  TallyId tally = none;
  std::uint32_t sourceFlags{};
};

// The citation entries of one interaction, in the order the caller keeps (ascending PubMed
// id). Most interactions cite a single article, so one entry lives inline and only longer
// lists take a block of the network's CitationBlocks, which owns it. The list takes no more
// room than the inline entry, 12 bytes: the inline entry's PubMed id, positive in every
// citation the reader makes, tells the states apart, and a block's capacity follows from its
// size. Callers never change an entry's PubMed id through the list.
class CitationList {
 public:
  CitationList() = default;
  CitationList(const CitationList&) = delete;
  CitationList& operator=(const CitationList&) = delete;
  CitationList(CitationList&& other) noexcept : store_(std::exchange(other.store_, Store{})) {}
  CitationList& operator=(CitationList&& other) noexcept {
    std::swap(store_, other.store_);
    return *this;
  }

  std::size_t size() const {
    const std::int32_t tag = store_.single.pmid;
    return tag > 0 ? 1 : static_cast<std::size_t>(-static_cast<std::int64_t>(tag));
  }
  PMIDLIST* begin() { return onHeap() ? heapEntries() : &store_.single; }
  PMIDLIST* end() { return begin() + size(); }
  const PMIDLIST* begin() const { return onHeap() ? heapEntries() : &store_.single; }
  const PMIDLIST* end() const { return begin() + size(); }
  const PMIDLIST& front() const { return begin()[0]; }

  // Inserts the entry before `position`, moving the list to a larger block of `blocks` when
  // it is full. Time complexity: O(size), amortised over the doubling of the block.
  void insert(const PMIDLIST* position, const PMIDLIST& entry, CitationBlocks& blocks) {
    const auto index = static_cast<std::size_t>(position - begin());
    const std::size_t count = size();
    if (count == 0) {
      store_.single = entry;
      return;
    }
    if (count == std::size_t{1} << sizeClass(count)) moveToBlock(sizeClass(count) + 1, blocks);
    PMIDLIST* entries = heapEntries();
    std::memmove(entries + index + 1, entries + index, (count - index) * sizeof(PMIDLIST));
    entries[index] = entry;
    store_.far.negativeSize = -static_cast<std::int32_t>(count + 1);
  }

 private:
  // A block: its size, negated, where the inline entry keeps its PubMed id, and its address,
  // unaligned, in the inline entry's other 8 bytes.
  struct Far {
    std::int32_t negativeSize;
    unsigned char address[sizeof(PMIDLIST*)];
  };
  // Empty: a PubMed id of 0. One entry with a positive PubMed id: `single`. Else: `far`.
  union Store {
    Store() : single() {}
    PMIDLIST single;
    Far far;
  };

  // The class of the smallest room for `count` entries, count >= 1: 2^sizeClass entries. The
  // inline entry is class 0; a block, class 1 or more, is doubled when full.
  static unsigned sizeClass(std::size_t count) {
    return static_cast<unsigned>(std::bit_width(count - 1));
  }
  bool onHeap() const { return size() > 1; }
  PMIDLIST* heapEntries() const {
    PMIDLIST* entries;
    std::memcpy(&entries, store_.far.address, sizeof entries);
    return entries;
  }

  void moveToBlock(unsigned newClass, CitationBlocks& blocks) {
    const std::size_t count = size();
    PMIDLIST* block = blocks.take(newClass);
    std::memcpy(block, begin(), count * sizeof(PMIDLIST));
    if (onHeap()) blocks.giveBack(heapEntries(), sizeClass(count));
    std::memcpy(store_.far.address, &block, sizeof block);
  }

  Store store_;
};
static_assert(sizeof(CitationList) == sizeof(PMIDLIST), "the list is as small as its entry");

struct INTERACTOR {
  TextId name;
  TextId attr1;
  TextId attr2;
  TextId attr3;
  TextId attr4;
  // Every interaction with this node as an end, ascending by id, each once: the node's part
  // of the network's adjacency array, laid out when the network is handed over.
  std::span<const InteractionId> interactions;
  // Interactions created with this node as an end (a self-interaction counts twice).
  std::int32_t interactionCount = 0;
  // getHashIndexFromString of the name, which orders output files.
  std::int32_t nameBucket{};
};

struct INTERACTION {
  NodeId first;
  NodeId second;
  TextId direction;  // the text "0" marks an undirected interaction
  TextId type;
  CitationList pmids;  // ascending PubMed id, each once
};
// 28 bytes: on a network of six million interactions, every 4 bytes more cost 24 MB.
static_assert(sizeof(INTERACTION) == 28);

}  // namespace seedweave
