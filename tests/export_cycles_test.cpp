// The per-node clique, cycle and neighbour files against a literal, slow walk on random
// networks. The recorded sessions check the file names and their messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <utility>

#include "export/cycles.hpp"
#include "reference_search.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kPaths = {"a.sig", "b.sig"};

// Runs each test inside a temporary folder, since the files go to the current one.
class Cycles : public ::testing::Test {
 protected:
  Cycles() { fs::current_path(dir_.path()); }
  ~Cycles() override { fs::current_path(previous_); }

  const fs::path previous_ = fs::current_path();
  testing::TempDir dir_;
};

// The walk exactly as told: every adjacency entry at every depth, the filter measured afresh.
struct LiteralWalk {
  const Network& net;
  int maxSize;
  reference::Filter filter;
  std::vector<NodeId> walk{};
  std::vector<std::string> cycleFiles{};  // sizes 3 to maxSize
  std::string neighbours{}, messages{};

  void run(NodeId start) {
    walk.assign(maxSize + 1, start);
    cycleFiles.assign(maxSize - 2, "");
    findCycle(0);
  }

  bool passes(InteractionId id) const { return reference::passes(net, id, filter); }
  void step(std::string& file, NodeId a, NodeId b) {
    const InteractionId id = reference::recordedStep(net, a, b);
    if (id == none || !passes(id)) {
      messages += reference::missingLine(net, a, b);
      return;
    }
    const INTERACTION& i = net.interaction(id);
    const std::string start = std::string(net.name(i.first)) + " " + net.name(i.second) + " " +
                              net.c_str(i.direction) + " ";
    for (const PMIDLIST& c : i.pmids) {
      for (std::size_t s = 0; s < kPaths.size(); ++s) {
        if ((c.sourceFlags >> s & 1u) != 0)
          file += start + std::to_string(c.pmid) + " " + kPaths[s] + "\n";
      }
    }
  }
  void findCycle(int d) {
    if (d == 1) step(neighbours, walk[0], walk[1]);
    if (d > 2 && walk[d] == walk[0]) {
      for (int i = 0; i < d; ++i) step(cycleFiles[d - 3], walk[i], walk[i + 1]);
      cycleFiles[d - 3] += "\n";
      return;
    }
    if (d >= maxSize) return;
    for (InteractionId id : net.node(walk[d]).interactions) {
      walk[d + 1] = net.otherEnd(net.interaction(id), walk[d]);
      if ((d == 0 || walk[d + 1] != walk[d - 1]) && passes(id)) findCycle(d + 1);
    }
  }
};

// Two sources over eight nodes, both orientations and directions mixed, articles shared so
// that loads vary. Self-interactions are kept: the walk must never close through one.
Network randomNetwork(std::mt19937& random) {
  NetworkBuilder net;
  for (int record = 0; record < 28; ++record) {
    NodeId ends[2];
    for (NodeId& end : ends) {
      end = net.updateAndRetrieveInteractor(std::to_string(random() % 8).insert(0, 1, 'n'), "NA",
                                            "NA", "NA", "NA");
    }
    const std::string direction(1, "0xy"[random() % 3]);
    net.addInteractionToHash(ends[0], ends[1], direction, "T",
                             static_cast<std::int32_t>(1 + random() % 12), record < 20 ? 0 : 1);
  }
  return std::move(net).build();
}

TEST_F(Cycles, MatchTheLiteralWalkOnRandomNetworks) {
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    const Network net = randomNetwork(random);
    const int maxSize = 3 + round % 3;
    const int minReferences = static_cast<int>(random() % 3);
    const int maxArticleLoad = round % 2 == 0 ? 0 : static_cast<int>(2 + random() % 6);
    for (NodeId node = 0; node < static_cast<NodeId>(net.nodeCount()); ++node) {
      const std::string name = net.name(node);
      Output out;
      dumpCycles(net, node, maxSize, kPaths, InteractionFilter(net, minReferences, maxArticleLoad),
                 out);
      const std::string printed = out.takeCaptured();
      LiteralWalk literal{net, maxSize, reference::Filter(net, minReferences, maxArticleLoad)};
      literal.run(node);
      SCOPED_TRACE("round " + std::to_string(round) + " node " + name);
      const std::string headerEnd = "-neighbors.txt\n";
      EXPECT_EQ(printed.substr(printed.find(headerEnd) + headerEnd.size()), literal.messages);
      EXPECT_EQ(dir_.read(name + "-neighbors.txt"), literal.neighbours);
      for (int size = 3; size <= maxSize; ++size) {
        const std::string kind = size == 3 ? "cliques" : std::to_string(size) + "cycles";
        EXPECT_EQ(dir_.read(name + "-" + kind + ".txt"), literal.cycleFiles[size - 3]);
        EXPECT_NE(printed.find(" to file " + name + "-" + kind + ".txt\n"), std::string::npos);
      }
    }
  }
}

}  // namespace
}  // namespace seedweave
