// Shared helpers for the tests: temporary folders, SIG text, and runs of the binary.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "store/network.hpp"

namespace seedweave::testing {

// A fresh empty folder, removed with everything in it when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes a file in the folder and returns its path.
  std::string write(const std::string& name, const std::string& content) const;
  // The content of a file in the folder, or "<missing>" when there is none.
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// One SIG record: name a attributes, name b attributes, direction, type, PubMed id.
// Attributes default to "NA".
std::string sigLine(const std::string& a, const std::string& b, const std::string& direction,
                    const std::string& type, const std::string& pmid);

// A network loaded from SIG texts, one per source index, and tallied.
Network loadNetwork(const std::vector<std::string>& sigTexts);

struct RunResult {
  std::string output;
  int status = -1;
};

// Runs the seedweave binary in `folder` with the given arguments and standard input.
RunResult runBinary(const std::filesystem::path& folder, const std::vector<std::string>& args,
                    const std::string& input);

}  // namespace seedweave::testing
