// The path-length table's breadth-first search against five literal searches per pair on
// random networks. The bundled example's report checks the HTML table and the pseudo CPL.
#include <gtest/gtest.h>

#include <set>

#include "reference_search.hpp"
#include "report/path_lengths.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

// The table as first described: searches of length 0 to 4 until one finds a pathway.
std::vector<int> literalPathLengths(const Network& network, const NodeSet& seeds,
                                    const reference::Filter& filter, std::string& out) {
  out += "Computing Characteristic Path Length between components...\n";
  std::vector<int> entries;
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    out +=
        "Computing Characteristic Path Length for " + std::string(network.name(seeds[i])) + "...\n";
    for (std::size_t j = i + 1; j < seeds.size(); ++j) {
      int length = 0;
      while (length <= 4 &&
             reference::getPathways(network, seeds[i], seeds[j], length, filter, out).empty()) {
        ++length;
      }
      entries.push_back(length);
    }
  }
  return entries;
}

TEST(PathLengthTable, MatchesFiveLiteralSearchesPerPair) {
  testing::RandomNetworks random(2024);
  int casesWithMissingLines = 0;
  std::set<int> lengthsSeen;
  for (int c = 0; c < 400; ++c) {
    const Network network = random.next();
    const NodeSet seeds = random.seeds(network, 7);
    const auto [minReferences, maxArticleLoad] = random.filter();
    Output fastOut;
    const DistanceTable fast = computePathLengths(
        network, seeds, InteractionFilter(network, minReferences, maxArticleLoad), fastOut);
    std::string literalOut;
    const std::vector<int> literal = literalPathLengths(
        network, seeds, reference::Filter(network, minReferences, maxArticleLoad), literalOut);
    ASSERT_EQ(fastOut.captured(), literalOut) << "case " << c;
    for (std::size_t i = 0; i < literal.size(); ++i) {
      ASSERT_EQ(fast.entry(i), literal[i]) << "case " << c << " pair " << i;
      lengthsSeen.insert(literal[i]);
    }
    casesWithMissingLines += literalOut.find("missing interaction") != std::string::npos;
  }
  EXPECT_GT(casesWithMissingLines, 10);
  EXPECT_EQ(lengthsSeen, (std::set<int>{1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace seedweave
