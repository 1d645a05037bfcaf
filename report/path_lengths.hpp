// Shortest path lengths among the seeds: the distance table, its HTML rendering and its mean
// (the pseudo CPL).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "search/filter.hpp"
#include "store/ordered_set.hpp"
#include "store/output.hpp"

namespace seedweave {

// Paths are measured up to this many interactions; pairs further apart, or not connected,
// get one more.
inline constexpr int kLongestMeasuredPath = 4;
inline constexpr int kBeyondMeasuredPaths = kLongestMeasuredPath + 1;

// The number of unordered pairs of n things. Time complexity: O(1).
constexpr std::int64_t pairCount(std::int64_t n) { return n * (n - 1) / 2; }

// One path length per unordered pair of seed indices, in upper-triangle row order:
// (0,1), (0,2), ..., (0,n-1), (1,2), ..., (n-2,n-1).
class DistanceTable {
 public:
  explicit DistanceTable(int seedCount);

  int seedCount() const { return seedCount_; }
  std::size_t size() const { return entries_.size(); }
  // The position of the pair i < j. Time complexity: O(1).
  std::size_t pairPosition(int i, int j) const;
  int entry(std::size_t position) const { return entries_[position]; }
  void setEntry(std::size_t position, int length) {
    entries_[position] = static_cast<std::uint8_t>(length);
  }
  // The path length between two different seeds, given in either order. Time complexity: O(1).
  int between(int a, int b) const { return entry(pairPosition(std::min(a, b), std::max(a, b))); }

 private:
  int seedCount_;
  std::vector<std::uint8_t> entries_;
};

// Fills the table with the length of the shortest simple path between every two seeds over
// interactions that pass the filter, and prints the progress lines together with every
// "missing interaction" line that searching each pair at growing lengths would print.
// Time complexity: O(s × (V + E)) for s seeds, at most, as each search stops once it has
// reached every node it needs; plus a full enumeration for each pair whose shortest paths can
// take a step on which the enumeration reports a missing interaction.
DistanceTable computePathLengths(const Network& network, const NodeSet& seeds,
                                 const InteractionFilter& filter, Output& out);

// Writes the HTML table: a header row of seed names, then one row per seed with empty cells
// up to the diagonal and the path lengths to the later seeds. Time complexity: O(s^2).
void writePathLengthTable(std::FILE* report, const Network& network, const NodeSet& seeds,
                          const DistanceTable& table);

// Writes the clustering heading and the K=1 line with the mean path length over all pairs,
// "NA" when there is no pair. Time complexity: O(s^2).
void writePseudoCpl(std::FILE* report, const DistanceTable& table);

}  // namespace seedweave
