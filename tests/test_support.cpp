#include "test_support.hpp"

#include <sys/wait.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>

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
  std::ifstream in(path_ / name, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool TempDir::exists(const std::string& name) const { return fs::exists(path_ / name); }

std::string sigLine(const std::string& a, const std::string& b, const std::string& direction,
                    const std::string& type, const std::string& pmid) {
  return a + " NA NA NA NA " + b + " NA NA NA NA " + direction + " " + type + " " + pmid + "\n";
}

Network loadNetwork(const std::vector<std::string>& sigTexts) {
  TempDir dir;
  Network network;
  Output out;
  for (std::size_t source = 0; source < sigTexts.size(); ++source) {
    const std::string path = dir.write("net" + std::to_string(source) + ".sig", sigTexts[source]);
    readSigFile(path.c_str(), network, static_cast<int>(source), false, out);
  }
  network.runTallies(out);
  return network;
}

namespace {
std::string quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}
}  // namespace

RunResult runBinary(const fs::path& folder, const std::vector<std::string>& args,
                    const std::string& input) {
  const fs::path inputFile = folder / ".stdin";
  std::ofstream(inputFile, std::ios::binary) << input;
  std::string command = "cd " + quote(folder.string()) + " && " + quote(SEEDWEAVE_BINARY);
  for (const std::string& arg : args) command.append(" ").append(quote(arg));
  command.append(" < ").append(quote(inputFile.string()));
  RunResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  fs::remove(inputFile);
  return result;
}

}  // namespace seedweave::testing
