// Shared helpers for the tests: temporary folders, SIG text, and runs of the binary.
#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "store/network.hpp"
#include "store/network_builder.hpp"

namespace seedweave::testing {

// Tests that need /dev/full, `ulimit -v` or tmpfs skip where they are missing.
#ifdef __linux__
inline constexpr bool kOnLinux = true;
#else
inline constexpr bool kOnLinux = false;
#endif

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

// The content of a file; empty when there is none.
std::string contentOf(const std::filesystem::path& file);

// One SIG record: name a attributes, name b attributes, direction, type, PubMed id.
// Attributes default to "NA".
std::string sigLine(const std::string& a, const std::string& b, const std::string& direction,
                    const std::string& type, const std::string& pmid);

// A network loaded from SIG texts, one per source index, and tallied.
Network loadNetwork(const std::vector<std::string>& sigTexts);

// Small random networks for comparing the fast algorithms with their literal twins: 2 to 12
// nodes whose interactions are reported by a few articles from a small pool, so that article
// loads vary and both filters bite. Some pairs are reported directed in both orientations
// with different direction texts, which gives a pair two interactions, and a few nodes have
// an interaction with themselves.
class RandomNetworks {
 public:
  explicit RandomNetworks(std::uint32_t seed) : random_(seed) {}

  // With a planted hub, one node also interacts with most others, and 2,000 isolated nodes
  // make every seed's reach small against the network, as in a genome-wide network.
  Network next(bool plantHub = false);
  // Partners of the last planted hub, drawn with repeats, and the hub in a quarter of draws.
  std::vector<NodeId> hubSeeds(const Network& network);
  // Filter settings: both off in a third of the draws.
  std::pair<int, int> filter();
  // One to `most` seeds drawn with repeats, as a user may type a name twice.
  std::vector<NodeId> seeds(const Network& network, int most);
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

 private:
  void report(NetworkBuilder& network, NodeId a, NodeId b, const char* direction);

  std::mt19937 random_;
  int lastPrivateArticle_ = 100;
  NodeId hub_ = 0;
};

struct RunResult {
  std::string output;
  std::string errors;  // standard error
  int status = -1;
};

// Runs the seedweave binary in `folder` with the given arguments and standard input, for at
// most 120 s.
RunResult runBinary(const std::filesystem::path& folder, const std::vector<std::string>& args,
                    const std::string& input);

}  // namespace seedweave::testing
