#include "search/path_arcs.hpp"

#include <algorithm>
#include <stdexcept>

namespace seedweave {

namespace {

bool contains(const std::vector<NodeId>& nodes, NodeId node) {
  return std::find(nodes.begin(), nodes.end(), node) != nodes.end();
}

}  // namespace

PathArcFinder::PathArcFinder(const Network& network, const InteractionFilter& filter)
    : network_(network), filter_(filter), regionIndex_(network.nodeCount(), none) {}

const std::vector<Step>& PathArcFinder::find(NodeId a, NodeId b, int maxLength,
                                             const DistanceMap& fromA, const DistanceMap& fromB) {
  if (maxLength > kMaxLength) throw std::out_of_range("path length above 6");
  clear();
  a_ = a;
  b_ = b;
  maxLength_ = maxLength;
  fromA_ = &fromA;
  fromB_ = &fromB;
  collectRegion(a, b, fromA, fromB);
  linkRegion();
  const Side forward{a, b, &fromA, &fromB, &forward_};
  const Side backward{b, a, &fromB, &fromA, &backward_};
  allocateLevels(forward);
  allocateLevels(backward);
  labelSide(forward);
  labelSide(backward);
  collectSteps();
  return steps_;
}

void PathArcFinder::clear() {
  for (NodeId node : region_) regionIndex_[static_cast<std::size_t>(node)] = none;
  region_.clear();
  sets_.clear();
  steps_.clear();
  neighboursSorted_ = false;
}

void PathArcFinder::addToRegion(NodeId node) {
  regionIndex_[static_cast<std::size_t>(node)] = static_cast<int>(region_.size());
  region_.push_back(node);
}

// Nodes other than a and b on a path of at most L hops are at most L hops from a and b
// together, so within L - 1 hops of both: the smaller of the two balls holds them all.
void PathArcFinder::collectRegion(NodeId a, NodeId b, const DistanceMap& fromA,
                                  const DistanceMap& fromB) {
  const auto& smaller =
      std::ranges::min(fromA.reached(), fromB.reached(), {},
                       [](const std::vector<NodeId>& ball) { return ball.size(); });
  for (NodeId node : smaller) {
    if (node == a || node == b) continue;
    if (fromA[node] + fromB[node] <= maxLength_) addToRegion(node);
  }
  addToRegion(a);
  addToRegion(b);
}

// Nodes whose passing interactions outnumber the region kHubFactor times are hubs: the
// others scan their lists, and a hub's links to them are the reverse of theirs to it, so
// that only the links between two hubs need pair look-ups.
void PathArcFinder::linkRegion() {
  links_.clear();
  linkRanges_.assign(region_.size(), LinkRange{});
  isHub_.assign(region_.size(), false);
  hubs_.clear();
  toHubs_.clear();
  for (std::size_t index = 0; index < region_.size(); ++index) {
    if (filter_.adjacency().degree(region_[index]) <= kHubFactor * region_.size()) continue;
    isHub_[index] = true;
    hubs_.push_back(static_cast<std::uint32_t>(index));
  }
  for (std::size_t index = 0; index < region_.size(); ++index) {
    if (!isHub_[index]) linkByScan(index);
  }
  std::ranges::stable_sort(toHubs_, {}, &HubLink::hub);
  auto reversed = toHubs_.begin();
  for (std::uint32_t hub : hubs_) {
    linkRanges_[hub].begin = static_cast<std::uint32_t>(links_.size());
    for (; reversed != toHubs_.end() && reversed->hub == hub; ++reversed) {
      links_.push_back(reversed->link);
    }
    linkHubs(hub);
    linkRanges_[hub].end = static_cast<std::uint32_t>(links_.size());
  }
}

void PathArcFinder::linkByScan(std::size_t index) {
  const NodeId node = region_[index];
  linkRanges_[index].begin = static_cast<std::uint32_t>(links_.size());
  for (const Neighbour& next : filter_.adjacency().of(node)) {
    const int to = regionIndex(next.node);
    if (next.node == node || to < 0) continue;
    links_.push_back(Link{static_cast<std::uint32_t>(to), next.via});
    if (isHub_[static_cast<std::size_t>(to)]) {
      toHubs_.push_back(HubLink{static_cast<std::uint32_t>(to),
                                Link{static_cast<std::uint32_t>(index), next.via}});
    }
  }
  linkRanges_[index].end = static_cast<std::uint32_t>(links_.size());
}

void PathArcFinder::linkHubs(std::uint32_t hub) {
  for (std::uint32_t other : hubs_) {
    if (other == hub) continue;
    network_.forEachInteractionBetween(region_[hub], region_[other], [&](InteractionId id) {
      if (filter_.passes(id)) links_.push_back(Link{other, id});
    });
  }
}

// A node x carries essential sets for the levels dist(origin, x) to L - dist(x, other end):
// no path of fewer hops exists, and more hops never fit in a path of L. The origin's set is
// {origin} at every level; the forbidden end has none.
void PathArcFinder::allocateLevels(const Side& side) {
  side.levels->assign(region_.size(), Levels{});
  for (std::size_t index = 0; index < region_.size(); ++index) {
    const NodeId node = region_[index];
    Levels& levels = (*side.levels)[index];
    if (node == side.forbidden) continue;
    if (node == side.origin) {
      levels.low = 0;
      levels.high = topLevel();
    } else {
      levels.low = (*side.near)[node];
      levels.high = maxLength_ - (*side.far)[node];
    }
    levels.offset = static_cast<std::uint32_t>(sets_.size());
    if (levels.high >= levels.low) {
      sets_.resize(sets_.size() + static_cast<std::size_t>(levels.high - levels.low + 1));
    }
  }
  const Levels& origin = (*side.levels)[static_cast<std::size_t>(regionIndex(side.origin))];
  for (int level = origin.low; level <= origin.high; ++level) {
    EssentialSet& set = sets_[origin.offset + static_cast<std::size_t>(level)];  // low is 0
    set.size = 1;
    set.nodes[0] = side.origin;
  }
}

// Layer by layer: a set of level k needs only sets of level k - 1.
void PathArcFinder::labelSide(const Side& side) {
  for (int level = 1; level <= topLevel(); ++level) {
    for (std::size_t index = 0; index < region_.size(); ++index) {
      const NodeId node = region_[index];
      const Levels& levels = (*side.levels)[index];
      if (node == side.origin || level < levels.low || level > levels.high) continue;
      sets_[levels.offset + static_cast<std::size_t>(level - levels.low)] =
          essentialSet(side, index, level);
    }
  }
}

const PathArcFinder::EssentialSet* PathArcFinder::labelAt(const std::vector<Levels>& levels,
                                                          std::size_t index, int level) const {
  const Levels& range = levels[index];
  if (level < range.low || level > range.high) return nullptr;
  const EssentialSet& set = sets_[range.offset + static_cast<std::size_t>(level - range.low)];
  return set.size == 0 ? nullptr : &set;
}

// {node} plus the intersection of the neighbours' sets one level down. Every set holds the
// origin, so once the intersection is down to it no further neighbour can shrink it.
PathArcFinder::EssentialSet PathArcFinder::essentialSet(const Side& side, std::size_t index,
                                                        int level) const {
  const NodeId node = region_[index];
  EssentialSet common;
  bool any = false;
  for (const Link* link = linksBegin(index); link != linksEnd(index); ++link) {
    if (region_[link->to] == side.forbidden) continue;
    const EssentialSet* below = labelAt(*side.levels, link->to, level - 1);
    if (below == nullptr) continue;
    if (!any) {
      common = *below;
      any = true;
    } else {
      common = intersection(common, *below);
    }
    if (common.size == 1) break;
  }
  if (!any) return EssentialSet{};
  auto place = std::lower_bound(common.nodes.begin(), common.nodes.begin() + common.size, node);
  std::copy_backward(place, common.nodes.begin() + common.size,
                     common.nodes.begin() + common.size + 1);
  *place = node;
  ++common.size;
  return common;
}

PathArcFinder::EssentialSet PathArcFinder::intersection(const EssentialSet& first,
                                                        const EssentialSet& second) {
  EssentialSet common;
  const auto end = std::set_intersection(first.nodes.begin(), first.nodes.begin() + first.size,
                                         second.nodes.begin(), second.nodes.begin() + second.size,
                                         common.nodes.begin());
  common.size = static_cast<std::uint8_t>(end - common.nodes.begin());
  return common;
}

bool PathArcFinder::disjoint(const EssentialSet& first, const EssentialSet& second) {
  return intersection(first, second).size == 0;
}

void PathArcFinder::collectSteps() {
  for (std::size_t index = 0; index < region_.size(); ++index) {
    const NodeId u = region_[index];
    if (u == b_) continue;
    for (const Link* link = linksBegin(index); link != linksEnd(index); ++link) {
      const NodeId v = region_[link->to];
      if (v == a_) continue;
      const Verdict verdict = judge(u, v);
      if (verdict == Verdict::kOnPath || (verdict == Verdict::kNeedsWitness && witness(u, v))) {
        steps_.push_back(Step{u, link->via});
      }
    }
  }
}

// Splits k1 + 1 + k2 = L suffice: a set of more hops is a subset of the one of fewer.
PathArcFinder::Verdict PathArcFinder::judge(NodeId u, NodeId v) const {
  const Levels& fromStart = forward_[static_cast<std::size_t>(regionIndex(u))];
  const Levels& toEnd = backward_[static_cast<std::size_t>(regionIndex(v))];
  Verdict verdict = Verdict::kOffPath;
  for (int k1 = fromStart.low; k1 <= topLevel() - toEnd.low; ++k1) {
    const int k2 = topLevel() - k1;
    const EssentialSet* before = label(forward_, u, k1);
    const EssentialSet* after = label(backward_, v, k2);
    if (before == nullptr || after == nullptr) continue;
    if (!disjoint(*before, *after)) continue;
    if (k1 <= 1 || k2 <= 1) return Verdict::kOnPath;
    verdict = Verdict::kNeedsWitness;
  }
  return verdict;
}

bool PathArcFinder::witness(NodeId u, NodeId v) {
  if (!neighboursSorted_) {
    sortNeighbours(*fromA_, b_, towardAStarts_, towardA_);
    sortNeighbours(*fromB_, a_, towardBStarts_, towardB_);
    neighboursSorted_ = true;
  }
  prefix_.assign({u});
  suffix_.assign({v});
  return extendPrefix(u, 0, v);
}

bool PathArcFinder::onWitness(NodeId node) const {
  return contains(prefix_, node) || contains(suffix_, node);
}

bool PathArcFinder::avoidsWitness(const EssentialSet& set) const {
  return std::none_of(set.nodes.begin(), set.nodes.begin() + set.size,
                      [&](NodeId node) { return onWitness(node); });
}

// Each region node's region neighbours, by passing interactions, in ascending distance to
// one end, leaving out the other end. Time complexity: O(links of the region).
void PathArcFinder::sortNeighbours(const DistanceMap& toEnd, NodeId excluded,
                                   std::vector<std::uint32_t>& starts,
                                   std::vector<NodeId>& neighbours) {
  starts.assign(1, 0);
  neighbours.clear();
  std::array<std::vector<NodeId>, kMaxLength> byDistance;
  for (std::size_t index = 0; index < region_.size(); ++index) {
    for (const Link* link = linksBegin(index); link != linksEnd(index); ++link) {
      const NodeId next = region_[link->to];
      if (next == excluded) continue;
      byDistance[static_cast<std::size_t>(toEnd[next])].push_back(next);
    }
    for (std::vector<NodeId>& bucket : byDistance) {
      neighbours.insert(neighbours.end(), bucket.begin(), bucket.end());
      bucket.clear();
    }
    starts.push_back(static_cast<std::uint32_t>(neighbours.size()));
  }
}

// Walks back from u towards a; `earliest` is the node reached, `hops` away from u.
bool PathArcFinder::extendPrefix(NodeId earliest, int hops, NodeId v) {
  if (earliest == a_) return extendSuffix(v, topLevel() - hops);
  // The hops left for a ~> next, given at least dist(v, b) after the step u -> v.
  const int budget = maxLength_ - 2 - hops - (*fromB_)[v];
  const auto index = static_cast<std::size_t>(regionIndex(earliest));
  for (std::uint32_t at = towardAStarts_[index]; at < towardAStarts_[index + 1]; ++at) {
    const NodeId next = towardA_[at];
    if ((*fromA_)[next] > budget) break;
    if (onWitness(next)) continue;
    const EssentialSet* set = label(forward_, next, budget);
    if (set == nullptr || !avoidsWitness(*set)) continue;
    prefix_.push_back(next);
    if (extendPrefix(next, hops + 1, v)) return true;
    prefix_.pop_back();
  }
  return false;
}

// Walks on from v towards b; `latest` is the node reached, with `hopsLeft` still allowed.
bool PathArcFinder::extendSuffix(NodeId latest, int hopsLeft) {
  if (latest == b_) return true;
  const auto index = static_cast<std::size_t>(regionIndex(latest));
  const int level = hopsLeft - 1;
  for (std::uint32_t at = towardBStarts_[index]; at < towardBStarts_[index + 1]; ++at) {
    const NodeId next = towardB_[at];
    if ((*fromB_)[next] > level) break;
    if (onWitness(next)) continue;
    const EssentialSet* set = label(backward_, next, level);
    if (set == nullptr || !avoidsWitness(*set)) continue;
    suffix_.push_back(next);
    if (extendSuffix(next, level)) return true;
    suffix_.pop_back();
  }
  return false;
}

}  // namespace seedweave
