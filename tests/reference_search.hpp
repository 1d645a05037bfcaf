// The literal, exhaustive pathway search and subnetwork construction, used only by the tests
// as the twin that the fast search must agree with. Every step follows the plain procedure:
// each search walks every simple path from the source, each pathway is compared with every
// earlier one, and every filter verdict is recomputed from the citations.
#pragma once

#include <vector>

#include "search/subnetwork_table.hpp"
#include "store/ordered_set.hpp"
#include "store/output.hpp"

namespace seedweave::reference {

// The interactions of one path in path order, less any reported missing.
using Pathway = std::vector<InteractionId>;
// Pathways in order of discovery, no two equal.
using PathwayList = std::vector<Pathway>;

// Every simple path of at most maxLength passing interactions from source to target.
PathwayList getPathways(const Network& network, NodeId source, NodeId target, int maxLength,
                        int minReferences, int maxArticleLoad, Output& out);
// One level of the depth-first search: path[0..depth] is the path walked so far.
void findPathways(const Network& network, std::vector<NodeId>& path, NodeId target, int maxLength,
                  int depth, PathwayList& pathways, int minReferences, int maxArticleLoad,
                  Output& out);
void addInteractionToPathway(Pathway& pathway, InteractionId interaction);
// 0 when both hold the same interaction records in the same order, 1 otherwise.
int pathwayCmp(const Pathway& a, const Pathway& b);
// Appends the pathway unless an equal one is present; returns whether it was taken.
bool addPathwayToList(PathwayList& list, Pathway pathway);
int countPathways(const PathwayList& list);
// Offers every pathway of source, in order, to destination; source is consumed.
void mergePathwayLists(PathwayList& destination, PathwayList&& source);
void freePathwayList(PathwayList& list);

// Every end of an interaction in the pathways that is not a seed.
NodeSet extractIntermediaries(const Network& network, const PathwayList& pathways,
                              const NodeSet& seeds);
void pathwayListToNetworkHash(SubnetworkTable& table, const PathwayList& pathways);
SubnetworkTable getNetworkFromNodes(const Network& network, const NodeSet& seeds, int maxLength,
                                    int minReferences, int maxArticleLoad, Output& out);

}  // namespace seedweave::reference
