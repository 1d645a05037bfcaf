// The network as the interaction filter leaves it: for every node, its passing interactions
// and the node at their other end, in the order of the node's adjacency list, all in one flat
// array. Built once per run when the filter is chosen; every walk over passing interactions
// (the pathway search, the clique files, the report's path lengths) reads it, so that repeated
// walks stay in cache and never look at an interaction the filter refuses.
#pragma once

#include <cstddef>
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
  // passes(id) tells whether interaction id passes the filter.
  // Time complexity: O(nodes + adjacency entries).
  template <typename Passes>
  FilteredAdjacency(const Network& network, Passes&& passes)
      : offsets_(network.nodeCount() + 1, 0) {
    for (std::size_t node = 0; node < network.nodeCount(); ++node) {
      const auto id = static_cast<NodeId>(node);
      for (InteractionId interaction : network.node(id).interactions) {
        if (!passes(interaction)) continue;
        neighbours_.push_back(
            {network.otherEnd(network.interaction(interaction), id), interaction});
      }
      offsets_[node + 1] = neighbours_.size();
    }
  }

  // The node's passing interactions, in adjacency-list order. Time complexity: O(1).
  std::span<const Neighbour> of(NodeId node) const {
    const auto index = static_cast<std::size_t>(node);
    return {neighbours_.data() + offsets_[index], offsets_[index + 1] - offsets_[index]};
  }
  std::size_t degree(NodeId node) const {
    const auto index = static_cast<std::size_t>(node);
    return offsets_[index + 1] - offsets_[index];
  }
  std::size_t nodeCount() const { return offsets_.size() - 1; }

 private:
  std::vector<std::size_t> offsets_;
  std::vector<Neighbour> neighbours_;
};

}  // namespace seedweave
