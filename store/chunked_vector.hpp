// A growable array whose elements never move. Storage comes in fixed-size chunks, so
// growing neither copies the elements nor holds them twice for a moment, which keeps the peak
// memory of a million-record load close to what the records need.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace seedweave {

template <typename T>
class ChunkedVector {
 public:
  T& operator[](std::size_t index) { return chunks_[index >> kChunkBits][index & kChunkMask]; }
  const T& operator[](std::size_t index) const {
    return chunks_[index >> kChunkBits][index & kChunkMask];
  }
  std::size_t size() const { return size_; }

  // Time complexity: O(1) amortised.
  void push_back(T value) {
    if (size_ == chunks_.size() * kChunkSize) chunks_.push_back(std::make_unique<T[]>(kChunkSize));
    (*this)[size_++] = std::move(value);
  }

  void clear() {
    std::vector<std::unique_ptr<T[]>>().swap(chunks_);
    size_ = 0;
  }

 private:
  static constexpr std::size_t kChunkBits = 14;
  static constexpr std::size_t kChunkSize = std::size_t{1} << kChunkBits;
  static constexpr std::size_t kChunkMask = kChunkSize - 1;

  std::vector<std::unique_ptr<T[]>> chunks_;
  std::size_t size_ = 0;
};

}  // namespace seedweave
