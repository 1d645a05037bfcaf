#include "store/network.hpp"

#include <utility>

#include "store/messages.hpp"

namespace seedweave {

Network::Network()
    : undirected_(texts_.intern("0")),
      binding_(texts_.intern("Binding")),
      colocalization_(texts_.intern("Colocalization")) {}

std::size_t Network::findNodeSlot(std::string_view name, std::uint32_t hash) const {
  return nodeIndex_.probe(hash,
                          [&](std::uint32_t id) { return texts_.view(nodes_[id].name) == name; });
}

NodeId Network::getInteractorFromHash(std::string_view name) const {
  const std::uint32_t found = nodeIndex_.idAt(findNodeSlot(name, hashText(name)));
  return found == SlotTable::kEmpty ? NodeId{none} : static_cast<NodeId>(found);
}

InteractionId Network::getInteractionFromInteractors(NodeId a, NodeId b) const {
  // The merge rules fold every report of (a, b), and every undirected one of (b, a), into one
  // interaction: at most one candidate matches.
  InteractionId match = none;
  pairs_.forEachCandidate(a, b, [&](InteractionId id) {
    const INTERACTION& candidate = interaction(id);
    if (storedAs(candidate, a, b) || (storedAs(candidate, b, a) && isUndirected(candidate))) {
      match = id;
    }
  });
  return match;
}

void Network::freeNetwork(Output& out) {
  out.print(messages::kReleasingRecords);
  // Moved into a local, everything goes when it does.
  const Network released = std::move(*this);
}

}  // namespace seedweave
