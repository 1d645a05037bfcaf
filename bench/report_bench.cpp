// Times the statistics report on a large network: loading, a subnetwork of random seeds,
// then the whole report (significance, path-length table, clustering).
//
//   report_bench [--seeds N] [--length L] [--min-references M] [--max-load A] FILE.sig...
//
// The seeds and the random generator are fixed, so runs are comparable. Prints the timing of
// every stage and the sizes that drive them; the report itself goes to a temporary file.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/stats.hpp"
#include "search/subnetwork.hpp"
#include "store/sig_reader.hpp"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  int seeds = 100;
  int length = 2;
  int minReferences = 0;
  int maxArticleLoad = 0;
  std::vector<const char*> files;
};

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    int* value = arg == "--seeds"            ? &options.seeds
                 : arg == "--length"         ? &options.length
                 : arg == "--min-references" ? &options.minReferences
                 : arg == "--max-load"       ? &options.maxArticleLoad
                                             : nullptr;
    if (value == nullptr) {
      options.files.push_back(argv[i]);
    } else if (++i < argc) {
      *value = std::atoi(argv[i]);
    } else {
      return false;
    }
  }
  return !options.files.empty();
}

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

seedweave::NodeSet pickSeeds(const seedweave::Network& network, int count) {
  std::mt19937 random(42);
  std::uniform_int_distribution<seedweave::NodeId> node(
      0, static_cast<seedweave::NodeId>(network.nodeCount()) - 1);
  seedweave::NodeSet seeds;
  while (static_cast<int>(seeds.size()) < count && seeds.size() < network.nodeCount()) {
    seedweave::addInteractorToIntList(seeds, node(random));
  }
  return seeds;
}

std::size_t lineCount(const std::string& text) {
  std::size_t lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: report_bench [--seeds N] [--length L] [--min-references M] "
                 "[--max-load A] FILE.sig...\n");
    return 2;
  }
  seedweave::Output out;
  seedweave::NetworkBuilder builder;
  auto start = Clock::now();
  for (std::size_t source = 0; source < options.files.size(); ++source) {
    seedweave::readSigFile(options.files[source], builder, static_cast<int>(source), false, out);
  }
  const seedweave::Network network = std::move(builder).build();
  std::printf("Read Time:        %8.3f s  (%zu nodes, %zu interactions)\n", secondsSince(start),
              network.nodeCount(), network.interactionTotal());

  start = Clock::now();
  const seedweave::InteractionFilter filter(network, options.minReferences, options.maxArticleLoad);
  const seedweave::NodeSet seeds = pickSeeds(network, options.seeds);
  out.takeCaptured();
  const seedweave::SubnetworkTable subnetwork =
      seedweave::getNetworkFromNodes(network, filter, seeds, options.length, out);
  std::printf("Subnetwork Time:  %8.3f s  (%zu seeds, L=%d, %zu interactions)\n",
              secondsSince(start), seeds.size(), options.length, subnetwork.size());

  std::FILE* report = std::tmpfile();
  std::srand(1);
  out.takeCaptured();
  start = Clock::now();
  seedweave::computeStats(report, network, seeds, subnetwork, filter, out);
  std::printf("Stats Time:       %8.3f s  (%zu lines printed, %ld bytes written)\n",
              secondsSince(start), lineCount(out.captured()), std::ftell(report));
  std::fclose(report);
  return 0;
}
