// Finds the interactions joining two nodes in O(1) expected time. Keyed by the unordered
// pair of ends, so turning an interaction around does not move it; a pair holds at most two
// interactions (one directed each way).
#pragma once

#include <algorithm>
#include <cstdint>

#include "store/slot_table.hpp"
#include "store/types.hpp"

namespace seedweave {

class PairIndex {
 public:
  // Grows the table when one more interaction would fill it beyond its share; call before the
  // lookup whose free slot may take a new interaction. Time complexity: O(1) amortised.
  void makeRoomForOne() { slots_.makeRoomForOne(); }

  // Stores a new interaction in the free slot that the lookup of its pair returned.
  void insertAt(std::size_t freeSlot, InteractionId id, NodeId a, NodeId b) {
    slots_.fill(freeSlot, pairHash(a, b), static_cast<std::uint32_t>(id));
  }

  // Calls visit(id) for every interaction whose ends are {a, b}, in any orientation, and
  // perhaps for one whose pair merely shares the pair's 32-bit hash: the caller checks the
  // ends. Returns the free slot where a new interaction of the pair would go.
  // Time complexity: O(1) expected.
  template <typename Visit>
  std::size_t forEachCandidate(NodeId a, NodeId b, Visit&& visit) const {
    return slots_.probe(pairHash(a, b), [&](std::uint32_t id) {
      visit(static_cast<InteractionId>(id));
      return false;
    });
  }

  // The first interaction stored under the pair's hash, unchecked, or none.
  InteractionId firstCandidate(NodeId a, NodeId b) const {
    static_assert(static_cast<InteractionId>(SlotTable::kEmpty) == none);
    return static_cast<InteractionId>(slots_.firstWithHash(pairHash(a, b)));
  }
  void prefetch(NodeId a, NodeId b) const { slots_.prefetch(pairHash(a, b)); }

 private:
  static std::uint32_t pairHash(NodeId a, NodeId b) {
    const auto [low, high] =
        std::minmax({static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b)});
    return static_cast<std::uint32_t>(mixBits((std::uint64_t{high} << kHalfKeyBits) | low));
  }

  // Three quarters full at most: a million interactions take 8 MB, and probes stay short.
  SlotTable slots_{75};
};

}  // namespace seedweave
