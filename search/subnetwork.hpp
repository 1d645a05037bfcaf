// The subnetwork of a seed list: every interaction on a pathway of at most L interactions
// between two seeds, and, for L > 1, every direct interaction of the nodes on those
// pathways (the intermediates) with the seeds and with each other.
#pragma once

#include "search/filter.hpp"
#include "search/subnetwork_table.hpp"
#include "store/ordered_set.hpp"
#include "store/output.hpp"

namespace seedweave {

// Time complexity: O(1).
int countNodeList(const NodeSet& list);

// Builds the subnetwork of the seeds with pathways of at most maxPathLength (0 to 6)
// interactions under the filter, printing the progress lines and the missing-interaction
// lines of the exhaustive pathway search, in its order; without `announcePairs`, the line
// announcing each searched pair is left out.
//
// The exhaustive search walks every simple path; here each seed pair costs one labelling of
// the nodes within reach of both seeds, and paths are listed only for a pair on whose
// pathways some step records an interaction failing the filter, which is what prints.
// Time complexity: O(S × ball) for S seeds, plus per seed pair O(L × adjacency entries of
// the nodes within L hops of both), plus O((S + K) × K + adjacency of the intermediates)
// for K intermediates; for L >= 5 add the witness searches, and for a pair with missing
// interactions the listing of its paths.
SubnetworkTable getNetworkFromNodes(const Network& network, const InteractionFilter& filter,
                                    const NodeSet& seeds, int maxPathLength, Output& out,
                                    bool announcePairs = true);

}  // namespace seedweave
