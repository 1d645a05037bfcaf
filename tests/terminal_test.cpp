// Answers typed at a terminal: completion and suggestions on their own, then whole runs of
// the binary on a pseudo-terminal (skipped where none can be opened).
#include "driver/terminal.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "driver/completion.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

namespace fs = std::filesystem;
using testing::sigLine;
using testing::TempDir;

const std::string kNetwork = sigLine("Akr1c21", "Gapdh", "0", "Binding", "1") +
                             sigLine("Akr1c22", "Gapdh", "0", "Binding", "2") +
                             sigLine("AKR1C21", "sea", "0", "Binding", "3") +
                             sigLine("TZ\xc3\xa9", "sea", "0", "Binding", "4") +
                             sigLine("aKR1c21", "AkR1c21", "0", "Binding", "5");
// What every run on it says on standard error after loading.
const std::string kLoaded = "seedweave: 8 nodes, 5 interactions; 5 records read, 0 skipped\n";

// A folder with the network, a file named like a node, a seed file, a hidden file, a file
// whose name no answer can hold, one whose name starts with ~ and a subfolder; it is the
// current and the home folder while the test runs.
class Completion : public ::testing::Test {
 protected:
  Completion() : network_(testing::loadNetwork({kNetwork})), names_(network_) {
    fs::create_directory(dir_.path() / "sub");
    for (const char* file : {"sea", "seeds.txt", ".hidden", "se a", "~x.txt", "sub/inner.txt"})
      dir_.write(file, "Gapdh\n");
    fs::current_path(dir_.path());
    ::setenv("HOME", dir_.path().c_str(), 1);
  }
  ~Completion() override { fs::current_path(previous_); }

  const fs::path previous_ = fs::current_path();
  TempDir dir_;
  Network network_;
  NodeNames names_;
};

TEST_F(Completion, CandidatesForEachPrompt) {
  using V = std::vector<std::string>;
  const std::string home = dir_.path().string();
  const struct {
    const char* word;
    AnswerKind kind;
    V expected;
  } cases[] = {
      {"Akr", AnswerKind::kSeed, {"Akr1c21", "Akr1c22"}},
      {"akr", AnswerKind::kSeed, {}},
      {"se", AnswerKind::kSeed, {"sea", "seeds.txt"}},
      {"se", AnswerKind::kFileName, {"sea", "seeds.txt"}},
      {"", AnswerKind::kFileName, {"sea", "seeds.txt", "sub/", "~x.txt"}},
      {".h", AnswerKind::kFileName, {".hidden"}},
      {"sub/", AnswerKind::kSeed, {"sub/inner.txt"}},
      {"~/se", AnswerKind::kFileName, {home + "/sea", home + "/seeds.txt"}},
      {"~x", AnswerKind::kFileName, {"~x.txt"}},
      {"Akr", AnswerKind::kPlain, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(completionsOf(c.word, c.kind, names_), c.expected) << c.word;
  }
  EXPECT_EQ(commonPrefix({"Akr1c21", "Akr1c22", "Akr1c3"}), "Akr1c");
}

TEST_F(Completion, SuggestionsIgnoreCase) {
  EXPECT_EQ(names_.sameIgnoringCase("akr1c21", 3),
            (std::vector<std::string_view>{"AKR1C21", "AkR1c21", "Akr1c21"}));
  EXPECT_EQ(names_.sameIgnoringCase("akr1c21", 1), (std::vector<std::string_view>{"AKR1C21"}));
  EXPECT_TRUE(names_.sameIgnoringCase("akr1c2", 3).empty());
  EXPECT_EQ(names_.sameIgnoringCase("tz\xc3\xa9", 3), std::vector<std::string_view>{"TZ\xc3\xa9"});
}

TEST(CandidateListing, FillsAtMostTheScreen) {
  EXPECT_EQ(candidateListing({"a", "bb", "ccc"}, 15, 3), "a    bb   ccc\n");  // an exact fit
  EXPECT_EQ(candidateListing({"a", "bb", "ccc"}, 10, 24), "a    bb\nccc\n");
  std::vector<std::string> many;
  for (int i = 100; i < 150; ++i) many.push_back(std::to_string(i));
  EXPECT_EQ(candidateListing(many, 10, 5), "100  101\n102  103\n... 46 more, 50 in all\n");
  EXPECT_EQ(candidateListing(many, 3, 5), "100\n101\n... 48 more, 50 in all\n");
  EXPECT_EQ(candidateListing(many, 10, 2), "... 50 more, 50 in all\n");  // room for the count only
}

// The binary on a pseudo-terminal of `size` (80 by 24 characters unless said), started in
// `dir` (which is also its home folder) on net.sig, with standard error going to the file
// "stderr" there.
class TerminalRun {
 public:
  explicit TerminalRun(const TempDir& dir, winsize size = {24, 80, 0, 0}) {
    pid_ = ::forkpty(&terminal_, nullptr, nullptr, &size);
    if (pid_ != 0) return;
    const int errors = ::open((dir.path() / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::chdir(dir.path().c_str()) != 0 || errors < 0 || ::dup2(errors, 2) < 0) ::_exit(126);
    ::setenv("TERM", "xterm", 1);
    ::setenv("HOME", dir.path().c_str(), 1);
    ::setenv("LC_ALL", "C", 1);  // no character set chosen: answers are still taken as typed
    ::execl(SEEDWEAVE_BINARY, SEEDWEAVE_BINARY, "net.sig", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ~TerminalRun() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    ::close(terminal_);
  }
  bool started() const { return pid_ > 0; }

  // Reads the screen until `text` appears after the previous match and, with line editing,
  // the editor has taken the terminal (keys typed before that are handled by the terminal
  // itself); false after 10 s.
  bool waitFor(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      const std::size_t found = screen_.find(text, matched_);
      if (found != std::string::npos && (!lineEditingBuiltIn() || editing())) {
        matched_ = found + text.size();
        return true;
      }
      readSome(5);
    }
    return false;
  }
  void type(const std::string& keys) {
    EXPECT_EQ(::write(terminal_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }
  // Ends the input with Ctrl-D and returns everything the screen showed until the program
  // ended, or for at most 10 s.
  std::string finish() {
    type("\x04");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline && readSome(1000)) {
    }
    return screen_;
  }

 private:
  bool editing() const {
    termios mode{};
    return ::tcgetattr(terminal_, &mode) == 0 && (mode.c_lflag & ICANON) == 0;
  }

  bool readSome(int milliseconds) {
    pollfd ready{terminal_, POLLIN, 0};
    if (::poll(&ready, 1, milliseconds) <= 0) return false;
    char buffer[4096];
    const ssize_t got = ::read(terminal_, buffer, sizeof buffer);
    if (got <= 0) return false;
    screen_.append(buffer, static_cast<std::size_t>(got));
    return true;
  }

  pid_t pid_ = -1;
  int terminal_ = -1;
  std::string screen_;
  std::size_t matched_ = 0;
};

const std::string kSeedPrompt = "done adding to the seed.";

std::vector<std::string> addedSeeds(const std::string& screen) {
  const std::string before = "\nAdding ";
  std::vector<std::string> names;
  for (std::size_t at = screen.find(before); at != std::string::npos;
       at = screen.find(before, at + 1)) {
    const std::size_t start = at + before.size();
    names.push_back(screen.substr(start, screen.find(" to network seed...", start) - start));
  }
  return names;
}

// Answers the four questions, then, at each step, waits for the text and types the keys.
std::string typeSeeds(const TempDir& dir,
                      const std::vector<std::pair<std::string, std::string>>& steps,
                      winsize size = {24, 80, 0, 0}) {
  TerminalRun run(dir, size);
  if (!run.started()) return "<no pseudo-terminal>";
  EXPECT_TRUE(run.waitFor("genes in your list."));
  run.type("1 n n n\r");
  for (const auto& [awaited, keys] : steps) {
    EXPECT_TRUE(run.waitFor(awaited)) << awaited;
    run.type(keys);
  }
  EXPECT_TRUE(run.waitFor(kSeedPrompt));
  return run.finish();
}

TEST(Terminal, EditingHistoryCompletionAndHints) {
  if (!lineEditingBuiltIn()) GTEST_SKIP() << "built without line editing";
  const std::string hint = "seedweave: did you mean AKR1C21, AkR1c21 or Akr1c21?\n";
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::string>> steps;
    std::vector<std::string> added;
    std::string notShown = "";
    std::string hint = "";
  } cases[] = {
      {"cursor keys and a correction", {{kSeedPrompt, "Akr1x21\x1b[D\x1b[D\177c\r"}}, {"Akr1c21"}},
      {"Home, End and Ctrl-W", {{kSeedPrompt, "kr1c21\x1b[HA\x1b[F junk\x17\r"}}, {"Akr1c21"}},
      {"Up recalls a repeated answer once, Ctrl-R searches",
       {{kSeedPrompt, "Akr1c22\r"},
        {kSeedPrompt, "Gapdh\r"},
        {kSeedPrompt, "Gapdh\r"},
        {kSeedPrompt, "\x1b[A\x1b[A\r"},
        {kSeedPrompt, "\022c22\r"}},
       {"Akr1c22", "Gapdh", "Gapdh", "Akr1c22", "Akr1c22"}},
      {"an empty line ends nothing", {{kSeedPrompt, "\rGapdh\r"}}, {"Gapdh"}},
      {"several words on one line", {{kSeedPrompt, "Gapdh Akr1c21\r"}}, {"Gapdh", "Akr1c21"}},
      {"letters beyond ASCII", {{kSeedPrompt, "Gapdh TZ\xc3\xa9\t\r"}}, {"Gapdh", "TZ\xc3\xa9"}},
      {"Tab completes a unique name and ends it, then extends the next word, then lists",
       {{kSeedPrompt, "Gap\tAkr\t\t"}, {"Akr1c21  Akr1c22", "2\r"}},
       {"Gapdh", "Akr1c22"}},
      {"a Tab on a new line does not count as a second Tab",
       {{kSeedPrompt, "Akr\t1\r"}, {kSeedPrompt, "Akr1c2\t2\r"}},
       {"Akr1c21", "Akr1c22"},
       "Akr1c21  Akr1c22"},
      {"Tab completes a seed file in the home folder", {{kSeedPrompt, "~/se\t\r"}}, {"sea"}},
      {"a name in the wrong case", {{kSeedPrompt, "akr1c21\r"}}, {}, "", hint},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("net.sig", kNetwork);
    dir.write("seeds.txt", "sea\n");
    const std::string screen = typeSeeds(dir, c.steps);
    if (screen == "<no pseudo-terminal>") GTEST_SKIP() << "no pseudo-terminal";
    EXPECT_EQ(addedSeeds(screen), c.added) << c.what << "\n" << screen;
    EXPECT_EQ(screen.find("did you mean"), std::string::npos) << c.what;
    EXPECT_EQ(dir.read("stderr"), kLoaded + c.hint) << c.what;
    EXPECT_TRUE(c.notShown.empty() || screen.find(c.notShown) == std::string::npos) << c.what;
  }
}

// A listing takes the size of the terminal it is shown on: on 3 rows of 16 columns, one
// candidate per row and a single row for the list, so only the count is shown.
TEST(Terminal, ListingFitsTheTerminalItRunsOn) {
  if (!lineEditingBuiltIn()) GTEST_SKIP() << "built without line editing";
  TempDir dir;
  dir.write("net.sig", kNetwork);
  const std::string screen =
      typeSeeds(dir, {{kSeedPrompt, "Akr1c2\t\t"}, {"... 2 more, 2 in all", "1\r"}}, {3, 16, 0, 0});
  if (screen == "<no pseudo-terminal>") GTEST_SKIP() << "no pseudo-terminal";
  EXPECT_EQ(addedSeeds(screen), std::vector<std::string>{"Akr1c21"}) << screen;
}

}  // namespace
}  // namespace seedweave
