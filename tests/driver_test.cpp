// Whole runs of the binary: start-up, loading messages and the end of a run.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::runBinary;
using testing::sigLine;
using testing::TempDir;

const std::string kFirstQuestion =
    "\nWhat is the maximum path length (number of intermediates) you would like to use\n"
    "to make connections between your list of genes?\n"
    "A value of 1 will return only interactions between genes in your list.\n";
const std::string kEndedEarly =
    "\nEnd of input reached before the dialogue was complete.\n"
    "Freeing network...\npreparing to loop through hashes...\n";

TEST(Startup, WithoutArgumentsIsSilent) {
  TempDir dir;
  const auto result = runBinary(dir.path(), {}, "");
  EXPECT_EQ(result.output, "");
  EXPECT_EQ(result.status, 0);
}

TEST(Startup, UnreadableFilesAreReportedAndLoadingGoesOn) {
  TempDir dir;
  dir.write("net.sig", sigLine("A", "B", "0", "Binding", "1"));
  const auto result = runBinary(dir.path(), {"missing.sig", ".", "net.sig"}, "");
  EXPECT_EQ(result.output,
            "Initializing hashes...\n"
            "Reading missing.sig...\nCould not open missing.sig for reading.\n"
            "Reading ....\nCould not open . for reading.\n"
            "Reading net.sig...\nCalculating tallies...\n" +
                kFirstQuestion + kEndedEarly);
  EXPECT_EQ(result.status, 1);  // the dialogue was not complete
}

TEST(Startup, SamePathTwiceIsReadAsTwoSources) {
  TempDir dir;
  dir.write("net.sig", sigLine("A", "B", "0", "Binding", "1"));
  const auto result = runBinary(dir.path(), {"net.sig", "./net.sig"}, "1 n n y A .");
  EXPECT_EQ(dir.read("A-neighbors.txt"), "A B 0 1 net.sig\nA B 0 1 ./net.sig\n");
  EXPECT_EQ(result.status, 0);
}

// Memory is limited through the shell; the sanitizers need far more address space than any
// limit that would still let the program start, so the test is for normal builds only.
TEST(Startup, ExhaustedMemoryIsAFailure) {
  if (testing::kSanitized || !testing::kOnLinux) GTEST_SKIP() << "needs ulimit -v, no sanitizer";
  const std::string examples = std::string(SEEDWEAVE_SOURCE_DIR) + "/examples/alpha.sig";
  const std::string command =
      "ulimit -v 12000; '" + std::string(SEEDWEAVE_BINARY) + "' '" + examples + "' < /dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  const int status = ::pclose(pipe);
  EXPECT_TRUE(output.ends_with("Out of memory.\n")) << output;
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
}  // namespace seedweave
