// Whole runs under hostile conditions that a recorded session cannot set up: folders the user
// cannot write, full disks, signals, kills, a standard output that cannot be written, and
// large inputs. No run may leave a partial file under a final name, write
// outside its folder, replace an input or end with a status that hides a failure.
#include <fcntl.h>
#include <gtest/gtest.h>
#ifdef __linux__
#include <sys/mount.h>
#endif
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <thread>

#include "test_support.hpp"

namespace seedweave {
namespace {

namespace fs = std::filesystem;
using testing::contentOf;
using testing::sigLine;
using testing::TempDir;

const std::string kNamePrompt = "\nPlease enter a name for the new subnetwork.\n";
const std::string kReportPrompt =
    "\nWould you like to generate a statistical report of the clustering significance \n"
    "of the genes, and the statistical significance of the intermediates? (y/n)\n";
const std::string kSaved = "Saving new network as sig and sif files...\n" + kReportPrompt;
const std::string kEnd = "Freeing network...\npreparing to loop through hashes...\n";
const std::string kEndedEarly = "\nEnd of input reached before the dialogue was complete.\n" + kEnd;
const std::string kNetwork = sigLine("A", "B", "0", "T", "1") + sigLine("B", "C", "0", "T", "2");

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// A run of the binary in the folder "work" of a fresh temporary folder, which holds nothing
// else but the run's standard input, output and error.
class Sandbox {
 public:
  Sandbox() { fs::create_directory(work()); }
  fs::path work() const { return root_.path() / "work"; }
  fs::path file(const std::string& name) const { return work() / name; }
  void write(const std::string& name, const std::string& content) const {
    root_.write("work/" + name, content);
  }

  // Starts `wrapper` words, the binary and `args` in the folder; stdout goes to `outPath`
  // (relative to the root), or is closed when that is empty.
  void start(const std::vector<std::string>& args, const std::string& input,
             const std::vector<std::string>& wrapper = {}, const std::string& outPath = "out") {
    root_.write("in", input);
    std::vector<std::string> words = wrapper;
    words.push_back(SEEDWEAVE_BINARY);
    words.insert(words.end(), args.begin(), args.end());
    const fs::path out = root_.path() / outPath;  // an absolute outPath stands for itself
    pid_ = ::fork();
    if (pid_ != 0) return;
    // A run that hangs (as a planted fault can make it) ends after 120 s, like runBinary's.
    ::alarm(120);
    ::chdir(work().c_str());
    ::dup2(::open((root_.path() / "in").c_str(), O_RDONLY), 0);
    ::dup2(::open((root_.path() / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    if (outPath.empty()) {
      ::close(1);
    } else {
      ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    }
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  // The exit status, or 128 + the signal that ended the run.
  int finish() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
  }
  int run(const std::vector<std::string>& args, const std::string& input,
          const std::vector<std::string>& wrapper = {}, const std::string& outPath = "out") {
    start(args, input, wrapper, outPath);
    return finish();
  }
  std::string output() const { return contentOf(root_.path() / "out"); }
  std::string errors() const { return contentOf(root_.path() / "err"); }
  // Nothing was written beside the working folder, and no temporary file is left in it.
  void expectNoStrayFiles() const {
    for (const std::string& name : namesIn(root_.path())) {
      EXPECT_TRUE(name == "work" || name == "in" || name == "out" || name == "err") << name;
    }
    for (const std::string& name : namesIn(work())) EXPECT_FALSE(name.starts_with(".sw")) << name;
  }
  pid_t pid() const { return pid_; }

 private:
  TempDir root_;
  pid_t pid_ = -1;
};

// Waits until a temporary result file exists in the folder.
bool temporaryFileAppears(const fs::path& folder) {
  for (int tries = 0; tries < 2000; ++tries) {
    for (const std::string& name : namesIn(folder)) {
      if (name.starts_with(".sw")) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

// Words that run the rest of the command line as the unprivileged user when the tests run as
// root; nothing when they already run unprivileged, or nullopt when that is impossible.
std::optional<std::vector<std::string>> asUnprivilegedUser() {
  if (::geteuid() != 0) return std::vector<std::string>{};
  if (::access("/usr/bin/setpriv", X_OK) != 0) return std::nullopt;
  return std::vector<std::string>{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
}

// The unprivileged user cannot write into a folder of root's, nor search its own folder once
// it took away its own permission.
TEST(UnwritableFolders, RefuseTheNamesUntilTheInputEnds) {
  const auto unprivileged = asUnprivilegedUser();
  if (!unprivileged) GTEST_SKIP() << "setpriv is needed to drop root's privileges";
  TempDir inputs;
  const std::string net = inputs.write("net.sig", kNetwork);
  fs::permissions(inputs.path(), fs::perms::others_exec, fs::perm_options::add);
  const std::string noSearch = "chmod 0 . && exec \"$0\" \"$@\"";
  for (const bool searchable : {true, false}) {
    SCOPED_TRACE(searchable ? "read-only folder" : "unsearchable folder");
    Sandbox run;
    std::vector<std::string> wrapper = *unprivileged;
    if (searchable) {
      fs::permissions(run.work(),
                      fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
      if (::geteuid() != 0)
        fs::permissions(run.work(), fs::perms::owner_write, fs::perm_options::remove);
    } else {
      if (::geteuid() == 0) ::chown(run.work().c_str(), 65534, 65534);
      wrapper.insert(wrapper.end(), {"sh", "-c", noSearch});
    }
    EXPECT_EQ(run.run({net}, "2 n n y A C . x", wrapper), 1);
    const std::string output = run.output();
    EXPECT_NE(output.find("Could not open A-cliques.txt for writing.\n"), std::string::npos);
    EXPECT_TRUE(output.ends_with(kNamePrompt + "Could not open x.sig for writing.\n" + kNamePrompt +
                                 kEndedEarly))
        << output;
    fs::permissions(run.work(), fs::perms::owner_all, fs::perm_options::add);
    EXPECT_TRUE(namesIn(run.work()).empty());
  }
}

// One interaction A-B cited by `articles` articles: a SIG file of that many lines, and a
// subnetwork file of as many.
std::string manyCitations(int articles) {
  std::string text;
  for (int pmid = 1; pmid <= articles; ++pmid)
    text += sigLine("A", "B", "0", "T", std::to_string(pmid));
  return text;
}
const std::string kCitationsSession = "1 n n n A B . x n";

// A small tmpfs is a Linux facility.
#ifdef __linux__
TEST(FullDisk, KeepsTheEarlierFileAndFailsTheRun) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  TempDir inputs;
  const std::string net = inputs.write("net.sig", manyCitations(3000));
  Sandbox run;
  if (::mount("tmpfs", run.work().c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "tmpfs cannot be mounted here";
  }
  run.write("x.sig", "old\n");
  EXPECT_EQ(run.run({net}, kCitationsSession), 1);
  EXPECT_NE(run.output().find("Could not write x.sig completely.\n"), std::string::npos);
  EXPECT_EQ(contentOf(run.file("x.sig")), "old\n");
  run.expectNoStrayFiles();
  ::umount2(run.work().c_str(), MNT_DETACH);
}
#endif

TEST(Signals, RemoveTemporaryFilesAndEndTheRunWithTheSignal) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    Sandbox run;
    run.write("net.sig", kNetwork);
    run.write("x.sig", "old\n");
    // Opening a pipe waits for a reader: the run stops with x.sig's temporary file open.
    ::mkfifo(run.file("x.sif").c_str(), 0644);
    run.start({"net.sig"}, "2 n n n A C . x n");
    ASSERT_TRUE(temporaryFileAppears(run.work()));
    ::kill(run.pid(), signal);
    EXPECT_EQ(run.finish(), 128 + signal);
    EXPECT_EQ(contentOf(run.file("x.sig")), "old\n");
    run.expectNoStrayFiles();
  }
}

TEST(Signals, AKillDuringALargeWriteLeavesTheOldOrTheCompleteFile) {
  Sandbox reference;
  reference.write("net.sig", manyCitations(200000));
  ASSERT_EQ(reference.run({"net.sig"}, kCitationsSession), 0);
  const std::string complete = contentOf(reference.file("x.sig"));
  Sandbox run;
  fs::copy_file(reference.file("net.sig"), run.file("net.sig"));
  run.write("x.sig", "old\n");
  run.start({"net.sig"}, kCitationsSession);
  ASSERT_TRUE(temporaryFileAppears(run.work()));
  ::kill(run.pid(), SIGKILL);
  EXPECT_EQ(run.finish(), 128 + SIGKILL);
  const std::string left = contentOf(run.file("x.sig"));
  EXPECT_TRUE(left == "old\n" || left == complete) << left.size() << " bytes";
}

TEST(StandardOutput, AFailureIsReportedOnceAndTheFilesAreStillWritten) {
  for (const auto& [path, cause] : std::vector<std::pair<std::string, std::string>>{
           {"/dev/full", "No space left on device"}, {"", "Bad file descriptor"}}) {
    SCOPED_TRACE(cause);
    if (!path.empty() && !testing::kOnLinux) continue;  // /dev/full is Linux-only
    Sandbox run;
    run.write("net.sig", kNetwork);
    EXPECT_EQ(run.run({"net.sig"}, "2 n n n A C . x n", {}, path), 1);
    EXPECT_EQ(run.errors(),
              "seedweave: 3 nodes, 2 interactions; 2 records read, 0 skipped\n"
              "seedweave: wrote x.sig, x.sif in " +
                  fs::canonical(run.work()).string() +
                  "\nseedweave: could not write to standard output: " + cause + "\n");
    EXPECT_EQ(contentOf(run.file("x.sig")), kNetwork);
    EXPECT_EQ(contentOf(run.file("x.sif")), "A\tT\tB\nB\tT\tC\n");
  }
}

// Large inputs, run with a 1 MB stack so that any recursion that grows with the input fails.
// The sanitizers make them slow, so they run in normal builds only.
#ifndef __SANITIZE_ADDRESS__
const std::vector<std::string> kSmallStack = {"sh", "-c", "ulimit -s 1024 && exec \"$0\" \"$@\""};

std::string numbered(int count, const std::function<std::string(int)>& line) {
  std::string text;
  for (int i = 0; i < count; ++i) text += line(i);
  return text;
}

// A closed standard output never lends its place to a result file: the progress printed while
// the report is open (more than a stdio buffer, for 250 seeds) stays out of the report.
TEST(StandardOutput, WhenClosedItsTextNeverReachesAResultFile) {
  const auto leaf = [](int i) { return std::to_string(i).insert(0, 1, 'L'); };
  Sandbox run;
  run.write("net.sig",
            numbered(250, [&](int i) { return sigLine("Hub", leaf(i), "0", "T", "1"); }));
  const std::string seeds = numbered(250, [&](int i) { return leaf(i) + ' '; });
  EXPECT_EQ(run.run({"net.sig"}, "2 n n n " + seeds + ". x y", {}, ""), 1);
  const std::string report = contentOf(run.file("x_stats.txt"));
  EXPECT_NE(report.find("K=6"), std::string::npos);
  EXPECT_EQ(report.find("Computing"), std::string::npos);
}

// Records joining genes G0 to G19999 at random, each pair once.
std::string scattered(int records) {
  return numbered(records, [](int i) {
    return sigLine(std::to_string(i * 7 % 20000).insert(0, 1, 'G'),
                   std::to_string(i * 13 % 19997).insert(0, 1, 'G'), "0", "T",
                   std::to_string(1 + i % 5000));
  });
}

// Memory may run out anywhere in loading, on the reading thread or on the merging one: the run
// then ends with the message, and never waits for a thread that will not come back.
TEST(LargeInputs, MemoryRunningOutAnywhereInLoadingEndsTheRun) {
  Sandbox run;
  run.write("net.sig", scattered(300000));
  for (int limit = 12000; limit <= 80000; limit += 6000) {
    SCOPED_TRACE(limit);
    const std::string limited =
        "ulimit -v " + std::to_string(limit) + " && exec timeout 10 \"$0\" \"$@\"";
    EXPECT_EQ(run.run({"net.sig"}, "", {"sh", "-c", limited}), 1);
    EXPECT_TRUE(run.output().ends_with("Out of memory.\n") || run.output().ends_with(kEndedEarly));
    EXPECT_EQ(run.errors().find("standard output"), std::string::npos) << run.errors();
  }
}

TEST(LargeInputs, AChainAStarManySeedsAndAHugeLine) {
  const auto node = [](const char* prefix, int i) { return prefix + std::to_string(i); };
  struct Case {
    std::string label, sig, answers, outPath, expected;
  };
  for (const Case& c : std::vector<Case>{
           {"chain of 100000",
            numbered(99999,
                     [&](int i) {
                       return sigLine(node("N", i), node("N", i + 1), "0", "T",
                                      std::to_string(i + 1));
                     }),
            "6 n n n N0 N99999 . sub n", "out", kSaved + kEnd},
           {"star of 200000",
            numbered(
                200000,
                [&](int i) { return sigLine("H", node("L", i), "0", "T", std::to_string(i + 1)); }),
            "2 n n y H L0 L1 . sub y", "out", "Performing K-means clustering with K=6...\n" + kEnd},
           {"2000 seeds", scattered(60000), "2 n n n seeds.txt . sub n", "/dev/null", ""},
           {"a line of 50 MB",
            "A NA NA NA NA B NA NA NA NA 0 " + std::string(50'000'000, 't') + " 1", "1 n n n .",
            "out", "Skipped 1 records of net.sig with a field longer than 199 characters.\n"}}) {
    SCOPED_TRACE(c.label);
    Sandbox run;
    run.write("net.sig", c.sig);
    run.write("seeds.txt", numbered(2000, [&](int i) { return node("G", i * 10) + "\n"; }));
    EXPECT_EQ(run.run({"net.sig"}, c.answers, kSmallStack, c.outPath), 0);
    if (c.outPath == "out") {
      EXPECT_NE(run.output().find(c.expected), std::string::npos);
    }
  }
}
#endif

}  // namespace
}  // namespace seedweave
