// The answer reader on its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "driver/word_reader.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::TempDir;

// The recorded sessions cover the answers a user types; these are the extremes.
TEST(WordReader, HugeNumbersAndLongWords) {
  EXPECT_EQ(leadingNumber(" 1290x"), 1290);
  EXPECT_EQ(leadingNumber(""), 0);
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
  const std::string command = "'" + std::string(SEEDWEAVE_BINARY) + "' '" +
                              dir.write("empty.sig", "") + "' < /dev/null 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) output += static_cast<char>(c);
  ::pclose(pipe);
  const std::size_t warning = output.find("seedweave: ");
  ASSERT_NE(warning, std::string::npos) << output;
  EXPECT_LT(output.find("Reading "), warning) << output;
}

}  // namespace
}  // namespace seedweave
