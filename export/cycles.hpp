// Per-node files of closed walks and direct interactions: "<node>-cliques.txt" (closed walks
// of 3 interactions), "<node>-<k>cycles.txt" for k from 4 to the maximum size, and
// "<node>-neighbors.txt". Each interaction is written as its clique lines: one line
// "first second direction pmid source-path" per citation and per source file reporting it.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "search/filter.hpp"
#include "store/network.hpp"
#include "store/output.hpp"

namespace seedweave {

// Writes the node's files into the current directory, named after the node with every '/'
// and '\' replaced by '_', and prints what it saves where. Walks every closed walk of 3 up to
// maxSize (at least 3) interactions from the node, never stepping straight back, along
// interactions that pass the filter. A file that cannot be opened is reported and skipped; the
// others are still written. Time complexity: for maxSize 3, O(d·e·log d) for a node of degree d
// whose neighbours have e interactions on average, plus the output; each further size multiplies by
// the average degree.
void dumpCycles(const Network& network, NodeId node, int maxSize,
                const std::vector<std::string>& sourcePaths, const InteractionFilter& filter,
                Output& out);

}  // namespace seedweave
