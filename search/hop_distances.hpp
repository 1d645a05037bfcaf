// Hop distances from one node over the interactions that pass the filter, direction ignored,
// up to a radius. The searches prune with them: a branch that cannot reach its target within
// the remaining hops is never walked.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "search/adjacency.hpp"
#include "search/filter.hpp"
#include "store/ordered_set.hpp"

namespace seedweave {

// The nodes one search reached, in breadth-first order, and where each hop count starts:
// four bytes per node reached, whatever the size of the network.
struct SavedBall {
  std::vector<NodeId> nodes;
  std::vector<std::uint32_t> layerStarts;
};

// A dense distance array holding the nodes within a radius of one centre at a time. A new
// search clears only the entries of the previous one, so reuse costs the size of the balls
// explored, not the size of the network.
class DistanceMap {
 public:
  static constexpr std::uint8_t kUnreached = std::numeric_limits<std::uint8_t>::max();

  explicit DistanceMap(std::size_t nodeCount) : hops_(nodeCount, kUnreached) {}

  // Breadth-first search from centre over passing interactions, at most `radius` hops.
  // Time complexity: O(nodes of the ball + interactions of its nodes closer than radius).
  void explore(const FilteredAdjacency& adjacency, NodeId centre, int radius) {
    explore(adjacency, centre, radius, [](NodeId) { return false; });
  }
  // The same search, stopped as soon as finished(node) is true for a node just reached.
  template <typename Finished>
  void explore(const FilteredAdjacency& adjacency, NodeId centre, int radius, Finished&& finished);

  // The search's result, saved compactly, and restored as if the search were made again.
  // Time complexity of each: O(nodes of the ball).
  SavedBall save() const;
  void restore(const SavedBall& ball);

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

template <typename Finished>
void DistanceMap::explore(const FilteredAdjacency& adjacency, NodeId centre, int radius,
                          Finished&& finished) {
  clear();
  reach(centre, 0);
  if (finished(centre)) return;
  // The nodes are reached in breadth-first order: once one lies at the radius, all after it do.
  for (std::size_t i = 0; i < reached_.size(); ++i) {
    const int hops = (*this)[reached_[i]];
    if (hops >= radius) return;
    for (const Neighbour& next : adjacency.of(reached_[i])) {
      if ((*this)[next.node] != kUnreached) continue;
      reach(next.node, hops + 1);
      if (finished(next.node)) return;
    }
  }
}

// The distance maps of many seeds, in memory bounded whatever the number of seeds: the seeds
// with the largest balls keep a full map, and the others keep their ball saved, restored into
// a working map when asked for, each within a fixed budget; a seed whose ball no longer fits
// is searched again whenever asked for. One search per seed is made at construction.
class SeedDistances {
 public:
  // The memory for saved balls, and again for full maps.
  static constexpr std::size_t kMapBudgetBytes = std::size_t{32} << 20;

  // Time complexity: O(searches of the seeds + their balls × log seeds).
  SeedDistances(const FilteredAdjacency& adjacency, const NodeSet& seeds, int radius,
                std::size_t savedBallBytes = kMapBudgetBytes);

  // Slots for restored maps: a restored map stays valid until the next call with its slot,
  // so this many maps can be held at once.
  static constexpr std::size_t kSlots = 2;

  // The map of the seed at this position of the seed list, restored in `slot` if need be.
  // Time complexity: O(1), or O(the ball and the one it replaces) to restore or search again.
  const DistanceMap& map(std::size_t seed, std::size_t slot);

 private:
  static constexpr std::size_t kNoSeed = std::numeric_limits<std::size_t>::max();

  const FilteredAdjacency& adjacency_;
  const NodeSet& seeds_;
  int radius_;
  // Per seed; a ball without layers was not saved.
  std::vector<SavedBall> saved_;
  std::vector<int> fullMap_;  // per seed: its index in full_, or none
  std::vector<DistanceMap> full_;
  std::array<DistanceMap, kSlots> working_;
  std::array<std::size_t, kSlots> restored_{kNoSeed, kNoSeed};
};

}  // namespace seedweave
