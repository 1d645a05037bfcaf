// Captures what the report writers put into their stream, for the report tests.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace seedweave::testing {

// Runs write on a temporary file and returns everything it wrote.
inline std::string writtenBy(const std::function<void(std::FILE*)>& write) {
  std::FILE* file = std::tmpfile();
  write(file);
  std::rewind(file);
  std::string text;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  std::fclose(file);
  return text;
}

}  // namespace seedweave::testing
