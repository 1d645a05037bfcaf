// The in-memory network: every node, interaction, citation and article tally of a run.
// Filled record by record while the SIG files are read, tallied once, then only read.
#pragma once

#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/output.hpp"
#include "store/pair_index.hpp"
#include "store/records.hpp"
#include "store/text_pool.hpp"

namespace seedweave {

// Adds the source bit to an existing entry with that PubMed id, or inserts a new entry at its
// place in ascending PubMed order. Time complexity: O(citations of the interaction).
void addPMIDtoList(std::vector<PMIDLIST>& pmids, std::int32_t pmid, int sourceIndex);

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
  void addInteractionToHash(NodeId a, NodeId b, std::string_view direction,
                            std::string_view type, std::int32_t pmid, int sourceIndex,
                            Output& out);

  // --- Article tallies -------------------------------------------------------------------
  // Counts for every article the interactions citing it and links each citation to its
  // article's tally. Run once, after loading. Time complexity: O(citations) expected.
  void runTallies(Output& out);
  // The tally record of an article, or none after printing a warning.
  TallyId getPMIDtalliesFromHash(std::int32_t pmid, Output& out) const;
  const PMIDLIST& tally(TallyId id) const { return tallies_[static_cast<std::size_t>(id)]; }
  std::size_t tallyCount() const { return tallies_.size(); }
  // The article load of a citation entry: how many interactions cite its article.
  std::int32_t articleLoad(const PMIDLIST& citation) const {
    return tallies_[static_cast<std::size_t>(citation.tally)].interactionCount;
  }

  // --- Reading ---------------------------------------------------------------------------
  // Time complexity: O(1) expected. Returns none when no node has the name.
  NodeId getInteractorFromHash(std::string_view name) const;
  // The interaction stored as (a, b) in any direction, or an undirected one stored as
  // (b, a); none when there is neither. Time complexity: O(1) expected.
  InteractionId getInteractionFromInteractors(NodeId a, NodeId b) const;

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
  InteractionId addInteractionToList(NodeId a, NodeId b, TextId direction, TextId type,
                                     std::int32_t pmid, int sourceIndex, Output& out);
  InteractionId storedAs(NodeId first, NodeId second) const;
  void updateAttribute(TextId& stored, std::string_view incoming);
  void mergeReport(INTERACTION& interaction, TextId direction, TextId type, std::int32_t pmid,
                   int sourceIndex);

  TextPool texts_;
  TextId undirected_;
  TextId notAvailable_;
  TextId binding_;
  TextId colocalization_;
  std::vector<INTERACTOR> nodes_;
  std::unordered_map<std::string_view, NodeId> nodeIds_;
  std::vector<INTERACTION> interactions_;
  PairIndex pairs_;
  std::vector<PMIDLIST> tallies_;
  std::unordered_map<std::int32_t, TallyId> tallyIds_;
};

}  // namespace seedweave
