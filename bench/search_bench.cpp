// Times the subnetwork construction on a large network.
//
//   search_bench --length L --seeds N [--module | --partners] [--reference | --compare |
//                --list-seeds] [--min-references M] [--max-load A] [--time-limit S] FILE.sig...
//
// Loads the files, picks N seeds (uniformly at random; with --module a hub and partners of
// it, as a disease gene set clusters; with --partners partners of a hub, the hub left out),
// and times getNetworkFromNodes alone, its standard
// output counted and discarded. --reference times the literal exhaustive construction
// instead; --compare runs both, keeping their output in memory, and says whether output and
// subnetwork are identical. With --time-limit a construction still running after S seconds
// is stopped and reported as "> S s". The choice of seeds is fixed, so runs are comparable;
// --list-seeds prints their names, one a line, as a seed file for a scripted run.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "search/subnetwork.hpp"
#include "store/sig_reader.hpp"
// The literal construction lives with the tests, as the twin the fast one is checked
// against; it is compiled in here to be timed on the same data.
#include "tests/reference_search.cpp"

namespace {

using namespace seedweave;
using Clock = std::chrono::steady_clock;

struct Options {
  int length = 3;
  int seeds = 5;
  bool module = false;
  bool partners = false;
  bool listSeeds = false;
  bool reference = false;
  bool compare = false;
  int minReferences = 0;
  int maxArticleLoad = 0;
  int timeLimit = 0;
  std::vector<const char*> files;
};

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    int* value = arg == "--length"           ? &options.length
                 : arg == "--seeds"          ? &options.seeds
                 : arg == "--min-references" ? &options.minReferences
                 : arg == "--max-load"       ? &options.maxArticleLoad
                 : arg == "--time-limit"     ? &options.timeLimit
                                             : nullptr;
    if (arg == "--module") {
      options.module = true;
    } else if (arg == "--partners") {
      options.partners = true;
    } else if (arg == "--list-seeds") {
      options.listSeeds = true;
    } else if (arg == "--reference") {
      options.reference = true;
    } else if (arg == "--compare") {
      options.compare = true;
    } else if (value == nullptr) {
      options.files.push_back(argv[i]);
    } else if (++i < argc) {
      *value = std::atoi(argv[i]);
    } else {
      return false;
    }
  }
  return !options.files.empty() && options.seeds > 0;
}

// splitmix64, so that the seeds are the same on every platform.
class Random {
 public:
  std::uint64_t below(std::uint64_t bound) {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return (z ^ (z >> 31)) % bound;
  }

 private:
  std::uint64_t state_ = 20261206;
};

NodeSet randomSeeds(const Network& network, int count, Random& random) {
  NodeSet seeds;
  while (static_cast<int>(seeds.size()) < count) {
    addInteractorToIntList(seeds, static_cast<NodeId>(random.below(network.nodeCount())));
  }
  return seeds;
}

// A hub, drawn among the 1% of nodes with the most partners (and at least `count`), and
// count - 1 of its partners, or with `withHub` false count of them: disease gene sets
// cluster around well-studied genes.
NodeSet moduleSeeds(const Network& network, int count, bool withHub, Random& random) {
  std::vector<std::size_t> partners(network.nodeCount());
  for (std::size_t i = 0; i < partners.size(); ++i) {
    partners[i] = network.node(static_cast<NodeId>(i)).interactions.size();
  }
  std::vector<std::size_t> ranked = partners;
  const std::size_t top = ranked.size() / 100;
  std::nth_element(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(top), ranked.end(),
                   std::greater<>());
  const std::size_t threshold = std::max(ranked[top], static_cast<std::size_t>(count));
  NodeId centre;
  do {
    centre = static_cast<NodeId>(random.below(network.nodeCount()));
  } while (partners[static_cast<std::size_t>(centre)] < threshold);
  NodeSet seeds;
  if (withHub) seeds.push_back(centre);
  const std::span<const InteractionId> interactions = network.node(centre).interactions;
  while (static_cast<int>(seeds.size()) < count) {
    const InteractionId id = interactions[random.below(interactions.size())];
    addInteractorToIntList(seeds, network.otherEnd(network.interaction(id), centre));
  }
  return seeds;
}

const char* seedKind(const Options& options) {
  return options.module ? "module" : options.partners ? "partners" : "random";
}

// Standard output of the construction goes here: its bytes counted, then dropped, at no more
// cost per byte than writing to /dev/null.
ssize_t discard(void* cookie, const char*, std::size_t size) {
  *static_cast<std::uint64_t*>(cookie) += size;
  return static_cast<ssize_t>(size);
}

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The line printed when the time limit stops a construction, prepared before it starts.
char timeoutLine[256];
std::size_t timeoutLength = 0;

void stopAtTimeLimit(int) {
  if (write(STDOUT_FILENO, timeoutLine, timeoutLength) < 0) _exit(1);
  _exit(0);
}

void armTimeLimit(const Options& options) {
  if (options.timeLimit <= 0) return;
  const int length = std::snprintf(
      timeoutLine, sizeof timeoutLine, "%s L=%d seeds=%d %s filter=%d/%d: construction > %d s\n",
      options.reference ? "reference" : "fast", options.length, options.seeds,
      seedKind(options), options.minReferences, options.maxArticleLoad,
      options.timeLimit);
  timeoutLength = static_cast<std::size_t>(length);
  std::fflush(stdout);
  std::signal(SIGALRM, stopAtTimeLimit);
  alarm(static_cast<unsigned>(options.timeLimit));
}

long peakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

reference::Filter literalFilter(const Network& network, const Options& options) {
  return reference::Filter(network, options.minReferences, options.maxArticleLoad);
}

// Runs both constructions with their output kept, and compares.
int compare(const Network& network, const InteractionFilter& filter, const NodeSet& seeds,
            const Options& options) {
  Output fastOut;
  auto start = Clock::now();
  const SubnetworkTable fast = getNetworkFromNodes(network, filter, seeds, options.length, fastOut);
  const double fastSeconds = secondsSince(start);
  std::string literalOut;
  start = Clock::now();
  const std::set<InteractionId> literal = reference::getNetworkFromNodes(
      network, seeds, options.length, literalFilter(network, options), literalOut);
  const double literalSeconds = secondsSince(start);
  const bool sameOutput = fastOut.captured() == literalOut;
  const std::vector<InteractionId> members = fast.inBucketOrder();
  const bool sameTable = std::set<InteractionId>(members.begin(), members.end()) == literal;
  std::size_t missing = 0;
  for (std::size_t at = 0; (at = literalOut.find("missing", at)) != std::string::npos; ++at) {
    ++missing;
  }
  std::printf(
      "compare L=%d seeds=%d %s filter=%d/%d: fast %.3f s, literal %.3f s | %zu "
      "interactions, %zu bytes of stdout, %zu missing-interaction lines | output %s, "
      "subnetwork %s\n",
      options.length, options.seeds, seedKind(options), options.minReferences,
      options.maxArticleLoad, fastSeconds, literalSeconds, literal.size(), literalOut.size(),
      missing, sameOutput ? "identical" : "DIFFERS", sameTable ? "identical" : "DIFFERS");
  return sameOutput && sameTable ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: search_bench --length L --seeds N [--module | --partners] [--reference | "
                 "--compare | --list-seeds] [--min-references M] [--max-load A] [--time-limit S] FILE.sig...\n");
    return 2;
  }
  auto start = Clock::now();
  NetworkBuilder builder;
  Output quiet;
  for (std::size_t i = 0; i < options.files.size(); ++i) {
    readSigFile(options.files[i], builder, static_cast<int>(i), false, quiet);
  }
  const Network network = std::move(builder).build();
  const double loadSeconds = secondsSince(start);
  const long loadedMegabytes = peakResidentMegabytes();

  Random random;
  const NodeSet seeds =
      options.module || options.partners
          ? moduleSeeds(network, options.seeds, options.module, random)
          : randomSeeds(network, options.seeds, random);
  if (options.listSeeds) {
    for (NodeId seed : seeds) std::printf("%s\n", network.name(seed));
    return 0;
  }
  start = Clock::now();
  const InteractionFilter filter(network, options.minReferences, options.maxArticleLoad);
  const double filterSeconds = secondsSince(start);
  if (options.compare) return compare(network, filter, seeds, options);

  std::uint64_t bytes = 0;
  FILE* sink = fopencookie(&bytes, "w", cookie_io_functions_t{nullptr, discard, nullptr, nullptr});
  std::size_t interactions = 0;
  double seconds = 0;
  {
    Output out(sink);
    armTimeLimit(options);
    start = Clock::now();
    if (options.reference) {
      std::string literalOut;
      interactions = reference::getNetworkFromNodes(network, seeds, options.length,
                                                    literalFilter(network, options), literalOut)
                         .size();
      out.write(literalOut);
    } else {
      interactions = getNetworkFromNodes(network, filter, seeds, options.length, out).size();
    }
    out.flush();
    seconds = secondsSince(start);
    alarm(0);
  }
  std::fclose(sink);
  std::printf(
      "%s L=%d seeds=%d %s filter=%d/%d: construction %.3f s | %zu interactions | stdout %.1f MB "
      "| load %.2f s, filter %.3f s | peak RSS %ld MB (%ld MB after load)\n",
      options.reference ? "reference" : "fast", options.length, options.seeds,
      seedKind(options), options.minReferences, options.maxArticleLoad, seconds,
      interactions, static_cast<double>(bytes) / 1e6, loadSeconds, filterSeconds,
      peakResidentMegabytes(), loadedMegabytes);
  return 0;
}
