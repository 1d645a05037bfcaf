// Whole runs of the binary: start-up, loading messages and the end of a run.
#include <gtest/gtest.h>

#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::runBinary;
using testing::sigLine;
using testing::TempDir;

TEST(Startup, WithoutArgumentsIsSilent) {
  TempDir dir;
  const auto result = runBinary(dir.path(), {}, "");
  EXPECT_EQ(result.output, "");
  EXPECT_EQ(result.status, 0);
}

}  // namespace
}  // namespace seedweave
