// The network store: hashes, citation lists, the text pool, node updates and the merge rules
// for repeated reports, checked on hand-picked report sequences and, with random loads, against
// a literal model of the rules that finds everything by walking lists.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <random>
#include <sstream>

#include "store/hashing.hpp"
#include "store/network.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::sigLine;

TEST(Hashing, StringIntegerAndSourceFlagExamples) {
  EXPECT_EQ(getHashIndexFromString(""), 5381);
  EXPECT_EQ(getHashIndexFromString("A"), 7638);
  EXPECT_EQ(getHashIndexFromString("abc"), 5963);
  EXPECT_EQ(getHashIndexFromString("\xE9"), 7550);  // a signed byte counts -23
  EXPECT_EQ(getHashIndexFromInt(1), 7574);
  EXPECT_EQ(getHashIndexFromInt(257), 9910);
  EXPECT_EQ(getHashIndexFromInt(0), 7573);
  EXPECT_EQ(getHashIndexFromInt(2545), 7574);
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

NodeId plainNode(Network& net, const std::string& name) {
  return net.updateAndRetrieveInteractor(name, "NA", "NA", "NA", "NA");
}

TEST(NodeUpdate, NotAvailableNeverOverwritesAndOnlyNamesAreFound) {
  Network net;
  EXPECT_EQ(net.getInteractorFromHash("A"), none);
  const NodeId a = net.updateAndRetrieveInteractor("A", "x1", "NA", "x3", "x4");
  EXPECT_EQ(net.updateAndRetrieveInteractor("A", "NA", "y2", "NA", "y4"), a);
  plainNode(net, "A");
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
  for (InteractionId id = 0; id < static_cast<InteractionId>(net.interactionCount()); ++id) {
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
    Network net;
    Output out;
    std::istringstream words(reports);
    int pmid = 0;
    for (std::string r; words >> r;) {
      const NodeId from = plainNode(net, r.substr(0, 1)), to = plainNode(net, r.substr(1, 1));
      const std::string type = r.size() > 3 ? r.substr(4) : "T";
      net.addInteractionToHash(from, to, r.substr(2, 1), type, ++pmid, 0, out);
    }
    std::string stored;
    for (InteractionId id = 0; id < static_cast<InteractionId>(net.interactionCount()); ++id) {
      const INTERACTION& i = net.interaction(id);
      stored += std::string(net.name(i.first)) + net.name(i.second) + ":" +
                std::string(net.text(i.direction)) + ":" + std::string(net.text(i.type)) + ":" +
                std::to_string(i.pmids.size()) + " ";
    }
    EXPECT_EQ(stored, expected);
    expectAdjacencyMatches(net);
    EXPECT_EQ(out.captured(), "");
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
  const TallyId one = net.getPMIDtalliesFromHash(1, out);
  EXPECT_EQ(net.tally(one).interactionCount, 3);
  EXPECT_EQ(net.tally(net.getPMIDtalliesFromHash(2545, out)).interactionCount, 2);
  EXPECT_EQ(first.tally, one);
  EXPECT_EQ(out.captured(), "");
  EXPECT_EQ(net.getPMIDtalliesFromHash(99, out), none);
  EXPECT_EQ(out.captured(), "something fishy is going on.\n");
  net.freeNetwork(out);
  EXPECT_EQ(out.captured(), "something fishy is going on.\npreparing to loop through hashes...\n");
  EXPECT_EQ(net.nodeCount() + net.interactionCount() + net.tallyCount(), 0u);
}

// The merge rules written out plainly: nodes found by name in a map, interactions by walking
// the first end's adjacency list, exactly as the rules describe the lookup.
struct ModelNetwork {
  int update(const std::string& name, const std::array<std::string, 4>& attrs) {
    auto [found, created] = ids.try_emplace(name, static_cast<int>(nodes.size()));
    if (created) nodes.push_back({name, attrs, {}});
    for (std::size_t i = 0; i < 4; ++i) {
      if (attrs[i] != "NA") nodes[found->second].attrs[i] = attrs[i];
    }
    return found->second;
  }

  void report(int a, int b, const std::string& d, const std::string& t, int pmid, int source) {
    int x = find(a, b);
    if (x >= 0 && interactions[x].first == b && a != b && d != "0")  // turned
      std::swap(interactions[x].first, interactions[x].second);
    if (x < 0) {
      const int y = find(b, a);
      if (y >= 0 && (d == interactions[y].direction || d == "0")) x = y;
    }
    if (x < 0) {
      x = static_cast<int>(interactions.size());
      interactions.push_back({a, b, d, t, {}});
      nodes[a].adjacency.push_back(x);
      if (b != a) nodes[b].adjacency.push_back(x);
    } else {
      Interaction& merged = interactions[x];
      if (merged.direction == "0") merged.direction = d;
      if (merged.type == "Binding" && t != "Colocalization") merged.type = t;
    }
    interactions[x].citations[pmid] |= source < 32 ? 1u << source : 0u;
  }

  // Written out in the same form as `everything(const Network&)` below; adjacency lists are
  // left to `expectAdjacencyMatches`.
  std::string everything() const {
    std::ostringstream text;
    for (std::size_t n = 0; n < nodes.size(); ++n) {
      text << n << ' ' << nodes[n].name;
      for (const std::string& attr : nodes[n].attrs) text << ' ' << attr;
      text << '\n';
    }
    for (const Interaction& i : interactions) {
      text << i.first << ' ' << i.second << ' ' << i.direction << ' ' << i.type << ':';
      for (auto [pmid, flags] : i.citations) text << ' ' << pmid << '/' << flags;
      text << '\n';
    }
    return text.str();
  }

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

  int find(int a, int b) const {
    for (int id : nodes[a].adjacency) {
      const Interaction& i = interactions[id];
      if ((i.first == a && i.second == b) || (i.first == b && i.second == a && i.direction == "0"))
        return id;
    }
    return -1;
  }

  std::vector<Node> nodes;
  std::vector<Interaction> interactions;
  std::map<std::string, int> ids;  // node name -> index
};

std::string everything(const Network& net) {
  std::ostringstream text;
  for (std::size_t n = 0; n < net.nodeCount(); ++n) {
    const INTERACTOR& node = net.node(NodeId(n));
    text << net.getInteractorFromHash(net.text(node.name)) << ' ' << net.text(node.name);
    for (TextId attr : {node.attr1, node.attr2, node.attr3, node.attr4})
      text << ' ' << net.text(attr);
    text << '\n';
  }
  for (InteractionId id = 0; id < static_cast<InteractionId>(net.interactionCount()); ++id) {
    const INTERACTION& i = net.interaction(id);
    text << i.first << ' ' << i.second << ' ' << net.text(i.direction) << ' ' << net.text(i.type)
         << ':';
    for (const PMIDLIST& citation : i.pmids)
      text << ' ' << citation.pmid << '/' << citation.sourceFlags;
    text << '\n';
  }
  return text.str();
}

// Random reports over `nodeCount` names: few names give many merges and turns, many names
// make the indexes grow through several sizes.
void compareRandomLoad(unsigned seed, int nodeCount, int reports) {
  std::mt19937 random(seed);
  auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
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
      const std::string name = 'G' + std::to_string(random() % unsigned(nodeCount));
      const std::array<std::string, 4> a = {pick(attrs), pick(attrs), pick(attrs), pick(attrs)};
      ends[end] = net.updateAndRetrieveInteractor(name, a[0], a[1], a[2], a[3]);
      modelEnds[end] = model.update(name, a);
    }
    const std::string d = pick(directions), t = pick(types);
    const int pmid = 1 + int(random() % 8), source = int(random() % 4) * 11;  // 0, 11, 22, 33
    net.addInteractionToHash(ends[0], ends[1], d, t, pmid, source, out);
    model.report(modelEnds[0], modelEnds[1], d, t, pmid, source);
  }
  EXPECT_EQ(out.captured(), "");
  // Compared as a whole: a diff of the large network would take too long to print.
  EXPECT_TRUE(everything(net) == model.everything()) << "seed " << seed;
  expectAdjacencyMatches(net);
  // Every ordered pair of a small network: the lookup finds (a, b) or an undirected (b, a).
  for (int a = 0; nodeCount <= 5 && a < int(net.nodeCount()); ++a) {
    for (int b = 0; b < int(net.nodeCount()); ++b)
      EXPECT_EQ(net.getInteractionFromInteractors(a, b), model.find(a, b)) << a << ' ' << b;
  }
}

TEST(StoreIndexes, RandomLoadsMatchTheLiteralMergeRules) {
  for (unsigned seed = 1; seed <= 40; ++seed) compareRandomLoad(seed, 5, 200);
  compareRandomLoad(7, 20000, 120000);
}

}  // namespace
}  // namespace seedweave
