#include "search/anomalous_steps.hpp"

namespace seedweave {

InteractionId lookUpStep(const Network& network, NodeId u, NodeId v) {
  const InteractionId forward = network.getInteractionFromInteractors(u, v);
  return forward != none ? forward : network.getInteractionFromInteractors(v, u);
}

AnomalousSteps::AnomalousSteps(const Network& network, const InteractionFilter& filter)
    : nodes_(network.nodeCount(), false) {
  for (std::size_t i = 0; i < network.interactionCount(); ++i) {
    const auto id = static_cast<InteractionId>(i);
    if (!filter.passes(id)) continue;
    const INTERACTION& walked = network.interaction(id);
    for (const auto& [u, v] : {std::pair{walked.first, walked.second},
                               std::pair{walked.second, walked.first}}) {
      const InteractionId recorded = lookUpStep(network, u, v);
      if (recorded != none && filter.passes(recorded)) continue;
      steps_.insert(key(u, v));
      nodes_[static_cast<std::size_t>(u)] = true;
      nodes_[static_cast<std::size_t>(v)] = true;
    }
  }
}

}  // namespace seedweave
