// The store's records: a node, an interaction and a citation or article tally, and the
// compact list that holds an interaction's citations.
#pragma once

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "store/types.hpp"

namespace seedweave {

// One layout for two roles. As a citation entry of an interaction: the article's PubMed id,
// the source files that reported it (bit i = source index i) and its article's tally record.
// As a tally record: the PubMed id and the article load, the number of interactions citing it.
struct PMIDLIST {
  std::int32_t pmid = 0;
  TallyId tally = none;
  std::uint32_t sourceFlags = 0;
  std::int32_t interactionCount = 0;
};

// The citation entries of one interaction, in the order the caller keeps (ascending PubMed
// id). Most interactions cite a single article, so one entry lives inline and only longer
// lists take heap memory: a million interactions then cost no million small allocations.
class CitationList {
 public:
  CitationList() = default;
  CitationList(const CitationList& other) { assign(other.begin(), other.size_); }
  CitationList(CitationList&& other) noexcept { steal(other); }
  CitationList& operator=(const CitationList& other) {
    if (this != &other) {
      release();
      assign(other.begin(), other.size_);
    }
    return *this;
  }
  CitationList& operator=(CitationList&& other) noexcept {
    if (this != &other) {
      release();
      steal(other);
    }
    return *this;
  }
  ~CitationList() { release(); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  PMIDLIST* begin() { return entries(); }
  PMIDLIST* end() { return entries() + size_; }
  const PMIDLIST* begin() const { return entries(); }
  const PMIDLIST* end() const { return entries() + size_; }
  PMIDLIST& operator[](std::size_t index) { return entries()[index]; }
  const PMIDLIST& operator[](std::size_t index) const { return entries()[index]; }
  const PMIDLIST& front() const { return entries()[0]; }
  const PMIDLIST& back() const { return entries()[size_ - 1]; }

  // Inserts the entry before `position` and returns where it now is.
  // Time complexity: O(size), amortised over the doubling of the heap block.
  PMIDLIST* insert(const PMIDLIST* position, const PMIDLIST& entry) {
    const std::size_t index = static_cast<std::size_t>(position - entries());
    if (size_ == capacity_) reserve(capacity_ * 2);
    PMIDLIST* data = entries();
    std::memmove(data + index + 1, data + index, (size_ - index) * sizeof(PMIDLIST));
    data[index] = entry;
    ++size_;
    return data + index;
  }

 private:
  bool onHeap() const { return capacity_ > 1; }
  PMIDLIST* entries() { return onHeap() ? heap_ : &inline_; }
  const PMIDLIST* entries() const { return onHeap() ? heap_ : &inline_; }

  void reserve(std::uint32_t capacity) {
    auto* block = new PMIDLIST[capacity];
    std::memcpy(block, entries(), size_ * sizeof(PMIDLIST));
    if (onHeap()) delete[] heap_;
    heap_ = block;
    capacity_ = capacity;
  }
  void assign(const PMIDLIST* source, std::uint32_t count) {
    if (count > 1) reserve(count);
    std::memcpy(entries(), source, count * sizeof(PMIDLIST));
    size_ = count;
  }
  void steal(CitationList& other) {
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 1);
    if (onHeap()) {
      heap_ = other.heap_;
    } else {
      inline_ = other.inline_;
    }
  }
  void release() {
    if (onHeap()) delete[] heap_;
    capacity_ = 1;
    size_ = 0;
  }

  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = 1;
  union {
    PMIDLIST inline_{};
    PMIDLIST* heap_;
  };
};

struct INTERACTOR {
  TextId name;
  TextId attr1;
  TextId attr2;
  TextId attr3;
  TextId attr4;
  // Every interaction with this node as an end, ascending by id, each once.
  std::vector<InteractionId> interactions;
  // Interactions created with this node as an end (a self-interaction counts twice).
  std::int32_t interactionCount = 0;
  // getHashIndexFromString of the name, which orders output files.
  std::int32_t nameBucket = 0;
};

struct INTERACTION {
  NodeId first;
  NodeId second;
  TextId direction;  // the text "0" marks an undirected interaction
  TextId type;
  CitationList pmids;  // ascending PubMed id, each once
};

}  // namespace seedweave
