// The first section of the statistics report: the sizes of the seed list, the subnetwork and
// the background network, and for every intermediate a z-score of how strongly it links to
// the seeds.
#pragma once

#include <cstdio>

#include "search/subnetwork_table.hpp"
#include "store/ordered_set.hpp"

namespace seedweave {

// One-sample binomial proportion test: x successes in n trials against the proportion X / N,
// z = (x/n - X/N) / sqrt((X/N)(1 - X/N)/n), each step in the precision the report has always
// used. Not finite when X == N (no variance). The name is a given one and keeps its spelling
// ("Propotion" for "Proportion"): it computes the test's z-score. Time complexity: O(1).
float ComputeOneSampleBinomialPropotion(int n, int N, int x, int X);

// Writes the header lines and one row per intermediate (a non-seed end of a subnetwork
// interaction), highest z-score first, equal ones by ascending id, non-finite ones last
// as "NA". The background counts take only the interactions and nodes within the article
// load limit (0: off). Time complexity: O(citations + k log k) for a subnetwork of k
// interactions, plus the adjacency of the intermediates.
void writeSignificanceSection(std::FILE* report, const Network& network, const NodeSet& seeds,
                              const SubnetworkTable& subnetwork, int maxArticleLoad);

}  // namespace seedweave
