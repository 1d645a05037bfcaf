#include "search/filter.hpp"

#include <algorithm>

namespace seedweave {

int countPMIDsFiltered(const Network& network, const INTERACTION& interaction, int maxArticleLoad) {
  int count = 0;
  for (const PMIDLIST& citation : interaction.pmids) {
    if (maxArticleLoad == 0 || network.articleLoad(citation) <= maxArticleLoad) ++count;
  }
  return count;
}

int getIntMinReferences(const Network& network, const INTERACTION& interaction) {
  int largest = network.articleLoad(interaction.pmids.front());
  for (const PMIDLIST& citation : interaction.pmids) {
    largest = std::max(largest, network.articleLoad(citation));
  }
  return largest;
}

// Within the load limit, every citation is within it and counts.
bool passesInteractionFilter(const Network& network, const INTERACTION& interaction,
                             int minReferences, int maxArticleLoad) {
  return passesArticleLoadTest(network, interaction, maxArticleLoad) &&
         static_cast<int>(interaction.pmids.size()) >= minReferences;
}

bool passesArticleLoadTest(const Network& network, const INTERACTION& interaction,
                           int maxArticleLoad) {
  return maxArticleLoad == 0 || getIntMinReferences(network, interaction) <= maxArticleLoad;
}

namespace {

// One verdict per interaction; none when every interaction passes.
std::vector<std::uint8_t> verdictsOf(const Network& network, int minReferences,
                                     int maxArticleLoad) {
  std::vector<std::uint8_t> verdicts;
  if (minReferences == 0 && maxArticleLoad == 0) return verdicts;
  verdicts.resize(network.interactionTotal());
  for (std::size_t id = 0; id < verdicts.size(); ++id) {
    verdicts[id] =
        passesInteractionFilter(network, network.interaction(static_cast<InteractionId>(id)),
                                minReferences, maxArticleLoad);
  }
  return verdicts;
}

}  // namespace

InteractionFilter::InteractionFilter(const Network& network, int minReferences, int maxArticleLoad)
    : minReferences_(minReferences),
      maxArticleLoad_(maxArticleLoad),
      allPass_(minReferences == 0 && maxArticleLoad == 0),
      verdicts_(verdictsOf(network, minReferences, maxArticleLoad)),
      adjacency_(network, [this](InteractionId id) { return passes(id); }) {}

}  // namespace seedweave
