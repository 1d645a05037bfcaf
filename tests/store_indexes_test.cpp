// The store's fast internals against simple models: the citation list with its inline entry,
// the text pool, and the node and pair indexes, checked by loading random reports into the
// network and into a literal model of the merge rules that finds everything by walking lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "store/network.hpp"

namespace seedweave {
namespace {

TEST(CitationList, GrowsBeyondItsInlineEntryAndCopiesDeeply) {
  CitationList list;
  for (int pmid : {50, 10, 40, 20, 30}) addPMIDtoList(list, pmid, 0);
  addPMIDtoList(list, 10, 1);
  ASSERT_EQ(list.size(), 5u);
  for (std::size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i].pmid, 10 * (int(i) + 1));
  EXPECT_EQ(list.front().sourceFlags, 3u);

  CitationList copy = list;
  addPMIDtoList(copy, 5, 0);
  EXPECT_EQ(copy.size(), 6u);
  EXPECT_EQ(list.size(), 5u);

  CitationList single;
  addPMIDtoList(single, 7, 0);
  copy = single;  // a heap list becomes an inline one
  ASSERT_EQ(copy.size(), 1u);
  EXPECT_EQ(copy.front().pmid, 7);

  CitationList moved = std::move(list);
  EXPECT_EQ(moved.size(), 5u);
  EXPECT_EQ(moved.back().pmid, 50);
  EXPECT_TRUE(list.empty());  // a moved-from list is left empty
  list = std::move(single);
  EXPECT_EQ(list.front().pmid, 7);
}

TEST(CitationList, HoldsPubMedIdsThatAreNotPositive) {
  // The reader never makes them, but the list must still hold them: its inline state is
  // told apart by a positive PubMed id.
  CitationList alone;
  addPMIDtoList(alone, -7, 0);
  ASSERT_EQ(alone.size(), 1u);
  EXPECT_EQ(alone.front().pmid, -7);
  const CitationList copy = alone;
  ASSERT_EQ(copy.size(), 1u);
  EXPECT_EQ(copy.front().pmid, -7);

  CitationList mixed;
  for (int pmid : {4, 0, -3, 4}) addPMIDtoList(mixed, pmid, 1);
  ASSERT_EQ(mixed.size(), 3u);
  EXPECT_EQ(mixed[0].pmid, -3);
  EXPECT_EQ(mixed[1].pmid, 0);
  EXPECT_EQ(mixed[2].pmid, 4);
  EXPECT_FALSE(mixed.empty());
}

TEST(TextPool, EqualTextsShareAnIdAndEveryTextReadsBack) {
  TextPool pool;
  // The empty text, a NUL inside a text, and a text longer than a storage chunk.
  std::vector<std::string> texts = {"", "NA", std::string("a\0b", 3), std::string(70000, 'x'),
                                    "tail"};
  for (int i = 0; i < 30000; ++i) texts.push_back(std::to_string(i) + "text");
  std::vector<TextId> ids;
  for (const std::string& text : texts) ids.push_back(pool.intern(text));
  EXPECT_EQ(pool.size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(pool.view(ids[i]), texts[i]);
    EXPECT_EQ(pool.intern(texts[i]), ids[i]);
  }
  EXPECT_STREQ(pool.c_str(ids[4]), "tail");
  EXPECT_EQ(pool.size(), texts.size());
}

// The merge rules written out plainly: nodes found by name in a map, interactions by walking
// the first end's adjacency list, exactly as the rules describe the lookup.
class ModelNetwork {
 public:
  struct Interaction {
    int first, second;
    std::string direction, type;
    std::map<int, std::uint32_t> citations;  // PubMed id -> source bits
  };
  struct Node {
    std::string name;
    std::array<std::string, 4> attrs;
    std::vector<int> adjacency;
  };

  int update(const std::string& name, const std::array<std::string, 4>& attrs) {
    auto [found, created] = ids_.try_emplace(name, static_cast<int>(nodes.size()));
    if (created) {
      nodes.push_back({name, attrs, {}});
    } else {
      for (std::size_t i = 0; i < 4; ++i) {
        if (attrs[i] != "NA") nodes[static_cast<std::size_t>(found->second)].attrs[i] = attrs[i];
      }
    }
    return found->second;
  }

  void report(int a, int b, const std::string& d, const std::string& t, int pmid, int source) {
    int x = find(a, b);
    if (x >= 0 && interactions[std::size_t(x)].first == b && a != b && d != "0") {
      std::swap(interactions[std::size_t(x)].first, interactions[std::size_t(x)].second);
    }
    if (x < 0) {
      const int y = find(b, a);
      if (y >= 0 && (d == interactions[std::size_t(y)].direction || d == "0")) x = y;
    }
    if (x < 0) {
      x = static_cast<int>(interactions.size());
      interactions.push_back({a, b, d, t, {}});
      nodes[std::size_t(a)].adjacency.push_back(x);
      if (b != a) nodes[std::size_t(b)].adjacency.push_back(x);
    } else {
      Interaction& merged = interactions[std::size_t(x)];
      if (merged.direction == "0") merged.direction = d;
      if (merged.type == "Binding" && t != "Colocalization") merged.type = t;
    }
    interactions[std::size_t(x)].citations[pmid] |= source < 32 ? 1u << source : 0u;
  }

  std::vector<Node> nodes;
  std::vector<Interaction> interactions;

 private:
  int find(int a, int b) const {
    for (int id : nodes[std::size_t(a)].adjacency) {
      const Interaction& i = interactions[std::size_t(id)];
      if ((i.first == a && i.second == b) ||
          (i.first == b && i.second == a && i.direction == "0")) {
        return id;
      }
    }
    return -1;
  }

  std::map<std::string, int> ids_;
};

void expectSameNetwork(const Network& net, const ModelNetwork& model) {
  ASSERT_EQ(net.nodeCount(), model.nodes.size());
  for (std::size_t id = 0; id < model.nodes.size(); ++id) {
    const INTERACTOR& node = net.node(static_cast<NodeId>(id));
    const ModelNetwork::Node& expected = model.nodes[id];
    EXPECT_EQ(net.getInteractorFromHash(expected.name), static_cast<NodeId>(id));
    EXPECT_EQ(net.text(node.attr1), expected.attrs[0]);
    EXPECT_EQ(net.text(node.attr4), expected.attrs[3]);
    EXPECT_EQ(node.interactions,
              std::vector<InteractionId>(expected.adjacency.begin(), expected.adjacency.end()));
  }
  ASSERT_EQ(net.interactionCount(), model.interactions.size());
  for (std::size_t id = 0; id < model.interactions.size(); ++id) {
    const INTERACTION& got = net.interaction(static_cast<InteractionId>(id));
    const ModelNetwork::Interaction& expected = model.interactions[id];
    EXPECT_EQ(got.first, expected.first);
    EXPECT_EQ(got.second, expected.second);
    EXPECT_EQ(net.text(got.direction), expected.direction);
    EXPECT_EQ(net.text(got.type), expected.type);
    std::map<int, std::uint32_t> citations;
    for (const PMIDLIST& citation : got.pmids) citations[citation.pmid] = citation.sourceFlags;
    EXPECT_EQ(citations, expected.citations);
    ASSERT_TRUE(
        std::is_sorted(got.pmids.begin(), got.pmids.end(),
                       [](const PMIDLIST& x, const PMIDLIST& y) { return x.pmid < y.pmid; }));
  }
}

// Random reports over `nodeCount` names: few names give many merges and turns, many names
// make the indexes grow through several sizes.
void compareRandomLoad(unsigned seed, int nodeCount, int reports) {
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const std::vector<std::string> directions = {"0", "0", "x", "y"};
  const std::vector<std::string> types = {"Binding", "Colocalization", "T", "U"};
  const std::vector<std::string> attrs = {"NA", "NA", "p", "q"};
  Network net;
  Output out;
  ModelNetwork model;
  for (int r = 0; r < reports; ++r) {
    NodeId ends[2];
    int modelEnds[2];
    for (int end = 0; end < 2; ++end) {
      const std::string name = 'G' + std::to_string(pick(nodeCount));
      std::array<std::string, 4> values;
      for (auto& value : values) value = attrs[std::size_t(pick(4))];
      ends[end] = net.updateAndRetrieveInteractor(name, values[0], values[1], values[2], values[3]);
      modelEnds[end] = model.update(name, values);
    }
    const std::string& d = directions[std::size_t(pick(4))];
    const std::string& t = types[std::size_t(pick(4))];
    const int pmid = 1 + pick(8);
    const int source = pick(3) == 0 ? 33 : pick(3);
    net.addInteractionToHash(ends[0], ends[1], d, t, pmid, source, out);
    model.report(modelEnds[0], modelEnds[1], d, t, pmid, source);
  }
  EXPECT_EQ(out.captured(), "");
  expectSameNetwork(net, model);
}

TEST(StoreIndexes, SmallNetworksMatchTheLiteralMergeRules) {
  for (unsigned seed = 1; seed <= 40; ++seed) compareRandomLoad(seed, 5, 200);
}

TEST(StoreIndexes, LargeNetworkMatchesTheLiteralMergeRules) { compareRandomLoad(7, 20000, 120000); }

TEST(StoreIndexes, UnknownNamesAreNotFound) {
  Network net;
  EXPECT_EQ(net.getInteractorFromHash("A"), none);
  net.updateAndRetrieveInteractor("A", "B", "NA", "NA", "NA");
  EXPECT_EQ(net.getInteractorFromHash("A"), 0);
  EXPECT_EQ(net.getInteractorFromHash("B"), none);  // an attribute text names no node
  EXPECT_EQ(net.getInteractorFromHash("a"), none);
}

}  // namespace
}  // namespace seedweave
