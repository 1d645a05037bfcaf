// Captures what a writer puts into its stream, for the tests of the file writers.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace seedweave::testing {

// Runs write on a temporary file and returns everything it wrote.
inline std::string writtenBy(const std::function<void(std::FILE*)>& write) {
  std::FILE* file = std::tmpfile();
  write(file);
  std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
  std::rewind(file);
  text.resize(std::fread(text.data(), 1, text.size(), file));
  std::fclose(file);
  return text;
}

}  // namespace seedweave::testing
