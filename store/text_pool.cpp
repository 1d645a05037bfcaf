#include "store/text_pool.hpp"

#include <algorithm>
#include <new>

namespace seedweave {

TextId TextPool::intern(std::string_view text) {
  const std::uint32_t hash = hashText(text);
  slots_.makeRoomForOne();
  const std::size_t slot = slots_.probe(hash, [&](std::uint32_t id) { return view(id) == text; });
  if (slots_.idAt(slot) != SlotTable::kEmpty) return slots_.idAt(slot);
  const TextId id = store(text);
  slots_.fill(slot, hash, id);
  return id;
}

// Texts go one after another into chunks; a text too long for a chunk gets a chunk of its own.
TextId TextPool::store(std::string_view text) {
  const std::size_t needed = (sizeof(std::uint32_t) + text.size() + 1 + 3) & ~std::size_t{3};
  if (chunks_.empty() || chunkUsed_ + needed > chunkSize_) {
    if (chunks_.size() == kMaxChunks) throw std::bad_alloc();
    chunkSize_ = std::max(needed, kChunkBytes);
    chunks_.push_back(std::make_unique_for_overwrite<char[]>(chunkSize_));
    chunkUsed_ = 0;
  }
  char* target = chunks_.back().get() + chunkUsed_;
  const auto length = static_cast<std::uint32_t>(text.size());
  std::memcpy(target, &length, sizeof length);
  if (!text.empty()) std::memcpy(target + sizeof length, text.data(), text.size());
  target[sizeof length + text.size()] = '\0';
  const auto id = static_cast<TextId>(((chunks_.size() - 1) << kOffsetBits) | (chunkUsed_ >> 2));
  chunkUsed_ += needed;
  return id;
}

}  // namespace seedweave
