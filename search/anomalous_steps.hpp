// Steps on which the pathway enumeration reports a missing interaction.
//
// A search walks every interaction that passes the filter, but records for each step u -> v
// the interaction that the pair look-up returns (u, v first, then v, u). The two differ only
// when u and v are joined by two directed interactions; when the recorded one fails the
// filter while the walked one passes, the step prints "missing interaction between u and v".
// These steps are found once per run, so searches away from them can skip path listing.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "search/filter.hpp"

namespace seedweave {

// The interaction the enumeration records for a step from u to v, or none.
InteractionId lookUpStep(const Network& network, NodeId u, NodeId v);

class AnomalousSteps {
 public:
  // Time complexity: O(interactions) expected.
  AnomalousSteps(const Network& network, const InteractionFilter& filter);

  bool empty() const { return steps_.empty(); }
  // Whether walking from u to v along a passing interaction records a failing one.
  bool contains(NodeId u, NodeId v) const { return steps_.count(key(u, v)) != 0; }
  // Whether the node is an end of any anomalous step.
  bool involves(NodeId node) const { return nodes_[static_cast<std::size_t>(node)]; }

 private:
  static std::uint64_t key(NodeId u, NodeId v) {
    return (std::uint64_t{static_cast<std::uint32_t>(u)} << 32) | static_cast<std::uint32_t>(v);
  }

  std::unordered_set<std::uint64_t> steps_;
  std::vector<bool> nodes_;
};

}  // namespace seedweave
