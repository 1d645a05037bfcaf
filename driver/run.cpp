#include "driver/run.hpp"

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "driver/diagnostics.hpp"
#include "driver/dialogue.hpp"
#include "driver/messages.hpp"
#include "driver/options.hpp"
#include "export/output_file.hpp"
#include "store/network.hpp"
#include "store/network_builder.hpp"
#include "store/output.hpp"
#include "store/sig_reader.hpp"

namespace seedweave {

namespace {

// What may be wrong with a SIG file that was read: fields missing or extra, a record cut
// short at the end, no records at all.
void warnAboutSigFile(const char* path, const SigFileSummary& file, Diagnostics& diagnostics) {
  if (!file.readable) return;
  if (file.midLineRecords > 0) {
    diagnostics.print(formatText(messages::kMidLineRecords, path, file.firstMidLineRecordLine,
                                 file.midLineRecords));
  }
  if (file.trailingFields > 0)
    diagnostics.print(formatText(messages::kIncompleteRecord, path, file.trailingFields));
  if (file.records == 0) diagnostics.print(formatText(messages::kNoRecords, path));
}

Network loadNetwork(const std::vector<std::string>& paths, Output& out, Diagnostics& diagnostics) {
  NetworkBuilder builder;
  out.print("%s", messages::kInitializing);
  std::size_t records = 0;
  std::size_t skipped = 0;
  for (std::size_t source = 0; source < paths.size(); ++source) {
    const char* path = paths[source].c_str();
    out.print(messages::kReading, path);
    protectInputFile(path);
    const SigFileSummary file = readSigFile(path, builder, static_cast<int>(source), false, out);
    warnAboutSigFile(path, file, diagnostics);
    records += file.records;
    skipped += file.skippedRecords;
  }
  out.print("%s", messages::kTallying);
  Network network = std::move(builder).build();
  diagnostics.print(formatText(messages::kLoadedNetwork, network.nodeCount(),
                               network.interactionTotal(), records, skipped));
  return network;
}

// The result files of the run, and the folder they are in.
void listFilesWritten(Diagnostics& diagnostics) {
  const std::vector<std::string>& names = OutputFile::written();
  if (names.empty()) return;
  std::string list = names.front();
  for (std::size_t i = 1; i < names.size(); ++i) list.append(", ").append(names[i]);
  std::error_code unknown;
  const std::string folder = std::filesystem::current_path(unknown).string();
  diagnostics.print(
      formatText(messages::kFilesWritten, list.c_str(), unknown ? "." : folder.c_str()));
}

// Help, the version and usage errors end the run before any file is read.
std::optional<int> endBeforeLoading(const CommandLine& line, std::FILE* output, std::FILE* errors) {
  switch (line.action) {
    case CommandLine::Action::kHelp:
      std::fputs(messages::kHelp, output);
      return 0;
    case CommandLine::Action::kVersion:
      std::fprintf(output, messages::kVersion, SEEDWEAVE_VERSION);
      return 0;
    case CommandLine::Action::kUsageError:
      std::fprintf(errors, messages::kUsageError, line.error.c_str());
      return 2;
    case CommandLine::Action::kRun:
      break;
  }
  return std::nullopt;
}

}  // namespace

int runSeedweave(int argc, char** argv, std::FILE* input, std::FILE* output, std::FILE* errors) {
  if (argc < 2) return 0;
  const CommandLine commandLine = parseCommandLine({argv + 1, argv + argc});
  if (const std::optional<int> status = endBeforeLoading(commandLine, output, errors)) {
    return *status;
  }
  Output out(output);
  Diagnostics diagnostics(out, errors);
  Network network = loadNetwork(commandLine.sigFiles, out, diagnostics);
  bool complete = true;
  try {
    Dialogue(network, commandLine, input, out, diagnostics).run();
  } catch (const EndOfInput&) {
    out.print("%s", messages::kEndOfInput);
    complete = false;
  }
  out.print("%s", messages::kFreeing);
  network.freeNetwork(out);
  listFilesWritten(diagnostics);
  out.flush();
  if (out.sinkError() != 0) {
    std::fprintf(errors, messages::kStdoutFailed, std::strerror(out.sinkError()));
    return 1;
  }
  return complete && !OutputFile::anyFailed() ? 0 : 1;
}

}  // namespace seedweave
