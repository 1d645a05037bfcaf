#include "search/subnetwork_table.hpp"

#include <algorithm>

namespace seedweave {

SubnetworkTable::SubnetworkTable(const Network& network)
    : network_(&network), present_(network.interactionTotal(), false) {}

void SubnetworkTable::addInteractionToIntHash(InteractionId id) {
  if (present_[static_cast<std::size_t>(id)]) return;
  present_[static_cast<std::size_t>(id)] = true;
  members_.push_back(id);
}

std::vector<InteractionId> SubnetworkTable::inBucketOrder() const {
  std::vector<InteractionId> ordered = members_;
  const Network& network = *network_;
  auto bucketOf = [&](InteractionId id) {
    return network.node(network.interaction(id).first).nameBucket;
  };
  std::sort(ordered.begin(), ordered.end(), [&](InteractionId a, InteractionId b) {
    const int bucketA = bucketOf(a);
    const int bucketB = bucketOf(b);
    return bucketA != bucketB ? bucketA < bucketB : a < b;
  });
  return ordered;
}

}  // namespace seedweave
