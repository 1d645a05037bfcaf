// The network as the interaction filter leaves it: for every node, its passing interactions
// and the node at their other end, in the order of the node's adjacency list, all in one flat
// array. Built once per run when the filter is chosen; every walk over passing interactions
// (the pathway search, the clique files, the report's path lengths) reads it, so that repeated
// walks stay in cache and never look at an interaction the filter refuses.
#pragma once

#include <cstddef>
#include <numeric>
#include <span>
#include <vector>

#include "store/network.hpp"

namespace seedweave {

// A passing interaction seen from one of its ends: the other end and the interaction.
struct Neighbour {
  NodeId node;
  InteractionId via;
};

class FilteredAdjacency {
 public:
  // passes(id) tells whether interaction id passes the filter. A node's adjacency list holds
  // its interactions in creation order, so filling every list in the order of interaction ids
  // gives the same order while reading the interactions in sequence, not the lists.
  // Time complexity: O(nodes + interactions).
  template <typename Passes>
  FilteredAdjacency(const Network& network, Passes&& passes)
      : offsets_(network.nodeCount() + 1, 0) {
    const auto total = static_cast<InteractionId>(network.interactionTotal());
    for (InteractionId id = 0; id < total; ++id) {
      if (!passes(id)) continue;
      forEachEnd(network.interaction(id), [&](NodeId end, NodeId) { ++offsets_[index(end) + 1]; });
    }
    std::partial_sum(offsets_.begin(), offsets_.end(), offsets_.begin());
    neighbours_.resize(offsets_.back());
    std::vector<std::size_t> filled(offsets_);
    for (InteractionId id = 0; id < total; ++id) {
      if (!passes(id)) continue;
      forEachEnd(network.interaction(id), [&](NodeId end, NodeId other) {
        neighbours_[filled[index(end)]++] = Neighbour{other, id};
      });
    }
  }

  // The node's passing interactions, in adjacency-list order. Time complexity: O(1).
  std::span<const Neighbour> of(NodeId node) const {
    return {neighbours_.data() + offsets_[index(node)], degree(node)};
  }
  std::size_t degree(NodeId node) const {
    return offsets_[index(node) + 1] - offsets_[index(node)];
  }
  std::size_t nodeCount() const { return offsets_.size() - 1; }

 private:
  static std::size_t index(NodeId node) { return static_cast<std::size_t>(node); }
  // visit(end, other end) for each end whose list holds the interaction: both, or the one of
  // an interaction of a node with itself.
  template <typename Visit>
  static void forEachEnd(const INTERACTION& interaction, Visit&& visit) {
    visit(interaction.first, interaction.second);
    if (interaction.second != interaction.first) visit(interaction.second, interaction.first);
  }

  std::vector<std::size_t> offsets_;
  std::vector<Neighbour> neighbours_;
};

}  // namespace seedweave
