// The randomised clustering of the seeds by path length, for K = 2 to 6: a block partition
// improved by random single moves, each kept only when it tightens the clusters and pulls
// them apart at once.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "report/path_lengths.hpp"
#include "store/output.hpp"

namespace seedweave {

inline constexpr int kClusteringIterations = 15000;
inline constexpr int kFewestClusters = 2;
inline constexpr int kMostClusters = 6;
// Sums of integers up to this bound are exact in single precision, whatever the order of
// addition; larger sums are added in the order of the member arrays.
inline constexpr std::int64_t kExactFloatSums = std::int64_t{1} << 24;

// rand() % n, for n >= 1. Time complexity: O(1).
int GetRandomNumber(int n);

struct SeedCluster {
  std::vector<int> members;  // seed indices in member-array order
  // Mean path length over the pairs of members; none with fewer than two members.
  std::optional<float> averagePathLength;
};

// Partitions the seeds into `clusters` clusters (1 to kMostClusters). Starts from blocks of
// consecutive seed indices (the remainder joins the last cluster); each of
// kClusteringIterations iterations draws a source cluster, a target cluster and, when they
// differ, a member position from rand(), and moves that member when the summed within-cluster
// means fall and the summed between-cluster means rise. Sums above `exactSums` are re-added
// in member order; any value up to kExactFloatSums gives the same result, and tests lower it
// to exercise that path.
// Time complexity: O(n^2 + iterations * (n + clusters^2)) while sums stay within exactSums.
std::vector<SeedCluster> clusterSeeds(const DistanceTable& table, int clusters,
                                      std::int64_t exactSums = kExactFloatSums);

// Prints the progress line and writes the block of every K from 2 to 6, names[i] being the
// name of seed i. Time complexity: five times that of clusterSeeds.
void writeClusterings(std::FILE* report, const DistanceTable& table,
                      const std::vector<const char*>& names, Output& out);

}  // namespace seedweave
