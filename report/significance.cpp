#include "report/significance.hpp"

#include <algorithm>
#include <cmath>

#include "report/messages.hpp"
#include "search/filter.hpp"

namespace seedweave {

float ComputeOneSampleBinomialPropotion(int n, int N, int x, int X) {
  const auto p = static_cast<float>(static_cast<double>(static_cast<float>(x)) / n);
  const float p0 = static_cast<float>(X) / static_cast<float>(N);
  const float q0 = 1.0f - p0;
  const float numerator = p - p0;
  const float variance = (p0 * q0) / static_cast<float>(n);
  return static_cast<float>(static_cast<double>(numerator) /
                            std::sqrt(static_cast<double>(variance)));
}

namespace {

struct BackgroundCounts {
  int nodes = 0;
  int interactions = 0;
};

// A node passes the load test exactly when all its interactions do: its largest load is the
// largest over them. So one verdict per interaction serves both counts.
BackgroundCounts countBackground(const Network& network, int maxArticleLoad) {
  std::vector<bool> withinLoad(network.interactionTotal());
  BackgroundCounts counts;
  for (std::size_t id = 0; id < withinLoad.size(); ++id) {
    const INTERACTION& interaction = network.interaction(static_cast<InteractionId>(id));
    withinLoad[id] = passesArticleLoadTest(network, interaction, maxArticleLoad);
    if (withinLoad[id]) ++counts.interactions;
  }
  for (std::size_t id = 0; id < network.nodeCount(); ++id) {
    const std::span<const InteractionId> adjacency =
        network.node(static_cast<NodeId>(id)).interactions;
    if (std::all_of(adjacency.begin(), adjacency.end(), [&](InteractionId interaction) {
          return withinLoad[static_cast<std::size_t>(interaction)];
        })) {
      ++counts.nodes;
    }
  }
  return counts;
}

NodeSet findIntermediates(const Network& network, const NodeSet& seeds,
                          const SubnetworkTable& subnetwork) {
  NodeSet intermediates;
  for (InteractionId id : subnetwork.inBucketOrder()) {
    const INTERACTION& interaction = network.interaction(id);
    for (NodeId end : {interaction.first, interaction.second}) {
      if (!containsOrdered(seeds, end)) intermediates.push_back(end);
    }
  }
  std::sort(intermediates.begin(), intermediates.end());
  intermediates.erase(std::unique(intermediates.begin(), intermediates.end()), intermediates.end());
  return intermediates;
}

// The node's interactions whose other end is a seed: two interactions with one seed count 2.
int countSeedLinks(const Network& network, const NodeSet& seeds, NodeId node) {
  int links = 0;
  for (InteractionId id : network.node(node).interactions) {
    if (containsOrdered(seeds, network.otherEnd(network.interaction(id), node))) ++links;
  }
  return links;
}

struct Row {
  NodeId node;
  int links;
  int seedLinks;
  float zScore;
};

// Highest z-score first; rows without a finite z-score go last.
bool ranksBefore(const Row& a, const Row& b) {
  const bool finiteA = std::isfinite(a.zScore);
  const bool finiteB = std::isfinite(b.zScore);
  if (finiteA != finiteB) return finiteA;
  return finiteA && a.zScore > b.zScore;
}

std::vector<Row> rankIntermediates(const Network& network, const NodeSet& seeds,
                                   const NodeSet& intermediates, int background,
                                   int subnetworkSize) {
  std::vector<Row> rows;
  for (NodeId node : intermediates) {
    const int links = network.node(node).interactionCount;
    const int seedLinks = countSeedLinks(network, seeds, node);
    const float z = ComputeOneSampleBinomialPropotion(links, background, seedLinks, subnetworkSize);
    rows.push_back({node, links, seedLinks, z});
  }
  std::stable_sort(rows.begin(), rows.end(), ranksBefore);
  return rows;
}

}  // namespace

void writeSignificanceSection(std::FILE* report, const Network& network, const NodeSet& seeds,
                              const SubnetworkTable& subnetwork, int maxArticleLoad) {
  const NodeSet intermediates = findIntermediates(network, seeds, subnetwork);
  const int subnetworkSize = static_cast<int>(subnetwork.size());
  const BackgroundCounts background = countBackground(network, maxArticleLoad);

  std::fputs(messages::kSignificanceHeading, report);
  std::fprintf(report, messages::kSeedCount, static_cast<int>(seeds.size()));
  std::fprintf(report, messages::kIntermediateCount, static_cast<int>(intermediates.size()));
  std::fprintf(report, messages::kSubnetworkSize, subnetworkSize);
  std::fprintf(report, messages::kBackgroundNodes, background.nodes);
  std::fprintf(report, messages::kBackgroundInteractions, background.interactions);
  std::fputs(messages::kRankingHeading, report);
  std::fputs(messages::kRankingColumns, report);

  if (intermediates.empty()) {
    std::fputs(messages::kNoIntermediates, report);
    return;
  }
  for (const Row& row :
       rankIntermediates(network, seeds, intermediates, background.interactions, subnetworkSize)) {
    std::fprintf(report, messages::kRankingRow, network.name(row.node), row.links,
                 background.interactions, row.seedLinks, subnetworkSize);
    if (std::isfinite(row.zScore)) {
      std::fprintf(report, messages::kZScore, static_cast<double>(row.zScore));
    } else {
      std::fputs(messages::kZScoreNone, report);
    }
  }
}

}  // namespace seedweave
