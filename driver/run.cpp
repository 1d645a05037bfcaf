#include "driver/run.hpp"

#include <cstring>
#include <string>
#include <vector>

#include "driver/dialogue.hpp"
#include "driver/messages.hpp"
#include "export/output_file.hpp"
#include "store/network.hpp"
#include "store/output.hpp"
#include "store/sig_reader.hpp"

namespace seedweave {

namespace {

void loadNetwork(const std::vector<std::string>& paths, Network& network, Output& out) {
  out.print("%s", messages::kInitializing);
  for (std::size_t source = 0; source < paths.size(); ++source) {
    out.print(messages::kReading, paths[source].c_str());
    protectInputFile(paths[source].c_str());
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
  bool complete = true;
  try {
    Dialogue(network, sourcePaths, input, out).run();
  } catch (const EndOfInput&) {
    out.print("%s", messages::kEndOfInput);
    complete = false;
  }
  out.print("%s", messages::kFreeing);
  network.freeNetwork(out);
  out.flush();
  if (out.sinkError() != 0) {
    std::fprintf(stderr, messages::kStdoutFailed, std::strerror(out.sinkError()));
    return 1;
  }
  return complete && !OutputFile::anyFailed() ? 0 : 1;
}

}  // namespace seedweave
