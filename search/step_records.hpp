// The interaction that the pathway search records for each step it walks.
//
// A step from u to v records lookUpStep(u, v). When one interaction joins u and v that is the
// walked one itself; only a pair joined by two interactions (directed both ways) can record
// the other one, and possibly one that fails the filter, which the search reports as a
// missing interaction. Such pairs are found once per run by one pass over the adjacency
// lists, so that no step needs a pair look-up.
#pragma once

#include <vector>

#include "search/filter.hpp"

namespace seedweave {

class StepRecords {
 public:
  // Time complexity: O(adjacency entries) plus one look-up per interaction of a joint pair.
  explicit StepRecords(const Network& network);

  // The interaction recorded when walking `walked` from its end `from`. O(1).
  InteractionId recorded(InteractionId walked, NodeId from) const {
    const auto index = static_cast<std::size_t>(walked);
    return from == network_.interaction(walked).first ? fromFirst_[index] : fromSecond_[index];
  }

 private:
  void markJointPairs(std::vector<bool>& joint) const;

  const Network& network_;
  std::vector<InteractionId> fromFirst_;
  std::vector<InteractionId> fromSecond_;
};

// Whether walking `walked` (which passes the filter) from `from` records an interaction that
// fails it: the search then prints a missing-interaction line for the step.
inline bool recordsFailing(const StepRecords& steps, const InteractionFilter& filter,
                           InteractionId walked, NodeId from) {
  return !filter.passes(steps.recorded(walked, from));
}

}  // namespace seedweave
