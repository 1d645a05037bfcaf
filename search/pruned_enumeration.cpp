#include "search/pruned_enumeration.hpp"

#include "search/step_records.hpp"

namespace seedweave {

void reportMissingSteps(const Network& network, const InteractionFilter& filter,
                        const SearchPath& path, Output& out) {
  for (int i = 0; i < path.length; ++i) {
    const NodeId from = path.nodes[static_cast<std::size_t>(i)];
    const NodeId to = path.nodes[static_cast<std::size_t>(i + 1)];
    if (passingStep(network, filter, from, to) == none) reportMissingStep(network, from, to, out);
  }
}

ArrivalCounter::ArrivalCounter(const Network& network, const InteractionFilter& filter)
    : network_(network), filter_(filter), toTarget_(network.nodeCount()) {}

std::int64_t ArrivalCounter::count(NodeId source, NodeId target, int maxLength, Output& out) {
  // A step to depth d + 1 can still arrive only from within L - d - 1 hops of the target,
  // so distances beyond L - 1 are never consulted.
  toTarget_.explore(filter_.adjacency(), target, maxLength - 1);
  std::int64_t arrivals = 0;
  forEachArrival(
      network_, filter_, source, target, maxLength,
      [&](const SearchPath& path, NodeId next, InteractionId) {
        return path.length + 1 + toTarget_[next] <= maxLength;
      },
      [&](const SearchPath& path) {
        ++arrivals;
        reportMissingSteps(network_, filter_, path, out);
      });
  return arrivals;
}

std::int64_t enumerateArrivals(const Network& network, const InteractionFilter& filter,
                               NodeId source, NodeId target, int maxLength, Output& out) {
  return ArrivalCounter(network, filter).count(source, target, maxLength, out);
}

}  // namespace seedweave
