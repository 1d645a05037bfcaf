// Words of the dialogue: maximal runs of non-white-space characters, of any length, read
// from standard input or from a seed file.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "store/output.hpp"

namespace seedweave {

class WordReader {
 public:
  // When `prompt` is given, it is flushed before every read so that the user sees the
  // question before the program waits.
  explicit WordReader(std::FILE* source, Output* prompt = nullptr)
      : source_(source), prompt_(prompt) {}

  // The next word, or nothing at the end of the input. Time complexity: O(word length).
  std::optional<std::string> next();
  bool failed() const { return std::ferror(source_) != 0; }

 private:
  std::FILE* source_;
  Output* prompt_;
};

// The number at the start of a word, read as atoi reads it (optional sign, leading digits,
// 0 when there are none) but held at the int range instead of overflowing.
int leadingNumber(std::string_view word);

bool isYes(std::string_view word);
bool isNo(std::string_view word);

}  // namespace seedweave
