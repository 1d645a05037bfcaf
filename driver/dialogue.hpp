// The terminal dialogue: the four settings, seed entry, the subnetwork's name and files, and
// the report question. It calls the search, export and report libraries between questions.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "driver/word_reader.hpp"
#include "export/output_file.hpp"
#include "search/filter.hpp"
#include "search/subnetwork_table.hpp"
#include "store/network.hpp"
#include "store/ordered_set.hpp"

namespace seedweave {

// Standard input ended before the dialogue was complete.
struct EndOfInput {};

class Dialogue {
 public:
  Dialogue(const Network& network, std::vector<std::string> sourcePaths, std::FILE* input,
           Output& out);

  // Runs every step up to and including the report. Throws EndOfInput when standard input
  // ends before an accepted answer.
  void run();

 private:
  std::string readWord();
  int askMaxPathLength();
  int askFilterSetting(const char* prompt, const char* repeated, int (Dialogue::*askNumber)());
  int askLoadLimit();
  int askReferenceCount();
  bool askYesNo(const char* question);
  void enterSeeds();
  void readSeedFile(const std::string& path);
  void addSeed(const std::string& name);
  bool finishSeedEntry() const;
  std::string askSubnetworkName();
  std::string saveSubnetwork(const SubnetworkTable& table);
  bool writeSubnetworkFiles(const std::string& name, const SubnetworkTable& table);
  bool createSubnetworkFile(OutputFile& file, const std::string& path);
  void writeReport(const std::string& name, const SubnetworkTable& table);

  const Network& network_;
  std::vector<std::string> sourcePaths_;
  WordReader input_;
  Output& out_;
  Settings settings_;
  bool saveCliques_ = false;
  std::optional<InteractionFilter> filter_;
  NodeSet seeds_;
  int acceptedEntries_ = 0;
};

}  // namespace seedweave
