// The interaction that a walk records for each step it takes, and the one rule that decides
// whether a step has a recorded interaction passing the filter.
//
// A step from u to v records the store's step look-up (u, v first, then v, u): the walked
// interaction itself unless u and v are joined by two interactions (directed both ways), when
// it may be the other one, and possibly one that fails the filter. A step whose recorded
// interaction fails prints "missing interaction between u and v". The pathway search, the
// path-length report and the clique files all apply this rule through passingStep.
#pragma once

#include <limits>
#include <vector>

#include "search/filter.hpp"
#include "store/output.hpp"

namespace seedweave {

// The interaction recorded for a step from u to v when it passes the filter, otherwise none.
// u and v must be joined by some interaction. Time complexity: O(1) expected.
InteractionId passingStep(const Network& network, const InteractionFilter& filter, NodeId u,
                          NodeId v);

// Prints the "missing interaction" line of a step from u to v.
void reportMissingStep(const Network& network, NodeId u, NodeId v, Output& out);

// passingStep of every step walked, each made once, when the step is first asked about, and
// remembered: a search asks about the same steps many times.
class StepRecords {
 public:
  // Time complexity: O(interactions), to size the memory of look-ups.
  StepRecords(const Network& network, const InteractionFilter& filter);

  // passingStep for walking `walked` from its end `from`.
  // Time complexity: O(1) expected; the first call for a step makes one pair look-up.
  InteractionId passing(InteractionId walked, NodeId from) const {
    const INTERACTION& interaction = network_.interaction(walked);
    const bool forward = from == interaction.first;
    InteractionId& known = (forward ? fromFirst_ : fromSecond_)[static_cast<std::size_t>(walked)];
    if (known == kUnknown) {
      known =
          passingStep(network_, filter_, from, forward ? interaction.second : interaction.first);
    }
    return known;
  }
  // Whether walking `walked` from `from` prints a missing-interaction line.
  bool missing(InteractionId walked, NodeId from) const { return passing(walked, from) == none; }

 private:
  static constexpr InteractionId kUnknown = std::numeric_limits<InteractionId>::min();

  const Network& network_;
  const InteractionFilter& filter_;
  mutable std::vector<InteractionId> fromFirst_;
  mutable std::vector<InteractionId> fromSecond_;
};

}  // namespace seedweave
