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
  const std::map<std::string, int> examples = {
      {"", 5381}, {"A", 7638}, {"abc", 5963}, {"\xE9", 7550}};
  for (const auto& [text, hash] : examples) EXPECT_EQ(getHashIndexFromString(text), hash) << text;
  EXPECT_EQ(addFlag(addFlag(addFlag(0, 0), 2), 32), 5u);  // no bit at all for a source beyond 31
  EXPECT_EQ(addFlag(0, 31), 0x80000000u);
}

// The index hash reads every byte: names alike but for one character, anywhere in a name of up
// to 20 bytes, or not even that, do not share a hash.
TEST(Hashing, TextHashesOfSimilarNamesDiffer) {
  std::set<std::uint32_t> hashes;
  for (std::size_t length = 1; length <= 20; ++length) {
    for (std::size_t at = 0; at <= length; ++at) {
      std::string name(length, 'x');
      if (at < length) name[at] = 'y';
      hashes.insert(hashText(name));
    }
  }
  EXPECT_EQ(hashes.size(), 230u);  // 1 + 2 + ... + 20 names with a 'y', 20 without
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
  SlotTable names;
  TallyIndex articles;
  bool created = false;  // the capacities and the tallies found show what was created
  for (std::uint32_t id = 0; id < 7000; ++id) {
    const std::uint32_t hash = id * 2654435761u;
    names.makeRoomForOne();
    names.fill(names.probe(hash, [](std::uint32_t) { return false; }), hash, id);
    articles.findOrAdd(static_cast<std::int32_t>(hash >> 1), TallyId(id), created);
    ASSERT_EQ(names.capacity(), slotsFor(id + 1, 50)) << id;
    ASSERT_EQ(articles.capacity(), slotsFor(id + 1, 80)) << id;
  }
  for (std::uint32_t id = 0; id < 7000; ++id) {  // every entry is still found after growth
    const std::uint32_t hash = id * 2654435761u;
    ASSERT_EQ(names.idAt(names.probe(hash, [&](std::uint32_t found) { return found == id; })), id);
    ASSERT_EQ(articles.findOrAdd(static_cast<std::int32_t>(hash >> 1), -2, created), TallyId(id));
  }
}

// Blocks are cut from one chunk after another: each keeps what was written into it, also
// once the first chunks are used up. A block given back is the next one taken.
TEST(StoreIndexes, CitationBlocksSpanSeveralChunks) {
  constexpr int kBlocks = 1500;  // of 1,024 entries each: about 18 MB
  CitationBlocks blocks;
  std::vector<PMIDLIST*> taken;
  for (int i = 0; i < kBlocks; ++i) {
    taken.push_back(blocks.take(10));
    std::fill_n(taken.back(), 1024, PMIDLIST{i, TallyId(i), 1u});
  }
  for (int i = 0; i < kBlocks; ++i)
    ASSERT_TRUE(std::all_of(taken[i], taken[i] + 1024, [&](PMIDLIST e) { return e.pmid == i; }))
        << i;
  blocks.giveBack(taken[7], 10);
  EXPECT_EQ(blocks.take(10), taken[7]);
}

// Citation lists grow through several block sizes side by side, so that blocks given back by
// one list are taken by another: each must keep exactly its own articles, ascending, and each
// article its load (the number of interactions citing it).
TEST(StoreIndexes, CitationListsGrowSideBySide) {
  constexpr int kPairs = 40;
  std::string sig;
  std::map<std::int32_t, int> loads;
  std::vector<std::set<std::int32_t>> expected(kPairs);
  for (int round = 0; round < 300; ++round) {
    for (int pair = 0; pair < kPairs; ++pair) {
      // Pair p is cited by the articles 1 + (k * (2p + 1)) % 1009, k < 3 + 7p, in scrambled
      // order: k = 0, last, 1, last - 1, ...
      const int count = 3 + 7 * pair;
      if (round >= count) continue;
      const int k = round % 2 == 0 ? round / 2 : count - 1 - round / 2;
      const int pmid = 1 + k * (2 * pair + 1) % 1009;
      sig += sigLine(std::to_string(pair).insert(0, 1, 'A'), "B", "0", "T", std::to_string(pmid));
      expected[pair].insert(pmid);
      ++loads[pmid];
    }
  }
  const Network net = testing::loadNetwork({sig});
  ASSERT_EQ(net.interactionTotal(), std::size_t{kPairs});
  for (int pair = 0; pair < kPairs; ++pair) {
    const CitationList& cited = net.interaction(pair).pmids;
    for (const PMIDLIST& entry : cited) EXPECT_EQ(net.articleLoad(entry), loads[entry.pmid]);
    EXPECT_TRUE(std::ranges::equal(cited, expected[pair], {}, &PMIDLIST::pmid)) << pair;
  }
}

}  // namespace
}  // namespace seedweave
