// The fast searches against their literal twins on thousands of random small networks:
// the same standard output, byte for byte, and the same subnetwork.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "reference_search.hpp"
#include "search/pruned_enumeration.hpp"
#include "search/subnetwork.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

// Networks are made fewer than cases: each serves several, with settings, seeds and lengths
// of their own, since making a network costs more than searching a small one.
constexpr int kCasesPerNetwork = 12;

TEST(EnumerationProperty, ArrivalsAndMessagesMatchTheExhaustiveSearch) {
  testing::RandomNetworks random(20261206);
  int withPathways = 0, withMessages = 0;
  for (int round = 0; round < 400; ++round) {
    const Network network = random.next();
    for (int use = 0; use < kCasesPerNetwork; ++use) {
      const int maxLength = random.pick(0, 6);
      const auto [minReferences, maxArticleLoad] = random.filter();
      const int last = static_cast<int>(network.nodeCount()) - 1;
      const NodeId source = random.pick(0, last), target = random.pick(0, last);
      std::string expected;
      const reference::PathwayList pathways = reference::getPathways(
          network, source, target, maxLength,
          reference::Filter(network, minReferences, maxArticleLoad), expected);
      Output actual;
      const std::int64_t arrivals =
          enumerateArrivals(network, InteractionFilter(network, minReferences, maxArticleLoad),
                            source, target, maxLength, actual);
      ASSERT_EQ(arrivals > 0, !pathways.empty()) << "round " << round;
      ASSERT_GE(arrivals, static_cast<std::int64_t>(pathways.size())) << "round " << round;
      ASSERT_EQ(actual.captured(), expected) << "round " << round;
      withPathways += pathways.empty() ? 0 : 1;
      withMessages += expected.empty() ? 0 : 1;
    }
  }
  // The generator must exercise both: found pathways, and steps reported missing.
  EXPECT_GT(withPathways, 1250);
  EXPECT_GT(withMessages, 60);
}

// Random networks, or with `plantHub` networks around a hub with seeds among its partners.
void compareConstructions(std::uint32_t seed, bool plantHub) {
  testing::RandomNetworks random(seed);
  int withMessages = 0, longWithSubnetwork = 0;
  for (int round = 0; round < 400; ++round) {
    const Network network = random.next(plantHub);
    for (int use = 0; use < kCasesPerNetwork; ++use) {
      const int maxLength = random.pick(1, 6);
      const auto [minReferences, maxArticleLoad] = random.filter();
      const NodeSet seeds = plantHub ? random.hubSeeds(network) : random.seeds(network, 7);
      std::string expected;
      const std::set<InteractionId> literal = reference::getNetworkFromNodes(
          network, seeds, maxLength, reference::Filter(network, minReferences, maxArticleLoad),
          expected);
      Output actual;
      const SubnetworkTable fast =
          getNetworkFromNodes(network, InteractionFilter(network, minReferences, maxArticleLoad),
                              seeds, maxLength, actual);
      ASSERT_EQ(actual.captured(), expected) << "round " << round;
      const std::vector<InteractionId> members = fast.inBucketOrder();
      ASSERT_EQ(std::set(members.begin(), members.end()), literal) << "round " << round;
      withMessages += expected.find("missing") == std::string::npos ? 0 : 1;
      longWithSubnetwork += maxLength >= 5 && !literal.empty() ? 1 : 0;
    }
  }
  // Both the listing of pathways with missing steps and the witness searches of long
  // pathways must have been exercised.
  EXPECT_GT(withMessages, 100);
  EXPECT_GT(longWithSubnetwork, 300);
}

TEST(ConstructionProperty, OutputAndSubnetworkMatchTheLiteralConstruction) {
  compareConstructions(7, false);
}

TEST(ConstructionProperty, SeedsAroundAPlantedHubMatchTheLiteralConstruction) {
  compareConstructions(11, true);
}

}  // namespace
}  // namespace seedweave
