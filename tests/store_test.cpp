// The network store: hashes, citation lists, the text pool, node updates, the merge rules for
// repeated reports on hand-picked report sequences, and the indexes as they grow.
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <utility>

#include "store/hashing.hpp"
#include "store/network.hpp"
#include "store/network_builder.hpp"
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

std::string listed(const CitationList& list) {
  std::ostringstream text;
  for (const PMIDLIST& citation : list) text << citation.pmid << '/' << citation.sourceFlags << ' ';
  return text.str();
}

TEST(CitationList, AscendingWithSourceBitsGrowsAndCopiesDeeply) {
  CitationList list;
  for (int pmid : {50, 10, 40, 20, 30}) addPMIDtoList(list, pmid, 0);
  addPMIDtoList(list, 10, 2);
  addPMIDtoList(list, 20, 32);  // no bit beyond 31
  const std::string five = "10/5 20/1 30/1 40/1 50/1 ";
  EXPECT_EQ(listed(list), five);
  CitationList copy = list;
  addPMIDtoList(copy, 5, 0);
  EXPECT_EQ(listed(list), five);
  // The inline entry must not be told apart by a positive PubMed id.
  CitationList single;
  addPMIDtoList(single, -7, 1);
  copy = single;  // a heap list becomes an inline one
  EXPECT_EQ(listed(copy), "-7/2 ");
  CitationList moved = std::move(list);
  EXPECT_EQ(listed(moved), five);
  EXPECT_TRUE(list.empty());  // a moved-from list is left empty
  list = std::move(single);
  for (int pmid : {0, -3}) addPMIDtoList(list, pmid, 0);
  EXPECT_EQ(listed(list), "-7/2 -3/1 0/1 ");
}

TEST(TextPool, EqualTextsShareAnIdAndEveryTextReadsBack) {
  TextPool pool;
  // The empty text, a NUL inside a text, and a text longer than a storage chunk.
  std::vector<std::string> texts = {"", "NA", std::string("a\0b", 3), std::string(70000, 'x'),
                                    "tail"};
  for (int i = 0; i < 30000; ++i) texts.push_back(std::to_string(i) + "text");
  std::vector<TextId> ids;
  for (const std::string& text : texts) ids.push_back(pool.intern(text));
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(pool.view(ids[i]), texts[i]);
    EXPECT_EQ(pool.intern(texts[i]), ids[i]);
  }
  EXPECT_STREQ(pool.c_str(ids[4]), "tail");
  EXPECT_EQ(pool.size(), texts.size());
}

NodeId plainNode(NetworkBuilder& net, const std::string& name) {
  return net.updateAndRetrieveInteractor(name, "NA", "NA", "NA", "NA");
}

TEST(NodeUpdate, NotAvailableNeverOverwritesAndOnlyNamesAreFound) {
  NetworkBuilder builder;
  const NodeId a = builder.updateAndRetrieveInteractor("A", "x1", "NA", "x3", "x4");
  EXPECT_EQ(builder.updateAndRetrieveInteractor("A", "NA", "y2", "NA", "y4"), a);
  plainNode(builder, "A");
  const Network net = std::move(builder).build();
  const INTERACTOR& node = net.node(a);
  EXPECT_EQ(net.text(node.attr1), "x1");
  EXPECT_EQ(net.text(node.attr2), "y2");
  EXPECT_EQ(net.text(node.attr3), "x3");
  EXPECT_EQ(net.text(node.attr4), "y4");  // follows its own column despite attr1 "NA"
  EXPECT_EQ(net.nodeCount(), 1u);
  EXPECT_EQ(net.getInteractorFromHash("A"), a);
  EXPECT_EQ(net.getInteractorFromHash("x1"), none);  // an attribute text names no node
  EXPECT_EQ(net.getInteractorFromHash("a"), none);
}

// Each node lists its interactions by ascending id once and counts its ends (a self-interaction
// twice), whatever merges and turns happened.
void expectAdjacencyMatches(const Network& net) {
  std::vector<std::vector<InteractionId>> lists(net.nodeCount());
  std::vector<int> ends(net.nodeCount());
  for (InteractionId id = 0; id < static_cast<InteractionId>(net.interactionTotal()); ++id) {
    const INTERACTION& i = net.interaction(id);
    lists[i.first].push_back(id);
    if (i.second != i.first) lists[i.second].push_back(id);
    ++ends[i.first];
    ++ends[i.second];
  }
  for (std::size_t n = 0; n < net.nodeCount(); ++n) {
    EXPECT_EQ(net.node(NodeId(n)).interactions, lists[n]) << net.name(NodeId(n));
    EXPECT_EQ(net.node(NodeId(n)).interactionCount, ends[n]) << net.name(NodeId(n));
  }
}

TEST(MergeRules, ReportSequencesAndWhatIsStored) {
  // Reports such as "BA0" (from B to A, undirected, type T) or "AB0:Binding", each citing its
  // own article, and the interactions stored afterwards by id: ends, direction, type, citations.
  const std::pair<const char*, const char*> cases[] = {
      {"AB0 ABx", "AB:x:T:2 "},  // an undirected entry takes the reported direction
      {"ABx AB0", "AB:x:T:2 "},
      {"BA0 AB0", "BA:0:T:2 "},                   // a reversed undirected report leaves it alone
      {"BA0 AB0 ABx", "AB:x:T:3 "},               // a directed one turns it, keeping its id
      {"ABx BAx BA0", "AB:x:T:3 "},               // reversed: same direction or undirected merge
      {"ABx BAx BA0 BAy", "AB:x:T:3 BA:y:T:1 "},  // another direction is a new interaction
      {"ABx BAy ABz BAz", "AB:x:T:2 BA:y:T:2 "},  // both orientations stored: first row wins
      {"AA0 AAx", "AA:x:T:2 "},                   // a self-interaction is listed once
      // Binding gives way to any later type but Colocalization; other types stay.
      {"AB0:Binding AB0:Colocalization", "AB:0:Binding:2 "},
      {"AB0:Binding ABx:Phosphorylation AB0:Binding", "AB:x:Phosphorylation:3 "},
      {"AB0:U ABx:Binding", "AB:x:U:2 "},
  };
  for (const auto& [reports, expected] : cases) {
    SCOPED_TRACE(reports);
    NetworkBuilder builder;
    std::istringstream words(reports);
    int pmid = 0;
    for (std::string r; words >> r;) {
      const NodeId from = plainNode(builder, r.substr(0, 1));
      const NodeId to = plainNode(builder, r.substr(1, 1));
      const std::string type = r.size() > 3 ? r.substr(4) : "T";
      builder.addInteractionToHash(from, to, r.substr(2, 1), type, ++pmid, 0);
    }
    const Network net = std::move(builder).build();
    std::string stored;
    for (InteractionId id = 0; id < static_cast<InteractionId>(net.interactionTotal()); ++id) {
      const INTERACTION& i = net.interaction(id);
      stored += std::string(net.name(i.first)) + net.name(i.second) + ":" +
                std::string(net.text(i.direction)) + ":" + std::string(net.text(i.type)) + ":" +
                std::to_string(i.pmids.size()) + " ";
    }
    EXPECT_EQ(stored, expected);
    expectAdjacencyMatches(net);
  }
}

TEST(Tallies, ArticleLoadsCountInteractions) {
  Network net = testing::loadNetwork({
      sigLine("A", "B", "0", "T", "1") + sigLine("A", "C", "0", "T", "1") +
          sigLine("B", "C", "0", "T", "1") + sigLine("A", "B", "x", "T", "2545") +
          sigLine("B", "A", "y", "T", "2545"),
      sigLine("A", "B", "0", "T", "1"),
  });
  const InteractionId ab = net.getInteractionFromInteractors(0, 1);
  ASSERT_NE(ab, none);
  const PMIDLIST& first = net.interaction(ab).pmids.front();
  EXPECT_EQ(first.pmid, 1);
  EXPECT_EQ(first.sourceFlags, 3u);
  EXPECT_EQ(net.articleLoad(first), 3);  // two files, one interaction: counted once
  EXPECT_EQ(net.articleLoad(net.interaction(ab).pmids.back()), 2);  // both orientations
  Output out;
  net.freeNetwork(out);
  EXPECT_EQ(out.captured(), "preparing to loop through hashes...\n");
  EXPECT_EQ(net.nodeCount() + net.interactionTotal(), 0u);
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
  expectAdjacencyMatches(net);
}

}  // namespace
}  // namespace seedweave
