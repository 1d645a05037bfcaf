#include "search/hop_distances.hpp"

namespace seedweave {

void DistanceMap::reach(NodeId node, int hops) {
  hops_[static_cast<std::size_t>(node)] = static_cast<std::uint8_t>(hops);
  reached_.push_back(node);
}

void DistanceMap::clear() {
  for (NodeId node : reached_) hops_[static_cast<std::size_t>(node)] = kUnreached;
  reached_.clear();
}

void DistanceMap::explore(const Network& network, const InteractionFilter& filter, NodeId centre,
                          int radius) {
  clear();
  reach(centre, 0);
  std::size_t layerStart = 0;
  for (int hops = 0; hops < radius && layerStart < reached_.size(); ++hops) {
    const std::size_t layerEnd = reached_.size();
    for (std::size_t i = layerStart; i < layerEnd; ++i) {
      const NodeId from = reached_[i];
      for (InteractionId id : network.node(from).interactions) {
        if (!filter.passes(id)) continue;
        const NodeId next = network.otherEnd(network.interaction(id), from);
        if ((*this)[next] == kUnreached) reach(next, hops + 1);
      }
    }
    layerStart = layerEnd;
  }
}

}  // namespace seedweave
