// Ordered sets of record ids: ascending creation index, no id twice. Used for the seed list,
// the intermediates and every other set whose order the output depends on.
#pragma once

#include <algorithm>
#include <vector>

#include "store/types.hpp"

namespace seedweave {

using NodeSet = std::vector<NodeId>;
using InteractionSet = std::vector<InteractionId>;

// Inserts id at its place; returns false when it was already present.
// Time complexity: O(log n) search plus the shift of the later elements.
template <typename Id>
bool insertOrdered(std::vector<Id>& set, Id id) {
  auto place = std::lower_bound(set.begin(), set.end(), id);
  if (place != set.end() && *place == id) return false;
  set.insert(place, id);
  return true;
}

inline bool addInteractorToIntList(NodeSet& set, NodeId node) { return insertOrdered(set, node); }

inline bool addInteractionToIntList(InteractionSet& set, InteractionId interaction) {
  return insertOrdered(set, interaction);
}

inline bool containsOrdered(const std::vector<std::int32_t>& set, std::int32_t id) {
  return std::binary_search(set.begin(), set.end(), id);
}

}  // namespace seedweave
