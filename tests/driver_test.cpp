// The answer reader on its own, and runs that run out of memory.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <utility>

#include "driver/word_reader.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::TempDir;

// What a shell command line writes to standard output, and its exit status.
std::pair<std::string, int> shellOutput(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {"", -1};
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  const int status = ::pclose(pipe);
  return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The recorded sessions cover the answers a user types; these are the extremes.
TEST(WordReader, HugeNumbersAndLongWords) {
  EXPECT_EQ(leadingNumber(" 1234x"), 1234);
  EXPECT_EQ(leadingNumber("1090"), 1090);
  EXPECT_EQ(leadingNumber("-56"), -56);
  EXPECT_EQ(leadingNumber("99999999999"), 2147483647);
  EXPECT_EQ(leadingNumber("-99999999999"), -2147483647 - 1);
  TempDir dir;
  const std::string longWord(5000, 'w');
  std::FILE* file = std::fopen(dir.write("words", longWord + "\f" + longWord).c_str(), "r");
  WordReader reader(file);
  EXPECT_EQ(reader.next(), longWord);
  EXPECT_EQ(reader.next(), longWord);
  EXPECT_EQ(reader.next(), std::nullopt);
  std::fclose(file);
}

// With both streams on one terminal or pipe, a warning must come after the output that led to
// it, not before what is still buffered.
TEST(Startup, WarningsFollowTheOutputBeforeThem) {
  TempDir dir;
  const std::string empty = dir.write("empty.sig", "");
  const std::string output =
      shellOutput("'" + std::string(SEEDWEAVE_BINARY) + "' '" + empty + "' < /dev/null 2>&1").first;
  const std::size_t reading = output.find("Reading ");
  const std::size_t warning = output.find("seedweave: ");
  ASSERT_NE(warning, std::string::npos) << output;
  EXPECT_LT(reading, warning) << output;
}

// Memory is limited through the shell; the sanitizers need far more address space than any
// limit that would still let the program start, so the test is for normal builds only.
#ifndef __SANITIZE_ADDRESS__
TEST(Startup, ExhaustedMemoryIsAFailure) {
  if (!testing::kOnLinux) GTEST_SKIP() << "needs ulimit -v";
  const std::string examples = std::string(SEEDWEAVE_SOURCE_DIR) + "/examples/alpha.sig";
  const auto [output, status] = shellOutput("ulimit -v 12000; '" + std::string(SEEDWEAVE_BINARY) +
                                            "' '" + examples + "' < /dev/null");
  EXPECT_TRUE(output.ends_with("Out of memory.\n")) << output;
  EXPECT_EQ(status, 1);
}

// Memory may run out anywhere in loading, on the reading thread or on the merging one: the run
// then ends with the message, and never waits for a thread that will not come back.
TEST(Startup, MemoryRunningOutDuringLoadingEndsTheRun) {
  if (!testing::kOnLinux) GTEST_SKIP() << "needs ulimit -v";
  TempDir dir;
  std::string sig;
  for (long long i = 0; i < 300000; ++i) {
    sig += testing::sigLine(std::to_string(i * 7919 % 40000).insert(0, 1, 'G'),
                            std::to_string(i * 104729 % 39989).insert(0, 1, 'H'), "0", "Binding",
                            std::to_string(1 + i % 50000));
  }
  const std::string path = dir.write("big.sig", sig);
  for (int limit = 20000; limit <= 80000; limit += 6000) {
    const auto [output, status] =
        shellOutput("ulimit -v " + std::to_string(limit) + "; timeout 10 '" +
                    std::string(SEEDWEAVE_BINARY) + "' '" + path + "' < /dev/null");
    EXPECT_EQ(status, 1) << limit << " KB";
    EXPECT_TRUE(output.ends_with("Out of memory.\n") || output.ends_with("hashes...\n"))
        << limit << " KB: " << output.substr(output.size() > 200 ? output.size() - 200 : 0);
  }
}
#endif

}  // namespace
}  // namespace seedweave
