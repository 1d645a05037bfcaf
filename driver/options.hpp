// The command line: seedweave [OPTIONS] FILE.sig... Options may answer the dialogue's
// questions; each answer is kept as the words a user would type for it, so that the dialogue
// goes through exactly the steps, and prints exactly the lines, of a typed session.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace seedweave {

// The questions an option can answer, in the order the dialogue asks them.
enum class Question { kPathLength, kArticleLoad, kMinReferences, kCliques, kName, kReport };
inline constexpr std::size_t kQuestionCount = 6;
static_assert(kQuestionCount == static_cast<std::size_t>(Question::kReport) + 1);

// One entry of the seed list: a node name, or a seed file of any name.
struct SeedEntry {
  bool isFile = false;
  std::string text;
  bool operator==(const SeedEntry&) const = default;
};

struct ScriptedAnswers {
  // For each question, the words that answer it; empty when it is asked on standard input.
  std::array<std::vector<std::string>, kQuestionCount> words;
  // The whole seed entry, when the command line gives it.
  std::optional<std::vector<SeedEntry>> seeds;

  std::vector<std::string>& operator[](Question question) {
    return words[static_cast<std::size_t>(question)];
  }
  const std::vector<std::string>& operator[](Question question) const {
    return words[static_cast<std::size_t>(question)];
  }
};

struct CommandLine {
  enum class Action { kRun, kHelp, kVersion, kUsageError };
  Action action = Action::kRun;
  std::string error;  // what is wrong, for a usage error
  std::vector<std::string> sigFiles;
  ScriptedAnswers answers;
  bool quiet = false;
};

// Reads the arguments after the program name. Options may stand before, between and after the
// SIG files; "--" ends them. --help and --version take effect where they stand; a later
// option of the same question replaces an earlier one. Time complexity: O(arguments).
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace seedweave
