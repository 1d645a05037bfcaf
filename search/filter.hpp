// Article-based tests on interactions and nodes. An article's load is the number of
// interactions in the whole network citing it; a setting of 0 switches its test off.
#pragma once

#include <cstdint>
#include <vector>

#include "search/adjacency.hpp"
#include "store/network.hpp"

namespace seedweave {

// Citations whose article load is at most the limit (all of them with limit 0).
int countPMIDsFiltered(const Network& network, const INTERACTION& interaction, int maxArticleLoad);
// Despite its name, not a count of references: the largest article load among the
// interaction's citations, which is what the article load filter compares with its limit.
int getIntMinReferences(const Network& network, const INTERACTION& interaction);

// The interaction filter: enough citations within the load limit, and no citation above it.
bool passesInteractionFilter(const Network& network, const INTERACTION& interaction,
                             int minReferences, int maxArticleLoad);
// The article-load test of the report, which ignores the minimum references.
bool passesArticleLoadTest(const Network& network, const INTERACTION& interaction,
                           int maxArticleLoad);

// The interaction filter's verdict for every interaction, and the adjacency of the passing
// interactions, computed once per run.
// Time complexity: O(citations + adjacency entries) to build, O(1) per look-up.
class InteractionFilter {
 public:
  InteractionFilter(const Network& network, int minReferences, int maxArticleLoad);
  bool passes(InteractionId id) const {
    return allPass_ || verdicts_[static_cast<std::size_t>(id)] != 0;
  }
  int minReferences() const { return minReferences_; }
  int maxArticleLoad() const { return maxArticleLoad_; }
  // Whether every interaction passes (both settings off).
  bool passesAll() const { return allPass_; }
  const FilteredAdjacency& adjacency() const { return adjacency_; }

 private:
  int minReferences_;
  int maxArticleLoad_;
  bool allPass_;
  std::vector<std::uint8_t> verdicts_;
  FilteredAdjacency adjacency_;
};

}  // namespace seedweave
