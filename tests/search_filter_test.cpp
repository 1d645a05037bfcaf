// The article-based tests: citation counts within a load limit, the largest load, and the
// interaction filter built from them.
#include <gtest/gtest.h>

#include <string>

#include "search/filter.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::loadNetwork;
using testing::sigLine;

// A-B cites articles 1 (load 1) and 50 (load 50); C-D cites article 5 (load 5) and article 6
// (load 1). Fillers F<i>-G<i> give articles 50 and 5 their loads.
class FilterTest : public ::testing::Test {
 protected:
  static Network build() {
    std::string sig =
        sigLine("A", "B", "0", "Binding", "1") + sigLine("A", "B", "0", "Binding", "50") +
        sigLine("C", "D", "0", "Binding", "5") + sigLine("C", "D", "0", "Binding", "6");
    for (int i = 0; i < 53; ++i) {
      std::string f = "F";
      f += std::to_string(i);
      sig += sigLine(f, "G", "0", "Binding", i < 4 ? "5" : "50");
    }
    return loadNetwork({sig});
  }

  const INTERACTION& between(const char* a, const char* b) const {
    return network.interaction(network.getInteractionFromInteractors(
        network.getInteractorFromHash(a), network.getInteractorFromHash(b)));
  }

  Network network = build();
};

TEST_F(FilterTest, CountsAndLargestLoad) {
  const INTERACTION& ab = between("A", "B");
  EXPECT_EQ(countPMIDsFiltered(network, ab, 10), 1);
  EXPECT_EQ(countPMIDsFiltered(network, ab, 0), 2);
  EXPECT_EQ(getIntMinReferences(network, ab), 50);  // the largest load, not the smallest
  // A load equal to the limit is within it.
  EXPECT_EQ(countPMIDsFiltered(network, between("C", "D"), 5), 2);
  EXPECT_EQ(countPMIDsFiltered(network, between("C", "D"), 4), 1);
  EXPECT_EQ(getNodeMinReferences(network, network.getInteractorFromHash("A")), 50);
}

TEST_F(FilterTest, InteractionFilterNeedsEveryCitationWithinTheLimit) {
  const INTERACTION& ab = between("A", "B");
  const INTERACTION& cd = between("C", "D");
  EXPECT_TRUE(passesInteractionFilter(network, ab, 0, 0));
  // One citation within 10 is enough for the writers, but the load-50 citation fails it.
  EXPECT_FALSE(passesInteractionFilter(network, ab, 1, 10));
  EXPECT_TRUE(passesInteractionFilter(network, cd, 2, 5));
  EXPECT_FALSE(passesInteractionFilter(network, cd, 2, 4));
  // More references than citations fail whatever the limit.
  EXPECT_FALSE(passesInteractionFilter(network, cd, 3, 0));
  EXPECT_FALSE(passesInteractionFilter(network, cd, 3, 100));
  // Minimum references 0: only the load decides.
  EXPECT_TRUE(passesInteractionFilter(network, ab, 0, 50));
  EXPECT_FALSE(passesInteractionFilter(network, ab, 0, 49));
}

TEST_F(FilterTest, NodeLoadTestLooksAtEveryInteraction) {
  const NodeId g = network.getInteractorFromHash("G");  // cites 5 and 50 through fillers
  EXPECT_FALSE(passesArticleLoadTest(network, g, 49));
  EXPECT_TRUE(passesArticleLoadTest(network, g, 50));
  EXPECT_TRUE(passesArticleLoadTest(network, network.getInteractorFromHash("C"), 5));
  EXPECT_TRUE(passesArticleLoadTest(network, g, 0));
}

TEST_F(FilterTest, VerdictsOncePerRunEqualTheMeasurements) {
  for (const auto& [minReferences, maxLoad] :
       {std::pair{0, 0}, {1, 10}, {2, 5}, {0, 49}, {2, 0}, {3, 100}}) {
    const InteractionFilter filter(network, minReferences, maxLoad);
    for (std::size_t id = 0; id < network.interactionCount(); ++id) {
      const auto interaction = static_cast<InteractionId>(id);
      EXPECT_EQ(filter.passes(interaction),
                passesInteractionFilter(network, network.interaction(interaction), minReferences,
                                        maxLoad));
    }
  }
}

}  // namespace
}  // namespace seedweave
