// A growable array whose elements never move. Storage comes in chunks of 4 MB (huge-page
// sized, see large_array.hpp), so growing neither copies the elements nor holds them twice for
// a moment, which keeps the peak memory of a million-record load close to what it needs.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "store/large_array.hpp"

namespace seedweave {

// Elements are released with their chunks, without being destroyed one by one.
template <typename T>
class ChunkedVector {
  static_assert(std::is_trivially_destructible_v<T>);

 public:
  ChunkedVector() = default;
  ChunkedVector(ChunkedVector&& other) noexcept { *this = std::move(other); }
  ChunkedVector& operator=(ChunkedVector&& other) noexcept {
    std::swap(chunks_, other.chunks_);
    std::swap(size_, other.size_);
    return *this;
  }
  ~ChunkedVector() {
    for (T* chunk : chunks_) releaseLarge(chunk);
  }

  T& operator[](std::size_t index) { return chunks_[index / kPerChunk][index % kPerChunk]; }
  const T& operator[](std::size_t index) const {
    return chunks_[index / kPerChunk][index % kPerChunk];
  }
  std::size_t size() const { return size_; }

  // Time complexity: O(1) amortised.
  void push_back(T value) {
    if (size_ == chunks_.size() * kPerChunk) {
      chunks_.push_back(static_cast<T*>(allocateLarge(kPerChunk * sizeof(T))));
    }
    new (&chunks_[size_ / kPerChunk][size_ % kPerChunk]) T(std::move(value));
    ++size_;
  }

 private:
  static constexpr std::size_t kPerChunk = kLargeChunkBytes / sizeof(T);

  std::vector<T*> chunks_;
  std::size_t size_ = 0;
};

}  // namespace seedweave
