// The path-length table: the HTML table, the pseudo CPL and GetDistance, and the breadth-first
// table against five literal searches per pair on random networks.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "reference_search.hpp"
#include "report/path_lengths.hpp"
#include "report_capture.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

int pick(std::mt19937& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

TEST(PathLengthTable, HtmlRowsPseudoCplAndGetDistance) {
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

  Output out;
  EXPECT_EQ(GetDistance(2, 0, four, out), 2);
  EXPECT_EQ(GetDistance(1, 3, four, out), 4);
  EXPECT_EQ(GetDistance(3, 1, four, out), 4);
  EXPECT_EQ(out.captured(), "");
  EXPECT_EQ(GetDistance(0, 0, four, out), 3);  // the last entry
  EXPECT_EQ(out.captured(), "invalid\n");
}

// Up to 14 nodes, sparse enough for paths of every length; some pairs are reported directed
// both ways, which gives them two interactions, one of which a filter may reject: the source
// of "missing interaction" lines.
Network randomNetwork(std::mt19937& random) {
  Network network;
  Output ignored;
  const int nodes = pick(random, 3, 14), density = pick(random, 8, nodes <= 7 ? 50 : 25);
  for (int i = 0; i < nodes; ++i) {
    network.updateAndRetrieveInteractor(std::to_string(i).insert(0, 1, 'N'), "NA", "NA", "NA",
                                        "NA");
  }
  int privateArticle = 100;
  auto report = [&](int a, int b, const char* direction) {
    for (int r = pick(random, 1, 2); r > 0; --r) {
      const int pmid = pick(random, 0, 1) == 1 ? ++privateArticle : pick(random, 1, 4);
      network.addInteractionToHash(a, b, direction, "Binding", pmid, 0, ignored);
    }
  };
  for (int a = 0; a < nodes; ++a) {
    for (int b = a + 1; b < nodes; ++b) {
      if (pick(random, 1, 100) > density) continue;
      const int kind = pick(random, 0, 2);
      report(a, b, kind == 0 ? "0" : "1");
      if (kind == 2) report(b, a, "2");
    }
  }
  network.runTallies(ignored);
  return network;
}

// The table as first described: searches of length 0 to 4 until one finds a pathway.
std::vector<int> literalPathLengths(const Network& network, const NodeSet& seeds, int minReferences,
                                    int maxArticleLoad, Output& out) {
  out.print("Computing Characteristic Path Length between components...\n");
  std::vector<int> entries;
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    out.print("Computing Characteristic Path Length for %s...\n", network.name(seeds[i]));
    for (std::size_t j = i + 1; j < seeds.size(); ++j) {
      int length = 0;
      while (length <= kLongestMeasuredPath &&
             reference::getPathways(network, seeds[i], seeds[j], length, minReferences,
                                    maxArticleLoad, out)
                 .empty()) {
        ++length;
      }
      entries.push_back(length);
    }
  }
  return entries;
}

TEST(PathLengthTable, MatchesFiveLiteralSearchesPerPair) {
  std::mt19937 random(2024);
  int casesWithMissingLines = 0;
  std::set<int> lengthsSeen;
  for (int c = 0; c < 400; ++c) {
    const Network network = randomNetwork(random);
    const int nodes = static_cast<int>(network.nodeCount());
    NodeSet seeds;
    const int wanted = pick(random, 1, std::min(nodes, 7));
    while (static_cast<int>(seeds.size()) < wanted) {
      addInteractorToIntList(seeds, pick(random, 0, nodes - 1));
    }
    const int minReferences = pick(random, 0, 2), maxArticleLoad = pick(random, 0, 1) * 3;
    Output fastOut, literalOut;
    const DistanceTable fast = computePathLengths(
        network, seeds, InteractionFilter(network, minReferences, maxArticleLoad), fastOut);
    const std::vector<int> literal =
        literalPathLengths(network, seeds, minReferences, maxArticleLoad, literalOut);
    ASSERT_EQ(fastOut.captured(), literalOut.captured()) << "case " << c;
    for (std::size_t i = 0; i < literal.size(); ++i) {
      ASSERT_EQ(fast.entry(i), literal[i]) << "case " << c << " pair " << i;
      lengthsSeen.insert(literal[i]);
    }
    casesWithMissingLines += literalOut.captured().find("missing interaction") != std::string::npos;
  }
  EXPECT_GT(casesWithMissingLines, 10);
  EXPECT_EQ(lengthsSeen, (std::set<int>{1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace seedweave
