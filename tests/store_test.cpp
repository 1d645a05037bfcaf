// The network store: hashes, node updates, the merge rules for repeated reports, citations.
#include <gtest/gtest.h>

#include "store/hashing.hpp"
#include "store/network.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::loadNetwork;
using testing::sigLine;

TEST(Hashing, StringAndIntegerExamples) {
  EXPECT_EQ(getHashIndexFromString(""), 5381);
  EXPECT_EQ(getHashIndexFromString("A"), 7638);
  EXPECT_EQ(getHashIndexFromString("abc"), 5963);
  EXPECT_EQ(getHashIndexFromString("\xE9"), 7550);  // a signed byte counts -23
  EXPECT_EQ(getHashIndexFromInt(1), 7574);
  EXPECT_EQ(getHashIndexFromInt(257), 9910);
  EXPECT_EQ(getHashIndexFromInt(0), 7573);
  EXPECT_EQ(getHashIndexFromInt(2545), 7574);
}

TEST(Hashing, SourceFlagsIgnoreIndicesBeyond31) {
  EXPECT_EQ(addFlag(addFlag(0, 0), 2), 5u);
  EXPECT_EQ(addFlag(1, 32), 1u);
  EXPECT_EQ(addFlag(0, 31), 0x80000000u);
}

TEST(Citations, AscendingWithSourceBits) {
  std::vector<PMIDLIST> pmids;
  addPMIDtoList(pmids, 30, 0);
  addPMIDtoList(pmids, 10, 0);
  addPMIDtoList(pmids, 20, 1);
  addPMIDtoList(pmids, 10, 2);
  ASSERT_EQ(pmids.size(), 3u);
  EXPECT_EQ(pmids[0].pmid, 10);
  EXPECT_EQ(pmids[0].sourceFlags, 5u);
  EXPECT_EQ(pmids[1].pmid, 20);
  EXPECT_EQ(pmids[2].pmid, 30);
}

TEST(NodeUpdate, NotAvailableNeverOverwrites) {
  Network net;
  const NodeId a = net.updateAndRetrieveInteractor("A", "x1", "NA", "x3", "x4");
  EXPECT_EQ(net.updateAndRetrieveInteractor("A", "NA", "y2", "NA", "y4"), a);
  net.updateAndRetrieveInteractor("A", "NA", "NA", "NA", "NA");
  const INTERACTOR& node = net.node(a);
  EXPECT_EQ(net.text(node.attr1), "x1");
  EXPECT_EQ(net.text(node.attr2), "y2");
  EXPECT_EQ(net.text(node.attr3), "x3");
  EXPECT_EQ(net.text(node.attr4), "y4");  // follows its own column despite attr1 "NA"
  EXPECT_EQ(net.nodeCount(), 1u);
}

struct Pair {
  Network net;
  Output out;
  NodeId a, b;
  Pair() {
    a = net.updateAndRetrieveInteractor("A", "NA", "NA", "NA", "NA");
    b = net.updateAndRetrieveInteractor("B", "NA", "NA", "NA", "NA");
  }
  void report(NodeId from, NodeId to, const char* direction, const char* type = "T",
              int pmid = 1, int source = 0) {
    net.addInteractionToHash(from, to, direction, type, pmid, source, out);
  }
  std::string stored(InteractionId id) const {
    const INTERACTION& i = net.interaction(id);
    return std::string(net.name(i.first)) + net.name(i.second) + ":" +
           std::string(net.text(i.direction));
  }
};

TEST(MergeRules, UndirectedTakesTheReportedDirection) {
  Pair p;
  p.report(p.a, p.b, "0");
  p.report(p.a, p.b, "x");
  ASSERT_EQ(p.net.interactionCount(), 1u);
  EXPECT_EQ(p.stored(0), "AB:x");
  Pair q;
  q.report(q.a, q.b, "x");
  q.report(q.a, q.b, "0");
  ASSERT_EQ(q.net.interactionCount(), 1u);
  EXPECT_EQ(q.stored(0), "AB:x");
}

TEST(MergeRules, ReversedUndirectedStaysOrTurns) {
  Pair p;
  p.report(p.b, p.a, "0");
  p.report(p.a, p.b, "0");
  EXPECT_EQ(p.stored(0), "BA:0");
  p.report(p.a, p.b, "x");
  ASSERT_EQ(p.net.interactionCount(), 1u);
  EXPECT_EQ(p.stored(0), "AB:x");  // turned, keeping its id
  EXPECT_EQ(p.net.node(p.a).interactions, (std::vector<InteractionId>{0}));
  EXPECT_EQ(p.net.node(p.b).interactions, (std::vector<InteractionId>{0}));
  EXPECT_EQ(p.net.node(p.a).interactionCount, 1);
  EXPECT_EQ(p.net.node(p.b).interactionCount, 1);
  EXPECT_EQ(p.net.interaction(0).pmids.size(), 1u);
}

TEST(MergeRules, ReversedDirectedAbsorbsSameDirectionOrUndirected) {
  Pair p;
  p.report(p.a, p.b, "x", "T", 1);
  p.report(p.b, p.a, "x", "T", 2);
  p.report(p.b, p.a, "0", "T", 3);
  ASSERT_EQ(p.net.interactionCount(), 1u);
  EXPECT_EQ(p.stored(0), "AB:x");
  EXPECT_EQ(p.net.interaction(0).pmids.size(), 3u);
  p.report(p.b, p.a, "y");
  ASSERT_EQ(p.net.interactionCount(), 2u);
  EXPECT_EQ(p.stored(1), "BA:y");
  EXPECT_EQ(p.out.captured(), "");
}

TEST(MergeRules, LookupFindsUndirectedBackwardsOnly) {
  Pair p;
  p.report(p.b, p.a, "0");
  EXPECT_EQ(p.net.getInteractionFromInteractors(p.a, p.b), 0);
  Pair q;
  q.report(q.b, q.a, "x");
  EXPECT_EQ(q.net.getInteractionFromInteractors(q.a, q.b), none);
  EXPECT_EQ(q.net.getInteractionFromInteractors(q.b, q.a), 0);
}

TEST(MergeRules, BothOrientationsStoredFirstRowWins) {
  Pair p;
  p.report(p.a, p.b, "x", "T", 1);
  p.report(p.b, p.a, "y", "T", 2);
  p.report(p.a, p.b, "z", "T", 3);  // merges into (A, B, x)
  p.report(p.b, p.a, "z", "T", 4);  // merges into (B, A, y)
  ASSERT_EQ(p.net.interactionCount(), 2u);
  EXPECT_EQ(p.stored(0), "AB:x");
  EXPECT_EQ(p.net.interaction(0).pmids.size(), 2u);
  EXPECT_EQ(p.stored(1), "BA:y");
  EXPECT_EQ(p.net.interaction(1).pmids.size(), 2u);
  EXPECT_EQ(p.net.node(p.a).interactionCount, 2);
}

TEST(MergeRules, BindingGivesWayExceptToColocalization) {
  Pair p;
  p.report(p.a, p.b, "0", "Binding");
  p.report(p.a, p.b, "0", "Colocalization");
  EXPECT_EQ(p.net.text(p.net.interaction(0).type), "Binding");
  p.report(p.a, p.b, "0", "Phosphorylation");
  EXPECT_EQ(p.net.text(p.net.interaction(0).type), "Phosphorylation");
  p.report(p.a, p.b, "0", "Binding");
  EXPECT_EQ(p.net.text(p.net.interaction(0).type), "Phosphorylation");
}

TEST(MergeRules, SameArticleFromTwoSourcesIsOneCitation) {
  Pair p;
  p.report(p.a, p.b, "0", "T", 7, 0);
  p.report(p.a, p.b, "0", "T", 7, 2);
  p.report(p.a, p.b, "0", "T", 7, 32);
  ASSERT_EQ(p.net.interaction(0).pmids.size(), 1u);
  EXPECT_EQ(p.net.interaction(0).pmids[0].sourceFlags, 5u);
}

TEST(MergeRules, SelfInteractionIsListedOnceCountedTwice) {
  Network net;
  Output out;
  const NodeId a = net.updateAndRetrieveInteractor("A", "NA", "NA", "NA", "NA");
  net.addInteractionToHash(a, a, "0", "T", 1, 0, out);
  net.addInteractionToHash(a, a, "x", "T", 2, 0, out);
  EXPECT_EQ(net.interactionCount(), 1u);
  EXPECT_EQ(net.node(a).interactions.size(), 1u);
  EXPECT_EQ(net.node(a).interactionCount, 2);
  EXPECT_EQ(net.text(net.interaction(0).direction), "x");
}

TEST(Tallies, ArticleLoadsCountInteractions) {
  Network net = loadNetwork({
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
}

TEST(Teardown, ReleasesEverythingAndSaysSo) {
  Network net = loadNetwork({sigLine("A", "B", "0", "T", "1")});
  Output out;
  net.freeNetwork(out);
  EXPECT_EQ(out.captured(), "preparing to loop through hashes...\n");
  EXPECT_EQ(net.nodeCount(), 0u);
  EXPECT_EQ(net.interactionCount(), 0u);
  EXPECT_EQ(net.tallyCount(), 0u);
}

}  // namespace
}  // namespace seedweave
