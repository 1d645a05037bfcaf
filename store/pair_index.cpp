#include "store/pair_index.hpp"

namespace seedweave {

void PairIndex::insert(InteractionId id, const std::vector<INTERACTION>& interactions) {
  if ((used_ + 1) * 2 > slots_.size()) grow(interactions);
  place(id, interactions);
  ++used_;
}

void PairIndex::clear() {
  std::vector<InteractionId>().swap(slots_);
  mask_ = 0;
  used_ = 0;
}

void PairIndex::grow(const std::vector<INTERACTION>& interactions) {
  const std::size_t capacity = slots_.empty() ? 1024 : slots_.size() * 2;
  std::vector<InteractionId> old;
  old.swap(slots_);
  slots_.assign(capacity, none);
  mask_ = capacity - 1;
  for (InteractionId id : old) {
    if (id != none) place(id, interactions);
  }
}

void PairIndex::place(InteractionId id, const std::vector<INTERACTION>& interactions) {
  const INTERACTION& record = interactions[static_cast<std::size_t>(id)];
  std::size_t slot = probeStart(pairKey(record.first, record.second));
  while (slots_[slot] != none) slot = (slot + 1) & mask_;
  slots_[slot] = id;
}

}  // namespace seedweave
