#include "store/network.hpp"

#include <algorithm>
#include <utility>

#include "store/hashing.hpp"

namespace seedweave {

void addPMIDtoList(std::vector<PMIDLIST>& pmids, std::int32_t pmid, int sourceIndex) {
  auto place = std::lower_bound(pmids.begin(), pmids.end(), pmid,
                                [](const PMIDLIST& entry, std::int32_t id) { return entry.pmid < id; });
  if (place != pmids.end() && place->pmid == pmid) {
    place->sourceFlags = addFlag(place->sourceFlags, sourceIndex);
    return;
  }
  PMIDLIST entry;
  entry.pmid = pmid;
  entry.sourceFlags = addFlag(0, sourceIndex);
  pmids.insert(place, entry);
}

Network::Network()
    : undirected_(texts_.intern("0")),
      notAvailable_(texts_.intern("NA")),
      binding_(texts_.intern("Binding")),
      colocalization_(texts_.intern("Colocalization")) {}

NodeId Network::updateAndRetrieveInteractor(std::string_view name, std::string_view attr1,
                                            std::string_view attr2, std::string_view attr3,
                                            std::string_view attr4) {
  if (auto found = nodeIds_.find(name); found != nodeIds_.end()) {
    INTERACTOR& node = nodes_[static_cast<std::size_t>(found->second)];
    updateAttribute(node.attr1, attr1);
    updateAttribute(node.attr2, attr2);
    updateAttribute(node.attr3, attr3);
    updateAttribute(node.attr4, attr4);
    return found->second;
  }
  INTERACTOR node;
  node.name = texts_.intern(name);
  node.attr1 = texts_.intern(attr1);
  node.attr2 = texts_.intern(attr2);
  node.attr3 = texts_.intern(attr3);
  node.attr4 = texts_.intern(attr4);
  node.nameBucket = getHashIndexFromString(name);
  const auto id = static_cast<NodeId>(nodes_.size());
  nodeIds_.emplace(texts_.view(node.name), id);
  nodes_.push_back(std::move(node));
  return id;
}

void Network::updateAttribute(TextId& stored, std::string_view incoming) {
  if (incoming == "NA" || texts_.view(stored) == incoming) return;
  stored = texts_.intern(incoming);
}

NodeId Network::getInteractorFromHash(std::string_view name) const {
  auto found = nodeIds_.find(name);
  return found == nodeIds_.end() ? NodeId{none} : found->second;
}

InteractionId Network::getInteractionFromInteractors(NodeId a, NodeId b) const {
  InteractionId match = none;
  pairs_.forEach(a, b, interactions_, [&](InteractionId id) {
    const INTERACTION& candidate = interaction(id);
    const bool forward = candidate.first == a && candidate.second == b;
    const bool undirectedBack =
        candidate.first == b && candidate.second == a && isUndirected(candidate);
    if ((forward || undirectedBack) && (match == none || id < match)) match = id;
  });
  return match;
}

InteractionId Network::storedAs(NodeId first, NodeId second) const {
  InteractionId match = none;
  pairs_.forEach(first, second, interactions_, [&](InteractionId id) {
    if (interaction(id).first == first && interaction(id).second == second) match = id;
  });
  return match;
}

void Network::addInteractionToHash(NodeId a, NodeId b, std::string_view direction,
                                   std::string_view type, std::int32_t pmid, int sourceIndex,
                                   Output& out) {
  const TextId d = texts_.intern(direction);
  const TextId t = texts_.intern(type);
  if (const InteractionId x = getInteractionFromInteractors(a, b); x != none) {
    INTERACTION& found = interactions_[static_cast<std::size_t>(x)];
    // Found as (b, a), so undirected: a directed report turns it to the report's orientation.
    // The id, adjacency lists and counts stay; only the ends swap.
    if (found.first == b && a != b && d != undirected_) std::swap(found.first, found.second);
    mergeReport(found, d, t, pmid, sourceIndex);
    return;
  }
  // A directed interaction stored as (b, a) absorbs reports of its own direction or "0".
  if (const InteractionId y = getInteractionFromInteractors(b, a); y != none) {
    INTERACTION& reverse = interactions_[static_cast<std::size_t>(y)];
    if (d == reverse.direction || d == undirected_) {
      mergeReport(reverse, d, t, pmid, sourceIndex);
      return;
    }
  }
  addInteractionToList(a, b, d, t, pmid, sourceIndex, out);
}

void Network::mergeReport(INTERACTION& interaction, TextId direction, TextId type,
                          std::int32_t pmid, int sourceIndex) {
  if (interaction.direction != direction && interaction.direction == undirected_) {
    interaction.direction = direction;
  }
  if (interaction.type != type && interaction.type == binding_ && type != colocalization_) {
    interaction.type = type;
  }
  addPMIDtoList(interaction.pmids, pmid, sourceIndex);
}

InteractionId Network::addInteractionToList(NodeId a, NodeId b, TextId direction, TextId type,
                                            std::int32_t pmid, int sourceIndex, Output& out) {
  if (storedAs(a, b) != none) out.print("How did a dupe get through?\n");
  const auto id = static_cast<InteractionId>(interactions_.size());
  INTERACTION created{a, b, direction, type, {}};
  addPMIDtoList(created.pmids, pmid, sourceIndex);
  interactions_.push_back(std::move(created));
  pairs_.insert(id, interactions_);
  // A new interaction has the highest id, so appending keeps the adjacency lists ordered.
  INTERACTOR& first = nodes_[static_cast<std::size_t>(a)];
  first.interactions.push_back(id);
  first.interactionCount += 1;
  INTERACTOR& second = nodes_[static_cast<std::size_t>(b)];
  if (b != a) second.interactions.push_back(id);
  second.interactionCount += 1;
  return id;
}

void Network::runTallies(Output& out) {
  for (INTERACTION& interaction : interactions_) {
    for (PMIDLIST& citation : interaction.pmids) {
      auto [entry, created] =
          tallyIds_.try_emplace(citation.pmid, static_cast<TallyId>(tallies_.size()));
      if (created) {
        PMIDLIST record;
        record.pmid = citation.pmid;
        tallies_.push_back(record);
      }
      tallies_[static_cast<std::size_t>(entry->second)].interactionCount += 1;
      citation.tally = getPMIDtalliesFromHash(citation.pmid, out);
    }
  }
}

TallyId Network::getPMIDtalliesFromHash(std::int32_t pmid, Output& out) const {
  auto found = tallyIds_.find(pmid);
  if (found != tallyIds_.end()) return found->second;
  out.print("something fishy is going on.\n");
  return none;
}

void Network::freeNetwork(Output& out) {
  out.print("preparing to loop through hashes...\n");
  std::vector<INTERACTOR>().swap(nodes_);
  std::unordered_map<std::string_view, NodeId>().swap(nodeIds_);
  std::vector<INTERACTION>().swap(interactions_);
  pairs_.clear();
  std::vector<PMIDLIST>().swap(tallies_);
  std::unordered_map<std::int32_t, TallyId>().swap(tallyIds_);
}

}  // namespace seedweave
