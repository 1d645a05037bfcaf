// The answer reader on its own.
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

// What a shell command line writes to standard output.
std::string shellOutput(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return "";
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  ::pclose(pipe);
  return output;
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
      shellOutput("'" + std::string(SEEDWEAVE_BINARY) + "' '" + empty + "' < /dev/null 2>&1");
  const std::size_t reading = output.find("Reading ");
  const std::size_t warning = output.find("seedweave: ");
  ASSERT_NE(warning, std::string::npos) << output;
  EXPECT_LT(reading, warning) << output;
}

}  // namespace
}  // namespace seedweave
