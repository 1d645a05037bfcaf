// The significance section of the report: the background counts and the rows of the
// intermediates. The recorded sessions and the bundled example check z-scores as printed.
#include <gtest/gtest.h>

#include "report/significance.hpp"
#include "report_capture.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using Links = std::vector<std::vector<std::string>>;

struct Case {
  Links links;  // "a b pmid" and, when directed, a direction
  std::vector<InteractionId> subnetwork;
  NodeSet seeds;
  int maxArticleLoad;
  std::string expected;  // "background nodes/interactions", then the rows
};

// The background counts and the rows of the section for the case.
std::string summary(const Case& c) {
  std::string sig;
  for (const auto& l : c.links) {
    sig += testing::sigLine(l[0], l[1], l.size() > 3 ? l[3] : "0", "T", l[2]);
  }
  const Network network = testing::loadNetwork({sig});
  SubnetworkTable subnetwork(network);
  for (InteractionId id : c.subnetwork) subnetwork.addInteractionToIntHash(id);
  const std::string text = testing::writtenBy([&](std::FILE* f) {
    writeSignificanceSection(f, network, c.seeds, subnetwork, c.maxArticleLoad);
  });
  int nodes = 0, interactions = 0;
  std::sscanf(text.c_str() + text.find("Total components"),
              "Total components in the background network: %d\n"
              "Total interactions in the background network: %d",
              &nodes, &interactions);
  const std::string heading = "links in subnetwork, z-score\n";
  return std::to_string(nodes) + "/" + std::to_string(interactions) + "\n" +
         text.substr(text.find(heading) + heading.size());
}

TEST(Significance, BackgroundCountsAndRows) {
  // Nodes A=0, U=1, B=2, W=3, C=4, D=5. Article 7 is cited twice, so a load limit of 1
  // drops A-U and C-D and every node they touch; links still count every interaction.
  const Links busy = {{"A", "U", "7"}, {"U", "B", "2"}, {"U", "W", "3"}, {"C", "D", "7"}};
  // Two directed interactions, one each way, join U to the seed A: two seed links.
  const Links twoWays = {
      {"A", "U", "1", "1"}, {"U", "A", "2", "2"}, {"U", "W", "3"}, {"A", "Z", "4"}};
  // Nodes U=0, Q=1, A=2, V=3, B=4, W=5, R=6, C=7, D=8.
  const Links five = {
      {"U", "Q", "1"}, {"A", "V", "2"}, {"V", "B", "3"}, {"W", "R", "4"}, {"C", "D", "5"}};
  // Falling z-score, equal ones by creation.
  const std::string byZScore =
      "9/5\nV 2 5 2 4 0.70711\nU 1 5 0 4 -2.00000\nQ 1 5 0 4 -2.00000\n"
      "W 1 5 0 4 -2.00000\nR 1 5 0 4 -2.00000\n";
  const Links path = {{"A", "U", "1"}, {"U", "B", "2"}};
  for (const Case& c : std::vector<Case>{
           {busy, {1}, {0, 2}, 1, "2/2\nU 3 2 2 1 0.57735\n"},
           {busy, {1}, {0, 2}, 0, "6/4\nU 3 4 2 1 1.66667\n"},
           {twoWays, {0}, {0, 3}, 0, "4/4\nU 3 4 2 1 1.66667\n"},
           {five, {3, 2, 1, 0}, {2, 4}, 0, byZScore},
           {path, {0}, {0, 1}, 0, "3/2\nNo intermediates\n"},  // a link between two seeds
           {path, {0, 1}, {0, 2}, 0, "3/2\nU 2 2 2 2 NA\n"},   // all the background
       }) {
    EXPECT_EQ(summary(c), c.expected);
  }
}

}  // namespace
}  // namespace seedweave
