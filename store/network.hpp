// The loaded network: every node, interaction, citation and article load of a run, read-only.
// Only a NetworkBuilder makes one, and it hands it over tallied, so every article load that
// can be read exists.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "store/chunked_vector.hpp"
#include "store/output.hpp"
#include "store/pair_index.hpp"
#include "store/records.hpp"
#include "store/slot_table.hpp"
#include "store/text_pool.hpp"

namespace seedweave {

class Network {
 public:
  Network(Network&&) noexcept = default;
  Network& operator=(Network&&) noexcept = default;

  // The article load of a citation entry: how many interactions cite its article.
  // Time complexity: O(1).
  std::int32_t articleLoad(const PMIDLIST& citation) const {
    return articleLoads_[static_cast<std::size_t>(citation.tally)];
  }

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
      if (storedAs(candidate, a, b) || storedAs(candidate, b, a)) visit(id);
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
  // How many interactions the network holds (not a node's INTERACTOR::interactionCount).
  std::size_t interactionTotal() const { return interactions_.size(); }

  std::string_view text(TextId id) const { return texts_.view(id); }
  const char* c_str(TextId id) const { return texts_.c_str(id); }
  const char* name(NodeId id) const { return texts_.c_str(node(id).name); }
  bool isUndirected(const INTERACTION& interaction) const {
    return interaction.direction == undirected_;
  }
  // Whether the interaction is stored as (a, b): a is its first end, b its second.
  static bool storedAs(const INTERACTION& interaction, NodeId a, NodeId b) {
    return std::pair(interaction.first, interaction.second) == std::pair(a, b);
  }
  // The end of the interaction that is not `from` (for a self-interaction, `from` itself).
  NodeId otherEnd(const INTERACTION& interaction, NodeId from) const {
    return interaction.first == from ? interaction.second : interaction.first;
  }

  // Releases every record, article loads included.
  void freeNetwork(Output& out);

 private:
  friend class NetworkBuilder;
  Network();

  // The slot of the node with this name in nodeIndex_, or the empty slot where it belongs.
  std::size_t findNodeSlot(std::string_view name, std::uint32_t hash) const;

  TextPool texts_;
  TextId undirected_;
  TextId binding_;
  TextId colocalization_;
  std::vector<INTERACTOR> nodes_;
  // Nodes by name.
  SlotTable nodeIndex_;
  // From here on what only the interaction half of a merge writes while loading, on cache
  // lines apart from the node half's.
  alignas(64) ChunkedVector<INTERACTION> interactions_;
  // The citation lists longer than one entry.
  CitationBlocks citationBlocks_;
  PairIndex pairs_;
  // Every node's adjacency list, one after the other; INTERACTOR::interactions views its part.
  std::vector<InteractionId> adjacency_;
  // By tally id: the number of interactions citing the article.
  ChunkedVector<std::int32_t> articleLoads_;
};

}  // namespace seedweave
