#include "store/network_builder.hpp"

#include <numeric>
#include <utility>

namespace seedweave {

NodeId NetworkBuilder::updateAndRetrieveInteractor(std::string_view name, std::uint32_t nameHash,
                                                   std::string_view attr1, std::string_view attr2,
                                                   std::string_view attr3, std::string_view attr4) {
  network_.nodeIndex_.makeRoomForOne();
  const std::size_t slot = network_.findNodeSlot(name, nameHash);
  if (const std::uint32_t found = network_.nodeIndex_.idAt(slot); found != SlotTable::kEmpty) {
    INTERACTOR& node = network_.nodes_[found];
    updateAttribute(node.attr1, attr1);
    updateAttribute(node.attr2, attr2);
    updateAttribute(node.attr3, attr3);
    updateAttribute(node.attr4, attr4);
    return static_cast<NodeId>(found);
  }
  TextPool& texts = network_.texts_;
  INTERACTOR node;
  // Interned one after the other, a node's own texts tend to share a cache line.
  node.name = texts.intern(name);
  node.attr1 = texts.intern(attr1);
  node.attr2 = texts.intern(attr2);
  node.attr3 = texts.intern(attr3);
  node.attr4 = texts.intern(attr4);
  node.nameBucket = getHashIndexFromString(name);
  const auto id = static_cast<NodeId>(network_.nodes_.size());
  network_.nodes_.push_back(std::move(node));
  network_.nodeIndex_.fill(slot, nameHash, static_cast<std::uint32_t>(id));
  return id;
}

NodeId NetworkBuilder::guessNode(std::uint32_t nameHash) const {
  const std::uint32_t id = network_.nodeIndex_.firstWithHash(nameHash);
  if (id == SlotTable::kEmpty) return none;
  touch(network_.nodes_[id]);
  return static_cast<NodeId>(id);
}

void NetworkBuilder::prefetchNodeDetails(NodeId id) const {
  const INTERACTOR& node = network_.node(id);
  network_.texts_.prefetch(node.name);
}

InteractionId NetworkBuilder::guessInteraction(NodeId a, NodeId b) const {
  const InteractionId id = network_.pairs_.firstCandidate(a, b);
  if (id != none) touch(network_.interaction(id));
  return id;
}

void NetworkBuilder::prefetchCitations(InteractionId id) const {
  touch(*network_.interaction(id).pmids.begin());
}

void NetworkBuilder::prefetchArticleLoad(TallyId tally) const {
  const ChunkedVector<std::int32_t>& loads = network_.articleLoads_;
  if (static_cast<std::size_t>(tally) < loads.size()) {
    touch(loads[static_cast<std::size_t>(tally)]);
  }
}

void NetworkBuilder::updateAttribute(TextId& stored, std::string_view incoming) {
  if (incoming == "NA" || network_.text(stored) == incoming) return;
  stored = network_.texts_.intern(incoming);
}

NetworkBuilder::StoredPair NetworkBuilder::findPair(NodeId a, NodeId b) const {
  StoredPair stored;
  stored.freeSlot = network_.pairs_.forEachCandidate(a, b, [&](InteractionId id) {
    const INTERACTION& candidate = network_.interaction(id);
    if (Network::storedAs(candidate, a, b)) {
      stored.forward = id;
    } else if (Network::storedAs(candidate, b, a)) {
      stored.backward = id;
    }
  });
  return stored;
}

TextId NetworkBuilder::internLike(TextId& recent, std::string_view text) {
  if (network_.text(recent) != text) recent = network_.texts_.intern(text);
  return recent;
}

ResolvedReport NetworkBuilder::resolveReport(NodeId a, NodeId b, std::string_view direction,
                                             std::string_view type, std::int32_t pmid) {
  bool created = false;
  const TallyId tally =
      nodeSide_.tallyIds.findOrAdd(pmid, static_cast<TallyId>(nodeSide_.tallyCount), created);
  if (created) ++nodeSide_.tallyCount;
  return {a,
          b,
          internLike(nodeSide_.recentDirection, direction),
          internLike(nodeSide_.recentType, type),
          pmid,
          tally};
}

void NetworkBuilder::addResolvedReport(const ResolvedReport& report, int sourceIndex) {
  const NodeId a = report.first;
  const NodeId b = report.second;
  const TextId d = report.direction;
  // One look at the pair answers both lookups of the merge rules, and its free slot takes a
  // new interaction.
  network_.pairs_.makeRoomForOne();
  const StoredPair stored = findPair(a, b);
  // getInteractionFromInteractors(a, b): stored as (a, b), or undirected as (b, a).
  const bool backwardUndirected =
      stored.backward != none && network_.isUndirected(interaction(stored.backward));
  if (const InteractionId x = stored.forward != none ? stored.forward
                              : backwardUndirected   ? stored.backward
                                                     : InteractionId{none};
      x != none) {
    INTERACTION& found = interaction(x);
    // Found as (b, a), so undirected: a directed report turns it to the report's orientation.
    // The id, adjacency lists and counts stay; only the ends swap.
    if (found.first == b && d != network_.undirected_) std::swap(found.first, found.second);
    mergeReport(found, report, sourceIndex);
    return;
  }
  // getInteractionFromInteractors(b, a) can now only find a directed interaction stored as
  // (b, a), which absorbs reports of its own direction or "0".
  if (stored.backward != none) {
    INTERACTION& reverse = interaction(stored.backward);
    if (d == reverse.direction || d == network_.undirected_) {
      mergeReport(reverse, report, sourceIndex);
      return;
    }
  }
  addInteractionToList(report, sourceIndex, stored);
}

void NetworkBuilder::mergeReport(INTERACTION& interaction, const ResolvedReport& report,
                                 int sourceIndex) {
  if (interaction.direction != report.direction && interaction.direction == network_.undirected_) {
    interaction.direction = report.direction;
  }
  if (interaction.type != report.type && interaction.type == network_.binding_ &&
      report.type != network_.colocalization_) {
    interaction.type = report.type;
  }
  cite(interaction.pmids, report, sourceIndex);
}

void NetworkBuilder::cite(CitationList& citations, const ResolvedReport& report, int sourceIndex) {
  if (!addPMIDtoList(citations, report.pmid, report.tally, sourceIndex, network_.citationBlocks_)) {
    return;
  }
  ChunkedVector<std::int32_t>& loads = network_.articleLoads_;
  // Tallies are numbered as the records that first cite their articles come, and records are
  // merged in that order: a tally not counted yet is the next one.
  if (static_cast<std::size_t>(report.tally) == loads.size()) loads.push_back(0);
  loads[static_cast<std::size_t>(report.tally)] += 1;
}

void NetworkBuilder::addInteractionToList(const ResolvedReport& report, int sourceIndex,
                                          const StoredPair& stored) {
  // stored.forward is none: a report of a pair stored as (a, b) merges into it.
  const auto id = static_cast<InteractionId>(network_.interactions_.size());
  INTERACTION created{report.first, report.second, report.direction, report.type, {}};
  cite(created.pmids, report, sourceIndex);
  network_.interactions_.push_back(std::move(created));
  network_.pairs_.insertAt(stored.freeSlot, id, report.first, report.second);
}

Network NetworkBuilder::build() && {
  // No text or article is looked up from here on: their indexes are only memory.
  network_.texts_.dropIndex();
  nodeSide_.tallyIds = TallyIndex();
  linkAdjacency();
  return std::move(network_);
}

void NetworkBuilder::linkAdjacency() {
  std::vector<INTERACTOR>& nodes = network_.nodes_;
  const ChunkedVector<INTERACTION>& interactions = network_.interactions_;
  const auto forEachEnd = [&](auto&& visit) {
    for (std::size_t index = 0; index < interactions.size(); ++index) {
      const INTERACTION& interaction = interactions[index];
      visit(interaction.first, index);
      if (interaction.second != interaction.first) visit(interaction.second, index);
    }
  };
  // next[n]: where node n's next interaction goes; first where its list starts.
  std::vector<std::size_t> next(nodes.size() + 1, 0);
  forEachEnd([&](NodeId end, std::size_t) { ++next[static_cast<std::size_t>(end) + 1]; });
  // A self-interaction is listed once but counts twice.
  for (std::size_t index = 0; index < interactions.size(); ++index) {
    nodes[static_cast<std::size_t>(interactions[index].first)].interactionCount += 1;
    nodes[static_cast<std::size_t>(interactions[index].second)].interactionCount += 1;
  }
  std::partial_sum(next.begin(), next.end(), next.begin());
  std::vector<InteractionId>& adjacency = network_.adjacency_;
  adjacency.resize(next.back());
  for (std::size_t node = 0; node + 1 < next.size(); ++node) {
    nodes[node].interactions = {adjacency.data() + next[node], next[node + 1] - next[node]};
  }
  // Interactions come by ascending id, so every list ends up ascending.
  forEachEnd([&](NodeId end, std::size_t index) {
    adjacency[next[static_cast<std::size_t>(end)]++] = static_cast<InteractionId>(index);
  });
}

}  // namespace seedweave
