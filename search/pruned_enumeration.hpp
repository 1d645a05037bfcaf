// Depth-first enumeration of the simple paths between two nodes, in the order of the
// exhaustive pathway search, but walking only branches that can still arrive in time.
//
// The exhaustive search walks from the source along every passing interaction, in the order
// of each node's adjacency list, never revisiting a node and never walking on from the
// target; every time it stands on the target it has found a path (an "arrival"). A branch
// at depth d on node v with dist(v, target) > L - d can never arrive, so skipping it changes
// neither the arrivals, nor their order, nor the messages printed for them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "search/hop_distances.hpp"
#include "store/output.hpp"

namespace seedweave {

// The path a search stands on: nodes[0] is the source, nodes[d] the node reached after d
// interactions, walked[d] the interaction walked from nodes[d - 1] to nodes[d]. maxLength is
// at least 0.
struct SearchPath {
  SearchPath(NodeId source, int maxLength)
      : nodes(static_cast<std::size_t>(maxLength) + 1, source),
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

// A node with more passing interactions than this finds the steps that can still arrive,
// when one or two hops remain, by pair look-ups instead of scanning its list.
inline constexpr std::size_t kScanLimit = 4;

template <typename Admit, typename Arrive>
void extendPath(const Network& network, const InteractionFilter& filter, NodeId target,
                int maxLength, SearchPath& path, Admit& admit, Arrive& arrive);

template <typename Admit, typename Arrive>
void takeSteps(const Network& network, const InteractionFilter& filter, NodeId target,
               int maxLength, SearchPath& path, Admit& admit, Arrive& arrive,
               std::span<const Neighbour> steps) {
  for (const Neighbour& next : steps) {
    if (path.contains(next.node) || !admit(path, next.node, next.via)) continue;
    path.push(next.node, next.via);
    extendPath(network, filter, target, maxLength, path, admit, arrive);
    path.pop();
  }
}

// The steps from `here` that can still arrive with one or two hops left: to the target, and
// with two left also to the target's neighbours. A node's list holds its interactions in
// creation order, so ascending ids give the order of the scan.
// Time complexity: O(1) expected, or O(degree of the target) with two hops left.
inline std::vector<Neighbour> stepsTowards(const Network& network, const InteractionFilter& filter,
                                           NodeId here, NodeId target, int hopsLeft) {
  std::vector<Neighbour> steps;
  auto add = [&](NodeId next) {
    network.forEachInteractionBetween(here, next, [&](InteractionId id) {
      if (filter.passes(id)) steps.push_back(Neighbour{next, id});
    });
  };
  add(target);
  if (hopsLeft == 2) {
    for (const Neighbour& near : filter.adjacency().of(target)) {
      if (near.node != here) add(near.node);
    }
  }
  auto byId = [](const Neighbour& x, const Neighbour& y) { return x.via < y.via; };
  std::sort(steps.begin(), steps.end(), byId);
  steps.erase(std::unique(steps.begin(), steps.end(),
                          [](const Neighbour& x, const Neighbour& y) { return x.via == y.via; }),
              steps.end());
  return steps;
}

template <typename Admit, typename Arrive>
void extendPath(const Network& network, const InteractionFilter& filter, NodeId target,
                int maxLength, SearchPath& path, Admit& admit, Arrive& arrive) {
  const NodeId here = path.last();
  if (path.length > 0 && here == target) {
    arrive(path);
    return;
  }
  if (path.length >= maxLength) return;
  const int hopsLeft = maxLength - path.length;
  const std::size_t degree = filter.adjacency().degree(here);
  if (degree > kScanLimit &&
      (hopsLeft == 1 || (hopsLeft == 2 && filter.adjacency().degree(target) < degree))) {
    const std::vector<Neighbour> steps = stepsTowards(network, filter, here, target, hopsLeft);
    takeSteps(network, filter, target, maxLength, path, admit, arrive, steps);
    return;
  }
  takeSteps(network, filter, target, maxLength, path, admit, arrive, filter.adjacency().of(here));
}

}  // namespace detail

// Calls arrive(path) for every arrival at target of the exhaustive search from source with
// at most maxLength interactions, in its order. admit(path, next, interaction) is asked
// before steps the exhaustive search would take and must refuse only steps after which no
// arrival that matters to the caller is possible; it must have no side effects, as steps
// that cannot arrive in time may be left out without asking.
// Time complexity: O(steps admitted × L); a hub one or two hops before the target costs a
// pair look-up per step that can arrive, not a scan of its list.
template <typename Admit, typename Arrive>
void forEachArrival(const Network& network, const InteractionFilter& filter, NodeId source,
                    NodeId target, int maxLength, Admit&& admit, Arrive&& arrive) {
  SearchPath path(source, maxLength);
  detail::extendPath(network, filter, target, maxLength, path, admit, arrive);
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
