// Interned texts. Node names, attributes, directions and types repeat a great deal, so each
// distinct text is stored once, NUL-terminated, and records refer to it by a 4-byte id.
// Equal ids mean equal texts.
#pragma once

#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/types.hpp"

namespace seedweave {

class TextPool {
 public:
  // Time complexity: O(length) expected.
  TextId intern(std::string_view text);
  // The id of a text already interned, or none.
  std::int64_t find(std::string_view text) const;

  std::string_view view(TextId id) const { return {starts_[id], lengths_[id]}; }
  const char* c_str(TextId id) const { return starts_[id]; }
  std::size_t size() const { return starts_.size(); }

 private:
  const char* store(std::string_view text);

  std::vector<std::unique_ptr<char[]>> chunks_;
  std::size_t chunkUsed_ = 0;
  std::size_t chunkSize_ = 0;
  std::vector<const char*> starts_;
  std::vector<std::uint32_t> lengths_;
  std::unordered_map<std::string_view, TextId> ids_;
};

}  // namespace seedweave
