// Times Tab completion at the seed prompt on a large network.
//
//   completion_bench FILE.sig...
//
// Loads the files, then times the first use of the name index (the first Tab builds it) and
// the work of one Tab for words of several lengths: finding the candidates (node names and
// entries of the current folder), their common start, and the listing a second Tab shows.
// Each word is timed 20 times; the fastest and slowest runs are printed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "driver/completion.hpp"
#include "store/sig_reader.hpp"

namespace {

using namespace seedweave;
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct TabResult {
  std::size_t candidates = 0;
  std::size_t commonLength = 0;
  std::size_t listedLines = 0;
};

// One Tab and the listing of a second one, on a screen of 80 by 24.
TabResult tab(const std::string& word, NodeNames& names) {
  const std::vector<std::string> candidates = completionsOf(word, AnswerKind::kSeed, names);
  const std::string listing = candidateListing(candidates, 80, 24);
  return {candidates.size(), commonPrefix(candidates).size(),
          static_cast<std::size_t>(std::count(listing.begin(), listing.end(), '\n'))};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: completion_bench FILE.sig...\n", stderr);
    return 2;
  }
  NetworkBuilder builder;
  Output quiet;
  for (int i = 1; i < argc; ++i) readSigFile(argv[i], builder, i - 1, false, quiet);
  const Network network = std::move(builder).build();
  std::printf("%zu nodes\n", network.nodeCount());

  NodeNames names(network);
  const Clock::time_point start = Clock::now();
  names.withPrefix("");
  std::printf("first Tab, building the index: %.2f ms\n", millisecondsSince(start));

  const std::string name = network.name(0);
  for (const std::string& word : {std::string(), name.substr(0, 1), name.substr(0, 3),
                                  name.substr(0, name.size() - 1), name}) {
    double fastest = 1e9;
    double slowest = 0;
    TabResult result;
    for (int run = 0; run < 20; ++run) {
      const Clock::time_point begin = Clock::now();
      result = tab(word, names);
      const double took = millisecondsSince(begin);
      fastest = std::min(fastest, took);
      slowest = std::max(slowest, took);
    }
    std::printf(
        "Tab on \"%s\": %zu candidates, common start of %zu, %zu lines listed: %.2f-%.2f ms\n",
        word.c_str(), result.candidates, result.commonLength, result.listedLines, fastest, slowest);
  }
  return 0;
}
