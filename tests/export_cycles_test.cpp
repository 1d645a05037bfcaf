// The per-node clique, cycle and neighbour files, checked by hand on small networks and
// against a literal, slow walk on random ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "export/cycles.hpp"
#include "export/output_file.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

namespace fs = std::filesystem;
using testing::loadNetwork;
using testing::sigLine;
using testing::TempDir;

// Runs the test body inside a temporary folder, since the files go to the current one.
class InTempDir {
 public:
  InTempDir() : previous_(fs::current_path()) { fs::current_path(dir_.path()); }
  ~InTempDir() { fs::current_path(previous_); }
  const TempDir& dir() const { return dir_; }

 private:
  TempDir dir_;
  fs::path previous_;
};

const std::vector<std::string> kOneSource = {"net0.sig"};

std::string dump(const Network& net, const char* node, int maxSize, int minReferences = 0,
                 int maxArticleLoad = 0, const std::vector<std::string>& paths = kOneSource) {
  const InteractionFilter filter(net, minReferences, maxArticleLoad);
  Output out;
  dumpCycles(net, net.getInteractorFromHash(node), maxSize, paths, filter, out);
  return out.takeCaptured();
}

// The triangle A-B-U and a fourth node W hanging off A.
Network triangle() {
  return loadNetwork({sigLine("A", "B", "0", "T", "1") + sigLine("B", "U", "0", "T", "2") +
                      sigLine("U", "A", "0", "T", "3") + sigLine("A", "W", "0", "T", "4")});
}

TEST(Cycles, TriangleIsWrittenOnceInEachDirection) {
  InTempDir here;
  const Network net = triangle();
  EXPECT_EQ(dump(net, "A", 3),
            "Preparing to find cycles of up to size 3 originating from A.\n"
            "Saving cliques originating with A to file A-cliques.txt\n"
            "Saving neighbors of A to file A-neighbors.txt\n");
  const std::string ab = "A B 0 1 net0.sig\n", bu = "B U 0 2 net0.sig\n", ua = "U A 0 3 net0.sig\n";
  // Lines keep each interaction's stored orientation, whatever the direction of travel.
  EXPECT_EQ(here.dir().read("A-cliques.txt"), ab + bu + ua + "\n" + ua + bu + ab + "\n");
  EXPECT_EQ(here.dir().read("A-neighbors.txt"), ab + ua + "A W 0 4 net0.sig\n");
  EXPECT_FALSE(here.dir().exists("A-4cycles.txt"));

  dump(net, "W", 3);
  EXPECT_EQ(here.dir().read("W-cliques.txt"), "");
  EXPECT_EQ(here.dir().read("W-neighbors.txt"), "A W 0 4 net0.sig\n");
}

TEST(Cycles, CliqueLinesNameEverySourceOfEveryArticle) {
  TempDir dir;
  const Network net =
      loadNetwork({sigLine("A", "B", "x", "T", "9") + sigLine("A", "B", "x", "T", "5"),
                   sigLine("A", "B", "x", "T", "9")});
  Output out;
  OutputFile file;
  ASSERT_TRUE(file.open((dir.path() / "lines").string(), out));
  dumpInt(file.stream(), net, net.interaction(0), {"first.sig", "dir/second.sig"});
  ASSERT_TRUE(file.close(out));
  EXPECT_EQ(dir.read("lines"), "A B x 5 first.sig\nA B x 9 first.sig\nA B x 9 dir/second.sig\n");
}

TEST(Cycles, FileNamesStayInTheFolderAndAFileThatCannotBeOpenedIsSkipped) {
  InTempDir here;
  const Network net = loadNetwork({sigLine("x/y\\z", "B", "0", "T", "1")});
  fs::create_directory("x_y_z-4cycles.txt");
  EXPECT_EQ(dump(net, "x/y\\z", 5),
            "Preparing to find cycles of up to size 5 originating from x/y\\z.\n"
            "Saving cliques originating with x/y\\z to file x_y_z-cliques.txt\n"
            "Saving cycles of size 4 originating with x/y\\z to file x_y_z-4cycles.txt\n"
            "Could not open x_y_z-4cycles.txt for writing.\n"
            "Saving cycles of size 5 originating with x/y\\z to file x_y_z-5cycles.txt\n"
            "Saving neighbors of x/y\\z to file x_y_z-neighbors.txt\n");
  EXPECT_EQ(here.dir().read("x_y_z-cliques.txt"), "");
  EXPECT_EQ(here.dir().read("x_y_z-5cycles.txt"), "");
  EXPECT_EQ(here.dir().read("x_y_z-neighbors.txt"), "x/y\\z B 0 1 net0.sig\n");
}

// The walk exactly as told: every adjacency entry at every depth, the filter measured afresh.
struct LiteralWalk {
  const Network& net;
  int maxSize;
  int minReferences;
  int maxArticleLoad;
  const std::vector<std::string>& paths;
  std::vector<NodeId> walk;
  std::vector<std::string> cycleFiles;
  std::string neighbours;
  std::string messages;

  bool passes(InteractionId id) const {
    return passesInteractionFilter(net, net.interaction(id), minReferences, maxArticleLoad);
  }
  InteractionId lookUp(NodeId a, NodeId b) const {
    const InteractionId forward = net.getInteractionFromInteractors(a, b);
    return forward != none ? forward : net.getInteractionFromInteractors(b, a);
  }
  void step(std::string& file, NodeId a, NodeId b) {
    char line[512];
    const InteractionId id = lookUp(a, b);
    if (id == none || !passes(id)) {
      std::snprintf(line, sizeof line, "missing interaction between %s and %s\n", net.name(a),
                    net.name(b));
      messages += line;
      return;
    }
    const INTERACTION& i = net.interaction(id);
    for (const PMIDLIST& c : i.pmids) {
      for (std::size_t s = 0; s < paths.size(); ++s) {
        if ((c.sourceFlags & (1u << s)) == 0) continue;
        std::snprintf(line, sizeof line, "%s %s %s %d %s\n", net.name(i.first), net.name(i.second),
                      net.c_str(i.direction), c.pmid, paths[s].c_str());
        file += line;
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
      if (d > 0 && walk[d + 1] == walk[d - 1]) continue;
      if (!passes(id)) continue;
      findCycle(d + 1);
    }
  }
};

// Two sources over eight nodes, both orientations and directions mixed, articles shared so
// that loads vary. Self-interactions are kept: the walk must never close through one.
Network randomNetwork(std::mt19937& random) {
  static const char* directions[] = {"0", "x", "y"};
  Network net;
  Output out;
  for (int record = 0; record < 28; ++record) {
    NodeId ends[2];
    for (NodeId& end : ends) {
      std::string name = "n";
      name += std::to_string(random() % 8);
      end = net.updateAndRetrieveInteractor(name, "NA", "NA", "NA", "NA");
    }
    const auto pmid = static_cast<std::int32_t>(1 + random() % 12);
    net.addInteractionToHash(ends[0], ends[1], directions[random() % 3], "T", pmid,
                             record < 20 ? 0 : 1, out);
  }
  net.runTallies(out);
  return net;
}

TEST(Cycles, MatchTheLiteralWalkOnRandomNetworks) {
  InTempDir here;
  std::mt19937 random(7);
  const std::vector<std::string> paths = {"a.sig", "b.sig"};
  for (int round = 0; round < 40; ++round) {
    const Network net = randomNetwork(random);
    const int maxSize = 3 + round % 3;
    const int minReferences = static_cast<int>(random() % 3);
    const int maxArticleLoad = round % 2 == 0 ? 0 : static_cast<int>(2 + random() % 6);
    for (NodeId node = 0; node < static_cast<NodeId>(net.nodeCount()); ++node) {
      const std::string name = net.name(node);
      const std::string printed =
          dump(net, name.c_str(), maxSize, minReferences, maxArticleLoad, paths);
      LiteralWalk literal{net, maxSize, minReferences, maxArticleLoad, paths, {}, {}, {}, {}};
      literal.walk.assign(maxSize + 1, node);
      literal.cycleFiles.resize(maxSize - 2);
      literal.findCycle(0);
      SCOPED_TRACE("round " + std::to_string(round) + " node " + name);
      const std::string headerEnd = "-neighbors.txt\n";
      EXPECT_EQ(printed.substr(printed.find(headerEnd) + headerEnd.size()), literal.messages);
      EXPECT_EQ(here.dir().read(name + "-neighbors.txt"), literal.neighbours);
      EXPECT_EQ(here.dir().read(name + "-cliques.txt"), literal.cycleFiles[0]);
      for (int size = 4; size <= maxSize; ++size) {
        EXPECT_EQ(here.dir().read(name + "-" + std::to_string(size) + "cycles.txt"),
                  literal.cycleFiles[size - 3]);
      }
    }
  }
}

}  // namespace
}  // namespace seedweave
