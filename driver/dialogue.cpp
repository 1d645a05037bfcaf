#include "driver/dialogue.hpp"

#include <utility>

#include "driver/messages.hpp"
#include "export/cycles.hpp"
#include "export/messages.hpp"
#include "export/output_file.hpp"
#include "export/sig_writers.hpp"
#include "report/stats.hpp"
#include "search/subnetwork.hpp"
#include "store/sig_reader.hpp"

namespace seedweave {

namespace msg = messages;
using namespace std::string_view_literals;

namespace {
// Every seed gets its triangles and neighbours; longer cycles are not asked for.
constexpr int kCliqueSize = 3;
constexpr int kMaxPathLength = 6;
// A blank or a path separator would put the files elsewhere, a NUL byte would cut the name.
constexpr std::string_view kNotInNames = " /\\\0"sv;
}  // namespace

Dialogue::Dialogue(const Network& network, const CommandLine& commandLine, std::FILE* input,
                   Output& out, Diagnostics& diagnostics)
    : network_(network),
      sourcePaths_(commandLine.sigFiles),
      scripted_(commandLine.answers),
      announcePairs_(!commandLine.quiet),
      terminal_(input, network),
      input_(input, &out, terminal_.editor()),
      out_(out),
      diagnostics_(diagnostics) {}

void Dialogue::run() {
  settings_.maxPathLength = askMaxPathLength();
  settings_.maxArticleLoad = askFilterSetting(Question::kArticleLoad, msg::kLoadPrompt,
                                              msg::kLoadRepeated, &Dialogue::askLoadLimit);
  settings_.minReferences = askFilterSetting(Question::kMinReferences, msg::kReferencesPrompt,
                                             msg::kReferencesPrompt, &Dialogue::askReferenceCount);
  filter_.emplace(network_, settings_.minReferences, settings_.maxArticleLoad);
  saveCliques_ = askYesNo(Question::kCliques, msg::kCliquesQuestion);
  enterSeeds();
  if (!finishSeedEntry()) return;
  const SubnetworkTable table = getNetworkFromNodes(network_, *filter_, seeds_,
                                                    settings_.maxPathLength, out_, announcePairs_);
  warnIfEmpty(table);
  const std::string name = saveSubnetwork(table);
  if (askYesNo(Question::kReport, msg::kReportQuestion)) writeReport(name, table);
}

std::string Dialogue::readWord(AnswerKind kind) {
  std::optional<std::string> word = input_.next(kind);
  if (!word) throw EndOfInput{};
  return std::move(*word);
}

// A scripted answer is taken as if typed, word by word; a word the dialogue refuses (a name
// that cannot be written) leaves the question to standard input.
std::string Dialogue::readWord(Question question) {
  std::vector<std::string>& words = scripted_[question];
  if (words.empty())
    return readWord(question == Question::kName ? AnswerKind::kFileName : AnswerKind::kPlain);
  std::string word = std::move(words.front());
  words.erase(words.begin());
  return word;
}

int Dialogue::askMaxPathLength() {
  out_.print("%s%s", msg::kPathLengthPrompt, msg::kPathLengthExplained);
  for (;;) {
    const int length = leadingNumber(readWord(Question::kPathLength));
    const bool tooLong = length > kMaxPathLength;
    if (!tooLong && length >= 1) return length;
    out_.print("%s", tooLong ? msg::kPathLengthTooLong : msg::kNotRecognizedThis);
    out_.print("%s%s", msg::kPathLengthRepeated, msg::kPathLengthExplained);
  }
}

// A filter setting: no means 0 (off), yes leads to the request for its number.
int Dialogue::askFilterSetting(Question question, const char* prompt, const char* repeated,
                               int (Dialogue::*askNumber)()) {
  out_.print("%s", prompt);
  for (;;) {
    const std::string word = readWord(question);
    if (isYes(word)) return (this->*askNumber)();
    if (isNo(word)) return 0;
    out_.print("%s%s", msg::kNotRecognizedThat, repeated);
  }
}

int Dialogue::askLoadLimit() {
  out_.print("%s", msg::kLoadRequest);
  for (;;) {
    const int limit = leadingNumber(readWord(Question::kArticleLoad));
    if (limit > 0) return limit;
    out_.print("%s", msg::kLoadRequestRepeated);
  }
}

int Dialogue::askReferenceCount() {
  out_.print("%s", msg::kReferencesRequest);
  for (;;) {
    const int count = leadingNumber(readWord(Question::kMinReferences));
    if (count >= 0) return count;
    // The request comes first here, then the complaint.
    out_.print("%s%s", msg::kReferencesRequest, msg::kNotRecognizedThat);
  }
}

bool Dialogue::askYesNo(Question question, const char* text) {
  out_.print("\n%s", text);
  for (;;) {
    const std::string word = readWord(question);
    if (isYes(word)) return true;
    if (isNo(word)) return false;
    out_.print("%s%s", msg::kNotRecognizedThat, text);
  }
}

void Dialogue::enterSeeds() {
  out_.print("%s", msg::kSeedPrompt);
  if (scripted_.seeds) return enterScriptedSeeds(*scripted_.seeds);
  for (std::string word = readWord(AnswerKind::kSeed); word != ".";
       word = readWord(AnswerKind::kSeed)) {
    if (word.find(".txt") != std::string::npos) {
      readSeedFile(word);
    } else {
      addSeed(word);
    }
    out_.print("%s", msg::kSeedPrompt);
  }
}

// As typed, with each file entered as a seed file whatever its name, and then the lone period.
void Dialogue::enterScriptedSeeds(const std::vector<SeedEntry>& entries) {
  for (const SeedEntry& entry : entries) {
    if (entry.isFile) {
      readSeedFile(entry.text);
    } else {
      addSeed(entry.text);
    }
    out_.print("%s", msg::kSeedPrompt);
  }
}

void Dialogue::readSeedFile(const std::string& path) {
  // A NUL byte would cut the name short and open another file.
  std::FILE* file = path.find('\0') == std::string::npos ? std::fopen(path.c_str(), "r") : nullptr;
  if (file == nullptr) {
    out_.print("%s", msg::kSeedFileNotFound);
    return;
  }
  protectInputFile(file);
  // A byte order mark can only be the start of the first word, which then starts the file.
  const int firstByte = std::getc(file);
  std::ungetc(firstByte, file);
  bool markPossible = firstByte == static_cast<unsigned char>(kByteOrderMark.front());
  WordReader names(file);
  while (std::optional<std::string> name = names.next()) {
    if (std::exchange(markPossible, false) && name->starts_with(kByteOrderMark)) {
      name->erase(0, kByteOrderMark.size());
      if (name->empty()) continue;
    }
    addSeed(*name);
  }
  // A path that opens but cannot be read (a folder) is as good as missing.
  const bool unreadable = names.failed();
  std::fclose(file);
  if (unreadable) out_.print("%s", msg::kSeedFileNotFound);
}

void Dialogue::addSeed(const std::string& name) {
  const NodeId node = network_.getInteractorFromHash(name);
  if (node == none) {
    out_.print(msg::kSeedUnknown, name.c_str());
    terminal_.suggestNames(name, out_);
    return;
  }
  out_.print(msg::kSeedAdded, network_.name(node));
  if (saveCliques_) dumpCycles(network_, node, kCliqueSize, sourcePaths_, *filter_, out_);
  addInteractorToIntList(seeds_, node);
  ++acceptedEntries_;
}

bool Dialogue::finishSeedEntry() const {
  if (acceptedEntries_ >= 2) return true;
  if (acceptedEntries_ == 1) {
    out_.print("%s", msg::kOneSeed);
    if (saveCliques_) out_.print("%s", msg::kOneSeedCliquesSaved);
  } else {
    out_.print("%s", msg::kNoSeeds);
  }
  return false;
}

// Says which setting to relax: a longer path, a higher article load limit, fewer references.
void Dialogue::warnIfEmpty(const SubnetworkTable& table) {
  if (table.size() > 0) return;
  std::string relaxed;
  const auto suggest = [&relaxed](const char* format, int value) {
    relaxed.append(relaxed.empty() ? "" : msg::kRelaxJoin).append(formatText(format, value));
  };
  if (settings_.maxPathLength < kMaxPathLength) suggest(msg::kRelaxLength, settings_.maxPathLength);
  if (settings_.maxArticleLoad > 0) suggest(msg::kRelaxLoad, settings_.maxArticleLoad);
  if (settings_.minReferences > 1) suggest(msg::kRelaxReferences, settings_.minReferences);
  if (relaxed.empty()) {
    diagnostics_.print(msg::kEmptyAtLongest);
  } else {
    diagnostics_.print(formatText(msg::kEmptySubnetwork, relaxed.c_str()));
  }
}

std::string Dialogue::askSubnetworkName() {
  out_.print("%s", msg::kNamePrompt);
  for (;;) {
    std::string name = readWord(Question::kName);
    if (name.find_first_of(kNotInNames) == std::string::npos) return name;
    out_.print("%s", msg::kNameIllegal);
  }
}

std::string Dialogue::saveSubnetwork(const SubnetworkTable& table) {
  for (;;) {
    std::string name = askSubnetworkName();
    if (writeSubnetworkFiles(name, table)) return name;
  }
}

// Both files are created before either is written, so that a refused name loses nothing.
bool Dialogue::writeSubnetworkFiles(const std::string& name, const SubnetworkTable& table) {
  OutputFile sig;
  OutputFile sif;
  if (!createSubnetworkFile(sig, name + ".sig") || !createSubnetworkFile(sif, name + ".sif")) {
    return false;
  }
  const int load = settings_.maxArticleLoad;
  if (load > 0) {
    out_.print("%s", msg::kSavingFiltered);
    intHashToSigFiltered(sig.stream(), network_, table, settings_.minReferences, load);
    intHashToSifFiltered(sif.stream(), network_, table, settings_.minReferences, load);
  } else {
    out_.print("%s", msg::kSavingPlain);
    intHashToSig(sig.stream(), network_, table);
    intHashToSif(sif.stream(), network_, table);
  }
  sig.close(out_);
  sif.close(out_);
  return true;
}

bool Dialogue::createSubnetworkFile(OutputFile& file, const std::string& path) {
  switch (file.create(path)) {
    case OutputFile::Opened::yes:
      return true;
    case OutputFile::Opened::input:
      out_.print(msg::kNameIsInput, path.c_str());
      return false;
    case OutputFile::Opened::refused:
      break;
  }
  out_.print(msg::kCannotWrite, path.c_str());
  return false;
}

void Dialogue::writeReport(const std::string& name, const SubnetworkTable& table) {
  OutputFile report;
  if (!report.open(name + "_stats.txt", out_)) return;
  computeStats(report.stream(), network_, seeds_, table, *filter_, out_);
  report.close(out_);
}

}  // namespace seedweave
