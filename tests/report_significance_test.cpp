// The significance section of the report: the z-score, the header counts and the rows, and
// one whole report end to end.
#include <gtest/gtest.h>

#include <cmath>

#include "report/significance.hpp"
#include "report/stats.hpp"
#include "report_capture.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::sigLine;
using testing::writtenBy;

std::string zText(int n, int N, int x, int X) {
  char text[64];
  std::snprintf(text, sizeof text, "%.5f",
                static_cast<double>(ComputeOneSampleBinomialPropotion(n, N, x, X)));
  return text;
}

// Links of the pairs a-b: each entry "a b pmid", undirected unless a direction is given.
Network networkOf(const std::vector<std::vector<std::string>>& links) {
  std::string sig;
  for (const auto& l : links) sig += sigLine(l[0], l[1], l.size() > 3 ? l[3] : "0", "T", l[2]);
  return testing::loadNetwork({sig});
}

SubnetworkTable subnetworkOf(const Network& network, std::initializer_list<InteractionId> ids) {
  SubnetworkTable table(network);
  for (InteractionId id : ids) table.addInteractionToIntHash(id);
  return table;
}

// The section for seeds {A, B} (or those given), from the column heading on unless whole.
std::string rows(const Network& network, const SubnetworkTable& subnetwork, int maxLoad = 0,
                 const NodeSet& seeds = {0, 2}, bool whole = false) {
  const std::string text = writtenBy(
      [&](std::FILE* f) { writeSignificanceSection(f, network, seeds, subnetwork, maxLoad); });
  const std::string heading = "links in subnetwork, z-score\n";
  return whole ? text : text.substr(text.find(heading) + heading.size());
}

TEST(ZScore, WorkedExamplesAndNoVariance) {
  EXPECT_EQ(zText(10, 100, 4, 10), "3.16228");
  EXPECT_EQ(zText(3, 1000, 0, 30), "-0.30460");
  // Single precision shows in the last digit: in double precision this one reads -1.28930.
  EXPECT_EQ(zText(1, 12345, 0, 7708), "-1.28929");
  // Every background interaction in the subnetwork: no variance, no finite z-score.
  EXPECT_FALSE(std::isfinite(ComputeOneSampleBinomialPropotion(5, 7, 2, 7)));
  EXPECT_FALSE(std::isfinite(ComputeOneSampleBinomialPropotion(5, 7, 5, 7)));
}

TEST(Significance, WholeReportForTwoSeeds) {
  // Nodes A=0, U=1, B=2, W=3, C=4, D=5; the subnetwork is A-U-B.
  const Network network =
      networkOf({{"A", "U", "1"}, {"U", "B", "2"}, {"U", "W", "3"}, {"C", "D", "4"}});
  Output out;
  const std::string text = writtenBy([&](std::FILE* f) {
    computeStats(f, network, {0, 2}, subnetworkOf(network, {0, 1}),
                 InteractionFilter(network, 0, 0), out);
  });
  std::string expected =
      "Clustering and significant intermediates analysis:\n"
      "Number of genes from your seed list: 2\n"
      "Number of intermediate components: 1\n"
      "Number of interactions in subnetwork created from seed list: 2\n"
      "Total components in the background network: 6\n"
      "Total interactions in the background network: 4\n"
      "\nSignificance of intermediates sorted by z-score:\n"
      "Gene name, links, links in background, links to seed, links in subnetwork, z-score\n"
      "U 3 4 2 2 0.57735\n"
      "<table><tr>\n<td>A</td><td>B</td></tr>\n"
      "<tr><td>A</td><td>2</td></tr>\n<tr><td>B</td><td></td></tr>\n</table>\n"
      "\nK-means clustering analysis\nK=1 nodes:2; pseudo CPL:2.00\n"
      "K=2\ncluster 1 CPL=NA nodes=1\nA \ncluster 2 CPL=NA nodes=1\nB \n\n";
  std::string progress =
      "Computing Characteristic Path Length between components...\n"
      "Computing Characteristic Path Length for A...\n"
      "Computing Characteristic Path Length for B...\n";
  for (int k = 2; k <= 6; ++k) {
    const std::string K = std::to_string(k);
    progress += "Performing K-means clustering with K=" + K + "...\n";
    if (k == 2) continue;
    expected += "K=" + K + "\n";
    for (int c = 1; c < k; ++c) expected += "cluster " + std::to_string(c) + " CPL=NA nodes=0\n\n";
    expected += "cluster " + K + " CPL=2.00 nodes=2\nA B \n\n";
  }
  EXPECT_EQ(text, expected);
  EXPECT_EQ(out.captured(), progress);
}

TEST(Significance, LoadLimitShrinksTheBackground) {
  // Article 7 is cited twice, so a limit of 1 drops A-U and C-D and every node they touch.
  const Network network =
      networkOf({{"A", "U", "7"}, {"U", "B", "2"}, {"U", "W", "3"}, {"C", "D", "7"}});
  const SubnetworkTable subnetwork = subnetworkOf(network, {1});
  const std::string limited = rows(network, subnetwork, 1, {0, 2}, true);
  EXPECT_NE(limited.find("Total components in the background network: 2\n"
                         "Total interactions in the background network: 2\n"),
            std::string::npos);
  // Links count every interaction of the node, the load limit notwithstanding.
  EXPECT_EQ(rows(network, subnetwork, 1), "U 3 2 2 1 0.57735\n");
  EXPECT_NE(rows(network, subnetwork, 0, {0, 2}, true)
                .find("background network: 6\nTotal interactions in the background network: 4\n"),
            std::string::npos);
}

TEST(Significance, SeedLinksCountInteractionsNotSeeds) {
  // Two directed interactions, one each way, join U to the seed A (nodes A=0, U=1, W=2, Z=3).
  const Network network =
      networkOf({{"A", "U", "1", "1"}, {"U", "A", "2", "2"}, {"U", "W", "3"}, {"A", "Z", "4"}});
  ASSERT_EQ(network.interactionCount(), 4u);
  EXPECT_EQ(rows(network, subnetworkOf(network, {0}), 0, {0, 3}), "U 3 4 2 1 1.66667\n");
}

TEST(Significance, RowsByFallingZScoreThenByCreation) {
  // Nodes U=0, Q=1, A=2, V=3, B=4, W=5, R=6, C=7, D=8.
  const Network network = networkOf(
      {{"U", "Q", "1"}, {"A", "V", "2"}, {"V", "B", "3"}, {"W", "R", "4"}, {"C", "D", "5"}});
  EXPECT_EQ(rows(network, subnetworkOf(network, {3, 2, 1, 0}), 0, {2, 4}),
            "V 2 5 2 4 0.70711\n"
            "U 1 5 0 4 -2.00000\n"
            "Q 1 5 0 4 -2.00000\n"
            "W 1 5 0 4 -2.00000\n"
            "R 1 5 0 4 -2.00000\n");
}

TEST(Significance, NoIntermediatesAndNoVariance) {
  const Network network = networkOf({{"A", "U", "1"}, {"U", "B", "2"}});
  EXPECT_EQ(rows(network, subnetworkOf(network, {})), "No intermediates\n");
  // An interaction between two seeds brings no intermediate.
  EXPECT_EQ(rows(network, subnetworkOf(network, {0}), 0, {0, 1}), "No intermediates\n");
  // The whole background lies in the subnetwork.
  EXPECT_EQ(rows(network, subnetworkOf(network, {0, 1})), "U 2 2 2 2 NA\n");
}

}  // namespace
}  // namespace seedweave
