#include "driver/run.hpp"

#include <string>
#include <vector>

#include "driver/dialogue.hpp"
#include "driver/messages.hpp"
#include "store/network.hpp"
#include "store/output.hpp"
#include "store/sig_reader.hpp"

namespace seedweave {

namespace {

void loadNetwork(const std::vector<std::string>& paths, Network& network, Output& out) {
  out.print("%s", messages::kInitializing);
  for (std::size_t source = 0; source < paths.size(); ++source) {
    out.print(messages::kReading, paths[source].c_str());
    readSigFile(paths[source].c_str(), network, static_cast<int>(source), false, out);
  }
  out.print("%s", messages::kTallying);
  network.runTallies(out);
}

}  // namespace

int runSeedweave(int argc, char** argv, std::FILE* input, std::FILE* output) {
  if (argc < 2) return 0;
  Output out(output);
  const std::vector<std::string> sourcePaths(argv + 1, argv + argc);
  Network network;
  loadNetwork(sourcePaths, network, out);
  try {
    Dialogue(network, sourcePaths, input, out).run();
  } catch (const EndOfInput&) {
    out.print("%s", messages::kEndOfInput);
  }
  out.print("%s", messages::kFreeing);
  network.freeNetwork(out);
  return 0;
}

}  // namespace seedweave
