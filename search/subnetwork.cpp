#include "search/subnetwork.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "search/messages.hpp"
#include "search/missing_steps.hpp"
#include "search/path_arcs.hpp"
#include "search/step_records.hpp"

namespace seedweave {

namespace {

// Writes "Searching for pathways between A and B of maximum length L...\n" lines. A large
// run prints millions of them, so each target's tail ("B of maximum length L...\n") is made
// once per phase and each source's head once per source, and the lines are gathered into
// blocks written at once: anything else printed during a phase must call flush() first, and
// each phase ends with flush().
class PairAnnouncer {
 public:
  PairAnnouncer(const Network& network, Output& out) : network_(network), out_(out) {}

  // Starts a phase whose pairs are searched with this length towards these targets.
  void begin(int maxLength, const NodeSet& targets) {
    const std::string ending = std::string(messages::kSearchingPairEnd) +
                               std::to_string(maxLength) + messages::kSearchingPairClose;
    tails_.clear();
    tailStarts_.assign(1, 0);
    for (NodeId target : targets) {
      tails_ += network_.text(network_.node(target).name);
      tails_ += ending;
      tailStarts_.push_back(tails_.size());
    }
  }

  // The line of the pair from `from` to the target at this position of the phase's list.
  void announce(NodeId from, std::size_t target) {
    if (from != from_) {
      head_.assign(messages::kSearchingPairStart);
      head_ += network_.text(network_.node(from).name);
      head_ += messages::kSearchingPairMiddle;
      from_ = from;
    }
    block_ += head_;
    block_.append(tails_, tailStarts_[target], tailStarts_[target + 1] - tailStarts_[target]);
    if (block_.size() >= kBlockBytes) flush();
  }

  void flush() {
    if (block_.empty()) return;
    out_.write(block_);
    block_.clear();
  }

 private:
  static constexpr std::size_t kBlockBytes = std::size_t{1} << 16;

  const Network& network_;
  Output& out_;
  std::string tails_;
  std::vector<std::size_t> tailStarts_;
  std::string head_;
  NodeId from_ = none;
  std::string block_;
};

class SubnetworkBuilder {
 public:
  SubnetworkBuilder(const Network& network, const InteractionFilter& filter, const NodeSet& seeds,
                    int maxLength, Output& out, bool announcePairs)
      : network_(network),
        filter_(filter),
        seeds_(seeds),
        maxLength_(maxLength),
        out_(out),
        announcePairs_(announcePairs),
        announcer_(network, out),
        table_(network),
        steps_(network, filter),
        finder_(network, filter),
        missing_(network, filter, steps_),
        isSeed_(network.nodeCount(), false),
        isIntermediate_(network.nodeCount(), false),
        neighbourMark_(network.nodeCount(), none),
        neighbourVia_(network.nodeCount(), none) {
    for (NodeId seed : seeds) isSeed_[static_cast<std::size_t>(seed)] = true;
  }

  SubnetworkTable build();

 private:
  void searchSeedPairs();
  void searchPair(NodeId a, NodeId b, const DistanceMap& fromA, const DistanceMap& fromB);
  void noteIntermediate(NodeId node);
  void linkSeedsToIntermediates(bool announcing);
  void linkIntermediates(bool announcing);
  void markNeighbours(NodeId node);
  void linkPair(NodeId from, NodeId to);

  const Network& network_;
  const InteractionFilter& filter_;
  const NodeSet& seeds_;
  const int maxLength_;
  Output& out_;
  const bool announcePairs_;
  PairAnnouncer announcer_;
  SubnetworkTable table_;
  StepRecords steps_;
  PathArcFinder finder_;
  MissingStepReporter missing_;
  std::vector<Step> failing_;
  std::vector<bool> isSeed_;
  std::vector<bool> isIntermediate_;
  NodeSet intermediates_;
  // The passing neighbours of the node last marked, and an interaction joining each to it.
  std::vector<NodeId> neighbourMark_;
  std::vector<InteractionId> neighbourVia_;
};

SubnetworkTable SubnetworkBuilder::build() {
  out_.print(messages::kSearchingSeedList);
  searchSeedPairs();
  if (maxLength_ == 1) {
    out_.print(messages::kDoneSearching);
    return std::move(table_);
  }
  out_.print(messages::kExtractingIntermediates);
  std::sort(intermediates_.begin(), intermediates_.end());
  out_.print(messages::kSearchingIntermediatesToSeeds);
  const bool announcing =
      announcePairs_ && (countNodeList(seeds_) > 100 || countNodeList(intermediates_) > 100);
  linkSeedsToIntermediates(announcing);
  out_.print(messages::kSearchingAmongIntermediates);
  linkIntermediates(announcing);
  return std::move(table_);
}

// One bounded breadth-first search per seed serves every pair the seed belongs to.
void SubnetworkBuilder::searchSeedPairs() {
  SeedDistances distances(filter_.adjacency(), seeds_, maxLength_ - 1);
  const bool announcing = announcePairs_ && (countNodeList(seeds_) > 100 || maxLength_ > 3);
  if (announcing) announcer_.begin(maxLength_, seeds_);
  std::size_t i = 0;
  for (const NodeId a : seeds_) {
    const DistanceMap& fromA = distances.map(i++, 0);
    for (std::size_t j = i; j < seeds_.size(); ++j) {
      if (announcing) announcer_.announce(a, j);
      searchPair(a, seeds_[j], fromA, distances.map(j, 1));
    }
  }
  announcer_.flush();
}

// Every step on a pathway records its looked-up interaction, or prints a line when that one
// fails the filter. The recorded set needs only the steps; the lines need the pathways in
// search order, so those are listed only when some step on them prints.
void SubnetworkBuilder::searchPair(NodeId a, NodeId b, const DistanceMap& fromA,
                                   const DistanceMap& fromB) {
  failing_.clear();
  for (const Step& step : finder_.find(a, b, maxLength_, fromA, fromB)) {
    const InteractionId recorded = steps_.passing(step.walked, step.from);
    if (recorded == none) {
      failing_.push_back(step);
      continue;
    }
    table_.addInteractionToIntHash(recorded);
    noteIntermediate(network_.interaction(recorded).first);
    noteIntermediate(network_.interaction(recorded).second);
  }
  if (failing_.empty()) return;
  announcer_.flush();
  missing_.report(a, b, maxLength_, fromB, failing_, finder_, out_);
}

void SubnetworkBuilder::noteIntermediate(NodeId node) {
  const auto index = static_cast<std::size_t>(node);
  if (isSeed_[index] || isIntermediate_[index]) return;
  isIntermediate_[index] = true;
  intermediates_.push_back(node);
}

// A search of length 1 from one node to another arrives once per passing interaction
// joining them, each arrival recording the same looked-up interaction: so the pair adds
// that interaction when it passes, and prints one line when it fails while another passes.
void SubnetworkBuilder::linkSeedsToIntermediates(bool announcing) {
  if (announcing) announcer_.begin(1, intermediates_);
  for (NodeId seed : seeds_) {
    markNeighbours(seed);
    for (std::size_t j = 0; j < intermediates_.size(); ++j) {
      if (announcing) announcer_.announce(seed, j);
      linkPair(seed, intermediates_[j]);
    }
  }
  announcer_.flush();
}

void SubnetworkBuilder::linkIntermediates(bool announcing) {
  if (announcing) announcer_.begin(1, intermediates_);
  for (std::size_t i = 0; i < intermediates_.size(); ++i) {
    markNeighbours(intermediates_[i]);
    for (std::size_t j = i + 1; j < intermediates_.size(); ++j) {
      if (announcing) announcer_.announce(intermediates_[i], j);
      linkPair(intermediates_[i], intermediates_[j]);
    }
  }
  announcer_.flush();
}

void SubnetworkBuilder::markNeighbours(NodeId node) {
  for (const Neighbour& next : filter_.adjacency().of(node)) {
    neighbourMark_[static_cast<std::size_t>(next.node)] = node;
    neighbourVia_[static_cast<std::size_t>(next.node)] = next.via;
  }
}

// `from` must be the node last marked.
void SubnetworkBuilder::linkPair(NodeId from, NodeId to) {
  const auto index = static_cast<std::size_t>(to);
  if (neighbourMark_[index] != from) return;
  const InteractionId recorded = steps_.passing(neighbourVia_[index], from);
  if (recorded != none) {
    table_.addInteractionToIntHash(recorded);
  } else {
    announcer_.flush();
    reportMissingStep(network_, from, to, out_);
  }
}

}  // namespace

int countNodeList(const NodeSet& list) { return static_cast<int>(list.size()); }

SubnetworkTable getNetworkFromNodes(const Network& network, const InteractionFilter& filter,
                                    const NodeSet& seeds, int maxPathLength, Output& out,
                                    bool announcePairs) {
  if (maxPathLength < 0 || maxPathLength > 6) throw std::out_of_range("path length not in 0..6");
  return SubnetworkBuilder(network, filter, seeds, maxPathLength, out, announcePairs).build();
}

}  // namespace seedweave
