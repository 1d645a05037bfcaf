// The article-based tests on exact loads: citation counts within a load limit, the largest
// load, and the interaction and node filters built from them.
#include <gtest/gtest.h>

#include <string>

#include "search/filter.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::sigLine;

// A-B cites articles 1 (load 1) and 50 (load 50); C-D cites article 5 (load 5) and article 6
// (load 1). Fillers F<i>-G give articles 50 and 5 their loads.
Network loadedNetwork() {
  std::string sig = sigLine("A", "B", "0", "Binding", "1") +
                    sigLine("A", "B", "0", "Binding", "50") +
                    sigLine("C", "D", "0", "Binding", "5") + sigLine("C", "D", "0", "Binding", "6");
  for (int i = 0; i < 53; ++i) {
    std::string filler = "F";
    filler += std::to_string(i);
    sig += sigLine(filler, "G", "0", "Binding", i < 4 ? "5" : "50");
  }
  return testing::loadNetwork({sig});
}

TEST(Filter, MeasurementsAndVerdictsOnExactLoads) {
  const Network net = loadedNetwork();
  const auto between = [&](const char* a, const char* b) -> const INTERACTION& {
    return net.interaction(net.getInteractionFromInteractors(net.getInteractorFromHash(a),
                                                             net.getInteractorFromHash(b)));
  };
  const INTERACTION& ab = between("A", "B");
  const INTERACTION& cd = between("C", "D");
  EXPECT_EQ(countPMIDsFiltered(net, ab, 10), 1);
  EXPECT_EQ(countPMIDsFiltered(net, ab, 0), 2);
  EXPECT_EQ(getIntMinReferences(net, ab), 50);   // the largest load, not the smallest
  EXPECT_EQ(countPMIDsFiltered(net, cd, 5), 2);  // a load equal to the limit is within it
  // One citation within 10 would count, but the load-50 citation fails the filter.
  EXPECT_FALSE(passesInteractionFilter(net, ab, 1, 10));
  EXPECT_FALSE(passesInteractionFilter(net, ab, 0, 49));
  EXPECT_TRUE(passesInteractionFilter(net, cd, 2, 5));
  EXPECT_FALSE(passesInteractionFilter(net, cd, 3, 100));  // more references than citations
  // A node's load is the largest over all its interactions.
  const NodeId g = net.getInteractorFromHash("G");
  EXPECT_FALSE(passesArticleLoadTest(net, g, 49));
  EXPECT_TRUE(passesArticleLoadTest(net, g, 50));
  EXPECT_TRUE(passesArticleLoadTest(net, g, 0));
}

}  // namespace
}  // namespace seedweave
