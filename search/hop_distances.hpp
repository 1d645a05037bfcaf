// Hop distances from one node over the interactions that pass the filter, direction ignored,
// up to a radius. The searches prune with them: a branch that cannot reach its target within
// the remaining hops is never walked.
#pragma once

#include <cstdint>
#include <vector>

#include "search/filter.hpp"

namespace seedweave {

// The nodes within a radius of a centre, saved compactly: breadth-first order, with the end
// of each distance layer, so that a search can keep one per seed.
struct Ball {
  std::vector<NodeId> nodes;
  std::vector<std::uint32_t> layerEnds;  // the nodes d hops away end at layerEnds[d]
};

// A dense distance array for the nodes of one ball at a time. Loading another ball clears
// only the entries of the previous one, so reuse costs the size of the balls, not the network.
class DistanceMap {
 public:
  static constexpr std::uint8_t kUnreached = 255;

  explicit DistanceMap(std::size_t nodeCount) : hops_(nodeCount, kUnreached) {}

  // Breadth-first search from centre over passing interactions, at most `radius` hops.
  // Time complexity: O(nodes of the ball + interactions of its nodes closer than radius).
  void explore(const Network& network, const InteractionFilter& filter, NodeId centre, int radius);
  // Time complexity: O(size of the previous ball + size of this one).
  void load(const Ball& ball);
  void clear();
  // The current contents, to be loaded again later. Time complexity: O(size of the ball).
  Ball save() const;

  // Hops from the centre, or kUnreached beyond the radius.
  int operator[](NodeId node) const { return hops_[static_cast<std::size_t>(node)]; }
  // The nodes within the radius, in breadth-first order.
  const std::vector<NodeId>& reached() const { return reached_; }

 private:
  void reach(NodeId node, int hops);

  std::vector<std::uint8_t> hops_;
  std::vector<NodeId> reached_;
  std::vector<std::uint32_t> layerEnds_;
};

}  // namespace seedweave
