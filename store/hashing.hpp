// The bucket hash of names and the source bit sets. Output files list interactions by the string
// hash of their first end's name, so these must give exactly the values below.
#pragma once

#include <cstdint>
#include <string_view>

namespace seedweave {

inline constexpr int kBucketCount = 10000;

// Time complexity: O(length). Bytes count as signed 8-bit values.
int getHashIndexFromString(std::string_view text);

// Source bit sets are 32 bits wide: an index of 32 or more adds nothing.
std::uint32_t addFlag(std::uint32_t flags, int sourceIndex);

}  // namespace seedweave
