#include "report/stats.hpp"

#include "report/clustering.hpp"
#include "report/path_lengths.hpp"
#include "report/significance.hpp"

namespace seedweave {

void computeStats(std::FILE* report, const Network& network, const NodeSet& seeds,
                  const SubnetworkTable& subnetwork, const InteractionFilter& filter, Output& out) {
  writeSignificanceSection(report, network, seeds, subnetwork, filter.maxArticleLoad());
  DoKMeansClusteringAnalysis(report, network, seeds, filter, out);
}

void DoKMeansClusteringAnalysis(std::FILE* report, const Network& network, const NodeSet& seeds,
                                const InteractionFilter& filter, Output& out) {
  const DistanceTable table = computePathLengths(network, seeds, filter, out);
  writePathLengthTable(report, network, seeds, table);
  writePseudoCpl(report, table);
  std::vector<const char*> names;
  for (NodeId seed : seeds) names.push_back(network.name(seed));
  writeClusterings(report, table, names, out);
}

}  // namespace seedweave
