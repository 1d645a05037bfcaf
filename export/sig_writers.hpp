// Writers of a subnetwork as a SIG file (one line per citation of every interaction, in the
// columns the SIG reader takes back) and as a SIF file (one line per interaction). The
// filtered writers keep only citations whose article load is within the limit, and only
// interactions with at least the minimum number of such citations.
//
// Every writer takes an open stream, writes to it and neither flushes nor closes it; write
// errors are left to whoever closes the stream (OutputFile::close). Tables are written in
// SubnetworkTable::inBucketOrder(), citations in ascending PubMed id.
#pragma once

#include <cstdio>

#include "search/subnetwork_table.hpp"
#include "store/network.hpp"

namespace seedweave {

// One SIG line per citation of every interaction.
// Time complexity: O(k log k + lines written) for k interactions in the table.
void intHashToSig(std::FILE* stream, const Network& network, const SubnetworkTable& table);

// One SIF line per interaction, whatever the citations.
// Time complexity: O(k log k + lines written) for k interactions in the table.
void intHashToSif(std::FILE* stream, const Network& network, const SubnetworkTable& table);

// For each interaction: nothing when fewer than minReferences citations have an article load
// within the limit (0 = no limit); otherwise one SIG line per such citation.
// Time complexity: O(k log k + citations in the table).
void intHashToSigFiltered(std::FILE* stream, const Network& network, const SubnetworkTable& table,
                          int minReferences, int maxArticleLoad);

// An interaction's SIF line exactly when intHashToSigFiltered writes at least one line for it.
// Time complexity: O(k log k + citations in the table).
void intHashToSifFiltered(std::FILE* stream, const Network& network, const SubnetworkTable& table,
                          int minReferences, int maxArticleLoad);

}  // namespace seedweave
