// The terminal dialogue: the four settings, seed entry, the subnetwork's name and files, and
// the report question. It calls the search, export and report libraries between questions.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "driver/diagnostics.hpp"
#include "driver/options.hpp"
#include "driver/terminal.hpp"
#include "driver/word_reader.hpp"
#include "export/output_file.hpp"
#include "search/filter.hpp"
#include "search/subnetwork_table.hpp"
#include "store/network.hpp"
#include "store/ordered_set.hpp"

namespace seedweave {

// The user's settings, fixed once the dialogue has asked for them.
struct Settings {
  int maxPathLength{};
  int minReferences{};   // 0: off
  int maxArticleLoad{};  // 0: off
};

// Standard input ended before the dialogue was complete.
struct EndOfInput {};

class Dialogue {
 public:
  // The command line gives the SIG files, whether to announce every searched pair, and the
  // answers it scripts; every other answer is read from `input`.
  Dialogue(const Network& network, const CommandLine& commandLine, std::FILE* input, Output& out,
           Diagnostics& diagnostics);

  // Runs every step up to and including the report. Throws EndOfInput when standard input
  // ends before an accepted answer.
  void run();

 private:
  std::string readWord(AnswerKind kind = AnswerKind::kPlain);
  std::string readWord(Question question);
  int askMaxPathLength();
  int askFilterSetting(Question question, const char* prompt, const char* repeated,
                       int (Dialogue::*askNumber)());
  int askLoadLimit();
  int askReferenceCount();
  bool askYesNo(Question question, const char* text);
  void enterSeeds();
  void enterScriptedSeeds(const std::vector<SeedEntry>& entries);
  void readSeedFile(const std::string& path);
  void addSeed(const std::string& name);
  bool finishSeedEntry() const;
  void warnIfEmpty(const SubnetworkTable& table);
  std::string askSubnetworkName();
  std::string saveSubnetwork(const SubnetworkTable& table);
  bool writeSubnetworkFiles(const std::string& name, const SubnetworkTable& table);
  bool createSubnetworkFile(OutputFile& file, const std::string& path);
  void writeReport(const std::string& name, const SubnetworkTable& table);

  const Network& network_;
  std::vector<std::string> sourcePaths_;
  ScriptedAnswers scripted_;
  bool announcePairs_;
  Terminal terminal_;
  WordReader input_;
  Output& out_;
  Diagnostics& diagnostics_;
  Settings settings_;
  bool saveCliques_ = false;
  std::optional<InteractionFilter> filter_;
  NodeSet seeds_;
  int acceptedEntries_ = 0;
};

}  // namespace seedweave
