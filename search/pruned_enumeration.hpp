// Depth-first enumeration of the simple paths between two nodes, in the order of the
// exhaustive pathway search, but walking only branches that can still arrive in time.
//
// The exhaustive search walks from the source along every passing interaction, in the order
// of each node's adjacency list, never revisiting a node and never walking on from the
// target; every time it stands on the target it has found a path (an "arrival"). A branch
// at depth d on node v with dist(v, target) > L - d can never arrive, so skipping it changes
// neither the arrivals, nor their order, nor the messages printed for them.
#pragma once

#include <cstdint>
#include <vector>

#include "search/hop_distances.hpp"
#include "store/output.hpp"

namespace seedweave {

// The path a search stands on: nodes[0] is the source, nodes[d] the node reached after d
// interactions, walked[d] the interaction walked from nodes[d - 1] to nodes[d].
struct SearchPath {
  SearchPath(NodeId source, int maxLength)
      : nodes(static_cast<std::size_t>(maxLength < 0 ? 1 : maxLength + 1), source),
        walked(nodes.size(), none) {}

  NodeId last() const { return nodes[static_cast<std::size_t>(length)]; }
  bool contains(NodeId node) const {
    for (int i = 0; i <= length; ++i) {
      if (nodes[static_cast<std::size_t>(i)] == node) return true;
    }
    return false;
  }
  void push(NodeId node, InteractionId via) {
    ++length;
    nodes[static_cast<std::size_t>(length)] = node;
    walked[static_cast<std::size_t>(length)] = via;
  }
  void pop() { --length; }

  std::vector<NodeId> nodes;
  std::vector<InteractionId> walked;
  int length = 0;
};

namespace detail {

template <typename Admit, typename Arrive>
void extendPath(const InteractionFilter& filter, NodeId target, int maxLength, SearchPath& path,
                Admit& admit, Arrive& arrive) {
  const NodeId here = path.last();
  if (path.length > 0 && here == target) {
    arrive(path);
    return;
  }
  if (path.length >= maxLength) return;
  for (const Neighbour& next : filter.adjacency().of(here)) {
    if (path.contains(next.node) || !admit(path, next.node, next.via)) continue;
    path.push(next.node, next.via);
    extendPath(filter, target, maxLength, path, admit, arrive);
    path.pop();
  }
}

}  // namespace detail

// Calls arrive(path) for every arrival at target of the exhaustive search from source with
// at most maxLength interactions, in its order. admit(path, next, interaction) is asked
// before each step the exhaustive search would take and must refuse only steps after which
// no arrival that matters to the caller is possible.
// Time complexity: O(steps admitted × L).
template <typename Admit, typename Arrive>
void forEachArrival(const InteractionFilter& filter, NodeId source, NodeId target, int maxLength,
                    Admit&& admit, Arrive&& arrive) {
  SearchPath path(source, maxLength);
  detail::extendPath(filter, target, maxLength, path, admit, arrive);
}

// Prints the "missing interaction" line for every step of an arrival whose recorded
// interaction fails the filter, as the exhaustive search does when it records the pathway.
// Time complexity: O(L) expected.
void reportMissingSteps(const Network& network, const InteractionFilter& filter,
                        const SearchPath& path, Output& out);

// Counts the arrivals of the exhaustive search, printing its messages, with its distance
// scratch kept between calls so that many searches cost only the balls they explore.
class ArrivalCounter {
 public:
  ArrivalCounter(const Network& network, const InteractionFilter& filter);

  // Time complexity: O(ball of target within L - 1 hops + steps that can still arrive).
  std::int64_t count(NodeId source, NodeId target, int maxLength, Output& out);

 private:
  const Network& network_;
  const InteractionFilter& filter_;
  DistanceMap toTarget_;
};

// Prints exactly the "missing interaction" lines that the exhaustive search from source to
// target with at most maxLength interactions prints, in the same order, and returns its
// number of arrivals: greater than 0 exactly when that search finds a pathway.
// Time complexity: O(nodes) for the scratch plus ArrivalCounter::count.
std::int64_t enumerateArrivals(const Network& network, const InteractionFilter& filter,
                               NodeId source, NodeId target, int maxLength, Output& out);

}  // namespace seedweave
