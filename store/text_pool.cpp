#include "store/text_pool.hpp"

#include <cstring>

namespace seedweave {

namespace {
constexpr std::size_t kChunkBytes = 1 << 16;
}

TextId TextPool::intern(std::string_view text) {
  if (auto found = ids_.find(text); found != ids_.end()) return found->second;
  const char* stored = store(text);
  const auto id = static_cast<TextId>(starts_.size());
  starts_.push_back(stored);
  lengths_.push_back(static_cast<std::uint32_t>(text.size()));
  ids_.emplace(std::string_view(stored, text.size()), id);
  return id;
}

std::int64_t TextPool::find(std::string_view text) const {
  auto found = ids_.find(text);
  return found == ids_.end() ? std::int64_t{none} : std::int64_t{found->second};
}

const char* TextPool::store(std::string_view text) {
  const std::size_t needed = text.size() + 1;
  if (chunks_.empty() || chunkUsed_ + needed > chunkSize_) {
    chunkSize_ = needed > kChunkBytes ? needed : kChunkBytes;
    chunks_.push_back(std::make_unique<char[]>(chunkSize_));
    chunkUsed_ = 0;
  }
  char* target = chunks_.back().get() + chunkUsed_;
  if (!text.empty()) std::memcpy(target, text.data(), text.size());
  target[text.size()] = '\0';
  chunkUsed_ += needed;
  return target;
}

}  // namespace seedweave
