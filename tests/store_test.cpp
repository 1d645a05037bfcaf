// The network store: the hashes, which order the result files, and the indexes as they grow.
// The merge rules and node attributes are checked through their output by the recorded
// session merge_rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "store/citation_blocks.hpp"
#include "store/hashing.hpp"
#include "store/network.hpp"
#include "store/slot_table.hpp"
#include "store/tally_index.hpp"
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
  EXPECT_EQ(addFlag(0, 32), 0u);  // no bit at all for a source beyond 31
  EXPECT_EQ(addFlag(0, 31), 0x80000000u);
}

// The index hash reads every byte: names alike but for one character, anywhere in a name
// of up to 20 bytes, do not share a hash.
TEST(Hashing, TextHashesOfSimilarNamesDiffer) {
  std::set<std::uint32_t> hashes;
  std::size_t names = 0;
  for (std::size_t length = 1; length <= 20; ++length) {
    for (std::size_t at = 0; at < length; ++at, ++names) {
      std::string name(length, 'x');
      name[at] = 'y';
      hashes.insert(hashText(name));
    }
  }
  EXPECT_EQ(hashes.size(), names);
}

// The smallest table of at least 1,024 slots, doubled as often as needed, that holds `entries`
// within its fill share.
std::size_t slotsFor(std::size_t entries, std::size_t percent) {
  std::size_t slots = 1024;
  while (entries * 100 > slots * percent) slots *= 2;
  return slots;
}

// An index doubles exactly when one more entry would fill it beyond its share, so that memory
// stays proportional to the entries and probes stay short, and finds every entry after growth.
// Whole loads that grow every index run in failure_safety_test.
TEST(StoreIndexes, TablesDoubleExactlyAtTheirFillShare) {
  SlotTable names(75);
  TallyIndex articles;
  for (std::uint32_t id = 0; id < 7000; ++id) {
    const std::uint32_t hash = id * 2654435761u;
    names.makeRoomForOne();
    names.fill(names.probe(hash, [](std::uint32_t) { return false; }), hash, id);
    bool created = false;
    articles.findOrAdd(static_cast<std::int32_t>(hash >> 1), TallyId(id), created);
    ASSERT_TRUE(created);
    ASSERT_EQ(names.capacity(), slotsFor(id + 1, 75)) << id;
    ASSERT_EQ(articles.capacity(), slotsFor(id + 1, 80)) << id;
  }
  for (std::uint32_t id = 0; id < 7000; ++id) {  // every entry is still found after growth
    const std::uint32_t hash = id * 2654435761u;
    ASSERT_EQ(names.idAt(names.probe(hash, [&](std::uint32_t found) { return found == id; })), id);
    bool created = true;
    ASSERT_EQ(articles.findOrAdd(static_cast<std::int32_t>(hash >> 1), 0, created), TallyId(id));
    ASSERT_FALSE(created);
  }
}

// Blocks are cut from one chunk after another: each keeps what was written into it, also
// once the first chunks are used up.
TEST(StoreIndexes, CitationBlocksSpanSeveralChunks) {
  constexpr int kBlocks = 1500;  // of 1,024 entries each: about 18 MB
  CitationBlocks blocks;
  std::vector<PMIDLIST*> taken;
  for (int i = 0; i < kBlocks; ++i) {
    taken.push_back(blocks.take(10));
    std::fill_n(taken.back(), 1024, PMIDLIST{i, TallyId(i), 1u});
  }
  for (int i = 0; i < kBlocks; ++i) {
    for (int k = 0; k < 1024; ++k) ASSERT_EQ(taken[static_cast<std::size_t>(i)][k].pmid, i) << k;
  }
}

// Citation lists grow through several block sizes side by side, so that blocks given back by
// one list are taken by another: each must keep exactly its own articles, ascending, and each
// article its load (the number of interactions citing it).
TEST(StoreIndexes, CitationListsGrowSideBySide) {
  constexpr int kPairs = 40;
  std::string sig;
  for (int round = 0; round < 300; ++round) {
    for (int pair = 0; pair < kPairs; ++pair) {
      // Pair p is cited by the articles 1 + (k * (2p + 1)) % 1009, k < 3 + 7p, in scrambled
      // order: k = 0, last, 1, last - 1, ...
      const int count = 3 + 7 * pair;
      if (round >= count) continue;
      const int k = round % 2 == 0 ? round / 2 : count - 1 - round / 2;
      sig += sigLine(std::to_string(pair).insert(0, 1, 'A'), "B", "0", "T",
                     std::to_string(1 + k * (2 * pair + 1) % 1009));
    }
  }
  const Network net = testing::loadNetwork({sig});
  ASSERT_EQ(net.interactionTotal(), std::size_t{kPairs});
  std::map<std::int32_t, int> loads;
  for (int pair = 0; pair < kPairs; ++pair) {
    for (int k = 0; k < 3 + 7 * pair; ++k) loads[1 + k * (2 * pair + 1) % 1009] += 1;
  }
  for (int pair = 0; pair < kPairs; ++pair) {
    std::vector<std::int32_t> expected;
    for (int k = 0; k < 3 + 7 * pair; ++k) expected.push_back(1 + k * (2 * pair + 1) % 1009);
    std::sort(expected.begin(), expected.end());
    std::vector<std::int32_t> cited;
    for (const PMIDLIST& citation : net.interaction(pair).pmids) {
      cited.push_back(citation.pmid);
      EXPECT_EQ(net.articleLoad(citation), loads[citation.pmid]) << citation.pmid;
    }
    EXPECT_EQ(cited, expected) << "pair " << pair;
  }
}

}  // namespace
}  // namespace seedweave
