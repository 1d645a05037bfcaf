// Fuzz target: arbitrary bytes as a SIG file, loaded into the store and tallied, then a
// short search among the first nodes under settings taken from the first bytes, and the
// subnetwork written as SIG and SIF text.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "export/sig_writers.hpp"
#include "search/filter.hpp"
#include "search/subnetwork.hpp"
#include "store/network.hpp"
#include "store/ordered_set.hpp"
#include "store/sig_reader.hpp"

namespace {

// The reader takes a path: every input goes into one memory file, read through its name in
// /proc, so that nothing is left on disk.
const std::string& scratchPath(int& fd) {
  static const int memoryFile = ::memfd_create("sig", 0);
  static const std::string path = "/proc/self/fd/" + std::to_string(memoryFile);
  fd = memoryFile;
  return path;
}

int byteAt(const std::uint8_t* data, std::size_t size, std::size_t index) {
  return index < size ? data[index] : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace seedweave;
  int fd = -1;
  const std::string& path = scratchPath(fd);
  if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
    return 0;
  }

  NetworkBuilder builder;
  Output out;
  readSigFile(path.c_str(), builder, 0, byteAt(data, size, 3) % 2 == 1, out);
  Network network = std::move(builder).build();
  const InteractionFilter filter(network, byteAt(data, size, 0) % 3, byteAt(data, size, 1) % 4);
  NodeSet seeds;
  const std::size_t seedCount = std::min<std::size_t>(network.nodeCount(), 4);
  for (std::size_t node = 0; node < seedCount; ++node) {
    addInteractorToIntList(seeds, static_cast<NodeId>(node));
  }
  // Longer paths on a fuzzed network could take long; the search itself is bounded by them.
  const int maxPathLength = 1 + byteAt(data, size, 2) % 4;
  const SubnetworkTable table =
      getNetworkFromNodes(network, filter, seeds, maxPathLength, out, false);
  std::FILE* sink = std::fopen("/dev/null", "w");
  intHashToSig(sink, network, table);
  intHashToSifFiltered(sink, network, table, filter.minReferences(), 1 + filter.maxArticleLoad());
  std::fclose(sink);
  network.freeNetwork(out);
  return 0;
}
