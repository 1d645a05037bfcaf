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

class NetworkBuilder {
 public:
  NetworkBuilder() = default;

  // Creates the node, or updates its attributes: any text but "NA" replaces a stored one.
  // Time complexity: O(1) expected.
  NodeId updateAndRetrieveInteractor(std::string_view name, std::string_view attr1,
                                     std::string_view attr2, std::string_view attr3,
                                     std::string_view attr4);
  // Merges one report that a interacts with b into the network, creating, turning or
  // updating an interaction. Time complexity: O(1) expected plus the citation insert.
  void addInteractionToHash(NodeId a, NodeId b, std::string_view direction, std::string_view type,
                            std::int32_t pmid, int sourceIndex) {
    addInteractionToHash(a, b, direction, type, pmid, tallyArticle(pmid), sourceIndex);
  }
  // The same, with the tally that tallyArticle gave the report's article.
  void addInteractionToHash(NodeId a, NodeId b, std::string_view direction, std::string_view type,
                            std::int32_t pmid, TallyId tally, int sourceIndex);

  // The tally of an article, created at the first report citing it. A loader may call this on
  // another thread than the other calls, one report after the other in the order they are
  // added: it touches nothing else of the builder. Time complexity: O(1) expected.
  TallyId tallyArticle(std::int32_t pmid);

  // Lays out the adjacency lists and hands the network over; the builder is left empty.
  // Time complexity: O(interactions).
  Network build() &&;

  // --- Loading hints ---------------------------------------------------------------------
  // Loading is bound by memory latency: every record touches a few random places of a large
  // store. A loader that holds the next records can call these a few records ahead, each
  // step a few records after the one before, so that what a record needs is already on its
  // way when it is added. They change nothing; a wrong guess costs only time.
  // Time complexity of each: O(1) expected.
  // Step 1: the index slot of a node name (hashed with hashText).
  void prefetchNodeSlot(std::uint32_t nameHash) const { network_.nodeIndex_.prefetch(nameHash); }
  // Step 2: the node that probably has that name, or none; its record is fetched.
  NodeId guessNode(std::uint32_t nameHash) const;
  // Step 2, once both ends are guessed: the index slot of the pair.
  void prefetchPairSlot(NodeId a, NodeId b) const { network_.pairs_.prefetch(a, b); }
  // Step 3: the node's name.
  void prefetchNodeDetails(NodeId node) const;
  // Step 3: the interaction that the pair probably has, and the article's load.
  void prefetchInteraction(NodeId a, NodeId b) const;
  void prefetchArticleLoad(TallyId tally) const;

 private:
  // The interactions stored as (a, b) and as (b, a), and the index slot where a new
  // interaction of the pair goes.
  struct StoredPair {
    InteractionId forward = none;
    InteractionId backward = none;
    std::size_t freeSlot = 0;
  };
  StoredPair findPair(NodeId a, NodeId b) const;
  // A report with its texts interned.
  struct Report {
    NodeId first;
    NodeId second;
    TextId direction;
    TextId type;
    std::int32_t pmid;
    TallyId tally;
  };
  void addInteractionToList(const Report& report, int sourceIndex, const StoredPair& stored);
  void mergeReport(INTERACTION& interaction, const Report& report, int sourceIndex);
  // Adds the citation to the list; a new entry counts in its article's load.
  void cite(CitationList& citations, const Report& report, int sourceIndex);
  void updateAttribute(TextId& stored, std::string_view incoming);
  // Interns a text, trying first the one interned last time in the same role: there are only
  // a few directions and types, so the same one often comes again and needs no hashing.
  TextId internLike(TextId& recent, std::string_view text);
  INTERACTION& interaction(InteractionId id) {
    return network_.interactions_[static_cast<std::size_t>(id)];
  }

  // Lays every node's adjacency list out in one array, in interaction order: built once all
  // interactions exist, the lists need no room to grow. Time complexity: O(interactions).
  void linkAdjacency();

  Network network_;
  TextId recentDirection_ = network_.undirected_;
  TextId recentType_ = network_.binding_;
  // Articles by PubMed id, owned by the thread that calls tallyArticle. Aligned to a cache line
  // of their own, so that the other thread's writes nearby do not keep taking it away.
  struct alignas(64) Articles {
    TallyIndex tallyIds;
    std::size_t count = 0;
  };
  Articles articles_;
};

}  // namespace seedweave
