// Ordered sets of node ids: ascending creation index, no id twice. Used for the seed list,
// the intermediates and every other set whose order the output depends on.
#pragma once

#include <algorithm>
#include <vector>

#include "store/types.hpp"

namespace seedweave {

using NodeSet = std::vector<NodeId>;

// Inserts the node at its place; returns false when it was already present.
// Time complexity: O(log n) search plus the shift of the later elements.
inline bool addInteractorToIntList(NodeSet& set, NodeId node) {
  auto place = std::lower_bound(set.begin(), set.end(), node);
  if (place != set.end() && *place == node) return false;
  set.insert(place, node);
  return true;
}

inline bool containsOrdered(const std::vector<std::int32_t>& set, std::int32_t id) {
  return std::binary_search(set.begin(), set.end(), id);
}

}  // namespace seedweave
