// Memory for the store's large tables. Loading reads them at random a million times, and with
// ordinary 4 KB pages nearly every such read also misses the processor's cache of address
// translations, which costs as much as the read itself. Blocks of 2 MB and more are therefore
// aligned to 2 MB and offered to the system for huge pages, where it has them; the contents
// are the same either way.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace seedweave {

// Time complexity: O(1) plus the system's work. Throws std::bad_alloc when memory runs out.
void* allocateLarge(std::size_t bytes);
void releaseLarge(void* block) noexcept;

// The chunk size of the store's chunked memory: two huge pages.
inline constexpr std::size_t kLargeChunkBytes = std::size_t{4} << 20;

// A fixed-size array of trivially copyable values in such memory.
template <typename T>
class LargeArray {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  LargeArray() = default;
  // Time complexity: O(size).
  LargeArray(std::size_t size, const T& fill)
      : data_(static_cast<T*>(allocateLarge(size * sizeof(T)))), size_(size) {
    for (std::size_t i = 0; i < size; ++i) new (data_ + i) T(fill);
  }
  LargeArray(LargeArray&& other) noexcept { *this = std::move(other); }
  LargeArray& operator=(LargeArray&& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    return *this;
  }
  ~LargeArray() { releaseLarge(data_); }

  T& operator[](std::size_t index) { return data_[index]; }
  const T& operator[](std::size_t index) const { return data_[index]; }
  std::size_t size() const { return size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }

 private:
  T* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace seedweave
