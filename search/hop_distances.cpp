#include "search/hop_distances.hpp"

#include <algorithm>
#include <functional>
#include <numeric>
#include <span>

namespace seedweave {

void DistanceMap::reach(NodeId node, int hops) {
  hops_[static_cast<std::size_t>(node)] = static_cast<std::uint8_t>(hops);
  reached_.push_back(node);
}

void DistanceMap::clear() {
  for (NodeId node : reached_) hops_[static_cast<std::size_t>(node)] = kUnreached;
  reached_.clear();
}

SavedBall DistanceMap::save() const {
  SavedBall ball{reached_, {}};
  for (std::size_t i = 0; i < reached_.size(); ++i) {
    while (static_cast<std::size_t>((*this)[reached_[i]]) >= ball.layerStarts.size()) {
      ball.layerStarts.push_back(static_cast<std::uint32_t>(i));
    }
  }
  return ball;
}

void DistanceMap::restore(const SavedBall& ball) {
  clear();
  for (std::size_t hops = 0; hops < ball.layerStarts.size(); ++hops) {
    const std::size_t end =
        hops + 1 < ball.layerStarts.size() ? ball.layerStarts[hops + 1] : ball.nodes.size();
    for (std::size_t i = ball.layerStarts[hops]; i < end; ++i) {
      reach(ball.nodes[i], static_cast<int>(hops));
    }
  }
}

// A full map is worth its memory only for a ball that would take long to restore.
SeedDistances::SeedDistances(const FilteredAdjacency& adjacency, const NodeSet& seeds, int radius,
                             std::size_t savedBallBytes)
    : adjacency_(adjacency),
      seeds_(seeds),
      radius_(radius),
      fullMap_(seeds.size(), none),
      working_{DistanceMap(adjacency.nodeCount()), DistanceMap(adjacency.nodeCount())} {
  if (seeds.empty()) return;
  DistanceMap& scratch = working_.front();
  std::size_t savedBytes{};
  for (NodeId seed : seeds) {
    scratch.explore(adjacency, seed, radius);
    savedBytes += scratch.reached().size() * sizeof(NodeId);
    saved_.push_back(savedBytes <= savedBallBytes ? scratch.save() : SavedBall{});
  }
  std::vector<std::size_t> bySize(seeds.size());
  std::iota(bySize.begin(), bySize.end(), std::size_t{0});
  std::ranges::stable_sort(bySize, std::ranges::greater{},
                           [&](std::size_t seed) { return saved_[seed].nodes.size(); });
  const std::size_t nodeCount = adjacency.nodeCount();
  const std::size_t fullMaps = std::min(bySize.size(), kMapBudgetBytes / nodeCount);
  for (std::size_t seed : std::span(bySize).first(fullMaps)) {
    SavedBall& ball = saved_[seed];
    if (ball.nodes.size() * 256 < nodeCount) break;
    fullMap_[seed] = static_cast<int>(full_.size());
    full_.emplace_back(nodeCount);
    full_.back().restore(ball);
    ball = SavedBall{};
  }
}

const DistanceMap& SeedDistances::map(std::size_t seed, std::size_t slot) {
  if (fullMap_[seed] != none) return full_[static_cast<std::size_t>(fullMap_[seed])];
  if (restored_[slot] != seed) {
    if (saved_[seed].layerStarts.empty()) {
      working_[slot].explore(adjacency_, seeds_[seed], radius_);
    } else {
      working_[slot].restore(saved_[seed]);
    }
    restored_[slot] = seed;
  }
  return working_[slot];
}

}  // namespace seedweave
