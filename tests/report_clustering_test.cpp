// The clustering of the seeds against the literal one on random path-length tables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "reference_clustering.hpp"
#include "report/clustering.hpp"
#include "report_capture.hpp"

namespace seedweave {
namespace {

DistanceTable tableOf(int n, const std::vector<int>& entries) {
  DistanceTable table(n);
  for (std::size_t i = 0; i < entries.size(); ++i) table.setEntry(i, entries[i]);
  return table;
}

// The same srand seed before each: the written blocks and the number of draws must agree.
// With the exact range lowered, sums are re-added in member order: the clusters must agree too.
TEST(Clustering, MatchesTheLiteralClusteringOnRandomTables) {
  struct Shape {
    int seeds, lowest, highest;
  };
  const std::vector<Shape> shapes = {{1, 1, 5},  {2, 1, 5},  {5, 1, 5},  {8, 1, 5},  {9, 1, 5},
                                     {12, 1, 2}, {13, 1, 5}, {15, 1, 5}, {16, 4, 5}, {19, 1, 5},
                                     {24, 2, 3}, {30, 1, 5}, {12, 3, 3}};
  int moved = 0;
  for (unsigned c = 0; c < shapes.size(); ++c) {
    const auto [n, lowest, highest] = shapes[c];
    std::mt19937 random(c);
    std::vector<int> entries(static_cast<std::size_t>(n * (n - 1) / 2));
    for (int& entry : entries) entry = std::uniform_int_distribution<int>(lowest, highest)(random);
    const DistanceTable table = tableOf(n, entries);
    std::vector<std::string> names;
    std::vector<const char*> pointers;
    for (int i = 0; i < n; ++i) names.push_back(std::to_string(i).insert(0, 1, 'S'));
    for (const std::string& name : names) pointers.push_back(name.c_str());

    std::srand(1000 + c);
    Output out;
    const std::string fast =
        testing::writtenBy([&](std::FILE* f) { writeClusterings(f, table, pointers, out); });
    const int nextAfterFast = std::rand();
    std::srand(1000 + c);
    EXPECT_EQ(fast, testing::referenceClusteringReport(entries, n, names)) << "case " << c;
    EXPECT_EQ(nextAfterFast, std::rand()) << "case " << c;

    for (int k = kFewestClusters; k <= kMostClusters; ++k) {
      std::srand(c);
      const std::vector<SeedCluster> memberOrder = clusterSeeds(table, k, 10);
      std::srand(c);
      const std::vector<SeedCluster> literal = testing::referenceClusterSeeds(entries, n, k);
      for (std::size_t i = 0; i < literal.size(); ++i) {
        EXPECT_EQ(memberOrder[i].members, literal[i].members) << "case " << c << " K=" << k;
        EXPECT_EQ(memberOrder[i].averagePathLength, literal[i].averagePathLength);
      }
      // Moves change cluster sizes; make sure some happen.
      if (k == 2 && literal[0].members.size() != static_cast<std::size_t>(n / 2)) ++moved;
    }
  }
  EXPECT_GT(moved, 0);
  // Below the exact range every integer sum is a float.
  EXPECT_EQ(static_cast<std::int64_t>(static_cast<float>(kExactFloatSums - 1)),
            kExactFloatSums - 1);
}

}  // namespace
}  // namespace seedweave
