// Loading a network: the builder takes the records of the SIG files one by one, merges them
// into nodes and interactions, and hands over the finished network once, tallied.
#pragma once

#include <algorithm>
#include <string_view>

#include "store/hashing.hpp"
#include "store/network.hpp"
#include "store/tally_index.hpp"

namespace seedweave {

// Adds the source bit to an existing entry with that PubMed id, or inserts a new entry, linked
// to the article's tally, at its place in ascending PubMed order; true when it inserted one.
// Time complexity: O(citations of the interaction).
inline bool addPMIDtoList(CitationList& pmids, std::int32_t pmid, TallyId tally, int sourceIndex,
                          CitationBlocks& blocks) {
  auto place =
      std::lower_bound(pmids.begin(), pmids.end(), pmid,
                       [](const PMIDLIST& entry, std::int32_t id) { return entry.pmid < id; });
  if (place != pmids.end() && place->pmid == pmid) {
    place->sourceFlags = addFlag(place->sourceFlags, sourceIndex);
    return false;
  }
  PMIDLIST entry;
  entry.pmid = pmid;
  entry.tally = tally;
  entry.sourceFlags = addFlag(0, sourceIndex);
  pmids.insert(place, entry, blocks);
  return true;
}

// One report that two nodes interact, its texts interned and its article's tally found: what
// the interaction half of a merge needs.
struct ResolvedReport {
  NodeId first = none;
  NodeId second = none;
  TextId direction{};
  TextId type{};
  std::int32_t pmid{};
  TallyId tally = none;
};

class NetworkBuilder {
 public:
  // Creates the node, or updates its attributes: any text but "NA" replaces a stored one.
  // Time complexity: O(1) expected.
  NodeId updateAndRetrieveInteractor(std::string_view name, std::string_view attr1,
                                     std::string_view attr2, std::string_view attr3,
                                     std::string_view attr4) {
    return updateAndRetrieveInteractor(name, hashText(name), attr1, attr2, attr3, attr4);
  }
  // The same, for a caller that has hashed the name with hashText already.
  NodeId updateAndRetrieveInteractor(std::string_view name, std::uint32_t nameHash,
                                     std::string_view attr1, std::string_view attr2,
                                     std::string_view attr3, std::string_view attr4);
  // Merges one report that a interacts with b into the network, creating, turning or
  // updating an interaction. Time complexity: O(1) expected plus the citation insert.
  void addInteractionToHash(NodeId a, NodeId b, std::string_view direction, std::string_view type,
                            std::int32_t pmid, int sourceIndex) {
    addResolvedReport(resolveReport(a, b, direction, type, pmid), sourceIndex);
  }

  // A merge in two halves, which a loader may run on two threads, each half in report order:
  // updateAndRetrieveInteractor and resolveReport touch only nodes, texts and articles;
  // addResolvedReport only interactions, citations and article loads.
  // Time complexity of each: O(1) expected, plus the citation insert.
  ResolvedReport resolveReport(NodeId a, NodeId b, std::string_view direction,
                               std::string_view type, std::int32_t pmid);
  void addResolvedReport(const ResolvedReport& report, int sourceIndex);

  // Lays out the adjacency lists and hands the network over; the builder is left empty.
  // Time complexity: O(interactions).
  Network build() &&;

  // --- Loading hints ---------------------------------------------------------------------
  // Loading is bound by memory latency: every record reads a few random places of a large
  // store. A loader that holds a group of records can take each step below for the whole
  // group before the next step, and add the records last, so that the reads of a step
  // proceed in parallel and what a record needs is in the cache when it is added (see
  // store/touch.hpp). They change nothing; a wrong guess costs only time.
  // Time complexity of each: O(1) expected.
  // The node half. Step 1: the index slots of a node name (hashed with hashText) and of an
  // article.
  void prefetchNodeSlot(std::uint32_t nameHash) const { network_.nodeIndex_.prefetch(nameHash); }
  void prefetchArticle(std::int32_t pmid) const { nodeSide_.tallyIds.prefetch(pmid); }
  // Step 2: the node that probably has that name, or none; its record is fetched.
  NodeId guessNode(std::uint32_t nameHash) const;
  // Step 3: the node's name.
  void prefetchNodeDetails(NodeId node) const;
  // The interaction half. Step 1: the index slot of the pair.
  void prefetchPairSlot(NodeId a, NodeId b) const { network_.pairs_.prefetch(a, b); }
  // Step 2: the interaction that the pair probably has, or none; its record is fetched.
  InteractionId guessInteraction(NodeId a, NodeId b) const;
  // Step 3: that interaction's first citation (in a block of its own when it has several),
  // and the load of the report's article.
  void prefetchCitations(InteractionId id) const;
  void prefetchArticleLoad(TallyId tally) const;

 private:
  // The interactions stored as (a, b) and as (b, a), and the index slot where a new
  // interaction of the pair goes.
  struct StoredPair {
    InteractionId forward = none;
    InteractionId backward = none;
    std::size_t freeSlot{};
  };
  StoredPair findPair(NodeId a, NodeId b) const;
  void addInteractionToList(const ResolvedReport& report, int sourceIndex,
                            const StoredPair& stored);
  void mergeReport(INTERACTION& interaction, const ResolvedReport& report, int sourceIndex);
  // Adds the citation to the list; a new entry counts in its article's load.
  void cite(CitationList& citations, const ResolvedReport& report, int sourceIndex);
  void updateAttribute(TextId& stored, std::string_view incoming);
  // Interns a text, trying first the one interned last time in the same role: there are only
  // a few directions and types, so the same one often comes again and needs no hashing.
  TextId internLike(TextId& recent, std::string_view text);
  INTERACTION& interaction(InteractionId id) {
    return network_.interactions_[static_cast<std::size_t>(id)];
  }

  // Lays every node's adjacency list out in one array, in interaction order, and counts each
  // node's interactions: built once all interactions exist, the lists need no room to grow.
  // Time complexity: O(interactions).
  void linkAdjacency();

  Network network_;
  // What only the node half uses, on a cache line of its own: the other half's writes nearby
  // would otherwise keep taking it away.
  struct alignas(64) NodeSide {
    TextId recentDirection;
    TextId recentType;
    TallyIndex tallyIds;  // articles by PubMed id
    std::size_t tallyCount = 0;
  };
  NodeSide nodeSide_{network_.undirected_, network_.binding_, {}};
};

}  // namespace seedweave
