#include "export/cycles.hpp"

#include <algorithm>
#include <bit>
#include <span>

#include "export/messages.hpp"
#include "export/output_file.hpp"
#include "export/text_stream.hpp"
#include "search/step_records.hpp"

namespace seedweave {

namespace {

// The clique lines of one interaction, citations in ascending PubMed id and, within one,
// sources in ascending index; sourcePaths[i] is the path of source index i. Every citation
// is written, whatever its article load. `line` is scratch reused across interactions.
// Time complexity: O(citations × sources).
void dumpInt(std::FILE* file, const Network& network, const INTERACTION& interaction,
             const std::vector<std::string>& sourcePaths, std::string& line) {
  line.assign(network.name(interaction.first));
  line.push_back(' ');
  line.append(network.name(interaction.second));
  line.push_back(' ');
  line.append(network.text(interaction.direction));
  line.push_back(' ');
  const std::size_t prefixLength = line.size();
  for (const PMIDLIST& citation : interaction.pmids) {
    // One line per source bit, lowest first; bit i stands for sourcePaths[i].
    for (std::uint32_t flags = citation.sourceFlags; flags != 0; flags &= flags - 1) {
      line.resize(prefixLength);
      appendInt(line, citation.pmid);
      line.push_back(' ');
      line.append(sourcePaths.at(static_cast<std::size_t>(std::countr_zero(flags))));
      line.push_back('\n');
      putLine(file, line);
    }
  }
}

// A node name may hold path separators; the files must stay in the current directory.
std::string fileStem(std::string_view nodeName) {
  std::string stem(nodeName);
  std::replace(stem.begin(), stem.end(), '/', '_');
  std::replace(stem.begin(), stem.end(), '\\', '_');
  return stem;
}

bool byOtherEnd(const Neighbour& a, const Neighbour& b) { return a.node < b.node; }

// The depth-first walk from one node. walk_[d] is the node reached after d interactions.
class CycleWalk {
 public:
  CycleWalk(const Network& network, NodeId start, int maxSize,
            const std::vector<std::string>& sourcePaths, const InteractionFilter& filter,
            std::vector<OutputFile>& cycleFiles, OutputFile& neighbours, Output& out)
      : network_(network),
        maxSize_(maxSize),
        sourcePaths_(sourcePaths),
        filter_(filter),
        cycleFiles_(cycleFiles),
        neighbours_(neighbours),
        out_(out),
        walk_{start} {
    const std::span<const Neighbour> links = filter.adjacency().of(start);
    linksToStart_.assign(links.begin(), links.end());
    std::stable_sort(linksToStart_.begin(), linksToStart_.end(), byOtherEnd);
  }

  void run() { findCycle(0); }

 private:
  NodeId at(int depth) const { return walk_[static_cast<std::size_t>(depth)]; }

  void findCycle(int depth) {
    if (depth == 1) writeStep(neighbours_.stream(), at(0), at(1));
    if (depth > 1 && at(depth) == at(0)) {
      writeClosedWalk(depth);
      return;
    }
    // One step before the end only a step back to the start can still write anything, and
    // the walk ends there: a step to depth maxSize is one back to the start, closing above.
    if (depth + 1 == maxSize_) {
      closeThroughStart(depth);
    } else {
      expand(depth);
    }
  }

  void expand(int depth) {
    for (const Neighbour& next : filter_.adjacency().of(at(depth))) {
      if (depth > 0 && next.node == at(depth - 1)) continue;  // no step straight back
      walk_.push_back(next.node);
      findCycle(depth + 1);
      walk_.pop_back();
    }
  }

  // Takes, in adjacency order, only the passing interactions joining the current node to the
  // start, found among the start's own instead of scanning the current node's list.
  void closeThroughStart(int depth) {
    if (at(depth - 1) == at(0)) return;  // the start would be a step back
    const auto [from, to] = std::equal_range(linksToStart_.begin(), linksToStart_.end(),
                                             Neighbour{at(depth), none}, byOtherEnd);
    for (auto link = from; link != to; ++link) {
      walk_.push_back(at(0));
      findCycle(depth + 1);
      walk_.pop_back();
    }
  }

  void writeClosedWalk(int size) {
    std::FILE* file = cycleFiles_[static_cast<std::size_t>(size) - 3].stream();
    for (int step = 0; step < size; ++step) writeStep(file, at(step), at(step + 1));
    if (file != nullptr) std::fputc('\n', file);
  }

  // Writes the interaction recorded for the step, in its stored orientation; reports the
  // step when that interaction fails the filter.
  void writeStep(std::FILE* file, NodeId from, NodeId to) {
    const InteractionId id = passingStep(network_, filter_, from, to);
    if (id == none) {
      reportMissingStep(network_, from, to, out_);
      return;
    }
    if (file != nullptr) dumpInt(file, network_, network_.interaction(id), sourcePaths_, line_);
  }

  const Network& network_;
  const int maxSize_;
  const std::vector<std::string>& sourcePaths_;
  const InteractionFilter& filter_;
  std::vector<OutputFile>& cycleFiles_;
  OutputFile& neighbours_;
  Output& out_;
  std::vector<NodeId> walk_;
  // The start's passing interactions, by other end, each end's in adjacency order.
  std::vector<Neighbour> linksToStart_;
  std::string line_;
};

void openCycleFiles(std::vector<OutputFile>& files, const char* nodeName, const std::string& stem,
                    Output& out) {
  for (std::size_t k = 0; k < files.size(); ++k) {
    const int size = static_cast<int>(k) + 3;
    std::string fileName;
    if (size == 3) {
      fileName = stem + messages::kCliquesFileEnding;
      out.print(messages::kSavingCliques, nodeName, fileName.c_str());
    } else {
      fileName = stem + "-" + std::to_string(size) + messages::kCyclesFileEnding;
      out.print(messages::kSavingCycles, size, nodeName, fileName.c_str());
    }
    files[k].open(fileName, out);
  }
}

}  // namespace

void dumpCycles(const Network& network, NodeId node, int maxSize,
                const std::vector<std::string>& sourcePaths, const InteractionFilter& filter,
                Output& out) {
  const char* nodeName = network.name(node);
  const std::string stem = fileStem(nodeName);
  out.print(messages::kPreparingCycles, maxSize, nodeName);
  std::vector<OutputFile> cycleFiles(static_cast<std::size_t>(maxSize - 2));
  openCycleFiles(cycleFiles, nodeName, stem, out);

  const std::string neighboursName = stem + messages::kNeighboursFileEnding;
  out.print(messages::kSavingNeighbours, nodeName, neighboursName.c_str());
  OutputFile neighbours;
  neighbours.open(neighboursName, out);

  CycleWalk(network, node, maxSize, sourcePaths, filter, cycleFiles, neighbours, out).run();

  for (OutputFile& file : cycleFiles) file.close(out);
  neighbours.close(out);
}

}  // namespace seedweave
