// Warnings and summaries for the user, on standard error, each line after "seedweave: ".
// Standard output carries the dialogue only and stays as it is.
#pragma once

#include <cstdio>

#include "store/output.hpp"

namespace seedweave {

class Diagnostics {
 public:
  // `dialogue` is flushed before every line, so that on a terminal each line stands after
  // the dialogue lines that led to it.
  Diagnostics(Output& dialogue, std::FILE* sink) : dialogue_(dialogue), sink_(sink) {}

  void print(const char* format, ...) __attribute__((format(printf, 2, 3)));

 private:
  Output& dialogue_;
  std::FILE* sink_;
};

}  // namespace seedweave
