#include "search/step_records.hpp"

#include "search/messages.hpp"

namespace seedweave {

InteractionId passingStep(const Network& network, const InteractionFilter& filter, NodeId u,
                          NodeId v) {
  const InteractionId recorded = network.lookUpStep(u, v);
  return filter.passes(recorded) ? recorded : InteractionId{none};
}

void reportMissingStep(const Network& network, NodeId u, NodeId v, Output& out) {
  out.print(messages::kMissingInteraction, network.name(u), network.name(v));
}

StepRecords::StepRecords(const Network& network, const InteractionFilter& filter)
    : network_(network),
      filter_(filter),
      fromFirst_(network.interactionTotal(), kUnknown),
      fromSecond_(network.interactionTotal(), kUnknown) {}

}  // namespace seedweave
