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

TEST(ScriptedRun, HelpAndVersionReadNothing) {
  TempDir dir;
  const RunResult help = runBinary(dir.path(), {"missing.sig", "--help"}, "");
  EXPECT_TRUE(help.output.starts_with("Usage: seedweave [OPTIONS] FILE.sig...\n"));
  EXPECT_NE(help.output.find("Exit status:"), std::string::npos);
  EXPECT_EQ(help.status, 0);
  const RunResult version = runBinary(dir.path(), {"--version"}, "");
  EXPECT_TRUE(version.output.starts_with("seedweave ") && version.output.ends_with("\n"));
  EXPECT_EQ(version.output.find_first_not_of("0123456789.", 10), version.output.size() - 1);
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(help.errors + version.errors, "");
}

TEST(ScriptedRun, UsageErrorsEndWithStatusTwoBeforeAnyFileIsRead) {
  const std::string usage =
      "seedweave: usage: seedweave [OPTIONS] FILE.sig... (see seedweave --help)\n";
  const std::pair<Words, std::string> cases[] = {
      {{"--bogus", "net.sig"}, "seedweave: unknown option --bogus\n"},
      {{"net.sig", "-l", "7"}, "seedweave: -l takes a path length from 1 to 6, not '7'\n"},
      {{"-q"}, "seedweave: no SIG file given\n"},
  };
  for (const auto& [arguments, error] : cases) {
    TempDir dir;
    const RunResult result = runBinary(dir.path(), arguments, "3 n n n A B . net n");
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errors, error + usage);
    EXPECT_EQ(result.status, 2);
  }
}

TEST(StandardError, WarningsAfterEachFileTheSearchAndTheRun) {
  using testing::sigLine;
  const std::string line = sigLine("A", "B", "0", "T", "1");
  const std::string shortLine = "A NA NA NA NA B NA NA NA NA 0 T\n";
  const std::string apart = line + sigLine("C", "D", "0", "T", "2");
  struct Case {
    std::string mid, empty, input, errors;
  };
  const std::string loaded = "seedweave: 4 nodes, 2 interactions; 2 records read, 0 skipped\n";
  const Case cases[] = {
      {line + shortLine + line + line, "", "1 n n n .",
       "seedweave: mid.sig, line 3: a record begins in the middle of the line (2 such records); "
       "a field may be missing or extra\n"
       "seedweave: mid.sig ends in an incomplete record (12 of 13 fields), which was left out\n"
       "seedweave: empty.sig holds no records\n"
       "seedweave: 2 nodes, 1 interactions; 3 records read, 2 skipped\n"},
      {apart, "", "2 y 5 y 2 n A C . net n",
       "seedweave: empty.sig holds no records\n" + loaded +
           "seedweave: the subnetwork is empty; try a maximum path length above 2, or an article "
           "load limit above 5, or a minimum of references below 2\n"
           "seedweave: wrote net.sig, net.sif in FOLDER\n"},
      {apart, " \n", "6 n n y A C . net y",
       "seedweave: empty.sig holds no records\n" + loaded +
           "seedweave: the subnetwork is empty: no two seeds are joined by a path of at most 6 "
           "interactions\n"
           "seedweave: wrote A-cliques.txt, A-neighbors.txt, C-cliques.txt, C-neighbors.txt, "
           "net.sig, net.sif, net_stats.txt in FOLDER\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.write("mid.sig", c.mid);
    dir.write("empty.sig", c.empty);
    const RunResult result = runBinary(dir.path(), {"mid.sig", "empty.sig"}, c.input);
    std::string errors = c.errors;
    const std::size_t folder = errors.find("FOLDER");
    if (folder != std::string::npos) {
      errors.replace(folder, 6, std::filesystem::canonical(dir.path()).string());
    }
    EXPECT_EQ(result.errors, errors);
    EXPECT_EQ(result.output.find("seedweave:"), std::string::npos);
  }
}

}  // namespace
}  // namespace seedweave
