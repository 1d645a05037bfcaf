// The store's records: a node, an interaction and a citation or article tally.
#pragma once

#include <cstdint>
#include <vector>

#include "store/types.hpp"

namespace seedweave {

// One layout for two roles. As a citation entry of an interaction: the article's PubMed id,
// the source files that reported it (bit i = source index i) and its article's tally record.
// As a tally record: the PubMed id and the article load, the number of interactions citing it.
struct PMIDLIST {
  std::int32_t pmid = 0;
  TallyId tally = none;
  std::uint32_t sourceFlags = 0;
  std::int32_t interactionCount = 0;
};

struct INTERACTOR {
  TextId name;
  TextId attr1;
  TextId attr2;
  TextId attr3;
  TextId attr4;
  // Every interaction with this node as an end, ascending by id, each once.
  std::vector<InteractionId> interactions;
  // Interactions created with this node as an end (a self-interaction counts twice).
  std::int32_t interactionCount = 0;
  // getHashIndexFromString of the name, which orders output files.
  std::int32_t nameBucket = 0;
};

struct INTERACTION {
  NodeId first;
  NodeId second;
  TextId direction;  // the text "0" marks an undirected interaction
  TextId type;
  std::vector<PMIDLIST> pmids;  // ascending PubMed id, each once
};

}  // namespace seedweave
