// The steps that lie on at least one simple path of at most L passing interactions between
// two nodes, found without listing the paths.
//
// A step u -> v lies on such a path from a to b exactly when, for some k1 + 1 + k2 <= L, a
// path a ~> u of at most k1 hops avoiding b and a path v ~> b of at most k2 hops avoiding a
// share no node. The essential set E(x, k) of a side is the set of nodes lying on every path
// of at most k hops from that side's end to x; it is computed layer by layer, as {x} plus
// the intersection of the neighbours' sets one layer down (walks and simple paths give the
// same intersection). Intersecting essential sets rule a step out. Disjoint sets prove it
// in when one of k1, k2 is at most 1 (the short side is then a single interaction, which
// the other side can avoid); otherwise, possible only for L >= 5, a witness path is sought.
//
// Distances come from breadth-first searches over the full network, so they are lower
// bounds of the distances avoiding the other end: every walk that matters stays among the
// nodes x with dist(a, x) + dist(x, b) <= L, the region, and only there is anything stored.
// The passing interactions among region nodes are listed once per pair, each node's from its
// adjacency list, except when that list is much longer than the region (a hub): a hub's links are
// the reverse of the other nodes' links to it, and pair look-ups between two hubs. So a pair
// costs what its region holds, whatever the degree of the hubs in it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "search/hop_distances.hpp"

namespace seedweave {

// One step of a path: walking `walked` from its end `from`.
struct Step {
  NodeId from;
  InteractionId walked;
};

class PathArcFinder {
 public:
  PathArcFinder(const Network& network, const InteractionFilter& filter);

  // Every step, along every passing interaction, that lies on a simple path of 1 to
  // maxLength hops from a to b (a != b, maxLength from 0 to 6). fromA and fromB hold the hop
  // distances from a and from b up to at least maxLength - 1 hops. The result is valid until
  // the next call. Time complexity: O(R × min(degree, R)) to link the R region nodes, then
  // O(L × their links), plus for L >= 5 a witness search for each step that the essential
  // sets leave open.
  const std::vector<Step>& find(NodeId a, NodeId b, int maxLength, const DistanceMap& fromA,
                                const DistanceMap& fromB);

  // Calls visit(neighbour) for every passing interaction from a node of the last pair's region
  // to another: every node on a path of that pair lies in the region. Time complexity: O(links).
  template <typename Visit>
  void forEachRegionNeighbour(NodeId node, Visit&& visit) const {
    const auto index = static_cast<std::size_t>(regionIndex(node));
    for (const Link* link = linksBegin(index); link != linksEnd(index); ++link) {
      visit(region_[link->to]);
    }
  }

 private:
  static constexpr int kMaxLength = 6;
  // A pair look-up costs about as much as scanning a few list entries: on the 200,000-node
  // benchmark network, 2,000 seeds at L = 2 (regions of a few nodes of degree about 10), the
  // construction takes 1.10 s with a factor of 1, 0.84 s with 4 and 0.68 s with 16, at best
  // of three; 4 keeps hubs common enough in small random networks for the tests to reach them.
  static constexpr std::size_t kHubFactor = 4;

  // Sorted, at most one node per hop plus the end; empty means no path at all.
  struct EssentialSet {
    std::uint8_t size = 0;
    std::array<NodeId, kMaxLength> nodes{};
  };
  // The levels k for which a region node carries an essential set, and where they start.
  struct Levels {
    int low = 1;
    int high = 0;
    std::uint32_t offset{};
  };
  // One side of the search: paths from `origin` that must avoid `forbidden`.
  struct Side {
    NodeId origin;
    NodeId forbidden;
    const DistanceMap* near;
    const DistanceMap* far;
    std::vector<Levels>* levels;
  };
  enum class Verdict { kOnPath, kNeedsWitness, kOffPath };
  // A passing interaction from a region node to another one, given by its region index.
  struct Link {
    std::uint32_t to;
    InteractionId via;
  };
  struct LinkRange {
    std::uint32_t begin{};
    std::uint32_t end{};
  };
  // A link of a hub, by region indices.
  struct HubLink {
    std::uint32_t hub;
    Link link;
  };

  void collectRegion(NodeId a, NodeId b, const DistanceMap& fromA, const DistanceMap& fromB);
  void addToRegion(NodeId node);
  void linkRegion();
  void linkByScan(std::size_t index);
  void linkHubs(std::uint32_t hub);
  void allocateLevels(const Side& side);
  void labelSide(const Side& side);
  EssentialSet essentialSet(const Side& side, std::size_t index, int level) const;
  static EssentialSet intersection(const EssentialSet& first, const EssentialSet& second);
  static bool disjoint(const EssentialSet& first, const EssentialSet& second);
  const EssentialSet* label(const std::vector<Levels>& levels, NodeId node, int level) const {
    return labelAt(levels, static_cast<std::size_t>(regionIndex(node)), level);
  }
  const EssentialSet* labelAt(const std::vector<Levels>& levels, std::size_t index,
                              int level) const;
  void collectSteps();
  Verdict judge(NodeId u, NodeId v) const;
  bool witness(NodeId u, NodeId v);
  void sortNeighbours(const DistanceMap& toEnd, NodeId excluded, std::vector<std::uint32_t>& starts,
                      std::vector<NodeId>& neighbours);
  bool extendPrefix(NodeId earliest, int hops, NodeId v);
  bool extendSuffix(NodeId latest, int hopsLeft);
  bool onWitness(NodeId node) const;
  bool avoidsWitness(const EssentialSet& set) const;
  int regionIndex(NodeId node) const { return regionIndex_[static_cast<std::size_t>(node)]; }
  // The links of the region node with this index.
  const Link* linksBegin(std::size_t index) const {
    return links_.data() + linkRanges_[index].begin;
  }
  const Link* linksEnd(std::size_t index) const { return links_.data() + linkRanges_[index].end; }
  // The highest level of an essential set: a path of L hops takes at most L - 1 before its
  // last step.
  int topLevel() const { return maxLength_ - 1; }
  void clear();

  const Network& network_;
  const InteractionFilter& filter_;
  NodeId a_ = none;
  NodeId b_ = none;
  int maxLength_{};
  const DistanceMap* fromA_ = nullptr;
  const DistanceMap* fromB_ = nullptr;
  std::vector<int> regionIndex_;
  std::vector<NodeId> region_;         // the nodes other than a and b, then a and b
  std::vector<LinkRange> linkRanges_;  // per region node, its links in links_
  std::vector<Link> links_;
  std::vector<bool> isHub_;          // per region node
  std::vector<std::uint32_t> hubs_;  // region indices of the hubs
  std::vector<HubLink> toHubs_;      // links to hubs, found by the scans, reversed
  std::vector<Levels> forward_;      // essential sets of paths from a
  std::vector<Levels> backward_;     // essential sets of paths to b
  std::vector<EssentialSet> sets_;
  std::vector<NodeId> prefix_;  // witness search: u and the nodes before it, back towards a
  std::vector<NodeId> suffix_;  // witness search: v and the nodes after it, on towards b
  // For the witness search, each region node's region neighbours nearest to a first (b left
  // out), and nearest to b first (a left out): a scan stops at the first one too far away.
  bool neighboursSorted_ = false;
  std::vector<std::uint32_t> towardAStarts_;
  std::vector<NodeId> towardA_;
  std::vector<std::uint32_t> towardBStarts_;
  std::vector<NodeId> towardB_;
  std::vector<Step> steps_;
};

}  // namespace seedweave
