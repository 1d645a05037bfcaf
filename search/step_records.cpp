#include "search/step_records.hpp"

#include <numeric>

#include "search/anomalous_steps.hpp"

namespace seedweave {

StepRecords::StepRecords(const Network& network)
    : network_(network),
      fromFirst_(network.interactionCount()),
      fromSecond_(network.interactionCount()) {
  std::iota(fromFirst_.begin(), fromFirst_.end(), InteractionId{0});
  std::iota(fromSecond_.begin(), fromSecond_.end(), InteractionId{0});
  std::vector<bool> joint(network.interactionCount(), false);
  markJointPairs(joint);
  for (std::size_t index = 0; index < joint.size(); ++index) {
    if (!joint[index]) continue;
    const INTERACTION& interaction = network.interaction(static_cast<InteractionId>(index));
    fromFirst_[index] = lookUpStep(network, interaction.first, interaction.second);
    fromSecond_[index] = lookUpStep(network, interaction.second, interaction.first);
  }
}

// Marks every interaction that shares its pair of ends with another: scanning each node's
// adjacency list, a neighbour met twice from the same node is such a pair.
void StepRecords::markJointPairs(std::vector<bool>& joint) const {
  const Network& network = network_;
  std::vector<NodeId> lastVisitor(network.nodeCount(), none);
  std::vector<InteractionId> firstSeen(network.nodeCount(), none);
  for (std::size_t index = 0; index < network.nodeCount(); ++index) {
    const auto node = static_cast<NodeId>(index);
    for (InteractionId id : network.node(node).interactions) {
      const auto other = static_cast<std::size_t>(network.otherEnd(network.interaction(id), node));
      if (lastVisitor[other] == node) {
        joint[static_cast<std::size_t>(id)] = true;
        joint[static_cast<std::size_t>(firstSeen[other])] = true;
      } else {
        lastVisitor[other] = node;
        firstSeen[other] = id;
      }
    }
  }
}

}  // namespace seedweave
