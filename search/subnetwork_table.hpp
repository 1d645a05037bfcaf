// The subnetwork: a set of the network's interactions. Files list it by the string hash of
// each interaction's first end's name, then by creation order.
#pragma once

#include <vector>

#include "store/network.hpp"

namespace seedweave {

class SubnetworkTable {
 public:
  explicit SubnetworkTable(const Network& network);

  // Adds the interaction once; later additions of the same one change nothing. O(1).
  void addInteractionToIntHash(InteractionId id);
  bool contains(InteractionId id) const { return present_[static_cast<std::size_t>(id)]; }
  std::size_t size() const { return members_.size(); }
  // Every member, by bucket of the first end's name, then ascending id.
  // Time complexity: O(k log k) for k members.
  std::vector<InteractionId> inBucketOrder() const;

 private:
  const Network* network_;
  std::vector<bool> present_;
  std::vector<InteractionId> members_;
};

}  // namespace seedweave
