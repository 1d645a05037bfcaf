// Finds the interactions joining two nodes in O(1) expected time. Keyed by the unordered
// pair of ends, so turning an interaction around does not move it; a pair holds at most two
// interactions (one directed each way).
#pragma once

#include <cstdint>
#include <vector>

#include "store/records.hpp"

namespace seedweave {

class PairIndex {
 public:
  void insert(InteractionId id, const std::vector<INTERACTION>& interactions);

  // Calls visit(id) for every interaction whose ends are {a, b}, in any orientation.
  template <typename Visit>
  void forEach(NodeId a, NodeId b, const std::vector<INTERACTION>& interactions,
               Visit&& visit) const {
    if (slots_.empty()) return;
    const std::uint64_t key = pairKey(a, b);
    for (std::size_t slot = probeStart(key);; slot = (slot + 1) & mask_) {
      const InteractionId id = slots_[slot];
      if (id == none) return;
      const INTERACTION& candidate = interactions[static_cast<std::size_t>(id)];
      if (pairKey(candidate.first, candidate.second) == key) visit(id);
    }
  }

  void clear();

 private:
  static std::uint64_t pairKey(NodeId a, NodeId b) {
    const auto low = static_cast<std::uint32_t>(a < b ? a : b);
    const auto high = static_cast<std::uint32_t>(a < b ? b : a);
    return (std::uint64_t{high} << 32) | low;
  }
  std::size_t probeStart(std::uint64_t key) const {
    key ^= key >> 33;
    key *= 0xff51afd7ed558ccdULL;
    key ^= key >> 33;
    return static_cast<std::size_t>(key) & mask_;
  }
  void grow(const std::vector<INTERACTION>& interactions);
  void place(InteractionId id, const std::vector<INTERACTION>& interactions);

  std::vector<InteractionId> slots_;
  std::size_t mask_ = 0;
  std::size_t used_ = 0;
};

}  // namespace seedweave
