// The subnetwork construction's announcing of every pair searched, which only networks with
// more than 100 seeds or intermediates, or lengths beyond 3, turn on. Each case runs the fast
// and the literal construction and requires the same output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reference_search.hpp"
#include "search/subnetwork.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

const std::string kSeedPairs = "\nSearching for pathways between members of the seed list...\n";

std::string named(const char* prefix, int number) {
  std::string name = prefix;
  name += std::to_string(number);
  return name;
}

// Undirected interactions, one per name pair, each cited by an article of its own.
Network network(const std::vector<std::pair<std::string, std::string>>& pairs) {
  std::string sig;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    sig += testing::sigLine(pairs[i].first, pairs[i].second, "0", "Binding", std::to_string(i + 1));
  }
  return testing::loadNetwork({sig});
}

// The construction's output, checked against the literal construction's.
std::string build(const Network& net, const std::vector<std::string>& seedNames, int maxLength) {
  NodeSet seeds;
  for (const std::string& name : seedNames) {
    addInteractorToIntList(seeds, net.getInteractorFromHash(name));
  }
  std::string literal;
  reference::getNetworkFromNodes(net, seeds, maxLength, reference::Filter(net, 0, 0), literal);
  Output fast;
  getNetworkFromNodes(net, InteractionFilter(net, 0, 0), seeds, maxLength, fast);
  EXPECT_EQ(fast.captured(), literal);
  return fast.takeCaptured();
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++found;
  }
  return found;
}

// A chain S0-S1-...-S100 of seeds: no intermediates.
TEST(Subnetwork, SeedPairsAreAnnouncedAbove100SeedsOrBeyondLength3) {
  std::vector<std::pair<std::string, std::string>> chain;
  std::vector<std::string> seeds{"S0"};
  for (int i = 1; i <= 100; ++i) {
    chain.emplace_back(named("S", i - 1), named("S", i));
    seeds.push_back(named("S", i));
  }
  const Network net = network(chain);
  const std::string all = build(net, seeds, 3);
  EXPECT_EQ(count(all, " of maximum length 3...\n"), 101u * 100u / 2u);
  const std::string first = "Searching for pathways between S0 and S1 of maximum length 3...\n";
  EXPECT_EQ(all.substr(kSeedPairs.size(), first.size()), first);
  seeds.pop_back();
  EXPECT_EQ(count(build(net, seeds, 3), "of maximum length"), 0u);
  const std::string longer = "Searching for pathways between S0 and S1 of maximum length 4...\n";
  EXPECT_EQ(build(net, {"S0", "S1"}, 4).substr(kSeedPairs.size(), longer.size()), longer);
}

// Seeds A and B joined through 101 intermediates M0..M100, then through 100.
TEST(Subnetwork, LinksAreAnnouncedAbove100Intermediates) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (int i = 0; i <= 100; ++i) {
    pairs.emplace_back("A", named("M", i));
    pairs.emplace_back(named("M", i), "B");
  }
  const std::string output = build(network(pairs), {"A", "B"}, 2);
  EXPECT_EQ(count(output, " of maximum length 1...\n"), 2u * 101u + 101u * 100u / 2u);
  EXPECT_NE(output.find("and original set of nodes...\n"
                        "Searching for pathways between A and M0 of maximum length 1...\n"),
            std::string::npos);
  pairs.resize(pairs.size() - 2);
  EXPECT_EQ(count(build(network(pairs), {"A", "B"}, 2), "of maximum length"), 0u);
}

}  // namespace
}  // namespace seedweave
