#include "driver/run.hpp"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "driver/dialogue.hpp"
#include "driver/messages.hpp"
#include "driver/options.hpp"
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

// Help, the version and usage errors end the run before any file is read.
std::optional<int> endBeforeLoading(const CommandLine& line, std::FILE* output,
                                    std::FILE* diagnostics) {
  switch (line.action) {
    case CommandLine::Action::kHelp:
      std::fputs(messages::kHelp, output);
      return 0;
    case CommandLine::Action::kVersion:
      std::fprintf(output, messages::kVersion, SEEDWEAVE_VERSION);
      return 0;
    case CommandLine::Action::kUsageError:
      std::fprintf(diagnostics, messages::kUsageError, line.error.c_str());
      return 2;
    case CommandLine::Action::kRun:
      break;
  }
  return std::nullopt;
}

}  // namespace

int runSeedweave(int argc, char** argv, std::FILE* input, std::FILE* output,
                 std::FILE* diagnostics) {
  if (argc < 2) return 0;
  const CommandLine commandLine = parseCommandLine({argv + 1, argv + argc});
  if (const std::optional<int> status = endBeforeLoading(commandLine, output, diagnostics)) {
    return *status;
  }
  Output out(output);
  Network network;
  loadNetwork(commandLine.sigFiles, network, out);
  bool complete = true;
  try {
    Dialogue(network, commandLine, input, out).run();
  } catch (const EndOfInput&) {
    out.print("%s", messages::kEndOfInput);
    complete = false;
  }
  out.print("%s", messages::kFreeing);
  network.freeNetwork(out);
  out.flush();
  if (out.sinkError() != 0) {
    std::fprintf(diagnostics, messages::kStdoutFailed, std::strerror(out.sinkError()));
    return 1;
  }
  return complete && !OutputFile::anyFailed() ? 0 : 1;
}

}  // namespace seedweave
