// Article-based tests on interactions and nodes. An article's load is the number of
// interactions in the whole network citing it; a setting of 0 switches its test off.
#pragma once

#include <cstdint>
#include <vector>

#include "store/network.hpp"

namespace seedweave {

// The user's settings, fixed once the dialogue has asked for them.
struct Settings {
  int maxPathLength = 1;
  int minReferences = 0;   // 0: off
  int maxArticleLoad = 0;  // 0: off
};

// Citations whose article load is at most the limit (all of them with limit 0).
int countPMIDsFiltered(const Network& network, const INTERACTION& interaction, int maxArticleLoad);
// The largest article load among the interaction's citations (the largest, not the smallest).
int getIntMinReferences(const Network& network, const INTERACTION& interaction);
// The largest getIntMinReferences over the node's interactions.
int getNodeMinReferences(const Network& network, NodeId node);

// The interaction filter: enough citations within the load limit, and no citation above it.
bool passesInteractionFilter(const Network& network, const INTERACTION& interaction,
                             int minReferences, int maxArticleLoad);
// The article-load tests of the report, which ignore the minimum references.
bool passesArticleLoadTest(const Network& network, const INTERACTION& interaction,
                           int maxArticleLoad);
bool passesArticleLoadTest(const Network& network, NodeId node, int maxArticleLoad);

// The interaction filter's verdict for every interaction, computed once per run.
// Time complexity: O(citations) to build, O(1) per look-up.
class InteractionFilter {
 public:
  InteractionFilter(const Network& network, int minReferences, int maxArticleLoad);
  bool passes(InteractionId id) const {
    return allPass_ || verdicts_[static_cast<std::size_t>(id)] != 0;
  }
  int minReferences() const { return minReferences_; }
  int maxArticleLoad() const { return maxArticleLoad_; }

 private:
  int minReferences_;
  int maxArticleLoad_;
  bool allPass_;
  std::vector<std::uint8_t> verdicts_;
};

}  // namespace seedweave
