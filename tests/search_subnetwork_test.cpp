// The subnetwork construction on small networks with known answers. Every case runs the
// fast and the literal construction and requires the same output and subnetwork.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "reference_search.hpp"
#include "search/subnetwork.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::loadNetwork;
using testing::sigLine;

const std::string kSeedPairs = "\nSearching for pathways between members of the seed list...\n";
const std::string kDone = "Done searching for pathways...\n";
const std::string kLinkPhases =
    "\nPathways found. Extracting list of intermediary nodes...\n"
    "\nSearching for pathways between intermediary nodes and original set of nodes...\n"
    "\nSearching for pathways between intermediary nodes and each other...\n";

std::string named(const char* prefix, int number) {
  std::string name = prefix;
  name += std::to_string(number);
  return name;
}

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

struct Built {
  std::string output;
  std::vector<std::string> interactions;  // "FIRST-SECOND", sorted
};

Built build(const Network& net, const std::vector<std::string>& seedNames, int maxLength,
            int minReferences = 0, int maxLoad = 0) {
  NodeSet seeds;
  for (const std::string& name : seedNames) {
    addInteractorToIntList(seeds, net.getInteractorFromHash(name));
  }
  Output literalOut;
  const SubnetworkTable literal =
      reference::getNetworkFromNodes(net, seeds, maxLength, minReferences, maxLoad, literalOut);
  Output fastOut;
  const InteractionFilter filter(net, minReferences, maxLoad);
  const SubnetworkTable fast = getNetworkFromNodes(net, filter, seeds, maxLength, fastOut);
  EXPECT_EQ(fastOut.captured(), literalOut.captured());
  EXPECT_EQ(fast.inBucketOrder(), literal.inBucketOrder());
  Built built{fastOut.takeCaptured(), {}};
  for (InteractionId id : fast.inBucketOrder()) {
    const INTERACTION& interaction = net.interaction(id);
    built.interactions.push_back(std::string(net.name(interaction.first)) + "-" +
                                 net.name(interaction.second));
  }
  std::sort(built.interactions.begin(), built.interactions.end());
  return built;
}

using Names = std::vector<std::string>;

TEST(Subnetwork, LengthOneKeepsTheDirectLinksAmongSeeds) {
  const Network net = network({"A-B", "B-C", "A-U", "U-C"});
  const Built built = build(net, {"A", "B", "C"}, 1);
  EXPECT_EQ(built.interactions, (Names{"A-B", "B-C"}));
  EXPECT_EQ(built.output, kSeedPairs + kDone);
}

TEST(Subnetwork, IntermediatesOfPathwaysAndTheirLinks) {
  const Network net = network({"A-U", "U-B", "U-V", "V-B"});
  // At length 2 only U lies on a pathway; U-V is no link of an intermediate with another.
  Built built = build(net, {"A", "B"}, 2);
  EXPECT_EQ(built.interactions, (Names{"A-U", "U-B"}));
  EXPECT_EQ(built.output, kSeedPairs + kLinkPhases);
  built = build(net, {"A", "B"}, 3);
  EXPECT_EQ(built.interactions, (Names{"A-U", "U-B", "U-V", "V-B"}));
}

TEST(Subnetwork, IntermediatesJoinedButNeverConsecutiveAreLinked) {
  const Network net = network({"A-U", "U-B", "A-V", "V-B", "U-V", "V-W"});
  EXPECT_EQ(build(net, {"A", "B"}, 2).interactions, (Names{"A-U", "A-V", "U-B", "U-V", "V-B"}));
}

// U->C (one article) fails two required references, C->U (two articles) passes. The path
// A-U-C records U->C, so prints its line; only the link from seed C to U adds C->U.
TEST(Subnetwork, SeedLinksAddWhatNoPathwayRecorded) {
  const Network net =
      loadNetwork({sigLine("A", "U", "0", "Binding", "1") + sigLine("A", "U", "0", "Binding", "2") +
                   sigLine("U", "C", "1", "Binding", "3") + sigLine("C", "U", "2", "Binding", "4") +
                   sigLine("C", "U", "2", "Binding", "5")});
  const Built built = build(net, {"A", "C"}, 2, 2, 0);
  EXPECT_EQ(built.interactions, (Names{"A-U", "C-U"}));
  EXPECT_EQ(built.output, kSeedPairs + "missing interaction between U and C\n" + kLinkPhases);
}

TEST(Subnetwork, ASingleSeedStillPrintsEveryHeading) {
  const Network net = network({"A-B"});
  const Built built = build(net, {"A", "A"}, 3);
  EXPECT_TRUE(built.interactions.empty());
  EXPECT_EQ(built.output, kSeedPairs + kLinkPhases);
  EXPECT_EQ(build(net, {"A"}, 1).output, kSeedPairs + kDone);
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++found;
  }
  return found;
}

// A chain S0-S1-...-S100 of seeds: no intermediates.
Network seedChain() {
  std::vector<std::string> pairs;
  for (int i = 0; i < 100; ++i) {
    pairs.push_back(named("S", i) + "-" + named("S", i + 1));
  }
  return network(pairs);
}

TEST(Subnetwork, SeedPairsAreAnnouncedAbove100SeedsOrBeyondLength3) {
  const Network net = seedChain();
  Names seeds;
  for (int i = 0; i <= 100; ++i) seeds.push_back(named("S", i));
  const Built all = build(net, seeds, 3);
  EXPECT_EQ(count(all.output, " of maximum length 3...\n"), 101u * 100u / 2u);
  const std::string first = "Searching for pathways between S0 and S1 of maximum length 3...\n";
  EXPECT_EQ(all.output.substr(kSeedPairs.size(), first.size()), first);
  seeds.pop_back();
  EXPECT_EQ(count(build(net, seeds, 3).output, "of maximum length"), 0u);
  const std::string longer = "Searching for pathways between S0 and S1 of maximum length 4...\n";
  EXPECT_EQ(build(net, {"S0", "S1"}, 4).output.substr(kSeedPairs.size(), longer.size()), longer);
}

TEST(Subnetwork, LinksAreAnnouncedAbove100Intermediates) {
  std::vector<std::string> pairs;
  for (int i = 0; i <= 100; ++i) {
    pairs.push_back("A-" + named("M", i));
    pairs.push_back(named("M", i) + "-B");
  }
  const Network net = network(pairs);
  const Built built = build(net, {"A", "B"}, 2);
  EXPECT_EQ(count(built.output, " of maximum length 1...\n"), 2u * 101u + 101u * 100u / 2u);
  EXPECT_NE(built.output.find("and original set of nodes...\n"
                              "Searching for pathways between A and M0 of maximum length 1...\n"),
            std::string::npos);
  pairs.pop_back();
  pairs.pop_back();
  EXPECT_EQ(count(build(network(pairs), {"A", "B"}, 2).output, "of maximum length"), 0u);
}

}  // namespace
}  // namespace seedweave
