// The open-addressing table behind the store's indexes: slots of (32-bit hash, id), linear
// probing, filled up to a chosen share. It holds ids only; the caller keeps the records and checks
// a candidate against its key, so a probe reads no record of another key in the common case.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "store/large_array.hpp"
#include "store/touch.hpp"

namespace seedweave {

// Half the bits of a 64-bit key: the store's tables keep a 32-bit hash of it.
inline constexpr unsigned kHalfKeyBits = 32;

// Spreads every bit of a 64-bit key over its low half, which the tables use.
inline std::uint64_t mixBits(std::uint64_t h) {
  h ^= h >> kHalfKeyBits;
  h *= 0xd6e8feb86659fd93ULL;
  return h ^ (h >> kHalfKeyBits);
}

// A fast hash of a short text, eight bytes at a time. Time complexity: O(length).
inline std::uint32_t hashText(std::string_view text) {
  std::uint64_t h = 0x9e3779b97f4a7c15ULL ^ text.size();
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    h = mixBits(h ^ word);
  }
  std::uint64_t tail{};
  if (at != text.size()) std::memcpy(&tail, text.data() + at, text.size() - at);
  return static_cast<std::uint32_t>(mixBits(h ^ tail));
}

class SlotTable {
 public:
  static constexpr std::uint32_t kEmpty = ~std::uint32_t{};

  // The table doubles before it would be more than maxFullPercent full: lower is faster,
  // higher is smaller.
  explicit SlotTable(int maxFullPercent = 50) : maxFullPercent_(maxFullPercent) {}

  // Calls visit(id) for the ids stored with this hash, in probe order, until it returns true.
  // Returns the slot where the probe stopped: the accepted id's, or the empty slot ending the
  // run, where a new id with this hash belongs. Time complexity: O(1) expected.
  template <typename Visit>
  std::size_t probe(std::uint32_t hash, Visit&& visit) const {
    for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
      const Slot& candidate = slots_[slot];
      if (candidate.id == kEmpty) return slot;
      if (candidate.hash == hash && visit(candidate.id)) return slot;
    }
  }

  std::uint32_t idAt(std::size_t slot) const { return slots_[slot].id; }

  // The first id stored with this hash, unchecked, or kEmpty. Time complexity: O(1) expected.
  std::uint32_t firstWithHash(std::uint32_t hash) const {
    return idAt(probe(hash, [](std::uint32_t) { return true; }));
  }

  // Reads the slot where a probe for this hash starts, bringing it into the cache.
  void prefetch(std::uint32_t hash) const { touch(slots_[hash & mask_]); }

  // Doubles the table when one more id would fill it beyond its share; call before the probe
  // that finds the slot for a new id. Time complexity: O(1) amortised.
  void makeRoomForOne() {
    if ((used_ + 1) * 100 > slots_.size() * static_cast<std::size_t>(maxFullPercent_)) grow();
  }

  // Stores a new id in the empty slot that a probe for its hash returned.
  void fill(std::size_t slot, std::uint32_t hash, std::uint32_t id) {
    slots_[slot] = Slot{hash, id};
    ++used_;
  }

  std::size_t capacity() const { return slots_.size(); }

  // Back to an empty table, its memory given back.
  void clear() { *this = SlotTable(maxFullPercent_); }

 private:
  struct Slot {
    std::uint32_t hash{};
    std::uint32_t id = kEmpty;
  };

  void grow() {
    LargeArray<Slot> old(slots_.size() == 1 ? 1024 : slots_.size() * 2, Slot{});
    std::swap(old, slots_);
    mask_ = slots_.size() - 1;
    for (const Slot& entry : old) {
      if (entry.id == kEmpty) continue;
      std::size_t slot = entry.hash & mask_;
      while (slots_[slot].id != kEmpty) slot = (slot + 1) & mask_;
      slots_[slot] = entry;
    }
  }

  // One empty slot keeps probes finite before the first growth.
  LargeArray<Slot> slots_{1, Slot{}};
  std::size_t mask_{};
  std::size_t used_ = 0;
  int maxFullPercent_;
};

}  // namespace seedweave
