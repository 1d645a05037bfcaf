// The statistics report "%s_stats.txt": the significance of the intermediates, then the
// path-length table among the seeds and their clustering.
#pragma once

#include <cstdio>

#include "search/filter.hpp"
#include "search/subnetwork_table.hpp"
#include "store/ordered_set.hpp"
#include "store/output.hpp"

namespace seedweave {

// Writes the whole report to the open stream (which stays open) and prints the progress
// lines through `out`. Time complexity: that of writeSignificanceSection plus that of
// DoKMeansClusteringAnalysis.
void computeStats(std::FILE* report, const Network& network, const NodeSet& seeds,
                  const SubnetworkTable& subnetwork, const InteractionFilter& filter, Output& out);

// Appends the path-length table, the pseudo CPL and the clusterings for K = 2 to 6. Draws
// from rand(): the same srand seed gives the same bytes.
// Time complexity: computePathLengths plus O(s^2 + s * iterations) for s seeds.
void DoKMeansClusteringAnalysis(std::FILE* report, const Network& network, const NodeSet& seeds,
                                const InteractionFilter& filter, Output& out);

}  // namespace seedweave
