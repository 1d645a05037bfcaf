#include "test_support.hpp"

#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <utility>

#include "store/sig_reader.hpp"

namespace seedweave::testing {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() /
          ("seedweave-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& content) const {
  const fs::path file = path_ / name;
  std::ofstream(file, std::ios::binary) << content;
  return file.string();
}

std::string TempDir::read(const std::string& name) const {
  return exists(name) ? contentOf(path_ / name) : "<missing>";
}

std::string contentOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool TempDir::exists(const std::string& name) const { return fs::exists(path_ / name); }

std::string sigLine(const std::string& a, const std::string& b, const std::string& direction,
                    const std::string& type, const std::string& pmid) {
  return a + " NA NA NA NA " + b + " NA NA NA NA " + direction + " " + type + " " + pmid + "\n";
}

Network loadNetwork(const std::vector<std::string>& sigTexts) {
  TempDir dir;
  NetworkBuilder builder;
  Output out;
  for (std::size_t source = 0; source < sigTexts.size(); ++source) {
    const std::string path = dir.write("net" + std::to_string(source) + ".sig", sigTexts[source]);
    readSigFile(path.c_str(), builder, static_cast<int>(source), false, out);
  }
  return std::move(builder).build();
}

Network RandomNetworks::next(bool plantHub) {
  NetworkBuilder network;
  Output ignored;
  const int nodes = pick(2, 12);
  for (int i = 0; i < nodes; ++i) {
    network.updateAndRetrieveInteractor(std::to_string(i).insert(0, 1, 'N'), "NA", "NA", "NA",
                                        "NA");
  }
  // Denser networks with long paths would make the exhaustive twins too slow.
  const int density = pick(10, nodes <= 7 ? 60 : 30);
  for (int a = 0; a < nodes; ++a) {
    if (pick(1, 100) <= 3) report(network, a, a, "0");
    for (int b = a + 1; b < nodes; ++b) {
      if (pick(1, 100) > density) continue;
      const bool forward = pick(0, 1) == 1;
      const int kind = pick(0, 3);
      report(network, forward ? a : b, forward ? b : a, kind == 0 ? "0" : "1");
      if (kind >= 2) report(network, forward ? b : a, forward ? a : b, "2");
    }
  }
  if (plantHub) {
    hub_ = pick(0, nodes - 1);
    for (int b = 0; b < nodes; ++b) {
      if (b != hub_ && pick(1, 100) <= 85) report(network, hub_, b, pick(0, 3) == 0 ? "1" : "0");
    }
    for (int i = 0; i < 2000; ++i) {
      network.updateAndRetrieveInteractor(std::to_string(i).insert(0, 1, 'P'), "NA", "NA", "NA",
                                          "NA");
    }
  }
  return std::move(network).build();
}

std::pair<int, int> RandomNetworks::filter() {
  if (pick(0, 2) == 0) return {0, 0};
  const int minReferences = pick(0, 2);
  return {minReferences, pick(0, 1) == 1 ? pick(1, 4) : 0};
}

std::vector<NodeId> RandomNetworks::seeds(const Network& network, int most) {
  const int nodes = static_cast<int>(network.nodeCount());
  std::vector<NodeId> drawn;
  for (int i = pick(1, std::min(nodes, most)); i > 0; --i) drawn.push_back(pick(0, nodes - 1));
  std::sort(drawn.begin(), drawn.end());
  drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
  return drawn;
}

std::vector<NodeId> RandomNetworks::hubSeeds(const Network& network) {
  const std::span<const InteractionId> interactions = network.node(hub_).interactions;
  std::vector<NodeId> drawn;
  if (pick(0, 3) == 0) drawn.push_back(hub_);
  for (int i = pick(2, 7); i > 0 && !interactions.empty(); --i) {
    const InteractionId id =
        interactions[static_cast<std::size_t>(pick(0, static_cast<int>(interactions.size()) - 1))];
    drawn.push_back(network.otherEnd(network.interaction(id), hub_));
  }
  std::sort(drawn.begin(), drawn.end());
  drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
  return drawn;
}

// One to three reports of the interaction, each by an article of its own (load 1) or by one
// of four articles shared with other interactions (higher loads).
void RandomNetworks::report(NetworkBuilder& network, NodeId a, NodeId b, const char* direction) {
  Output ignored;
  for (int r = pick(1, 3); r > 0; --r) {
    const int pmid = pick(0, 1) == 1 ? ++lastPrivateArticle_ : pick(1, 4);
    network.addInteractionToHash(a, b, direction, "Binding", pmid, pick(0, 2));
  }
}

namespace {
std::string quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}
}  // namespace

RunResult runBinary(const fs::path& folder, const std::vector<std::string>& args,
                    const std::string& input) {
  const fs::path inputFile = folder / ".stdin";
  const fs::path errorFile = folder / ".stderr";
  std::ofstream(inputFile, std::ios::binary) << input;
  std::string command =
      "cd " + quote(folder.string()) + " && timeout 120 " + quote(SEEDWEAVE_BINARY);
  for (const std::string& arg : args) command.append(" ").append(quote(arg));
  command.append(" < ").append(quote(inputFile.string()));
  command.append(" 2> ").append(quote(errorFile.string()));
  RunResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream errors(errorFile, std::ios::binary);
  result.errors.assign(std::istreambuf_iterator<char>(errors), {});
  fs::remove(inputFile);
  fs::remove(errorFile);
  return result;
}

}  // namespace seedweave::testing
