// The clustering of the seeds computed the slow, literal way: every mean re-added from the
// member arrays at every iteration, a mean over no pair being 0/0. The tests compare the
// fast clustering against it.
#pragma once

#include <string>
#include <vector>

#include "report/clustering.hpp"

namespace seedweave::testing {

// `distances` is the upper-triangle table of n seeds. Draws from rand() like the real one.
// Time complexity: O(iterations * n^2).
std::vector<SeedCluster> referenceClusterSeeds(const std::vector<int>& distances, int n,
                                               int clusters);

// The blocks for K = 2 to 6 as the report writes them, names[i] naming seed i.
std::string referenceClusteringReport(const std::vector<int>& distances, int n,
                                      const std::vector<std::string>& names);

}  // namespace seedweave::testing
