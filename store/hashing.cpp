#include "store/hashing.hpp"

namespace seedweave {

int getHashIndexFromString(std::string_view text) {
  std::uint32_t h = 5381;
  for (char c : text) {
    const auto byte = static_cast<std::int32_t>(static_cast<signed char>(c));
    h = h * 33u + static_cast<std::uint32_t>(byte);
  }
  return static_cast<int>(h % kBucketCount);
}

std::uint32_t addFlag(std::uint32_t flags, int sourceIndex) {
  if (sourceIndex < 0 || sourceIndex >= 32) return flags;
  return flags | (std::uint32_t{1} << sourceIndex);
}

}  // namespace seedweave
