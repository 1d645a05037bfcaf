// The pathway search between two nodes: the literal search's order and de-duplication, the
// pruned enumeration's agreement with it, and the steps the arc finder puts on pathways.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "reference_search.hpp"
#include "search/path_arcs.hpp"
#include "search/pruned_enumeration.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using reference::Pathway;
using reference::PathwayList;
using testing::loadNetwork;
using testing::sigLine;

// Undirected interactions, one per "X-Y" word, each cited by an article of its own.
Network network(const std::vector<std::string>& pairs) {
  std::string sig;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const std::size_t dash = pairs[i].find('-');
    sig += sigLine(pairs[i].substr(0, dash), pairs[i].substr(dash + 1), "0", "Binding",
                   std::to_string(i + 1));
  }
  return loadNetwork({sig});
}

NodeId id(const Network& net, const char* name) { return net.getInteractorFromHash(name); }

InteractionId link(const Network& net, const char* a, const char* b) {
  return net.getInteractionFromInteractors(id(net, a), id(net, b));
}

PathwayList search(const Network& net, const char* from, const char* to, int maxLength,
                   int minReferences = 0, int maxLoad = 0) {
  Output out;
  return reference::getPathways(net, id(net, from), id(net, to), maxLength, minReferences, maxLoad,
                                out);
}

TEST(Pathways, NothingAtLengthZeroOrToTheSource) {
  const Network net = network({"A-B", "B-C", "C-A"});
  const InteractionFilter filter(net, 0, 0);
  Output out;
  EXPECT_TRUE(search(net, "A", "B", 0).empty());
  EXPECT_TRUE(search(net, "A", "A", 3).empty());
  EXPECT_EQ(enumerateArrivals(net, filter, id(net, "A"), id(net, "B"), 0, out), 0);
  EXPECT_EQ(enumerateArrivals(net, filter, id(net, "A"), id(net, "A"), 3, out), 0);
  EXPECT_EQ(search(net, "A", "B", 1), (PathwayList{{link(net, "A", "B")}}));
}

TEST(Pathways, DepthFirstInAdjacencyOrderStoppingAtTheTarget) {
  // A-B before A-U in A's list: the direct pathway comes first.
  Network net = network({"A-B", "A-U", "U-B"});
  EXPECT_EQ(search(net, "A", "B", 2),
            (PathwayList{{link(net, "A", "B")}, {link(net, "A", "U"), link(net, "U", "B")}}));
  net = network({"A-U", "U-B", "A-B"});
  EXPECT_EQ(search(net, "A", "B", 2),
            (PathwayList{{link(net, "A", "U"), link(net, "U", "B")}, {link(net, "A", "B")}}));
  // No branch walks on from B, none returns through A.
  net = network({"A-B", "B-U", "U-A"});
  EXPECT_EQ(search(net, "A", "B", 3),
            (PathwayList{{link(net, "A", "B")}, {link(net, "A", "U"), link(net, "U", "B")}}));
}

TEST(Pathways, FilteredInteractionsAreNeverWalked) {
  // A-U is cited by an article of load 2 (also citing X-Y); the others by load-1 articles.
  const Network net =
      loadNetwork({sigLine("A", "U", "0", "Binding", "7") + sigLine("X", "Y", "0", "Binding", "7") +
                   sigLine("U", "B", "0", "Binding", "1") + sigLine("A", "V", "0", "Binding", "2") +
                   sigLine("V", "B", "0", "Binding", "3")});
  EXPECT_EQ(search(net, "A", "B", 2, 0, 1),
            (PathwayList{{link(net, "A", "V"), link(net, "V", "B")}}));
  EXPECT_EQ(search(net, "A", "B", 2).size(), 2u);
}

// A pair joined both ways: each interaction is walked, both arrivals record the looked-up
// one. When that one fails the filter, the arrival prints and records an empty pathway.
TEST(Pathways, TwoInteractionsOfAPairGiveOnePathwayOrAMissingLine) {
  const Network net =
      loadNetwork({sigLine("A", "B", "1", "Binding", "1") + sigLine("B", "A", "2", "Binding", "2") +
                   sigLine("B", "A", "2", "Binding", "3")});
  const InteractionFilter unfiltered(net, 0, 0);
  Output out;
  EXPECT_EQ(search(net, "A", "B", 1), (PathwayList{{link(net, "A", "B")}}));
  EXPECT_EQ(enumerateArrivals(net, unfiltered, id(net, "A"), id(net, "B"), 1, out), 2);
  // With two references required only B->A passes; walking it from A records A->B.
  Output literal;
  const PathwayList found =
      reference::getPathways(net, id(net, "A"), id(net, "B"), 1, 2, 0, literal);
  EXPECT_EQ(found, (PathwayList{Pathway{}}));
  EXPECT_EQ(literal.captured(), "missing interaction between A and B\n");
  const InteractionFilter twoReferences(net, 2, 0);
  EXPECT_EQ(enumerateArrivals(net, twoReferences, id(net, "A"), id(net, "B"), 1, out), 1);
  EXPECT_EQ(out.captured(), literal.captured());
  // From B the look-up finds B->A itself.
  EXPECT_EQ(search(net, "B", "A", 1, 2), (PathwayList{{link(net, "B", "A")}}));
}

TEST(PathwayLists, EqualityByRecordsAndMergingOfEquals) {
  EXPECT_EQ(reference::pathwayCmp({1, 2}, {1, 2}), 0);
  EXPECT_EQ(reference::pathwayCmp({1, 2}, {1}), 1);  // a prefix is different
  EXPECT_EQ(reference::pathwayCmp({}, {}), 0);
  PathwayList destination{{1, 2}, {3}};
  PathwayList source{{3}, {1, 2}, {3}};
  reference::mergePathwayLists(destination, std::move(source));
  EXPECT_EQ(destination, (PathwayList{{1, 2}, {3}}));
  EXPECT_EQ(reference::countPathways(source), 0);
  reference::mergePathwayLists(destination, PathwayList{{2}, {1, 2}});
  EXPECT_EQ(destination, (PathwayList{{1, 2}, {3}, {2}}));
}

// Every step of every path, by walking all of them without pruning.
std::set<std::pair<NodeId, NodeId>> stepsOfAllPaths(const Network& net, NodeId a, NodeId b,
                                                    int maxLength) {
  const InteractionFilter filter(net, 0, 0);
  std::set<std::pair<NodeId, NodeId>> steps;
  forEachArrival(
      net, filter, a, b, maxLength, [](const SearchPath&, NodeId, InteractionId) { return true; },
      [&](const SearchPath& path) {
        for (int i = 0; i < path.length; ++i) {
          steps.emplace(path.nodes[static_cast<std::size_t>(i)],
                        path.nodes[static_cast<std::size_t>(i + 1)]);
        }
      });
  return steps;
}

std::set<std::pair<NodeId, NodeId>> stepsFound(const Network& net, NodeId a, NodeId b,
                                               int maxLength) {
  const InteractionFilter filter(net, 0, 0);
  DistanceMap fromA(net.nodeCount());
  DistanceMap fromB(net.nodeCount());
  fromA.explore(net, filter, a, maxLength - 1);
  fromB.explore(net, filter, b, maxLength - 1);
  PathArcFinder finder(net, filter);
  std::set<std::pair<NodeId, NodeId>> steps;
  for (const Step& step : finder.find(a, b, maxLength, fromA, fromB)) {
    steps.emplace(step.from, net.otherEnd(net.interaction(step.walked), step.from));
  }
  return steps;
}

// Two steps u -> v on no simple path that the labels must not let through. In the first, at
// length 4, the only path from v to b that avoids a runs through u: the labels of the paths
// to b must leave a out. In the second, at length 5, the labels are disjoint ({a, u} and
// {v, b}), yet each route a ~> u shares a node with each route v ~> b: only the witness
// search rules the step out.
TEST(PathArcs, StepsEqualThoseOfAllPaths) {
  const Network shortCase = network({"a-u", "u-v", "v-a", "u-b", "a-b"});
  const NodeId a = id(shortCase, "a");
  const NodeId b = id(shortCase, "b");
  for (int length = 1; length <= 6; ++length) {
    EXPECT_EQ(stepsFound(shortCase, a, b, length), stepsOfAllPaths(shortCase, a, b, length));
  }
  EXPECT_FALSE(stepsFound(shortCase, a, b, 4).count({id(shortCase, "u"), id(shortCase, "v")}));

  const Network longCase = network({"a-v", "v-u", "a-x", "x-u", "u-b", "v-x", "x-b"});
  const NodeId start = id(longCase, "a");
  const NodeId end = id(longCase, "b");
  for (int length = 1; length <= 6; ++length) {
    EXPECT_EQ(stepsFound(longCase, start, end, length),
              stepsOfAllPaths(longCase, start, end, length));
  }
  EXPECT_FALSE(stepsFound(longCase, start, end, 5).count({id(longCase, "u"), id(longCase, "v")}));
  EXPECT_TRUE(stepsFound(longCase, start, end, 5).count({id(longCase, "v"), id(longCase, "u")}));
}

}  // namespace
}  // namespace seedweave
