#include "report/clustering.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <utility>

#include "report/messages.hpp"

namespace seedweave {

int GetRandomNumber(int n) { return std::rand() % n; }

namespace {

constexpr auto kMostClusterPairs = static_cast<std::size_t>(pairCount(kMostClusters));

using Members = std::vector<int>;

// Sums of path lengths within every cluster, and between every two clusters k < l at the
// position of the pair in the order (0,1), (0,2), ..., (1,2), ...
struct Sums {
  std::array<std::int64_t, kMostClusters> within{};
  std::array<std::int64_t, kMostClusterPairs> between{};
};

// The means belonging to Sums. A mean over no pair is NaN, so that any difference involving
// it fails both comparisons of the move test, as a missing mean must.
struct Means {
  std::array<float, kMostClusters> within{};
  std::array<float, kMostClusterPairs> between{};
};

float meanOf(float sum, std::int64_t pairs) {
  if (pairs == 0) return std::numeric_limits<float>::quiet_NaN();
  return sum / static_cast<float>(pairs);
}

class Clustering {
 public:
  Clustering(const DistanceTable& table, int clusters, std::int64_t exactSums)
      : table_(table),
        clusters_(clusters),
        exactSums_(exactSums),
        members_(static_cast<std::size_t>(clusters)),
        clusterOf_(static_cast<std::size_t>(table.seedCount())) {
    dealBlocks();
    sumFromScratch();
    for (int k = 0; k < clusters_; ++k) {
      means_.within[k] = withinMean(sums_.within[k], members_[k]);
      for (int l = k + 1; l < clusters_; ++l) {
        const int pair = pairPosition(k, l);
        means_.between[pair] = betweenMean(sums_.between[pair], members_[k], members_[l]);
      }
    }
  }

  // One iteration: the draws, and the move when it improves the partition.
  void iterate() {
    const int from = GetRandomNumber(clusters_);
    const int to = GetRandomNumber(clusters_);
    if (from == to) return;
    const Members& source = members_[static_cast<std::size_t>(from)];
    if (source.empty()) {
      static_cast<void>(std::rand());  // the member draw happens even from an empty cluster
      return;
    }
    // A move that leaves a cluster with fewer than two members, or made while one has fewer,
    // meets a NaN mean and is rejected.
    tryMove(from, to, GetRandomNumber(static_cast<int>(source.size())));
  }

  std::vector<SeedCluster> result() const {
    std::vector<SeedCluster> clusters;
    for (int k = 0; k < clusters_; ++k) {
      const Members& members = members_[static_cast<std::size_t>(k)];
      clusters.push_back(
          {members, members.size() >= 2 ? std::optional<float>(means_.within[k]) : std::nullopt});
    }
    return clusters;
  }

 private:
  int pairPosition(int k, int l) const {
    const auto [low, high] = std::minmax(k, l);
    return low * clusters_ - low * (low + 1) / 2 + (high - low - 1);
  }

  // Blocks of n / K consecutive seed indices; the remainder joins the last cluster.
  void dealBlocks() {
    const int seedCount = table_.seedCount();
    const int block = seedCount / clusters_;
    for (int seed = 0; seed < seedCount; ++seed) {
      const int k = block == 0 ? clusters_ - 1 : std::min(seed / block, clusters_ - 1);
      members_[static_cast<std::size_t>(k)].push_back(seed);
      clusterOf_[static_cast<std::size_t>(seed)] = k;
    }
  }

  void sumFromScratch() {
    const int seedCount = table_.seedCount();
    for (int i = 0; i < seedCount; ++i) {
      const int k = clusterOf_[static_cast<std::size_t>(i)];
      for (int j = i + 1; j < seedCount; ++j) {
        const int l = clusterOf_[static_cast<std::size_t>(j)];
        const int length = table_.between(i, j);
        if (k == l) {
          sums_.within[k] += length;
        } else {
          sums_.between[pairPosition(k, l)] += length;
        }
      }
    }
  }

  // An integer sum within the exact range is the single-precision sum in any order; beyond
  // it the path lengths are added in member-array order, as the rounding then depends on it.
  template <typename AddInOrder>
  float mean(std::int64_t sum, std::int64_t pairs, AddInOrder addInOrder) const {
    return meanOf(sum <= exactSums_ ? static_cast<float>(sum) : addInOrder(), pairs);
  }

  float withinMean(std::int64_t sum, const Members& members) const {
    return mean(sum, pairCount(static_cast<std::int64_t>(members.size())), [&] {
      float inOrder = 0.0f;
      for (std::size_t j = 0; j < members.size(); ++j) {
        const int a = members[j];
        for (std::size_t q = j + 1; q < members.size(); ++q) {
          inOrder += static_cast<float>(table_.between(a, members[q]));
        }
      }
      return inOrder;
    });
  }

  float betweenMean(std::int64_t sum, const Members& outer, const Members& inner) const {
    return mean(sum, static_cast<std::int64_t>(outer.size() * inner.size()), [&] {
      float inOrder = 0.0f;
      for (int a : outer) {
        for (int b : inner) inOrder += static_cast<float>(table_.between(a, b));
      }
      return inOrder;
    });
  }

  // The sums after moving the seed: its path lengths to each cluster leave one sum and join
  // another. Time complexity: O(n + K).
  Sums sumsAfterMove(int seed, int from, int to) const {
    std::array<std::int64_t, kMostClusters> links{};
    for (int other = 0; other < table_.seedCount(); ++other) {
      if (other != seed) {
        links[clusterOf_[static_cast<std::size_t>(other)]] += table_.between(seed, other);
      }
    }
    Sums sums = sums_;
    sums.within[from] -= links[from];
    sums.within[to] += links[to];
    sums.between[pairPosition(from, to)] += links[from] - links[to];
    for (int l = 0; l < clusters_; ++l) {
      if (l == from || l == to) continue;
      sums.between[pairPosition(from, l)] -= links[l];
      sums.between[pairPosition(to, l)] += links[l];
    }
    return sums;
  }

  // The means of the proposal; only those of the two clusters involved change.
  Means proposedMeans(const Sums& sums, int from, int to) const {
    auto members = [&](int k) -> const Members& {
      if (k == from) return proposedFrom_;
      if (k == to) return proposedTo_;
      return members_[static_cast<std::size_t>(k)];
    };
    Means means = means_;
    means.within[from] = withinMean(sums.within[from], proposedFrom_);
    means.within[to] = withinMean(sums.within[to], proposedTo_);
    for (int k = 0; k < clusters_; ++k) {
      const Members& outer = members(k);
      for (int l = k + 1; l < clusters_; ++l) {
        if (k != from && k != to && l != from && l != to) continue;
        const int pair = pairPosition(k, l);
        means.between[pair] = betweenMean(sums.between[pair], outer, members(l));
      }
    }
    return means;
  }

  // The changes are added up term by term in index order, in single precision.
  bool improves(const Means& proposed) const {
    float withinChange = 0.0f;
    for (int k = 0; k < clusters_; ++k) withinChange += means_.within[k] - proposed.within[k];
    float betweenChange = 0.0f;
    for (int pair = 0; pair < pairCount(clusters_); ++pair) {
      betweenChange += means_.between[pair] - proposed.between[pair];
    }
    return withinChange > 0.0f && betweenChange < 0.0f;
  }

  void tryMove(int from, int to, int position) {
    Members& source = members_[static_cast<std::size_t>(from)];
    Members& target = members_[static_cast<std::size_t>(to)];
    const int seed = source[static_cast<std::size_t>(position)];
    proposedFrom_ = source;
    proposedFrom_.erase(proposedFrom_.begin() + position);
    proposedTo_ = target;
    proposedTo_.push_back(seed);
    const Sums sums = sumsAfterMove(seed, from, to);
    const Means means = proposedMeans(sums, from, to);
    if (!improves(means)) return;
    source.swap(proposedFrom_);
    target.swap(proposedTo_);
    clusterOf_[static_cast<std::size_t>(seed)] = to;
    sums_ = sums;
    means_ = means;
  }

  const DistanceTable& table_;
  const int clusters_;
  const std::int64_t exactSums_;
  std::vector<Members> members_;
  std::vector<int> clusterOf_;
  Sums sums_;
  Means means_;
  Members proposedFrom_;
  Members proposedTo_;
};

void writeClusters(std::FILE* report, int k, const std::vector<SeedCluster>& clusters,
                   const std::vector<const char*>& names) {
  std::fprintf(report, messages::kClusteringK, k);
  for (std::size_t c = 0; c < clusters.size(); ++c) {
    const SeedCluster& cluster = clusters[c];
    const int number = static_cast<int>(c) + 1;
    const int size = static_cast<int>(cluster.members.size());
    if (cluster.averagePathLength) {
      std::fprintf(report, messages::kClusterCpl, number,
                   static_cast<double>(*cluster.averagePathLength), size);
    } else {
      std::fprintf(report, messages::kClusterCplNone, number, size);
    }
    for (int seed : cluster.members) {
      std::fprintf(report, messages::kClusterMember, names[static_cast<std::size_t>(seed)]);
    }
    std::fputs(messages::kLineEnd, report);
  }
  std::fputs(messages::kLineEnd, report);
}

}  // namespace

std::vector<SeedCluster> clusterSeeds(const DistanceTable& table, int clusters,
                                      std::int64_t exactSums) {
  Clustering clustering(table, clusters, exactSums);
  for (int iteration = 0; iteration < kClusteringIterations; ++iteration) clustering.iterate();
  return clustering.result();
}

void writeClusterings(std::FILE* report, const DistanceTable& table,
                      const std::vector<const char*>& names, Output& out) {
  for (int k = kFewestClusters; k <= kMostClusters; ++k) {
    out.print(messages::kClustering, k);
    writeClusters(report, k, clusterSeeds(table, k), names);
  }
}

}  // namespace seedweave
