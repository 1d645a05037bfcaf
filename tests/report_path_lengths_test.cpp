// The path-length table: the HTML table and pseudo CPL, GetDistance, and the breadth-first
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

using testing::writtenBy;

TEST(PathLengthTable, HtmlRowsAndPseudoCpl) {
  const Network network = testing::loadNetwork(
      {testing::sigLine("A", "B", "0", "T", "1") + testing::sigLine("B", "C", "0", "T", "2")});
  DistanceTable three(3);
  for (std::size_t i = 0; i < 3; ++i) three.setEntry(i, std::vector<int>{1, 2, 5}[i]);
  EXPECT_EQ(writtenBy([&](std::FILE* f) {
              writePathLengthTable(f, network, {0, 1, 2}, three);
            }),
            "<table><tr>\n<td>A</td><td>B</td><td>C</td></tr>\n"
            "<tr><td>A</td><td>1</td><td>2</td></tr>\n"
            "<tr><td>B</td><td></td><td>5</td></tr>\n"
            "<tr><td>C</td><td></td><td></td></tr>\n</table>\n");
  EXPECT_EQ(writtenBy([&](std::FILE* f) { writePseudoCpl(f, three); }),
            "\nK-means clustering analysis\nK=1 nodes:3; pseudo CPL:2.67\n");

  // One seed: a header cell, a row holding only the name, and no mean.
  Output out;
  const DistanceTable one = computePathLengths(network, {1}, InteractionFilter(network, 0, 0), out);
  EXPECT_EQ(out.captured(),
            "Computing Characteristic Path Length between components...\n"
            "Computing Characteristic Path Length for B...\n");
  EXPECT_EQ(writtenBy([&](std::FILE* f) { writePathLengthTable(f, network, {1}, one); }),
            "<table><tr>\n<td>B</td></tr>\n<tr><td>B</td></tr>\n</table>\n");
  EXPECT_EQ(writtenBy([&](std::FILE* f) { writePseudoCpl(f, one); }),
            "\nK-means clustering analysis\nK=1 nodes:1; pseudo CPL:NA\n");
}

TEST(PathLengthTable, GetDistanceInEitherOrder) {
  DistanceTable table(5);
  for (std::size_t i = 0; i < table.size(); ++i) table.setEntry(i, static_cast<int>(i % 5) + 1);
  Output out;
  for (int a = 0; a < 5; ++a) {
    for (int b = a + 1; b < 5; ++b) {
      EXPECT_EQ(GetDistance(a, b, table, out), table.entry(table.pairPosition(a, b)));
      EXPECT_EQ(GetDistance(b, a, table, out), table.entry(table.pairPosition(a, b)));
    }
  }
  EXPECT_EQ(table.pairPosition(1, 2), 4u);
  EXPECT_EQ(out.captured(), "");
  EXPECT_EQ(GetDistance(2, 2, table, out), table.entry(9));
  EXPECT_EQ(out.captured(), "invalid\n");
}

// Up to 14 nodes, sparse enough for paths of every length; some pairs are reported directed
// both ways, which gives them two interactions, one of which a filter may reject: the source
// of "missing interaction" lines.
Network randomNetwork(std::mt19937& random) {
  auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  Network network;
  Output ignored;
  const int nodes = pick(3, 14);
  for (int i = 0; i < nodes; ++i) {
    network.updateAndRetrieveInteractor(std::to_string(i).insert(0, 1, 'N'), "NA", "NA", "NA",
                                        "NA");
  }
  const int density = pick(8, nodes <= 7 ? 50 : 25);
  int privateArticle = 100;
  auto report = [&](int a, int b, const char* direction) {
    for (int r = pick(1, 2); r > 0; --r) {
      const int pmid = pick(0, 1) == 1 ? ++privateArticle : pick(1, 4);
      network.addInteractionToHash(a, b, direction, "Binding", pmid, 0, ignored);
    }
  };
  for (int a = 0; a < nodes; ++a) {
    for (int b = a + 1; b < nodes; ++b) {
      if (pick(1, 100) > density) continue;
      const int kind = pick(0, 2);
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
    const int wanted = std::uniform_int_distribution<int>(1, std::min(nodes, 7))(random);
    while (static_cast<int>(seeds.size()) < wanted) {
      addInteractorToIntList(seeds, std::uniform_int_distribution<int>(0, nodes - 1)(random));
    }
    const int minReferences = std::uniform_int_distribution<int>(0, 2)(random);
    const int maxArticleLoad = std::uniform_int_distribution<int>(0, 1)(random) * 3;

    Output fastOut;
    const DistanceTable fast = computePathLengths(
        network, seeds, InteractionFilter(network, minReferences, maxArticleLoad), fastOut);
    Output literalOut;
    const std::vector<int> literal =
        literalPathLengths(network, seeds, minReferences, maxArticleLoad, literalOut);
    ASSERT_EQ(fastOut.captured(), literalOut.captured()) << "case " << c;
    for (std::size_t i = 0; i < literal.size(); ++i) {
      ASSERT_EQ(fast.entry(i), literal[i]) << "case " << c << " pair " << i;
      lengthsSeen.insert(literal[i]);
    }
    if (literalOut.captured().find("missing interaction") != std::string::npos) {
      ++casesWithMissingLines;
    }
  }
  EXPECT_GT(casesWithMissingLines, 10);
  EXPECT_EQ(lengthsSeen, (std::set<int>{1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace seedweave
