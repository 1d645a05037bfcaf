// The network store: the hashes, which order the result files, and the indexes as they grow.
// The merge rules and node attributes are checked through their output by the recorded
// session merge_rules.
#include <gtest/gtest.h>

#include "store/hashing.hpp"
#include "store/network.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::sigLine;

TEST(Hashing, StringAndSourceFlagExamples) {
  EXPECT_EQ(getHashIndexFromString(""), 5381);
  EXPECT_EQ(getHashIndexFromString("A"), 7638);
  EXPECT_EQ(getHashIndexFromString("abc"), 5963);
  EXPECT_EQ(getHashIndexFromString("\xE9"), 7550);  // a signed byte counts -23
  EXPECT_EQ(addFlag(addFlag(0, 0), 2), 5u);
  EXPECT_EQ(addFlag(1, 32), 1u);
  EXPECT_EQ(addFlag(0, 31), 0x80000000u);
}

// Many names make the indexes grow through several sizes: every node and interaction must
// still be found by its name and its ends.
TEST(StoreIndexes, EverythingIsFoundAfterGrowth) {
  std::string sig;
  for (int r = 0; r < 60000; ++r) {
    sig += sigLine(std::to_string(r % 9000).insert(0, 1, 'G'),
                   std::to_string(r * 7 % 11000).insert(0, 1, 'H'), r % 3 == 0 ? "0" : "x", "T",
                   std::to_string(1 + r % 500));
  }
  const Network net = testing::loadNetwork({sig});
  EXPECT_EQ(net.nodeCount(), 20000u);
  for (std::size_t n = 0; n < net.nodeCount(); ++n) {
    ASSERT_EQ(net.getInteractorFromHash(net.name(NodeId(n))), NodeId(n));
  }
  for (InteractionId id = 0; id < static_cast<InteractionId>(net.interactionTotal()); ++id) {
    const INTERACTION& i = net.interaction(id);
    ASSERT_EQ(net.getInteractionFromInteractors(i.first, i.second), id);
  }
}

}  // namespace
}  // namespace seedweave
