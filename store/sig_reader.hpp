// Reading of SIG files: 13 white-space-separated tokens per record, line breaks carrying no
// meaning of their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "store/network_builder.hpp"
#include "store/output.hpp"

namespace seedweave {

inline constexpr int kSigColumns = 13;
inline constexpr std::size_t kMaxFieldLength = 199;
// A UTF-8 byte order mark, skipped at the very start of a SIG file or a seed file.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
inline constexpr std::size_t kSigBlockBytes = 1 << 16;

// The cores this process may run on: those of its affinity mask, so that a run confined to
// one core (taskset, a cpuset) reads on one thread.
unsigned usableCores();

// How a file is read: in blocks of blockBytes; with twoThreads tokenised on a second thread
// while this one adds the records of the blocks before to the network, otherwise both on this
// thread (by default, when the process may run on one core only). The network and the summary
// end the same either way.
struct ReadPlan {
  std::size_t blockBytes = kSigBlockBytes;
  bool twoThreads = usableCores() > 1;
};

// The PubMed id of column 13, read as atoi reads it (optional sign, leading digits); nothing
// when it is not positive or does not fit a signed 32-bit integer.
std::optional<std::int32_t> parsePubMedId(std::string_view token);

// What a SIG file held beyond its records, for the warnings that the driver gives.
struct SigFileSummary {
  bool readable = true;            // false when the file could not be opened or read
  std::size_t records = 0;         // complete records of 13 fields
  std::size_t skippedRecords = 0;  // of those, the ones left out
  // Records whose first field does not begin a line: a field is missing or extra before them.
  std::size_t midLineRecords = 0;
  std::size_t firstMidLineRecordLine = 0;  // the line of the first of them, counted from 1
  int trailingFields = 0;                  // fields of an incomplete record at the end
};

// Reads every record of the file into the network being built under the given source index. Records
// with an invalid PubMed id, and self-interactions unless kept, are dropped silently; records with
// a field longer than 199 bytes are dropped and counted in a message. A file that cannot be
// read gets a message and leaves the network as far as it was read.
// Time complexity: O(file size) expected; a file with records beginning mid-line is read
// up to the first of them a second time, to count its lines.
SigFileSummary readSigFile(const char* path, NetworkBuilder& network, int sourceIndex,
                           bool keepSelfInteractions, Output& out,
                           const ReadPlan& plan = ReadPlan{});

}  // namespace seedweave
