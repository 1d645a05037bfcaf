#include "search/missing_steps.hpp"

#include <utility>

namespace seedweave {

MissingStepReporter::MissingStepReporter(const Network& network, const InteractionFilter& filter,
                                         const StepRecords& steps)
    : network_(network),
      filter_(filter),
      steps_(steps),
      detour_(network.nodeCount(), DistanceMap::kUnreached) {}

// A breadth-first search from the failing steps' tails, each starting at 1 + dist(y, b):
// a bucket per value, since starting values differ and no value beyond L matters.
void MissingStepReporter::measureDetours(int maxLength, const DistanceMap& toB,
                                         const std::vector<Step>& failing,
                                         const PathArcFinder& region) {
  for (NodeId node : std::exchange(measured_, {})) {
    detour_[static_cast<std::size_t>(node)] = DistanceMap::kUnreached;
  }
  std::vector<std::vector<NodeId>> buckets(static_cast<std::size_t>(maxLength + 1));
  for (const Step& step : failing) {
    const NodeId head = network_.otherEnd(network_.interaction(step.walked), step.from);
    buckets[static_cast<std::size_t>(1 + toB[head])].push_back(step.from);
  }
  for (int value = 0; value <= maxLength; ++value) {
    for (std::size_t i = 0; i < buckets[static_cast<std::size_t>(value)].size(); ++i) {
      const NodeId node = buckets[static_cast<std::size_t>(value)][i];
      // Buckets are taken in increasing order: a node reached before has its detour already.
      if (detour(node) != DistanceMap::kUnreached) continue;
      measured_.push_back(node);
      detour_[static_cast<std::size_t>(node)] = static_cast<std::uint8_t>(value);
      if (value == maxLength) continue;
      region.forEachRegionNeighbour(node, [&](NodeId next) {
        if (detour(next) == DistanceMap::kUnreached) {
          buckets[static_cast<std::size_t>(value + 1)].push_back(next);
        }
      });
    }
  }
}

bool MissingStepReporter::printsOnPath(const SearchPath& path) const {
  for (int i = 1; i <= path.length; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (steps_.missing(path.walked[at], path.nodes[at - 1])) return true;
  }
  return false;
}

void MissingStepReporter::report(NodeId a, NodeId b, int maxLength, const DistanceMap& toB,
                                 const std::vector<Step>& failing, const PathArcFinder& region,
                                 Output& out) {
  measureDetours(maxLength, toB, failing, region);
  forEachArrival(
      network_, filter_, a, b, maxLength,
      [&](const SearchPath& path, NodeId next, InteractionId via) {
        const int depth = path.length + 1;
        if (depth + toB[next] > maxLength) return false;
        if (depth + detour(next) <= maxLength) return true;
        return steps_.missing(via, path.last()) || printsOnPath(path);
      },
      [&](const SearchPath& path) {
        for (int i = 1; i <= path.length; ++i) {
          const auto at = static_cast<std::size_t>(i);
          if (steps_.missing(path.walked[at], path.nodes[at - 1])) {
            reportMissingStep(network_, path.nodes[at - 1], path.nodes[at], out);
          }
        }
      });
}

}  // namespace seedweave
