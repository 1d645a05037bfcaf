#include "reference_search.hpp"

#include <algorithm>

namespace seedweave::reference {

namespace {

// Stored as (a, b), or undirected as (b, a); the lowest id, from a's list of interactions.
InteractionId stored(const Network& network, NodeId a, NodeId b) {
  for (InteractionId id : network.node(a).interactions) {
    const INTERACTION& i = network.interaction(id);
    if ((i.first == a && i.second == b) ||
        (i.first == b && i.second == a && network.text(i.direction) == "0")) {
      return id;
    }
  }
  return none;
}

void findPathways(const Network& network, std::vector<NodeId>& path, NodeId target, int maxLength,
                  const Filter& filter, PathwayList& pathways, std::string& out) {
  const NodeId here = path.back();
  const int depth = static_cast<int>(path.size()) - 1;
  if (depth > 0 && here == target) {
    Pathway pathway;
    for (int i = 0; i < depth; ++i) {
      const InteractionId found = recordedStep(network, path[i], path[i + 1]);
      if (found != none && passes(network, found, filter)) {
        pathway.push_back(found);
      } else {
        out += missingLine(network, path[i], path[i + 1]);
      }
    }
    if (std::find(pathways.begin(), pathways.end(), pathway) == pathways.end()) {
      pathways.push_back(pathway);
    }
    return;
  }
  if (depth >= maxLength) return;
  for (InteractionId id : network.node(here).interactions) {
    const INTERACTION& i = network.interaction(id);
    const NodeId next = i.first == here ? i.second : i.first;
    if (std::find(path.begin(), path.end(), next) != path.end() || !passes(network, id, filter)) {
      continue;
    }
    path.push_back(next);
    findPathways(network, path, target, maxLength, filter, pathways, out);
    path.pop_back();
  }
}

std::string announcement(const Network& network, NodeId a, NodeId b, int maxLength) {
  return std::string("Searching for pathways between ") + network.name(a) + " and " +
         network.name(b) + " of maximum length " + std::to_string(maxLength) + "...\n";
}

// Searches one pair and adds the interactions of its pathways to the table, and their ends
// to `ends` when given.
void searchPairs(const Network& network, NodeId a, NodeId b, int maxLength, bool announcing,
                 const Filter& filter, std::set<InteractionId>& table, std::set<NodeId>* ends,
                 std::string& out) {
  if (announcing) out += announcement(network, a, b, maxLength);
  for (const Pathway& pathway : getPathways(network, a, b, maxLength, filter, out)) {
    for (InteractionId id : pathway) {
      table.insert(id);
      if (ends != nullptr)
        ends->insert({network.interaction(id).first, network.interaction(id).second});
    }
  }
}

}  // namespace

Filter::Filter(const Network& network, int minReferences, int maxArticleLoad)
    : minReferences(minReferences), maxArticleLoad(maxArticleLoad) {
  for (std::size_t id = 0; id < network.interactionTotal(); ++id) {
    for (const PMIDLIST& citation : network.interaction(static_cast<InteractionId>(id)).pmids) {
      ++loads[citation.pmid];
    }
  }
}

bool passes(const Network& network, InteractionId id, const Filter& filter) {
  int withinLimit = 0;
  for (const PMIDLIST& citation : network.interaction(id).pmids) {
    const int load = filter.loads.at(citation.pmid);
    if (filter.maxArticleLoad != 0 && load > filter.maxArticleLoad) return false;
    ++withinLimit;
  }
  return filter.minReferences == 0 || withinLimit >= filter.minReferences;
}

InteractionId recordedStep(const Network& network, NodeId u, NodeId v) {
  const InteractionId forward = stored(network, u, v);
  return forward != none ? forward : stored(network, v, u);
}

std::string missingLine(const Network& network, NodeId u, NodeId v) {
  return std::string("missing interaction between ") + network.name(u) + " and " + network.name(v) +
         "\n";
}

PathwayList getPathways(const Network& network, NodeId source, NodeId target, int maxLength,
                        const Filter& filter, std::string& out) {
  std::vector<NodeId> path{source};
  PathwayList pathways;
  findPathways(network, path, target, maxLength, filter, pathways, out);
  return pathways;
}

std::set<InteractionId> getNetworkFromNodes(const Network& network,
                                            const std::vector<NodeId>& seeds, int maxLength,
                                            const Filter& filter, std::string& out) {
  std::set<InteractionId> table;
  std::set<NodeId> ends;
  out += "\nSearching for pathways between members of the seed list...\n";
  const bool manySeeds = seeds.size() > 100;
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    for (std::size_t j = i + 1; j < seeds.size(); ++j) {
      searchPairs(network, seeds[i], seeds[j], maxLength, manySeeds || maxLength > 3, filter, table,
                  &ends, out);
    }
  }
  if (maxLength == 1) {
    out += "Done searching for pathways...\n";
    return table;
  }
  out += "\nPathways found. Extracting list of intermediary nodes...\n";
  std::vector<NodeId> intermediates;
  for (NodeId end : ends) {
    if (std::find(seeds.begin(), seeds.end(), end) == seeds.end()) intermediates.push_back(end);
  }
  const bool announcing = manySeeds || intermediates.size() > 100;
  out += "\nSearching for pathways between intermediary nodes and original set of nodes...\n";
  for (NodeId seed : seeds) {
    for (NodeId intermediate : intermediates) {
      searchPairs(network, seed, intermediate, 1, announcing, filter, table, nullptr, out);
    }
  }
  out += "\nSearching for pathways between intermediary nodes and each other...\n";
  for (std::size_t i = 0; i < intermediates.size(); ++i) {
    for (std::size_t j = i + 1; j < intermediates.size(); ++j) {
      searchPairs(network, intermediates[i], intermediates[j], 1, announcing, filter, table,
                  nullptr, out);
    }
  }
  return table;
}

}  // namespace seedweave::reference
