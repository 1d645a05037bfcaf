#include "store/sig_reader.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>

namespace seedweave {

namespace {

constexpr std::size_t kBlockBytes = 1 << 20;
// Bytes after a block's data that the tokenizer fills with white space and may read.
constexpr std::size_t kPadding = 128;

// White space as the SIG format defines it, looked up in one step per byte.
constexpr std::array<bool, 256> kIsSpace = [] {
  std::array<bool, 256> table{};
  for (unsigned char c : {' ', '\t', '\n', '\r', '\v', '\f'}) table[c] = true;
  return table;
}();

bool isSpace(char c) { return kIsSpace[static_cast<unsigned char>(c)]; }

// Eight bytes as a little-endian word, whatever the machine's byte order.
std::uint64_t loadWord(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

// One bit per byte of the 64 bytes at `at`, set for white space: eight bytes at a time, each
// byte tested by arithmetic that cannot carry into its neighbour.
std::uint64_t spaceBits(const char* at) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
  std::uint64_t bits = 0;
  for (unsigned part = 0; part < 8; ++part) {
    const std::uint64_t word = loadWord(at + 8 * part);
    const std::uint64_t low = word & ~kHigh;
    // The high bit of each byte of atLeast(v) tells whether its low seven bits are >= v.
    const auto atLeast = [low](std::uint64_t value) { return low + kOnes * (128 - value); };
    // Tab to carriage return (9 to 13) or space (32); no byte of 128 or more.
    const std::uint64_t space =
        ((atLeast(9) & ~atLeast(14)) | (atLeast(32) & ~atLeast(33))) & ~word & kHigh;
    // Gathers the eight high bits into one byte.
    bits |= ((((space >> 7) * 0x0002040810204081ULL) >> 49) & 0xFF) << (8 * part);
  }
  return bits;
}

// One record of 13 tokens, with what the look-ahead has learnt about it.
struct Record {
  std::array<std::string_view, kSigColumns> tokens{};
  bool overlong = false;
  bool hasNul = false;
  std::uint32_t firstHash = 0;
  std::uint32_t secondHash = 0;
  NodeId firstGuess = none;
  NodeId secondGuess = none;
};

// Groups tokens into records of 13 and adds them to the network. Tokens are used in place
// inside the block; only a record that the block boundary cuts is copied, into 13 fixed
// slots, so that it survives the next read. A token longer than 199 bytes marks its record as
// overlong but is consumed.
//
// Loading is bound by memory latency, so a completed record is not added at once: it waits in
// a small ring while it is prepared in three steps, kAhead records apart, each asking the
// store to fetch what the next step or the addition will read.
class RecordAssembler {
 public:
  RecordAssembler(Network& network, int sourceIndex, bool keepSelfInteractions, Output& out)
      : network_(network), source_(sourceIndex), keepSelf_(keepSelfInteractions), out_(out) {}

  // Takes the next block of the file; `data` has kPadding writable bytes after `size`.
  // Time complexity: O(size) plus the records completed in the block.
  void feed(char* data, std::size_t size) {
    std::memset(data + size, ' ', kPadding);
    blockStart_ = data;
    // NUL bytes are rare: tokens are searched for one only in a block that holds any.
    blockHasNul_ = std::memchr(data, '\0', size) != nullptr;
    const char* const end = data + size;
    const char* at = cutToken_ ? continueCutToken(data, end) : data;
    const char* const cutStart = at == end ? end : tokenize(at, end);
    // Waiting records point into the block, and may use the slots that a cut token refills.
    addWaitingRecords();
    keepPendingTokens();
    if (cutStart != end) startCutToken(cutStart, end);
    lineBreakAtBlockStart_ = endsInLineBreak(data, end);
    blockOffset_ += size;
  }

  // Completes the file's last token; returns the summary, with the mid-line records' line left
  // for the caller to count.
  SigFileSummary finish() {
    if (cutToken_) endCutToken();
    addWaitingRecords();
    return {true, completed_, skippedRecords_, midLineRecords_, 0, static_cast<int>(column_)};
  }

  int overlongRecords() const { return overlongRecords_; }
  int nulRecords() const { return nulRecords_; }
  // Where the first record beginning mid-line starts, in bytes from the start of the data fed.
  std::size_t firstMidLineOffset() const { return firstMidLineOffset_; }

 private:
  // Records are prepared this many records apart in each of three steps before being added.
  static constexpr std::size_t kAhead = 4;
  // Holds the records being prepared and the one being assembled.
  static constexpr std::size_t kRing = 16;
  static_assert(kRing > 3 * kAhead);

  // Cuts [at, end) into tokens 64 bytes at a time: bit masks mark where tokens start and
  // end, so the loop turns once per token rather than testing every byte. Returns the start
  // of a token that runs into the end of the block, or `end`.
  const char* tokenize(const char* at, const char* end) {
    const char* tokenStart = nullptr;
    std::uint64_t carry = 0;  // 1 when the byte before the window belongs to a token
    for (const char* window = at; window < end; window += 64) {
      const std::uint64_t inToken = ~spaceBits(window);
      const std::uint64_t before = (inToken << 1) | carry;
      std::uint64_t starts = inToken & ~before;
      std::uint64_t ends = ~inToken & before;
      carry = inToken >> 63;
      for (;;) {
        if (tokenStart != nullptr) {
          if (ends == 0) break;
          const char* tokenEnd = window + std::countr_zero(ends);
          ends &= ends - 1;
          // The padding after the block ends every token, but one reaching it is cut.
          if (tokenEnd >= end) return tokenStart;
          addToken(std::string_view(tokenStart, static_cast<std::size_t>(tokenEnd - tokenStart)));
          tokenStart = nullptr;
        }
        if (starts == 0) break;
        tokenStart = window + std::countr_zero(starts);
        starts &= starts - 1;
        if (column_ == 0) checkRecordStart(tokenStart);
      }
    }
    return tokenStart != nullptr ? tokenStart : end;
  }

  static bool isLineBreak(char c) { return c == '\n' || c == '\r'; }

  // Whether a line break stands after the last token of [begin, end); through a block of
  // white space only, what held at its start carries on.
  bool endsInLineBreak(const char* begin, const char* end) const {
    const char* at = end;
    for (; at != begin && isSpace(at[-1]); --at) {
      if (isLineBreak(at[-1])) return true;
    }
    return at == begin && lineBreakAtBlockStart_;
  }

  // A record begins at the start of a line when the white space before it holds a line break.
  // Only the few bytes between two records are looked at, once per record.
  void checkRecordStart(const char* start) {
    const char* at = start;
    for (; at != blockStart_ && isSpace(at[-1]); --at) {
      if (isLineBreak(at[-1])) return;
    }
    if (at == blockStart_ && lineBreakAtBlockStart_) return;
    if (midLineRecords_++ == 0) {
      firstMidLineOffset_ = blockOffset_ + static_cast<std::size_t>(start - blockStart_);
    }
  }

  Record& at(std::size_t index) { return ring_[index % kRing]; }
  Record& pending() { return at(completed_); }

  void addToken(std::string_view token) {
    Record& record = pending();
    if (token.size() > kMaxFieldLength) record.overlong = true;
    if (blockHasNul_ && std::memchr(token.data(), '\0', token.size()) != nullptr) {
      record.hasNul = true;
    }
    record.tokens[column_] = token;
    if (++column_ < kSigColumns) return;
    column_ = 0;
    advance();
    pending().overlong = false;
    pending().hasNul = false;
  }

  // A record is complete: start preparing it and move the others on by one step.
  void advance() {
    const std::size_t newest = completed_++;
    requestNodeSlots(at(newest));
    if (newest >= added_ + kAhead) requestNodes(at(newest - kAhead));
    if (newest >= added_ + 2 * kAhead) requestDetails(at(newest - 2 * kAhead));
    if (newest >= added_ + 3 * kAhead) addRecord(at(added_++));
  }

  // Adds every complete record still waiting, in file order.
  void addWaitingRecords() {
    while (added_ < completed_) addRecord(at(added_++));
  }

  // The block ends inside a token: keep its start in the column's slot.
  void startCutToken(const char* start, const char* end) {
    cutToken_ = true;
    cutLength_ = 0;
    appendToCutToken(start, end);
  }

  const char* continueCutToken(const char* at, const char* end) {
    const char* stop = at;
    while (stop != end && !isSpace(*stop)) ++stop;
    appendToCutToken(at, stop);
    if (stop != end) endCutToken();
    return stop;
  }

  void appendToCutToken(const char* from, const char* to) {
    const auto length = static_cast<std::size_t>(to - from);
    const std::size_t kept = std::min(cutLength_, kMaxFieldLength);
    if (std::memchr(from, '\0', length) != nullptr) pending().hasNul = true;
    std::memcpy(slots_[column_].data() + kept, from, std::min(length, kMaxFieldLength - kept));
    cutLength_ += length;
  }

  void endCutToken() {
    cutToken_ = false;
    if (cutLength_ > kMaxFieldLength) pending().overlong = true;
    addToken(std::string_view(slots_[column_].data(), std::min(cutLength_, kMaxFieldLength)));
  }

  // Tokens of an unfinished record point into the block that is about to be overwritten.
  void keepPendingTokens() {
    for (std::size_t column = 0; column < column_; ++column) {
      std::string_view& token = pending().tokens[column];
      if (token.data() == slots_[column].data()) continue;
      const std::size_t length = std::min(token.size(), kMaxFieldLength);
      std::memcpy(slots_[column].data(), token.data(), length);
      token = std::string_view(slots_[column].data(), length);
    }
  }

  void requestNodeSlots(Record& record) {
    record.firstHash = hashText(record.tokens[0]);
    record.secondHash = hashText(record.tokens[5]);
    network_.prefetchNodeSlot(record.firstHash);
    network_.prefetchNodeSlot(record.secondHash);
  }

  void requestNodes(Record& record) {
    record.firstGuess = network_.guessNode(record.firstHash);
    record.secondGuess = network_.guessNode(record.secondHash);
    if (record.firstGuess != none && record.secondGuess != none) {
      network_.prefetchPairSlot(record.firstGuess, record.secondGuess);
    }
  }

  void requestDetails(const Record& record) {
    if (record.firstGuess == none || record.secondGuess == none) return;
    network_.prefetchNodeDetails(record.firstGuess);
    network_.prefetchNodeDetails(record.secondGuess);
    network_.prefetchInteraction(record.firstGuess, record.secondGuess);
  }

  void addRecord(const Record& record) {
    if (record.overlong) {
      ++overlongRecords_;
      ++skippedRecords_;
      return;
    }
    if (record.hasNul) {
      ++nulRecords_;
      ++skippedRecords_;
      return;
    }
    const auto& token = record.tokens;
    const std::optional<std::int32_t> pmid = parsePubMedId(token[12]);
    if (!pmid || (!keepSelf_ && token[0] == token[5])) {
      ++skippedRecords_;
      return;
    }
    // Columns 4 and 5 hold the fourth and third attributes, in that crossed order.
    const NodeId first =
        network_.updateAndRetrieveInteractor(token[0], token[1], token[2], token[4], token[3]);
    const NodeId second =
        network_.updateAndRetrieveInteractor(token[5], token[6], token[7], token[9], token[8]);
    network_.addInteractionToHash(first, second, token[10], token[11], *pmid, source_, out_);
  }

  Network& network_;
  const int source_;
  const bool keepSelf_;
  Output& out_;
  std::array<Record, kRing> ring_{};
  std::size_t completed_ = 0;  // records completed so far; the next one is being assembled
  std::size_t added_ = 0;      // records added to the network so far
  std::array<std::array<char, kMaxFieldLength>, kSigColumns> slots_{};
  std::size_t column_ = 0;
  bool cutToken_ = false;
  std::size_t cutLength_ = 0;
  int overlongRecords_ = 0;
  int nulRecords_ = 0;
  bool blockHasNul_ = false;
  std::size_t skippedRecords_ = 0;
  const char* blockStart_ = nullptr;
  std::size_t blockOffset_ = 0;        // bytes fed before the current block
  bool lineBreakAtBlockStart_ = true;  // the start of the file counts as a line break
  std::size_t midLineRecords_ = 0;
  std::size_t firstMidLineOffset_ = 0;
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The line breaks in the next `bytes` bytes of the file: "\n", "\r\n" and a lone "\r".
std::size_t countLineBreaks(std::FILE* file, std::size_t bytes) {
  std::size_t breaks = 0;
  char previous = '\0';
  for (int c; bytes > 0 && (c = std::getc(file)) != EOF; --bytes) {
    if (c == '\r' || (c == '\n' && previous != '\r')) ++breaks;
    previous = static_cast<char>(c);
  }
  return breaks;
}

}  // namespace

std::optional<std::int32_t> parsePubMedId(std::string_view token) {
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  std::int64_t value = 0;
  for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
    value = value * 10 + (token[i] - '0');
    if (value > INT32_MAX) return std::nullopt;
  }
  if (negative || value == 0) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

SigFileSummary readSigFile(const char* path, Network& network, int sourceIndex,
                           bool keepSelfInteractions, Output& out) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) {
    out.print("Could not open %s for reading.\n", path);
    return {.readable = false};
  }
  RecordAssembler assembler(network, sourceIndex, keepSelfInteractions, out);
  auto block = std::make_unique_for_overwrite<char[]>(kBlockBytes + kPadding);
  std::size_t got = std::fread(block.get(), 1, kBlockBytes, file.get());
  const bool marked = std::string_view(block.get(), got).starts_with(kByteOrderMark);
  const std::size_t skip = marked ? kByteOrderMark.size() : 0;
  if (got > skip) assembler.feed(block.get() + skip, got - skip);
  while ((got = std::fread(block.get(), 1, kBlockBytes, file.get())) > 0) {
    assembler.feed(block.get(), got);
  }
  if (std::ferror(file.get())) {
    out.print("Could not open %s for reading.\n", path);
    return {.readable = false};
  }
  SigFileSummary summary = assembler.finish();
  if (summary.midLineRecords > 0) {
    std::fseek(file.get(), static_cast<long>(skip), SEEK_SET);
    summary.firstMidLineRecordLine =
        1 + countLineBreaks(file.get(), assembler.firstMidLineOffset());
  }
  if (assembler.overlongRecords() > 0) {
    out.print("Skipped %d records of %s with a field longer than 199 characters.\n",
              assembler.overlongRecords(), path);
  }
  if (assembler.nulRecords() > 0) {
    out.print("Skipped %d records of %s with a NUL byte in a field.\n", assembler.nulRecords(),
              path);
  }
  return summary;
}

}  // namespace seedweave
