// The literal, exhaustive pathway search and subnetwork construction, used only by the tests
// (and timed by the search benchmark) as the twin that the fast search must agree with. It
// uses nothing of the search library: every filter verdict is recomputed from the citations,
// every step looked up by scanning all interactions, every message typed out here.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "store/network.hpp"

namespace seedweave::reference {

// The settings of the two filters (0: off) and every article's load, counted over all
// interactions.
struct Filter {
  Filter(const Network& network, int minReferences, int maxArticleLoad);
  int minReferences;
  int maxArticleLoad;
  std::map<std::int32_t, int> loads;
};

// Whether the interaction has enough citations within the load limit and none above it.
bool passes(const Network& network, InteractionId id, const Filter& filter);
// The interaction a step from u to v records: stored as (u, v) or undirected as (v, u), else
// stored as (v, u) or undirected as (u, v); the lowest id of the first kind found, or none.
InteractionId recordedStep(const Network& network, NodeId u, NodeId v);
std::string missingLine(const Network& network, NodeId u, NodeId v);

// The interactions of one path in path order, less any reported missing.
using Pathway = std::vector<InteractionId>;
// Pathways in order of discovery, no two equal.
using PathwayList = std::vector<Pathway>;

// Every simple path of at most maxLength passing interactions from source to target,
// appending a missing-interaction line to `out` for each failing step of each arrival.
PathwayList getPathways(const Network& network, NodeId source, NodeId target, int maxLength,
                        const Filter& filter, std::string& out);

// The subnetwork of the seeds (ascending, each once) and the construction's standard output.
std::set<InteractionId> getNetworkFromNodes(const Network& network,
                                            const std::vector<NodeId>& seeds, int maxLength,
                                            const Filter& filter, std::string& out);

}  // namespace seedweave::reference
