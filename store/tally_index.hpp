// Finds an article's tally by PubMed id in O(1) expected time: open addressing with
// linear probing over (PubMed id, tally id) pairs, up to four fifths full. Eight slots share a
// cache line, so even a long probe reads few lines, and the table stays small.
#pragma once

#include <cstdint>

#include "store/large_array.hpp"
#include "store/slot_table.hpp"
#include "store/touch.hpp"
#include "store/types.hpp"

namespace seedweave {

class TallyIndex {
 public:
  // The tally of the PubMed id; when it has none yet, `fresh` becomes its tally and
  // `created` is set. Time complexity: O(1) expected, amortised over the table's growth.
  TallyId findOrAdd(std::int32_t pmid, TallyId fresh, bool& created) {
    if (used_ >= slots_.size() * 4 / 5) grow();
    Slot& slot = slots_[probe(pmid)];
    created = slot.tally == none;
    if (created) {
      slot = Slot{pmid, fresh};
      ++used_;
    }
    return slot.tally;
  }

  std::size_t capacity() const { return slots_.size(); }

  // Reads the slot where a look-up of the PubMed id starts, bringing it into the cache.
  void prefetch(std::int32_t pmid) const {
    if (slots_.size() != 0) touch(slots_[start(pmid)]);
  }

 private:
  struct Slot {
    std::int32_t pmid{};
    TallyId tally = none;  // none marks an empty slot
  };

  std::size_t start(std::int32_t pmid) const {
    return mixBits(static_cast<std::uint32_t>(pmid)) & mask_;
  }

  // The slot holding the PubMed id, or the empty slot where it belongs.
  std::size_t probe(std::int32_t pmid) const {
    for (std::size_t slot = start(pmid);; slot = (slot + 1) & mask_) {
      if (slots_[slot].tally == none || slots_[slot].pmid == pmid) return slot;
    }
  }

  void grow() {
    LargeArray<Slot> old(slots_.size() == 0 ? 1024 : slots_.size() * 2, Slot{});
    std::swap(old, slots_);
    mask_ = slots_.size() - 1;
    for (const Slot& entry : old) {
      if (entry.tally != none) slots_[probe(entry.pmid)] = entry;
    }
  }

  LargeArray<Slot> slots_;
  std::size_t mask_{};
  std::size_t used_ = 0;
};

}  // namespace seedweave
