#include "store/network.hpp"

#include <algorithm>
#include <array>
#include <cassert>
#include <utility>

#include "store/hashing.hpp"
#include "store/messages.hpp"

namespace seedweave {

namespace {
constexpr std::size_t kFirstAdjacencyCapacity = 8;

// Asks the processor to fetch a record, both of its cache lines when it straddles two.
template <typename Record>
void prefetchRecord(const Record& record) {
  __builtin_prefetch(&record);
  __builtin_prefetch(reinterpret_cast<const char*>(&record) + sizeof(Record) - 1);
}
}  // namespace

Network::Network()
    : undirected_(texts_.intern("0")),
      binding_(texts_.intern("Binding")),
      colocalization_(texts_.intern("Colocalization")) {}

NodeId Network::updateAndRetrieveInteractor(std::string_view name, std::string_view attr1,
                                            std::string_view attr2, std::string_view attr3,
                                            std::string_view attr4) {
  const std::uint32_t hash = hashText(name);
  nodeIndex_.makeRoomForOne();
  const std::size_t slot = findNodeSlot(name, hash);
  if (const std::uint32_t found = nodeIndex_.idAt(slot); found != SlotTable::kEmpty) {
    INTERACTOR& node = nodes_[found];
    updateAttribute(node.attr1, attr1);
    updateAttribute(node.attr2, attr2);
    updateAttribute(node.attr3, attr3);
    updateAttribute(node.attr4, attr4);
    return static_cast<NodeId>(found);
  }
  INTERACTOR node;
  // Interned one after the other, a node's own texts tend to share a cache line.
  node.name = texts_.intern(name);
  node.attr1 = texts_.intern(attr1);
  node.attr2 = texts_.intern(attr2);
  node.attr3 = texts_.intern(attr3);
  node.attr4 = texts_.intern(attr4);
  node.nameBucket = getHashIndexFromString(name);
  // Skips the first few regrowths, which would otherwise come for nearly every node.
  node.interactions.reserve(kFirstAdjacencyCapacity);
  const auto id = static_cast<NodeId>(nodes_.size());
  nodes_.push_back(std::move(node));
  nodeIndex_.fill(slot, hash, static_cast<std::uint32_t>(id));
  return id;
}

std::size_t Network::findNodeSlot(std::string_view name, std::uint32_t hash) const {
  return nodeIndex_.probe(hash,
                          [&](std::uint32_t id) { return texts_.view(nodes_[id].name) == name; });
}

NodeId Network::guessNode(std::uint32_t nameHash) const {
  const std::uint32_t id = nodeIndex_.firstWithHash(nameHash);
  if (id == SlotTable::kEmpty) return none;
  prefetchRecord(nodes_[id]);
  return static_cast<NodeId>(id);
}

void Network::prefetchNodeDetails(NodeId id) const {
  const INTERACTOR& node = nodes_[static_cast<std::size_t>(id)];
  texts_.prefetch(node.name);
  __builtin_prefetch(node.interactions.data() + node.interactions.size(), 1);
}

void Network::prefetchInteraction(NodeId a, NodeId b) const {
  const InteractionId id = pairs_.firstCandidate(a, b);
  if (id != none) prefetchRecord(interactions_[static_cast<std::size_t>(id)]);
}

void Network::updateAttribute(TextId& stored, std::string_view incoming) {
  if (incoming == "NA" || texts_.view(stored) == incoming) return;
  stored = texts_.intern(incoming);
}

NodeId Network::getInteractorFromHash(std::string_view name) const {
  const std::uint32_t found = nodeIndex_.idAt(findNodeSlot(name, hashText(name)));
  return found == SlotTable::kEmpty ? NodeId{none} : static_cast<NodeId>(found);
}

InteractionId Network::getInteractionFromInteractors(NodeId a, NodeId b) const {
  InteractionId match = none;
  pairs_.forEachCandidate(a, b, [&](InteractionId id) {
    const INTERACTION& candidate = interaction(id);
    const bool forward = candidate.first == a && candidate.second == b;
    const bool undirectedBack =
        candidate.first == b && candidate.second == a && isUndirected(candidate);
    if ((forward || undirectedBack) && (match == none || id < match)) match = id;
  });
  return match;
}

Network::StoredPair Network::findPair(NodeId a, NodeId b) const {
  StoredPair stored;
  stored.freeSlot = pairs_.forEachCandidate(a, b, [&](InteractionId id) {
    const INTERACTION& candidate = interaction(id);
    if (candidate.first == a && candidate.second == b) {
      stored.forward = id;
    } else if (candidate.first == b && candidate.second == a) {
      stored.backward = id;
    }
  });
  return stored;
}

TextId Network::internLike(TextId& recent, std::string_view text) {
  if (texts_.view(recent) != text) recent = texts_.intern(text);
  return recent;
}

void Network::addInteractionToHash(NodeId a, NodeId b, std::string_view direction,
                                   std::string_view type, std::int32_t pmid, int sourceIndex) {
  const TextId d = internLike(recentDirection_, direction);
  const TextId t = internLike(recentType_, type);
  // One look at the pair answers both lookups of the merge rules, and its free slot takes a
  // new interaction.
  pairs_.makeRoomForOne();
  const StoredPair stored = findPair(a, b);
  // getInteractionFromInteractors(a, b): stored as (a, b), or undirected as (b, a).
  const bool backwardUndirected =
      stored.backward != none &&
      isUndirected(interactions_[static_cast<std::size_t>(stored.backward)]);
  if (const InteractionId x = stored.forward != none ? stored.forward
                              : backwardUndirected   ? stored.backward
                                                     : InteractionId{none};
      x != none) {
    INTERACTION& found = interactions_[static_cast<std::size_t>(x)];
    // Found as (b, a), so undirected: a directed report turns it to the report's orientation.
    // The id, adjacency lists and counts stay; only the ends swap.
    if (found.first == b && d != undirected_) std::swap(found.first, found.second);
    mergeReport(found, d, t, pmid, sourceIndex);
    return;
  }
  // getInteractionFromInteractors(b, a) can now only find a directed interaction stored as
  // (b, a), which absorbs reports of its own direction or "0".
  if (stored.backward != none) {
    INTERACTION& reverse = interactions_[static_cast<std::size_t>(stored.backward)];
    if (d == reverse.direction || d == undirected_) {
      mergeReport(reverse, d, t, pmid, sourceIndex);
      return;
    }
  }
  addInteractionToList(a, b, d, t, pmid, sourceIndex, stored);
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
                                            std::int32_t pmid, int sourceIndex,
                                            const StoredPair& stored) {
  assert(stored.forward == none);  // a report of a pair stored as (a, b) merges into it
  const auto id = static_cast<InteractionId>(interactions_.size());
  INTERACTION created{a, b, direction, type, {}};
  addPMIDtoList(created.pmids, pmid, sourceIndex);
  interactions_.push_back(std::move(created));
  pairs_.insertAt(stored.freeSlot, id, a, b);
  // A new interaction has the highest id, so appending keeps the adjacency lists ordered.
  INTERACTOR& first = nodes_[static_cast<std::size_t>(a)];
  first.interactions.push_back(id);
  first.interactionCount += 1;
  INTERACTOR& second = nodes_[static_cast<std::size_t>(b)];
  if (b != a) second.interactions.push_back(id);
  second.interactionCount += 1;
  return id;
}

void Network::runTallies() {
  assert(!tallied_);  // a second pass would count every citation twice
  tallied_ = true;
  // A citation's index slot is requested 2 * kAhead citations before it is counted, and its
  // tally record, found through the slot that has arrived by then, kAhead citations before.
  constexpr std::size_t kAhead = 8;
  std::array<PMIDLIST*, 2 * kAhead> waiting{};
  std::size_t requested = 0;
  const auto slotOf = [&](std::size_t index) -> PMIDLIST*& {
    return waiting[index % waiting.size()];
  };
  for (std::size_t index = 0; index < interactions_.size(); ++index) {
    for (PMIDLIST& citation : interactions_[index].pmids) {
      tallyIds_.prefetch(citation.pmid);
      if (requested >= kAhead) prefetchTally(slotOf(requested - kAhead)->pmid);
      if (requested >= 2 * kAhead) countCitation(*slotOf(requested - 2 * kAhead));
      slotOf(requested++) = &citation;
    }
  }
  for (std::size_t index = requested > 2 * kAhead ? requested - 2 * kAhead : 0; index < requested;
       ++index) {
    countCitation(*slotOf(index));
  }
}

void Network::prefetchTally(std::int32_t pmid) const {
  const TallyId tally = tallyIds_.find(pmid);
  if (tally != none) __builtin_prefetch(&tallies_[static_cast<std::size_t>(tally)], 1);
}

void Network::countCitation(PMIDLIST& citation) {
  bool created = false;
  const TallyId tally =
      tallyIds_.findOrAdd(citation.pmid, static_cast<TallyId>(tallies_.size()), created);
  if (created) {
    PMIDLIST record;
    record.pmid = citation.pmid;
    tallies_.push_back(record);
  }
  tallies_[static_cast<std::size_t>(tally)].interactionCount += 1;
  citation.tally = tally;
}

void Network::freeNetwork(Output& out) {
  out.print(messages::kReleasingRecords);
  std::vector<INTERACTOR>().swap(nodes_);
  nodeIndex_.clear();
  interactions_.clear();
  pairs_.clear();
  tallies_.clear();
  tallyIds_.clear();
}

}  // namespace seedweave
