// The subnetwork construction's announcing of every pair searched, which only networks with
// more than 100 seeds or intermediates, or lengths beyond 3, turn on. Each case runs the fast
// and the literal construction and requires the same output.
#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "reference_search.hpp"
#include "search/subnetwork.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

// How many pairs the construction announced, after checking its output against the literal
// construction's. Each interaction is cited by an article of its own.
std::size_t announced(const std::vector<std::pair<std::string, std::string>>& pairs,
                      const std::vector<std::string>& seedNames, int maxLength) {
  std::string sig;
  for (std::size_t i = 0; i < pairs.size(); ++i)
    sig += testing::sigLine(pairs[i].first, pairs[i].second, "0", "T", std::to_string(i + 1));
  const Network net = testing::loadNetwork({sig});
  NodeSet seeds;
  for (const std::string& name : seedNames)
    addInteractorToIntList(seeds, net.getInteractorFromHash(name));
  std::string literal;
  reference::getNetworkFromNodes(net, seeds, maxLength, reference::Filter(net, 0, 0), literal);
  Output fast;
  getNetworkFromNodes(net, InteractionFilter(net, 0, 0), seeds, maxLength, fast);
  EXPECT_EQ(fast.captured(), literal);
  const std::regex announcement(" of maximum length ");
  return std::distance(std::sregex_iterator(literal.begin(), literal.end(), announcement), {});
}

// A chain of 100 or 101 seeds (no intermediates), and seeds A and B joined through 100 or
// 101 intermediates.
TEST(Subnetwork, PairsAreAnnouncedAbove100SeedsOrIntermediatesOrBeyondLength3) {
  const auto named = [](char prefix, std::size_t i) { return prefix + std::to_string(i); };
  for (const std::size_t n : {100u, 101u}) {
    std::vector<std::pair<std::string, std::string>> chain, fan;
    std::vector<std::string> seeds{"S0"};
    for (std::size_t i = 1; i < n; ++i) {
      chain.emplace_back(named('S', i - 1), named('S', i));
      seeds.push_back(named('S', i));
    }
    for (std::size_t i = 0; i < n; ++i) {
      fan.emplace_back("A", named('M', i));
      fan.emplace_back(named('M', i), "B");
    }
    const bool above = n > 100;
    EXPECT_EQ(announced(chain, seeds, 3), above ? n * (n - 1) / 2 : 0);
    EXPECT_EQ(announced(fan, {"A", "B"}, 2), above ? 2 * n + n * (n - 1) / 2 : 0);
    // An intermediate between the first two seeds: beyond 100 seeds the second phase announces
    // its pairs of a seed and the intermediate too; with 100 seeds no phase announces.
    chain.insert(chain.end(), {{"S0", "X"}, {"X", "S1"}});
    EXPECT_EQ(announced(chain, seeds, 3), above ? n * (n - 1) / 2 + n : 0);
  }
  EXPECT_EQ(announced({{"S0", "S1"}}, {"S0", "S1"}, 4), 1u);
}

// A length outside 0..6 is a caller's error, not an empty subnetwork.
TEST(Subnetwork, LengthsBeyondTheRangeAreRefused) {
  const Network net = testing::loadNetwork({testing::sigLine("S0", "S1", "0", "T", "1")});
  Output out;
  const auto search = [&](int length) {
    getNetworkFromNodes(net, InteractionFilter(net, 0, 0), NodeSet{}, length, out);
  };
  EXPECT_THROW(search(-1), std::out_of_range);
  EXPECT_THROW(search(7), std::out_of_range);
  EXPECT_NO_THROW(search(0));
}

}  // namespace
}  // namespace seedweave
