// The in-memory network: every node, interaction, citation and article tally of a run.
// Filled record by record while the SIG files are read, tallied once, then only read.
#pragma once

#include <algorithm>
#include <cassert>
#include <string_view>
#include <vector>

#include "store/chunked_vector.hpp"
#include "store/hashing.hpp"
#include "store/output.hpp"
#include "store/pair_index.hpp"
#include "store/records.hpp"
#include "store/tally_index.hpp"
#include "store/text_pool.hpp"

namespace seedweave {

// Adds the source bit to an existing entry with that PubMed id, or inserts a new entry at its
// place in ascending PubMed order. Works on any list with the vector's insert, such as an
// interaction's CitationList. Time complexity: O(citations of the interaction).
template <typename Citations>
void addPMIDtoList(Citations& pmids, std::int32_t pmid, int sourceIndex) {
  auto place =
      std::lower_bound(pmids.begin(), pmids.end(), pmid,
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

class Network {
 public:
  Network();

  // --- Loading ---------------------------------------------------------------------------
  // Creates the node, or updates its attributes: any text but "NA" replaces a stored one.
  // Time complexity: O(1) expected.
  NodeId updateAndRetrieveInteractor(std::string_view name, std::string_view attr1,
                                     std::string_view attr2, std::string_view attr3,
                                     std::string_view attr4);
  // Merges one report that a interacts with b into the network, creating, turning or
  // updating an interaction. Time complexity: O(1) expected plus the citation insert.
  void addInteractionToHash(NodeId a, NodeId b, std::string_view direction, std::string_view type,
                            std::int32_t pmid, int sourceIndex);

  // --- Loading hints ---------------------------------------------------------------------
  // Loading is bound by memory latency: every record touches a few random places of a large
  // store. A loader that holds the next records can call these a few records ahead, each
  // step a few records after the one before, so that what a record needs is already on its
  // way when it is added. They change nothing; a wrong guess costs only time.
  // Time complexity of each: O(1) expected.
  // Step 1: the index slot of a node name (hashed with hashText).
  void prefetchNodeSlot(std::uint32_t nameHash) const { nodeIndex_.prefetch(nameHash); }
  // Step 2: the node that probably has that name, or none; its record is fetched.
  NodeId guessNode(std::uint32_t nameHash) const;
  // Step 2, once both ends are guessed: the index slot of the pair.
  void prefetchPairSlot(NodeId a, NodeId b) const { pairs_.prefetch(a, b); }
  // Step 3: the node's name, and the end of its adjacency list, where a new interaction goes.
  void prefetchNodeDetails(NodeId node) const;
  // Step 3: the interaction that the pair probably has.
  void prefetchInteraction(NodeId a, NodeId b) const;

  // --- Article tallies -------------------------------------------------------------------
  // Counts for every article the interactions citing it and links each citation to its
  // article's tally. Run once, after loading. Time complexity: O(citations) expected.
  void runTallies();
  // The article load of a citation entry: how many interactions cite its article. Only
  // after runTallies, which links the citation to its tally.
  std::int32_t articleLoad(const PMIDLIST& citation) const {
    assert(tallied_);
    return tallies_[static_cast<std::size_t>(citation.tally)].interactionCount;
  }

  // --- Reading ---------------------------------------------------------------------------
  // Time complexity: O(1) expected. Returns none when no node has the name.
  NodeId getInteractorFromHash(std::string_view name) const;
  // The interaction stored as (a, b) in any direction, or an undirected one stored as
  // (b, a); none when there is neither. Time complexity: O(1) expected.
  InteractionId getInteractionFromInteractors(NodeId a, NodeId b) const;
  // Calls visit(id) for every interaction joining a and b, stored either way round (at most
  // two). Time complexity: O(1) expected.
  template <typename Visit>
  void forEachInteractionBetween(NodeId a, NodeId b, Visit&& visit) const {
    pairs_.forEachCandidate(a, b, [&](InteractionId id) {
      const INTERACTION& candidate = interaction(id);
      if ((candidate.first == a && candidate.second == b) ||
          (candidate.first == b && candidate.second == a)) {
        visit(id);
      }
    });
  }
  // The interaction a walk records for a step from a to b, direction ignored: the one found
  // for (a, b), else the one found for (b, a); none when a and b are not joined.
  // Time complexity: O(1) expected.
  InteractionId lookUpStep(NodeId a, NodeId b) const {
    const InteractionId forward = getInteractionFromInteractors(a, b);
    return forward != none ? forward : getInteractionFromInteractors(b, a);
  }

  const INTERACTOR& node(NodeId id) const { return nodes_[static_cast<std::size_t>(id)]; }
  const INTERACTION& interaction(InteractionId id) const {
    return interactions_[static_cast<std::size_t>(id)];
  }
  std::size_t nodeCount() const { return nodes_.size(); }
  std::size_t interactionCount() const { return interactions_.size(); }

  std::string_view text(TextId id) const { return texts_.view(id); }
  const char* c_str(TextId id) const { return texts_.c_str(id); }
  const char* name(NodeId id) const { return texts_.c_str(node(id).name); }
  bool isUndirected(const INTERACTION& interaction) const {
    return interaction.direction == undirected_;
  }
  // The end of the interaction that is not `from` (for a self-interaction, `from` itself).
  NodeId otherEnd(const INTERACTION& interaction, NodeId from) const {
    return interaction.first == from ? interaction.second : interaction.first;
  }

  // --- Teardown --------------------------------------------------------------------------
  // Releases every record, tallies included.
  void freeNetwork(Output& out);

 private:
  // The interactions stored as (a, b) and as (b, a), and the index slot where a new
  // interaction of the pair goes.
  struct StoredPair {
    InteractionId forward = none;
    InteractionId backward = none;
    std::size_t freeSlot = 0;
  };
  StoredPair findPair(NodeId a, NodeId b) const;
  InteractionId addInteractionToList(NodeId a, NodeId b, TextId direction, TextId type,
                                     std::int32_t pmid, int sourceIndex, const StoredPair& stored);
  // The slot of the node with this name in nodeIndex_, or the empty slot where it belongs.
  std::size_t findNodeSlot(std::string_view name, std::uint32_t hash) const;
  void updateAttribute(TextId& stored, std::string_view incoming);
  // Interns a text, trying first the one interned last time in the same role: there are only
  // a few directions and types, so the same one often comes again and needs no hashing.
  TextId internLike(TextId& recent, std::string_view text);
  void countCitation(PMIDLIST& citation);
  void prefetchTally(std::int32_t pmid) const;
  void mergeReport(INTERACTION& interaction, TextId direction, TextId type, std::int32_t pmid,
                   int sourceIndex);

  TextPool texts_;
  TextId undirected_;
  TextId binding_;
  TextId colocalization_;
  TextId recentDirection_ = undirected_;
  TextId recentType_ = binding_;
  std::vector<INTERACTOR> nodes_;
  // Nodes by name.
  SlotTable nodeIndex_;
  ChunkedVector<INTERACTION> interactions_;
  PairIndex pairs_;
  ChunkedVector<PMIDLIST> tallies_;
  TallyIndex tallyIds_;
  bool tallied_ = false;
};

}  // namespace seedweave
