// Interned texts. Node names, attributes, directions and types repeat a great deal, so each
// distinct text is stored once, NUL-terminated, and records refer to it by a 4-byte id.
// Equal ids mean equal texts. Texts are SIG fields, so short: a length is kept in 32 bits.
#pragma once

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

#include "store/slot_table.hpp"
#include "store/touch.hpp"
#include "store/types.hpp"

namespace seedweave {

class TextPool {
 public:
  // Time complexity: O(length) expected.
  TextId intern(std::string_view text);

  // Time complexity: O(1); reads only the text's own bytes.
  std::string_view view(TextId id) const {
    const char* at = locate(id);
    std::uint32_t length;
    std::memcpy(&length, at, sizeof length);
    return {at + sizeof length, length};
  }
  const char* c_str(TextId id) const { return locate(id) + sizeof(std::uint32_t); }
  void prefetch(TextId id) const { touch(*locate(id)); }
  // Forgets which texts are interned, keeping them: once no more texts come, the index is
  // only memory. Nothing may be interned after it.
  void dropIndex() { slots_.clear(); }

 private:
  // A text's id is its place: the chunk and the 4-byte-aligned offset in it, where its length
  // precedes its bytes. Looking a text up then touches no table of starts or lengths.
  static constexpr unsigned kOffsetBits = 14;
  static constexpr std::size_t kChunkBytes = std::size_t{4} << kOffsetBits;
  // The highest id means "empty", so the chunk index stays below the largest that fits.
  static constexpr std::size_t kMaxChunks = std::numeric_limits<TextId>::max() >> kOffsetBits;

  const char* locate(TextId id) const {
    return chunks_[id >> kOffsetBits].get() + ((id & ((1u << kOffsetBits) - 1)) << 2);
  }
  TextId store(std::string_view text);

  std::vector<std::unique_ptr<char[]>> chunks_;
  std::size_t chunkUsed_{};
  std::size_t chunkSize_{};
  SlotTable slots_;
};

}  // namespace seedweave
