// The steps the arc finder puts on pathways, where labels alone would accept a wrong step.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "search/path_arcs.hpp"
#include "search/pruned_enumeration.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using Steps = std::set<std::pair<NodeId, NodeId>>;

// Undirected interactions, one per "X-Y" word, each cited by an article of its own.
Network network(const std::vector<std::string>& pairs) {
  std::string sig;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const std::size_t dash = pairs[i].find('-');
    sig += testing::sigLine(pairs[i].substr(0, dash), pairs[i].substr(dash + 1), "0", "Binding",
                            std::to_string(i + 1));
  }
  return testing::loadNetwork({sig});
}

// Every step of every path, by walking all of them without pruning.
Steps stepsOfAllPaths(const Network& net, NodeId a, NodeId b, int maxLength) {
  Steps steps;
  forEachArrival(
      net, InteractionFilter(net, 0, 0), a, b, maxLength,
      [](const SearchPath&, NodeId, InteractionId) { return true; },
      [&](const SearchPath& path) {
        for (int i = 0; i < path.length; ++i) steps.emplace(path.nodes[i], path.nodes[i + 1]);
      });
  return steps;
}

// The steps the finder returns, each once.
Steps stepsFound(const Network& net, NodeId a, NodeId b, int maxLength) {
  const InteractionFilter filter(net, 0, 0);
  EXPECT_EQ(filter.adjacency().nodeCount(), net.nodeCount());
  DistanceMap fromA(net.nodeCount()), fromB(net.nodeCount());
  fromA.explore(filter.adjacency(), a, maxLength - 1);
  fromB.explore(filter.adjacency(), b, maxLength - 1);
  PathArcFinder finder(net, filter);  // owns the steps it returns
  const std::vector<Step>& found = finder.find(a, b, maxLength, fromA, fromB);
  Steps steps;
  for (const Step& step : found)
    steps.emplace(step.from, net.otherEnd(net.interaction(step.walked), step.from));
  EXPECT_EQ(steps.size(), found.size()) << "a step found twice";
  return steps;
}

// The first two networks have a step u -> v on no simple path that the labels must not let
// through. In the first, at length 4, the only path from v to b that avoids a runs through u:
// the labels of the paths to b must leave a out. In the second, at length 5, the labels are
// disjoint ({a, u} and {v, b}), yet each route a ~> u shares a node with each short enough
// route v ~> b: only the witness search rules the step out, by counting hops, as v-p-q-b makes
// a path of 6. In the third, at length 1, a and b are hubs: only the look-up between hubs
// links them.
TEST(PathArcs, StepsEqualThoseOfAllPaths) {
  for (const std::vector<std::string>& pairs :
       {std::vector<std::string>{"a-u", "u-v", "v-a", "u-b", "a-b"},
        std::vector<std::string>{"a-v", "v-u", "a-x", "x-u", "u-b", "v-x", "x-b", "v-p", "p-q",
                                 "q-b"},
        std::vector<std::string>{"a-b", "a-c", "b-c", "a-d", "b-d", "a-e", "b-e", "a-f", "b-f",
                                 "a-g", "b-g", "a-h", "b-h", "a-i", "b-i", "a-j", "b-j"}}) {
    const Network net = network(pairs);
    const NodeId a = net.getInteractorFromHash("a"), b = net.getInteractorFromHash("b");
    for (int length = 1; length <= 6; ++length) {
      EXPECT_EQ(stepsFound(net, a, b, length), stepsOfAllPaths(net, a, b, length)) << length;
    }
  }
}

// A seed's map is the same whether kept in full, saved and restored, or searched again once
// the budget for saved balls is spent.
TEST(SeedDistances, EveryWayOfKeepingAMapGivesTheSameMap) {
  testing::RandomNetworks random(5);
  for (int round = 0; round < 40; ++round) {
    const Network net = random.next(true);
    const InteractionFilter filter(net, 0, 0);
    const NodeSet seeds = random.hubSeeds(net);
    DistanceMap fresh(net.nodeCount());
    for (std::size_t budget : {std::size_t{0}, std::size_t{24}, SeedDistances::kMapBudgetBytes}) {
      SeedDistances kept(filter.adjacency(), seeds, 2, budget);
      for (std::size_t seed = 0; seed < seeds.size(); ++seed) {
        fresh.explore(filter.adjacency(), seeds[seed], 2);
        for (NodeId node : fresh.reached()) ASSERT_LE(fresh[node], 2);
        const DistanceMap& map = kept.map(seed, seed % 2);
        ASSERT_EQ(map.reached(), fresh.reached()) << round << " " << budget;
        for (NodeId node = 0; node < static_cast<NodeId>(net.nodeCount()); ++node)
          ASSERT_EQ(map[node], fresh[node]) << round << " " << budget;
      }
    }
  }
}

}  // namespace
}  // namespace seedweave
