#include "search/subnetwork_table.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace seedweave {

SubnetworkTable::SubnetworkTable(const Network& network)
    : network_(&network), present_(network.interactionTotal(), false) {}

void SubnetworkTable::addInteractionToIntHash(InteractionId id) {
  if (present_[static_cast<std::size_t>(id)]) return;
  present_[static_cast<std::size_t>(id)] = true;
  members_.push_back(id);
}

// Sorted on one 64-bit key per member, bucket above id, so that the comparisons do not
// fetch node records.
std::vector<InteractionId> SubnetworkTable::inBucketOrder() const {
  constexpr int kIdBits = std::numeric_limits<std::uint32_t>::digits;
  std::vector<std::uint64_t> keys;
  for (InteractionId id : members_) {
    const auto bucket =
        static_cast<std::uint32_t>(network_->node(network_->interaction(id).first).nameBucket);
    keys.push_back(std::uint64_t{bucket} << kIdBits | static_cast<std::uint32_t>(id));
  }
  std::sort(keys.begin(), keys.end());
  std::vector<InteractionId> ordered;
  for (std::uint64_t key : keys) {
    ordered.push_back(static_cast<InteractionId>(static_cast<std::uint32_t>(key)));
  }
  return ordered;
}

}  // namespace seedweave
