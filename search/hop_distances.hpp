// Hop distances from one node over the interactions that pass the filter, direction ignored,
// up to a radius. The searches prune with them: a branch that cannot reach its target within
// the remaining hops is never walked.
#pragma once

#include <cstdint>
#include <vector>

#include "search/filter.hpp"

namespace seedweave {

// A dense distance array holding the nodes within a radius of one centre at a time. A new
// search clears only the entries of the previous one, so reuse costs the size of the balls
// explored, not the size of the network.
class DistanceMap {
 public:
  static constexpr std::uint8_t kUnreached = 255;

  explicit DistanceMap(std::size_t nodeCount) : hops_(nodeCount, kUnreached) {}

  // Breadth-first search from centre over passing interactions, at most `radius` hops.
  // Time complexity: O(nodes of the ball + interactions of its nodes closer than radius).
  void explore(const Network& network, const InteractionFilter& filter, NodeId centre, int radius);

  // Hops from the centre, or kUnreached beyond the radius.
  int operator[](NodeId node) const { return hops_[static_cast<std::size_t>(node)]; }
  // The nodes within the radius, in breadth-first order.
  const std::vector<NodeId>& reached() const { return reached_; }

 private:
  void clear();
  void reach(NodeId node, int hops);

  std::vector<std::uint8_t> hops_;
  std::vector<NodeId> reached_;
};

}  // namespace seedweave
