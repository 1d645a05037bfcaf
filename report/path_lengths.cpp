#include "report/path_lengths.hpp"

#include <algorithm>
#include <span>
#include <unordered_map>
#include <utility>

#include "report/messages.hpp"
#include "search/hop_distances.hpp"
#include "search/pruned_enumeration.hpp"
#include "search/step_records.hpp"

namespace seedweave {

DistanceTable::DistanceTable(int seedCount)
    : seedCount_(seedCount), entries_(static_cast<std::size_t>(pairCount(seedCount))) {}

std::size_t DistanceTable::pairPosition(int i, int j) const {
  const auto n = static_cast<std::size_t>(seedCount_);
  const auto row = static_cast<std::size_t>(i);
  return row * n - row * (row + 1) / 2 + static_cast<std::size_t>(j - i - 1);
}

namespace {

// Breadth-first search at most kLongestMeasuredPath levels deep that stops as soon as every
// wanted node is reached. Its buffers serve one source after another.
class BoundedSearch {
 public:
  explicit BoundedSearch(const FilteredAdjacency& adjacency)
      : adjacency_(adjacency),
        distances_(adjacency.nodeCount()),
        isWanted_(adjacency.nodeCount()) {}

  // Time complexity: O(nodes and neighbour entries within reach).
  void run(NodeId source, std::span<const NodeId> wanted) {
    if (wanted.empty()) return;  // no depth of this run is read
    std::size_t missing = 0;
    for (NodeId node : wanted) {
      if (isWanted_[index(node)]) continue;
      isWanted_[index(node)] = true;
      ++missing;
    }
    distances_.explore(adjacency_, source, kLongestMeasuredPath,
                       [&](NodeId node) { return isWanted_[index(node)] && --missing == 0; });
    for (NodeId node : wanted) isWanted_[index(node)] = false;
  }

  // Path length from the last source to a node that was wanted in that run.
  int depth(NodeId node) const {
    const int hops = distances_[node];
    return hops <= kLongestMeasuredPath ? hops : kBeyondMeasuredPaths;
  }

 private:
  static std::size_t index(NodeId node) { return static_cast<std::size_t>(node); }

  const FilteredAdjacency& adjacency_;
  DistanceMap distances_;
  std::vector<bool> isWanted_;
};

// The steps on which the enumeration prints "missing interaction", with their ends numbered,
// so that each seed can keep its path lengths to just those ends.
class ReportedSteps {
 public:
  ReportedSteps(const Network& network, const InteractionFilter& filter) {
    // When every interaction passes, every step records a passing one.
    if (filter.passesAll()) return;
    std::unordered_map<NodeId, int> numbers;
    auto number = [&](NodeId node) {
      const auto [place, added] = numbers.try_emplace(node, static_cast<int>(nodes_.size()));
      if (added) nodes_.push_back(node);
      return place->second;
    };
    for (std::size_t id = 0; id < network.interactionTotal(); ++id) {
      if (!filter.passes(static_cast<InteractionId>(id))) continue;
      const INTERACTION& walked = network.interaction(static_cast<InteractionId>(id));
      for (const auto& [u, v] :
           {std::pair{walked.first, walked.second}, std::pair{walked.second, walked.first}}) {
        if (passingStep(network, filter, u, v) == none) steps_.emplace_back(number(u), number(v));
      }
    }
  }

  const std::vector<NodeId>& nodes() const { return nodes_; }

  // The last search's path lengths to the ends of the steps, in their numbering.
  std::vector<std::uint8_t> depthsIn(const BoundedSearch& search) const {
    std::vector<std::uint8_t> depths(nodes_.size());
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      depths[i] = static_cast<std::uint8_t>(search.depth(nodes_[i]));
    }
    return depths;
  }

  // Whether a path of `length` interactions, the shortest between source and target, can
  // take one of the steps: a step u -> v lies on one exactly when the source reaches u, and
  // v reaches the target, in length - 1 interactions together.
  bool onShortestPath(const std::vector<std::uint8_t>& fromSource,
                      const std::vector<std::uint8_t>& fromTarget, int length) const {
    return std::any_of(steps_.begin(), steps_.end(), [&](const std::pair<int, int>& step) {
      return fromSource[static_cast<std::size_t>(step.first)] + 1 +
                 fromTarget[static_cast<std::size_t>(step.second)] ==
             length;
    });
  }

 private:
  std::vector<NodeId> nodes_;
  std::vector<std::pair<int, int>> steps_;
};

}  // namespace

DistanceTable computePathLengths(const Network& network, const NodeSet& seeds,
                                 const InteractionFilter& filter, Output& out) {
  out.print(messages::kComputingPathLengths);
  const int seedCount = static_cast<int>(seeds.size());
  DistanceTable table(seedCount);
  const ReportedSteps steps(network, filter);
  BoundedSearch search(filter.adjacency());

  std::vector<std::vector<std::uint8_t>> stepDepths(seeds.size());
  // Each seed's search wants the later seeds and the step ends, so the seeds run last first.
  std::vector<NodeId> wanted = steps.nodes();
  for (int i = seedCount - 1; i >= 0; --i) {
    search.run(seeds[static_cast<std::size_t>(i)], wanted);
    for (int j = i + 1; j < seedCount; ++j) {
      table.setEntry(table.pairPosition(i, j), search.depth(seeds[static_cast<std::size_t>(j)]));
    }
    stepDepths[static_cast<std::size_t>(i)] = steps.depthsIn(search);
    wanted.push_back(seeds[static_cast<std::size_t>(i)]);
  }

  // Searching a pair at growing lengths finds nothing below its path length, and at that
  // length prints a line only for paths that take a reported step; for the pairs with such
  // paths the enumeration itself runs.
  ArrivalCounter enumeration(network, filter);
  for (int i = 0; i < seedCount; ++i) {
    const NodeId source = seeds[static_cast<std::size_t>(i)];
    out.print(messages::kComputingPathLengthsFor, network.name(source));
    for (int j = i + 1; j < seedCount; ++j) {
      const int length = table.between(i, j);
      if (length > kLongestMeasuredPath ||
          !steps.onShortestPath(stepDepths[static_cast<std::size_t>(i)],
                                stepDepths[static_cast<std::size_t>(j)], length)) {
        continue;
      }
      enumeration.count(source, seeds[static_cast<std::size_t>(j)], length, out);
    }
  }
  return table;
}

void writePathLengthTable(std::FILE* report, const Network& network, const NodeSet& seeds,
                          const DistanceTable& table) {
  std::fputs(messages::kTableStart, report);
  for (NodeId seed : seeds) std::fprintf(report, messages::kNameCell, network.name(seed));
  std::fputs(messages::kRowEnd, report);
  const int seedCount = static_cast<int>(seeds.size());
  for (int row = 0; row < seedCount; ++row) {
    std::fprintf(report, messages::kRowStart, network.name(seeds[static_cast<std::size_t>(row)]));
    for (int column = 0; column < row; ++column) std::fputs(messages::kEmptyCell, report);
    for (int column = row + 1; column < seedCount; ++column) {
      std::fprintf(report, messages::kLengthCell, table.between(row, column));
    }
    std::fputs(messages::kRowEnd, report);
  }
  std::fputs(messages::kTableEnd, report);
}

void writePseudoCpl(std::FILE* report, const DistanceTable& table) {
  std::fputs(messages::kClusteringHeading, report);
  if (table.size() == 0) {
    std::fprintf(report, messages::kPseudoCplNone, table.seedCount());
    return;
  }
  // Added one by one in single precision, as every other mean of the report.
  float sum = 0.0f;
  for (std::size_t position = 0; position < table.size(); ++position) {
    sum += static_cast<float>(table.entry(position));
  }
  const float mean = sum / static_cast<float>(table.size());
  std::fprintf(report, messages::kPseudoCpl, table.seedCount(), mean);
}

}  // namespace seedweave
