#include "driver/run.hpp"

#include "store/network.hpp"
#include "store/output.hpp"
#include "store/sig_reader.hpp"

namespace seedweave {

namespace {

void loadNetwork(int fileCount, char** paths, Network& network, Output& out) {
  out.print("Initializing hashes...\n");
  for (int source = 0; source < fileCount; ++source) {
    out.print("Reading %s...\n", paths[source]);
    readSigFile(paths[source], network, source, false, out);
  }
  out.print("Calculating tallies...\n");
  network.runTallies(out);
}

}  // namespace

int runSeedweave(int argc, char** argv, std::FILE* /*input*/, std::FILE* output) {
  if (argc < 2) return 0;
  Output out(output);
  Network network;
  loadNetwork(argc - 1, argv + 1, network, out);
  out.print("Freeing network...\n");
  network.freeNetwork(out);
  return 0;
}

}  // namespace seedweave
