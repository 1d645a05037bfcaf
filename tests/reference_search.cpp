#include "reference_search.hpp"

#include <algorithm>

#include "search/filter.hpp"
#include "search/messages.hpp"

namespace seedweave::reference {

namespace {

bool passes(const Network& network, InteractionId id, int minReferences, int maxArticleLoad) {
  return passesInteractionFilter(network, network.interaction(id), minReferences, maxArticleLoad);
}

bool onPath(const std::vector<NodeId>& path, int depth, NodeId node) {
  for (int i = 0; i <= depth; ++i) {
    if (path[static_cast<std::size_t>(i)] == node) return true;
  }
  return false;
}

Pathway recordArrival(const Network& network, const std::vector<NodeId>& path, int depth,
                      int minReferences, int maxArticleLoad, Output& out) {
  Pathway pathway;
  for (int i = 0; i < depth; ++i) {
    const NodeId from = path[static_cast<std::size_t>(i)];
    const NodeId to = path[static_cast<std::size_t>(i + 1)];
    InteractionId found = network.getInteractionFromInteractors(from, to);
    if (found == none) found = network.getInteractionFromInteractors(to, from);
    if (found != none && passes(network, found, minReferences, maxArticleLoad)) {
      addInteractionToPathway(pathway, found);
    } else {
      out.print(messages::kMissingInteraction, network.name(from), network.name(to));
    }
  }
  return pathway;
}

void announce(const Network& network, NodeId a, NodeId b, int maxLength, Output& out) {
  out.print(messages::kSearchingPair, network.name(a), network.name(b), maxLength);
}

bool isSeed(const NodeSet& seeds, NodeId node) {
  return std::find(seeds.begin(), seeds.end(), node) != seeds.end();
}

// A search of length 1 between every pair handed in, its interactions into the table.
void addDirectInteractions(const Network& network, NodeId a, NodeId b, bool announcing,
                           int minReferences, int maxArticleLoad, SubnetworkTable& table,
                           Output& out) {
  if (announcing) announce(network, a, b, 1, out);
  PathwayList found = getPathways(network, a, b, 1, minReferences, maxArticleLoad, out);
  pathwayListToNetworkHash(table, found);
  freePathwayList(found);
}

}  // namespace

PathwayList getPathways(const Network& network, NodeId source, NodeId target, int maxLength,
                        int minReferences, int maxArticleLoad, Output& out) {
  std::vector<NodeId> path(static_cast<std::size_t>(maxLength + 1), none);
  path[0] = source;
  PathwayList pathways;
  findPathways(network, path, target, maxLength, 0, pathways, minReferences, maxArticleLoad, out);
  return pathways;
}

void findPathways(const Network& network, std::vector<NodeId>& path, NodeId target, int maxLength,
                  int depth, PathwayList& pathways, int minReferences, int maxArticleLoad,
                  Output& out) {
  const NodeId here = path[static_cast<std::size_t>(depth)];
  if (depth > 0 && here == target) {
    addPathwayToList(pathways,
                     recordArrival(network, path, depth, minReferences, maxArticleLoad, out));
    return;
  }
  if (depth >= maxLength) return;
  for (InteractionId id : network.node(here).interactions) {
    const NodeId neighbour = network.otherEnd(network.interaction(id), here);
    path[static_cast<std::size_t>(depth + 1)] = neighbour;
    if (onPath(path, depth, neighbour)) continue;
    if (!passes(network, id, minReferences, maxArticleLoad)) continue;
    findPathways(network, path, target, maxLength, depth + 1, pathways, minReferences,
                 maxArticleLoad, out);
  }
}

void addInteractionToPathway(Pathway& pathway, InteractionId interaction) {
  pathway.push_back(interaction);
}

int pathwayCmp(const Pathway& a, const Pathway& b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return i == a.size() && i == b.size() ? 0 : 1;
}

bool addPathwayToList(PathwayList& list, Pathway pathway) {
  for (const Pathway& held : list) {
    if (pathwayCmp(held, pathway) == 0) return false;
  }
  list.push_back(std::move(pathway));
  return true;
}

int countPathways(const PathwayList& list) { return static_cast<int>(list.size()); }

void mergePathwayLists(PathwayList& destination, PathwayList&& source) {
  for (Pathway& pathway : source) {
    const int before = countPathways(destination);
    addPathwayToList(destination, std::move(pathway));
    if (countPathways(destination) == before) pathway.clear();
  }
  source.clear();
}

void freePathwayList(PathwayList& list) { list.clear(); }

NodeSet extractIntermediaries(const Network& network, const PathwayList& pathways,
                              const NodeSet& seeds) {
  NodeSet intermediates;
  for (const Pathway& pathway : pathways) {
    NodeId previousFirst = none;
    NodeId previousSecond = none;
    for (InteractionId id : pathway) {
      const INTERACTION& interaction = network.interaction(id);
      for (NodeId end : {interaction.first, interaction.second}) {
        if (end == previousFirst || end == previousSecond) continue;
        if (!isSeed(seeds, end)) addInteractorToIntList(intermediates, end);
      }
      previousFirst = interaction.first;
      previousSecond = interaction.second;
    }
  }
  return intermediates;
}

void pathwayListToNetworkHash(SubnetworkTable& table, const PathwayList& pathways) {
  for (const Pathway& pathway : pathways) {
    for (InteractionId id : pathway) table.addInteractionToIntHash(id);
  }
}

SubnetworkTable getNetworkFromNodes(const Network& network, const NodeSet& seeds, int maxLength,
                                    int minReferences, int maxArticleLoad, Output& out) {
  const int seedCount = static_cast<int>(seeds.size());
  SubnetworkTable table(network);
  out.print(messages::kSearchingSeedList);
  PathwayList merged;
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    for (std::size_t j = i + 1; j < seeds.size(); ++j) {
      if (seedCount > 100 || maxLength > 3) announce(network, seeds[i], seeds[j], maxLength, out);
      PathwayList found =
          getPathways(network, seeds[i], seeds[j], maxLength, minReferences, maxArticleLoad, out);
      pathwayListToNetworkHash(table, found);
      mergePathwayLists(merged, std::move(found));
    }
  }
  if (maxLength == 1) {
    out.print(messages::kDoneSearching);
    freePathwayList(merged);
    return table;
  }
  out.print(messages::kExtractingIntermediates);
  const NodeSet intermediates = extractIntermediaries(network, merged, seeds);
  const int intermediateCount = static_cast<int>(intermediates.size());
  freePathwayList(merged);
  out.print(messages::kSearchingIntermediatesToSeeds);
  const bool announcing = seedCount > 100 || intermediateCount > 100;
  for (NodeId seed : seeds) {
    for (NodeId intermediate : intermediates) {
      addDirectInteractions(network, seed, intermediate, announcing, minReferences, maxArticleLoad,
                            table, out);
    }
  }
  out.print(messages::kSearchingAmongIntermediates);
  for (std::size_t i = 0; i < intermediates.size(); ++i) {
    for (std::size_t j = i + 1; j < intermediates.size(); ++j) {
      addDirectInteractions(network, intermediates[i], intermediates[j], announcing, minReferences,
                            maxArticleLoad, table, out);
    }
  }
  return table;
}

}  // namespace seedweave::reference
