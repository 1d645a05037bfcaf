// The fast searches against their literal twins on thousands of random small networks:
// the same standard output, byte for byte, and the same subnetwork.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "reference_search.hpp"
#include "search/pruned_enumeration.hpp"
#include "search/subnetwork.hpp"
#include "store/network.hpp"

namespace seedweave {
namespace {

// Networks are made fewer than cases: each serves several, with settings, seeds and lengths
// of their own, since making a network costs more than searching a small one.
constexpr int kCasesPerNetwork = 12;

// A network of 2 to 12 nodes whose interactions are reported by a few articles from a small
// pool, so that article loads vary and both filters bite. Some pairs are reported directed
// in both orientations with different direction texts, which gives a pair two interactions.
class NetworkGenerator {
 public:
  explicit NetworkGenerator(std::uint32_t seed) : random_(seed) {}

  Network next() {
    Network network;
    Output ignored;
    const int nodes = pick(2, 12);
    for (int i = 0; i < nodes; ++i) {
      std::string name = "N";
      name += std::to_string(i);
      network.updateAndRetrieveInteractor(name, "NA", "NA", "NA", "NA");
    }
    // Denser networks with long paths would make the exhaustive twin too slow.
    const int density = pick(10, nodes <= 7 ? 60 : 30);
    for (int a = 0; a < nodes; ++a) {
      // The store keeps a node's interaction with itself, though no search walks it.
      if (pick(1, 100) <= 3) report(network, a, a, "0");
      for (int b = a + 1; b < nodes; ++b) {
        if (pick(1, 100) > density) continue;
        const bool forward = pick(0, 1) == 1;
        switch (pick(0, 3)) {
          case 0:
            report(network, forward ? a : b, forward ? b : a, "0");
            break;
          case 1:
            report(network, forward ? a : b, forward ? b : a, "1");
            break;
          default:  // directed both ways: two interactions joining the pair
            report(network, forward ? a : b, forward ? b : a, "1");
            report(network, forward ? b : a, forward ? a : b, "2");
        }
      }
    }
    network.runTallies(ignored);
    return network;
  }

  // The settings of one case: filters off in a third of the cases.
  Settings settings(int shortest) {
    Settings chosen;
    chosen.maxPathLength = pick(shortest, 6);
    if (pick(0, 2) != 0) {
      chosen.minReferences = pick(0, 2);
      chosen.maxArticleLoad = pick(0, 1) == 1 ? pick(1, 4) : 0;
    }
    return chosen;
  }

  // One to three reports of the interaction, each by an article of its own (load 1) or by
  // one of four articles shared with other interactions (higher loads).
  void report(Network& network, NodeId a, NodeId b, const char* direction) {
    Output ignored;
    const int reports = pick(1, 3);
    for (int r = 0; r < reports; ++r) {
      const int pmid = pick(0, 1) == 1 ? ++lastPrivateArticle_ : pick(1, 4);
      network.addInteractionToHash(a, b, direction, "Binding", pmid, pick(0, 2), ignored);
    }
  }

  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

 private:
  std::mt19937 random_;
  int lastPrivateArticle_ = 100;
};

TEST(EnumerationProperty, ArrivalsAndMessagesMatchTheExhaustiveSearch) {
  NetworkGenerator generator(20261206);
  int withPathways = 0;
  int withMessages = 0;
  for (int round = 0; round < 400; ++round) {
    const Network network = generator.next();
    for (int use = 0; use < kCasesPerNetwork; ++use) {
      const Settings settings = generator.settings(0);
      const InteractionFilter filter(network, settings.minReferences, settings.maxArticleLoad);
      const auto nodes = static_cast<int>(network.nodeCount());
      const NodeId source = generator.pick(0, nodes - 1);
      const NodeId target = generator.pick(0, nodes - 1);
      Output expected;
      const reference::PathwayList pathways =
          reference::getPathways(network, source, target, settings.maxPathLength,
                                 settings.minReferences, settings.maxArticleLoad, expected);
      Output actual;
      const std::int64_t arrivals =
          enumerateArrivals(network, filter, source, target, settings.maxPathLength, actual);
      ASSERT_EQ(arrivals > 0, !pathways.empty()) << "round " << round;
      ASSERT_GE(arrivals, static_cast<std::int64_t>(pathways.size())) << "round " << round;
      ASSERT_EQ(actual.captured(), expected.captured()) << "round " << round;
      withPathways += pathways.empty() ? 0 : 1;
      withMessages += expected.captured().empty() ? 0 : 1;
    }
  }
  // The generator must exercise both: found pathways, and steps reported missing.
  EXPECT_GT(withPathways, 1250);
  EXPECT_GT(withMessages, 60);
}

// Seeds drawn with repeats, as a user may type a name twice: the set keeps each once.
NodeSet drawSeeds(NetworkGenerator& generator, int nodes) {
  NodeSet seeds;
  const int draws = generator.pick(1, std::min(nodes, 7));
  for (int i = 0; i < draws; ++i) addInteractorToIntList(seeds, generator.pick(0, nodes - 1));
  return seeds;
}

TEST(ConstructionProperty, OutputAndSubnetworkMatchTheLiteralConstruction) {
  NetworkGenerator generator(7);
  int withMessages = 0;
  int longWithSubnetwork = 0;
  for (int round = 0; round < 400; ++round) {
    const Network network = generator.next();
    for (int use = 0; use < kCasesPerNetwork; ++use) {
      const Settings settings = generator.settings(1);
      const NodeSet seeds = drawSeeds(generator, static_cast<int>(network.nodeCount()));
      Output expected;
      const SubnetworkTable literal =
          reference::getNetworkFromNodes(network, seeds, settings.maxPathLength,
                                         settings.minReferences, settings.maxArticleLoad, expected);
      Output actual;
      const InteractionFilter filter(network, settings.minReferences, settings.maxArticleLoad);
      const SubnetworkTable fast =
          getNetworkFromNodes(network, filter, seeds, settings.maxPathLength, actual);
      ASSERT_EQ(actual.captured(), expected.captured()) << "round " << round;
      ASSERT_EQ(fast.inBucketOrder(), literal.inBucketOrder()) << "round " << round;
      withMessages += expected.captured().find("missing") == std::string::npos ? 0 : 1;
      longWithSubnetwork += settings.maxPathLength >= 5 && literal.size() > 0 ? 1 : 0;
    }
  }
  // Both the listing of pathways with missing steps and the witness searches of long
  // pathways must have been exercised.
  EXPECT_GT(withMessages, 100);
  EXPECT_GT(longWithSubnetwork, 300);
}

}  // namespace
}  // namespace seedweave
