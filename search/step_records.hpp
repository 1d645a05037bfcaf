// The interaction that the pathway search records for each step it walks.
//
// A step from u to v records lookUpStep(u, v): the walked interaction itself unless u and v
// are joined by two interactions (directed both ways), when it may be the other one, and
// possibly one that fails the filter, which the search reports as a missing interaction.
// Each step's look-up is made once, when the step is first asked about, and remembered.
#pragma once

#include <vector>

#include "search/anomalous_steps.hpp"

namespace seedweave {

class StepRecords {
 public:
  // Time complexity: O(interactions), to size the memory of look-ups.
  explicit StepRecords(const Network& network);

  // The interaction recorded when walking `walked` from its end `from`.
  // Time complexity: O(1) expected; the first call for a step makes one pair look-up.
  InteractionId recorded(InteractionId walked, NodeId from) const {
    const INTERACTION& interaction = network_.interaction(walked);
    const bool forward = from == interaction.first;
    InteractionId& known = (forward ? fromFirst_ : fromSecond_)[static_cast<std::size_t>(walked)];
    if (known == kUnknown) {
      known = lookUpStep(network_, from, forward ? interaction.second : interaction.first);
    }
    return known;
  }

 private:
  static constexpr InteractionId kUnknown = -2;

  const Network& network_;
  mutable std::vector<InteractionId> fromFirst_;
  mutable std::vector<InteractionId> fromSecond_;
};

// Whether walking `walked` (which passes the filter) from `from` records an interaction that
// fails it: the search then prints a missing-interaction line for the step.
inline bool recordsFailing(const StepRecords& steps, const InteractionFilter& filter,
                           InteractionId walked, NodeId from) {
  return !filter.passes(steps.recorded(walked, from));
}

}  // namespace seedweave
