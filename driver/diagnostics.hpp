// Warnings and summaries for the user, on standard error, each line after "seedweave: ".
// Standard output carries the dialogue only and stays as it is.
#pragma once

#include <cstdio>
#include <string_view>

#include "store/output.hpp"

namespace seedweave {

class Diagnostics {
 public:
  // `dialogue` is flushed before every line, so that on a terminal each line stands after
  // the dialogue lines that led to it.
  Diagnostics(Output& dialogue, std::FILE* sink) : dialogue_(dialogue), sink_(sink) {}

  // `line` is the whole text after the prefix, newline included.
  void print(std::string_view line);

 private:
  Output& dialogue_;
  std::FILE* sink_;
};

}  // namespace seedweave
