// The missing-interaction lines of one seed pair, in the order of the exhaustive search.
//
// Only a step that records an interaction failing the filter prints, so only the paths
// through such a step need listing. Given those steps (each on some path of the pair), a
// second bound prunes the listing: a prefix without such a step walks on to a node w only
// if w can still reach one and then the target in time, i.e. if
//   depth(w) + min over failing steps x -> y of (dist(w, x) + 1 + dist(y, b)) <= L.
// The paths left out print nothing, so the lines and their order are unchanged. dist(w, x)
// is measured within the pair's region, which holds every path that matters, so that a hub
// costs its links in the region, not its whole list. On the dense benchmark network at
// L = 5 with an article load filter, the bound cuts the listing 2 to 4 times.
#pragma once

#include <vector>

#include "search/hop_distances.hpp"
#include "search/path_arcs.hpp"
#include "search/pruned_enumeration.hpp"
#include "search/step_records.hpp"
#include "store/output.hpp"

namespace seedweave {

class MissingStepReporter {
 public:
  MissingStepReporter(const Network& network, const InteractionFilter& filter,
                      const StepRecords& steps);

  // Prints the lines of the search from a to b of at most maxLength interactions; failing
  // holds every step of its paths whose recorded interaction fails the filter, toB the
  // distances to b up to maxLength - 1 hops, and `region` the pair's last search.
  // Time complexity: O(links of the region + steps of the paths through failing steps).
  void report(NodeId a, NodeId b, int maxLength, const DistanceMap& toB,
              const std::vector<Step>& failing, const PathArcFinder& region, Output& out);

 private:
  void measureDetours(int maxLength, const DistanceMap& toB, const std::vector<Step>& failing,
                      const PathArcFinder& region);
  bool printsOnPath(const SearchPath& path) const;
  int detour(NodeId node) const { return detour_[static_cast<std::size_t>(node)]; }

  const Network& network_;
  const InteractionFilter& filter_;
  const StepRecords& steps_;
  // Hops from a node through some failing step to the target, or kUnreached.
  std::vector<std::uint8_t> detour_;
  std::vector<NodeId> measured_;
};

}  // namespace seedweave
