// Runs driven by command-line options: the same transcript and files as the typed session,
// --quiet, --help and --version, and usage errors; and the lines on standard error.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::runBinary;
using testing::RunResult;
using testing::TempDir;
using Words = std::vector<std::string>;

const std::string kExamples = std::string(SEEDWEAVE_SOURCE_DIR) + "/examples/";
const Words kSigFiles = {kExamples + "alpha.sig", kExamples + "beta.sig", kExamples + "gamma.sig"};

// Every file a run left in its folder, by name. The clustering at the end of a report is
// random, so a report is kept only up to it.
std::map<std::string, std::string> resultFiles(const TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    const std::string name = entry.path().filename().string();
    const std::string content = dir.read(name);
    files[name] = content.substr(0, content.find("K-means clustering analysis"));
  }
  return files;
}

struct Session {
  RunResult result;
  std::map<std::string, std::string> files;
};

// A run in a fresh folder holding a seed file under each of two names.
Session runInFolder(const Words& options, const std::string& input) {
  TempDir dir;
  dir.write("genes.txt", "SWG07 SWG20\nSWG33\n");
  dir.write("genes.list", "SWG07 SWG20\nSWG33\n");
  Words arguments = options;
  arguments.insert(arguments.end(), kSigFiles.begin(), kSigFiles.end());
  Session session{runBinary(dir.path(), arguments, input), {}};
  session.files = resultFiles(dir);
  return session;
}

TEST(ScriptedRun, OptionsGiveTheTypedSessionsTranscriptAndFiles) {
  struct Case {
    Words options;
    std::string optionInput;
    std::string typedInput;
  };
  const Case cases[] = {
      {{"-l", "3", "--no-article-load-filter", "--no-min-references", "--cliques", "--seed",
        "SWG01", "--seeds", "genes.list", "-o", "example", "--report"},
       "",
       "3 n n y SWG01 genes.txt . example y"},
      {{"--max-length=2", "--max-article-load", "5", "--min-references", "2", "--no-cliques",
        "--seed", "SWG01", "--seed", "NOPE", "--seed", "SWG07", "--name", "net", "--no-report"},
       "",
       "2 y 5 y 2 n SWG01 NOPE SWG07 . net n"},
      // Only some questions scripted: the others are read, in their order.
      {{"-l4", "-o", "part"}, "n n n SWG01 SWG20 . y", "4 n n n SWG01 SWG20 . part y"},
      {{"--no-cliques", "--report"},
       "1 0 n n SWG01 SWG33 . net1",
       "1 0 n n n SWG01 SWG33 . net1 y"},
      // One seed: the run ends before the name, which is never used.
      {{"-l1", "--no-article-load-filter", "--no-min-references", "--cliques", "--seed", "SWG01",
        "-o", "unused"},
       "",
       "1 n n y SWG01 ."},
      {{"--seeds", "missing.txt", "--seeds", "genes.list"},
       "3 n n n",
       "3 n n n missing.txt genes.txt ."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typedInput);
    const Session scripted = runInFolder(c.options, c.optionInput);
    const Session typed = runInFolder({}, c.typedInput);
    EXPECT_TRUE(typed.result.output.ends_with("preparing to loop through hashes...\n"));
    EXPECT_EQ(scripted.result.output, typed.result.output);
    EXPECT_EQ(scripted.result.status, typed.result.status);
    EXPECT_EQ(scripted.files, typed.files);
  }
}

TEST(ScriptedRun, QuietLeavesOutOnlyThePairLines) {
  const std::string answers = "4 n n n SWG01 SWG07 SWG20 SWG33 . net n";
  const Session loud = runInFolder({}, answers);
  const Session quiet = runInFolder({"-q"}, answers);
  std::istringstream lines(loud.result.output);
  std::string withoutPairLines;
  for (std::string line; std::getline(lines, line);) {
    const bool pairLine = line.starts_with("Searching for pathways between ") &&
                          line.ends_with(" of maximum length 4...");
    if (!pairLine) withoutPairLines += line + "\n";
  }
  EXPECT_NE(withoutPairLines, loud.result.output);
  EXPECT_EQ(quiet.result.output, withoutPairLines);
  EXPECT_EQ(quiet.files, loud.files);
}

}  // namespace
}  // namespace seedweave
