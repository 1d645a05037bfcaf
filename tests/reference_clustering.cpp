#include "reference_clustering.hpp"

#include <cstdio>
#include <cstdlib>

namespace seedweave::testing {

namespace {

constexpr int kSlots = 10;
constexpr int kPairSlots = 15;
constexpr int kIterations = 15000;

struct Partition {
  std::vector<std::vector<int>> members;  // kSlots arrays with room for every seed
  int counts[kSlots] = {};
};

int distance(int a, int b, const std::vector<int>& table, int n) {
  if (a > b) std::swap(a, b);
  return table[static_cast<std::size_t>(a * n - a * (a + 1) / 2 + (b - a - 1))];
}

void averages(const Partition& p, int k, const std::vector<int>& table, int n, float* within,
              float* between) {
  for (int c = 0; c < k; ++c) {
    float sum = 0.0f;
    int pairs = 0;
    for (int j = 0; j < p.counts[c]; ++j) {
      for (int q = j + 1; q < p.counts[c]; ++q) {
        sum += static_cast<float>(distance(p.members[c][j], p.members[c][q], table, n));
        ++pairs;
      }
    }
    within[c] = sum / static_cast<float>(pairs);
  }
  int position = 0;
  for (int c = 0; c < k; ++c) {
    for (int l = c + 1; l < k; ++l) {
      float sum = 0.0f;
      int pairs = 0;
      for (int x = 0; x < p.counts[c]; ++x) {
        for (int y = 0; y < p.counts[l]; ++y) {
          sum += static_cast<float>(distance(p.members[c][x], p.members[l][y], table, n));
          ++pairs;
        }
      }
      between[position++] = sum / static_cast<float>(pairs);
    }
  }
}

Partition blocks(int n, int k) {
  Partition p;
  p.members.assign(kSlots, std::vector<int>(static_cast<std::size_t>(n) + 1, 0));
  const int block = n / k;
  int seed = 0;
  for (int c = 0; c < k; ++c) {
    for (int i = 0; i < block; ++i) p.members[c][p.counts[c]++] = seed++;
  }
  while (seed < n) p.members[k - 1][p.counts[k - 1]++] = seed++;
  return p;
}

}  // namespace

std::vector<SeedCluster> referenceClusterSeeds(const std::vector<int>& distances, int n,
                                               int clusters) {
  const int k = clusters;
  Partition current = blocks(n, k);
  Partition proposal = current;
  float within[kSlots], between[kPairSlots], proposedWithin[kSlots], proposedBetween[kPairSlots];
  for (int iteration = 0; iteration < kIterations; ++iteration) {
    averages(current, k, distances, n, within, between);
    proposal = current;
    const int a = std::rand() % k;
    const int b = std::rand() % k;
    if (a == b) continue;
    const int m = proposal.counts[a] > 0 ? std::rand() % proposal.counts[a] : (std::rand(), 0);
    if (proposal.counts[a] <= 1) continue;
    proposal.members[b][proposal.counts[b]++] = proposal.members[a][m];
    for (int i = m; i + 1 < proposal.counts[a]; ++i) {
      proposal.members[a][i] = proposal.members[a][i + 1];
    }
    --proposal.counts[a];
    averages(proposal, k, distances, n, proposedWithin, proposedBetween);
    float deltaWithin = 0.0f;
    for (int c = 0; c < k; ++c) deltaWithin += within[c] - proposedWithin[c];
    float deltaBetween = 0.0f;
    for (int pair = 0; pair < k * (k - 1) / 2; ++pair) {
      deltaBetween += between[pair] - proposedBetween[pair];
    }
    if (deltaWithin > 0 && deltaBetween < 0) current = proposal;
  }
  averages(current, k, distances, n, within, between);
  std::vector<SeedCluster> result;
  for (int c = 0; c < k; ++c) {
    SeedCluster cluster;
    cluster.members.assign(current.members[c].begin(),
                           current.members[c].begin() + current.counts[c]);
    if (current.counts[c] >= 2) cluster.averagePathLength = within[c];
    result.push_back(cluster);
  }
  return result;
}

std::string referenceClusteringReport(const std::vector<int>& distances, int n,
                                      const std::vector<std::string>& names) {
  std::string text;
  char line[256];
  for (int k = kFewestClusters; k <= kMostClusters; ++k) {
    std::snprintf(line, sizeof line, "K=%d\n", k);
    text += line;
    const std::vector<SeedCluster> clusters = referenceClusterSeeds(distances, n, k);
    for (int c = 0; c < k; ++c) {
      const SeedCluster& cluster = clusters[static_cast<std::size_t>(c)];
      const int size = static_cast<int>(cluster.members.size());
      if (cluster.averagePathLength) {
        std::snprintf(line, sizeof line, "cluster %d CPL=%.2f nodes=%d\n", c + 1,
                      static_cast<double>(*cluster.averagePathLength), size);
      } else {
        std::snprintf(line, sizeof line, "cluster %d CPL=NA nodes=%d\n", c + 1, size);
      }
      text += line;
      for (int seed : cluster.members) text += names[static_cast<std::size_t>(seed)] + " ";
      text += "\n";
    }
    text += "\n";
  }
  return text;
}

}  // namespace seedweave::testing
