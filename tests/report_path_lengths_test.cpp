// The path-length table: the HTML table and the pseudo CPL, and the breadth-first table
// against five literal searches per pair on random networks.
#include <gtest/gtest.h>

#include <set>

#include "reference_search.hpp"
#include "report/path_lengths.hpp"
#include "report_capture.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

TEST(PathLengthTable, HtmlRowsAndPseudoCpl) {
  const Network network = testing::loadNetwork(
      {testing::sigLine("A", "B", "0", "T", "1") + testing::sigLine("C", "D", "0", "T", "2")});
  DistanceTable four(4);  // (0,1) 1, (0,2) 2, (0,3) 5, (1,2) 1, (1,3) 4, (2,3) 3
  for (std::size_t i = 0; i < 6; ++i) four.setEntry(i, std::vector<int>{1, 2, 5, 1, 4, 3}[i]);
  const auto written = [&](const NodeSet& seeds, const DistanceTable& table) {
    return testing::writtenBy([&](std::FILE* f) {
      writePathLengthTable(f, network, seeds, table);
      writePseudoCpl(f, table);
    });
  };
  EXPECT_EQ(written({0, 1, 2, 3}, four),
            "<table><tr>\n<td>A</td><td>B</td><td>C</td><td>D</td></tr>\n"
            "<tr><td>A</td><td>1</td><td>2</td><td>5</td></tr>\n"
            "<tr><td>B</td><td></td><td>1</td><td>4</td></tr>\n"
            "<tr><td>C</td><td></td><td></td><td>3</td></tr>\n"
            "<tr><td>D</td><td></td><td></td><td></td></tr>\n</table>\n"
            "\nK-means clustering analysis\nK=1 nodes:4; pseudo CPL:2.67\n");
  // One seed: a header cell, a row holding only the name, and no mean.
  EXPECT_EQ(written({1}, DistanceTable(1)),
            "<table><tr>\n<td>B</td></tr>\n<tr><td>B</td></tr>\n</table>\n"
            "\nK-means clustering analysis\nK=1 nodes:1; pseudo CPL:NA\n");
}

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
