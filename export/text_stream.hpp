// Unformatted writes of texts and numbers for the result writers, which emit millions of
// short fields: copying pooled texts and converting integers directly is several times
// faster than formatting each line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace seedweave {

inline void appendInt(std::string& line, std::int32_t value) { line += std::to_string(value); }

inline void putLine(std::FILE* stream, const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stream);
}

}  // namespace seedweave
