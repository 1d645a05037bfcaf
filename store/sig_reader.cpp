#include "store/sig_reader.hpp"

#if defined(__linux__)
#include <sched.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "store/messages.hpp"

namespace seedweave {

namespace {

// The tokenizer looks at a block this many bytes at a time: one per bit of a 64-bit mask.
constexpr std::size_t kWindow = std::numeric_limits<std::uint64_t>::digits;
// Bytes after a block's data that the tokenizer fills with white space: a window starting
// inside the data may read that far past it.
constexpr std::size_t kPadding = kWindow;

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

using RecordTokens = std::array<std::string_view, kSigColumns>;

// One complete record that is to be added, with what the look-ahead has learnt about it.
struct Record {
  RecordTokens tokens;
  std::int32_t pmid;
  std::uint32_t firstHash;
  std::uint32_t secondHash;
  NodeId firstGuess = none;
  NodeId secondGuess = none;
};

using FieldSlots = std::array<std::array<char, kMaxFieldLength>, kSigColumns>;

// A block of the file and the records to add that it completes. Their tokens point into the
// block or, for the fields of a record that began in an earlier block, into the batch's slots.
struct Batch {
  explicit Batch(std::size_t blockBytes)
      : block(std::make_unique_for_overwrite<char[]>(firstReadBytes(blockBytes) + kPadding)) {}

  // The first read takes in at least a whole byte order mark, whatever the block size.
  static std::size_t firstReadBytes(std::size_t blockBytes) {
    return std::max(blockBytes, kByteOrderMark.size());
  }

  std::unique_ptr<char[]> block;
  std::size_t size{};
  FieldSlots slots{};
  std::vector<Record> records;
  // The records resolved into reports, and the interaction each report probably merges into.
  std::vector<ResolvedReport> reports;
  std::vector<InteractionId> guesses;
};

// Cuts blocks into tokens and groups them into records of 13, keeping only the records to
// add. Tokens are used in place inside the block; the fields of a record that a block
// boundary cuts are kept in 13 fixed slots and copied into the next batch's slots. A token
// longer than 199 bytes marks its record as overlong but is consumed.
class Tokenizer {
 public:
  explicit Tokenizer(bool keepSelfInteractions) : keepSelf_(keepSelfInteractions) {}

  // Lists the records that the batch's block completes, replacing those listed before; the
  // block has kPadding writable bytes after its size. Time complexity: O(size of the block).
  void feed(Batch& batch) {
    start(batch);
    char* const data = batch.block.get();
    std::memset(data + batch.size, ' ', kPadding);
    blockStart_ = data;
    // NUL bytes are rare: tokens are searched for one only in a block that holds any.
    blockHasNul_ = std::memchr(data, '\0', batch.size) != nullptr;
    const char* const end = data + batch.size;
    const char* at = cutToken_ ? continueCutToken(data, end) : data;
    const char* const cutStart = at == end ? end : tokenize(at, end);
    keepPendingTokens();
    if (cutStart != end) startCutToken(cutStart, end);
    lineBreakAtBlockStart_ = endsInLineBreak(data, end);
    blockOffset_ += batch.size;
  }

  // Lists the record that the file's last token completes, if any.
  void finish(Batch& batch) {
    start(batch);
    if (cutToken_) endCutToken();
  }

  // The summary, with the mid-line records' line left for the caller to count.
  SigFileSummary summary() const {
    return {true, completed_, skippedRecords_, midLineRecords_, 0, static_cast<int>(column_)};
  }
  int overlongRecords() const { return overlongRecords_; }
  int nulRecords() const { return nulRecords_; }
  // Where the first record beginning mid-line starts, in bytes from the start of the data fed.
  std::size_t firstMidLineOffset() const { return firstMidLineOffset_; }

 private:
  // Cuts [at, end) into tokens 64 bytes at a time: bit masks mark where tokens start and
  // end, so the loop turns once per token rather than testing every byte. Returns the start
  // of a token that runs into the end of the block, or `end`.
  const char* tokenize(const char* at, const char* end) {
    const char* tokenStart = nullptr;
    std::uint64_t carry = 0;  // 1 when the byte before the window belongs to a token
    for (const char* window = at; window < end; window += kWindow) {
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

  // The unfinished record's fields, kept from the block before, move into the new batch.
  void start(Batch& batch) {
    batch_ = &batch;
    batch.records.clear();
    movePendingTokens(batch.slots, kept_);
  }

  void addToken(std::string_view token) {
    if (token.size() > kMaxFieldLength) overlong_ = true;
    if (blockHasNul_ && std::memchr(token.data(), '\0', token.size()) != nullptr) hasNul_ = true;
    pending_[column_] = token;
    if (++column_ < kSigColumns) return;
    column_ = 0;
    completeRecord();
    overlong_ = false;
    hasNul_ = false;
  }

  // Counts the record and lists it when it is to be added, with its name hashes.
  void completeRecord() {
    ++completed_;
    int* const reason = overlong_ ? &overlongRecords_ : hasNul_ ? &nulRecords_ : nullptr;
    const RecordTokens& token = pending_;
    const std::optional<std::int32_t> pmid =
        reason == nullptr ? parsePubMedId(token[12]) : std::nullopt;
    if (!pmid || (!keepSelf_ && token[0] == token[5])) {
      if (reason != nullptr) ++*reason;
      ++skippedRecords_;
      return;
    }
    batch_->records.push_back({token, *pmid, hashText(token[0]), hashText(token[5])});
  }

  // The block ends inside a token: keep its start in the column's slot.
  void startCutToken(const char* start, const char* end) {
    cutToken_ = true;
    appendToCutToken(kept_[column_].data(), start, end);
  }

  const char* continueCutToken(const char* at, const char* end) {
    const char* stop = at;
    while (stop != end && !isSpace(*stop)) ++stop;
    appendToCutToken(batch_->slots[column_].data(), at, stop);
    if (stop != end) endCutToken();
    return stop;
  }

  void appendToCutToken(char* slot, const char* from, const char* to) {
    const auto length = static_cast<std::size_t>(to - from);
    const std::size_t kept = std::min(cutLength_, kMaxFieldLength);
    if (std::memchr(from, '\0', length) != nullptr) hasNul_ = true;
    std::memcpy(slot + kept, from, std::min(length, kMaxFieldLength - kept));
    cutLength_ += length;
  }

  void endCutToken() {
    cutToken_ = false;
    if (cutLength_ > kMaxFieldLength) overlong_ = true;
    addToken(
        std::string_view(batch_->slots[column_].data(), std::min(cutLength_, kMaxFieldLength)));
    cutLength_ = 0;
  }

  // The unfinished record's fields, and a cut token that spans the whole block, point into the
  // batch, which the merging stage is about to take: they are kept in the tokenizer's slots.
  void keepPendingTokens() { movePendingTokens(kept_, batch_->slots); }

  // Copies the unfinished record's fields (at most 199 bytes each) into `to` and points them
  // there; a cut token's kept bytes come from `cutFrom`.
  void movePendingTokens(FieldSlots& to, const FieldSlots& cutFrom) {
    for (std::size_t column = 0; column != column_; ++column) {
      std::string_view& token = pending_[column];
      const std::size_t length = std::min(token.size(), kMaxFieldLength);
      std::memcpy(to[column].data(), token.data(), length);
      token = std::string_view(to[column].data(), length);
    }
    if (cutToken_) {
      std::memcpy(to[column_].data(), cutFrom[column_].data(),
                  std::min(cutLength_, kMaxFieldLength));
    }
  }

  const bool keepSelf_;
  Batch* batch_ = nullptr;
  RecordTokens pending_{};
  bool overlong_ = false;
  bool hasNul_ = false;
  std::size_t column_ = 0;
  FieldSlots kept_{};
  bool cutToken_ = false;
  std::size_t cutLength_ = 0;
  std::size_t completed_ = 0;
  std::size_t skippedRecords_ = 0;
  int overlongRecords_ = 0;
  int nulRecords_ = 0;
  bool blockHasNul_ = false;
  const char* blockStart_ = nullptr;
  std::size_t blockOffset_ = 0;        // bytes fed before the current block
  bool lineBreakAtBlockStart_ = true;  // the start of the file counts as a line break
  std::size_t midLineRecords_ = 0;
  std::size_t firstMidLineOffset_{};
};

// Loading is bound by memory latency, so the records of a batch are not handled one at a
// time: in groups of kGroup, each step is taken for the whole group before the next, so that
// the reads of a step proceed in parallel and bring what the next step needs into the cache.
// Calls every step(i) for every record i below `count`, in the order of the steps within a
// group and in record order within a step.
template <typename... Steps>
void inSteps(std::size_t count, const Steps&... steps) {
  constexpr std::size_t kGroup = 32;
  for (std::size_t start = 0; start != count;) {
    const std::size_t end = std::min(count, start + kGroup);
    const auto forGroup = [start, end](const auto& step) {
      for (std::size_t i = start; i < end; ++i) step(i);
    };
    (forGroup(steps), ...);
    start = end;
  }
}

// The first half of adding a batch's records, on the thread that reads them: their nodes,
// texts and articles.
class NodeResolver {
 public:
  explicit NodeResolver(NetworkBuilder& network) : network_(network) {}

  // Time complexity: O(records) expected.
  void resolve(Batch& batch) {
    std::vector<Record>& records = batch.records;
    batch.reports.resize(records.size());
    inSteps(
        records.size(),
        [&](std::size_t i) {
          network_.prefetchNodeSlot(records[i].firstHash);
          network_.prefetchNodeSlot(records[i].secondHash);
          network_.prefetchArticle(records[i].pmid);
        },
        [&](std::size_t i) {
          records[i].firstGuess = network_.guessNode(records[i].firstHash);
          records[i].secondGuess = network_.guessNode(records[i].secondHash);
        },
        [&](std::size_t i) {
          const Record& record = records[i];
          if (record.firstGuess != none) network_.prefetchNodeDetails(record.firstGuess);
          if (record.secondGuess != none) network_.prefetchNodeDetails(record.secondGuess);
        },
        [&](std::size_t i) { batch.reports[i] = resolveRecord(records[i]); });
  }

 private:
  ResolvedReport resolveRecord(const Record& record) {
    const auto& token = record.tokens;
    // Columns 4 and 5 hold the fourth and third attributes, in that crossed order.
    const NodeId first = network_.updateAndRetrieveInteractor(token[0], record.firstHash, token[1],
                                                              token[2], token[4], token[3]);
    const NodeId second = network_.updateAndRetrieveInteractor(
        token[5], record.secondHash, token[6], token[7], token[9], token[8]);
    return network_.resolveReport(first, second, token[10], token[11], record.pmid);
  }

  NetworkBuilder& network_;
};

// The second half: the interactions and citations of the resolved reports, in file order.
class InteractionMerger {
 public:
  InteractionMerger(NetworkBuilder& network, int sourceIndex)
      : network_(network), source_(sourceIndex) {}

  // Time complexity: O(records) expected, plus their citation inserts.
  void merge(Batch& batch) {
    const std::vector<ResolvedReport>& reports = batch.reports;
    std::vector<InteractionId>& guesses = batch.guesses;
    guesses.resize(reports.size());
    inSteps(
        reports.size(),
        [&](std::size_t i) { network_.prefetchPairSlot(reports[i].first, reports[i].second); },
        [&](std::size_t i) {
          guesses[i] = network_.guessInteraction(reports[i].first, reports[i].second);
        },
        [&](std::size_t i) {
          if (guesses[i] != none) network_.prefetchCitations(guesses[i]);
          network_.prefetchArticleLoad(reports[i].tally);
        },
        [&](std::size_t i) { network_.addResolvedReport(reports[i], source_); });
  }

 private:
  NetworkBuilder& network_;
  const int source_;
};

// Batches passed from one thread to the other, in order. Closing it wakes a waiting taker.
class BatchQueue {
 public:
  void put(Batch* batch) {
    {
      std::lock_guard lock(mutex_);
      batches_.push_back(batch);
    }
    ready_.notify_one();
  }

  // The next batch, or nullptr once the queue is closed and empty.
  Batch* take() {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return closed_ || !batches_.empty(); });
    if (batches_.empty()) return nullptr;
    Batch* batch = batches_.front();
    batches_.pop_front();
    return batch;
  }

  void close() {
    {
      std::lock_guard lock(mutex_);
      closed_ = true;
    }
    ready_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Batch*> batches_;
  bool closed_ = false;
};

// Reads the next block of the file into the batch, a byte order mark at the file's start left
// out; false at the end of the file or on an error, but never for the first block: an empty
// one leaves every count as it was.
bool readBlock(std::FILE* file, std::size_t blockBytes, Batch& batch, bool atStart) {
  char* const data = batch.block.get();
  batch.size = std::fread(data, 1, atStart ? Batch::firstReadBytes(blockBytes) : blockBytes, file);
  if (atStart && std::string_view(data, batch.size).starts_with(kByteOrderMark)) {
    batch.size -= kByteOrderMark.size();
    std::memmove(data, data + kByteOrderMark.size(), batch.size);
  }
  return batch.size > 0 || atStart;
}

// Both stages in turn on this thread. False when reading failed.
bool readInTurn(std::FILE* file, std::size_t blockBytes, Tokenizer& tokenizer,
                NodeResolver& resolver, InteractionMerger& merger) {
  Batch batch(blockBytes);
  for (bool atStart = true; readBlock(file, blockBytes, batch, atStart); atStart = false) {
    tokenizer.feed(batch);
    resolver.resolve(batch);
    merger.merge(batch);
  }
  if (std::ferror(file)) return false;
  tokenizer.finish(batch);
  resolver.resolve(batch);
  merger.merge(batch);
  return true;
}

// Reading, tokenising and resolving nodes on a second thread, merging interactions on this
// one: the stages pass a few batches round, so the reading thread is at most that many
// blocks ahead.
class TwoStageReading {
 public:
  TwoStageReading(std::FILE* file, std::size_t blockBytes, Tokenizer& tokenizer,
                  NodeResolver& resolver)
      : file_(file), blockBytes_(blockBytes), tokenizer_(tokenizer), resolver_(resolver) {
    for (std::unique_ptr<Batch>& batch : batches_) {
      batch = std::make_unique<Batch>(blockBytes);
      free_.put(batch.get());
    }
    reader_ = std::thread([this] { readAll(); });
  }
  // Stops the reading thread, which may still wait for a free batch when merging failed.
  ~TwoStageReading() {
    free_.close();
    reader_.join();
  }
  TwoStageReading(const TwoStageReading&) = delete;
  TwoStageReading& operator=(const TwoStageReading&) = delete;

  // False when reading failed.
  bool mergeAll(InteractionMerger& merger) {
    while (Batch* batch = filled_.take()) {
      merger.merge(*batch);
      free_.put(batch);
    }
    if (failure_) std::rethrow_exception(failure_);
    return complete_;
  }

 private:
  static constexpr std::size_t kBatches = 3;

  void readAll() {
    try {
      complete_ = readBatches();
    } catch (...) {
      failure_ = std::current_exception();
    }
    filled_.close();
  }

  bool readBatches() {
    bool atStart = true;
    while (Batch* batch = free_.take()) {
      if (!readBlock(file_, blockBytes_, *batch, atStart)) {
        if (std::ferror(file_)) return false;
        tokenizer_.finish(*batch);
        resolver_.resolve(*batch);
        filled_.put(batch);
        return true;
      }
      atStart = false;
      tokenizer_.feed(*batch);
      resolver_.resolve(*batch);
      filled_.put(batch);
    }
    return false;
  }

  std::FILE* const file_;
  const std::size_t blockBytes_;
  Tokenizer& tokenizer_;
  NodeResolver& resolver_;
  std::array<std::unique_ptr<Batch>, kBatches> batches_;
  BatchQueue free_;
  BatchQueue filled_;
  bool complete_ = false;
  std::exception_ptr failure_;
  std::thread reader_;
};

// The two stages under way, or none when no second thread can be started (as under a tight
// memory limit, where its stack cannot be had): the file is then read on this thread alone.
std::unique_ptr<TwoStageReading> startTwoStages(std::FILE* file, std::size_t blockBytes,
                                                Tokenizer& tokenizer, NodeResolver& resolver) {
  try {
    return std::make_unique<TwoStageReading>(file, blockBytes, tokenizer, resolver);
  } catch (const std::system_error&) {
    return nullptr;
  }
}

}  // namespace

unsigned usableCores() {
#if defined(__linux__)
  cpu_set_t cores;
  if (sched_getaffinity(0, sizeof cores, &cores) == 0)
    return static_cast<unsigned>(CPU_COUNT(&cores));
#endif
  return std::thread::hardware_concurrency();
}

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Moves to the start of the file's data: past a byte order mark, if there is one.
void seekDataStart(std::FILE* file) {
  std::array<char, kByteOrderMark.size()> head{};
  std::rewind(file);
  if (std::fread(head.data(), 1, head.size(), file) != head.size() ||
      std::string_view(head.data(), head.size()) != kByteOrderMark) {
    std::rewind(file);
  }
}

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

SigFileSummary readSigFile(const char* path, NetworkBuilder& network, int sourceIndex,
                           bool keepSelfInteractions, Output& out, const ReadPlan& plan) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) {
    out.print(messages::kCannotRead, path);
    return {.readable = false};
  }
  Tokenizer tokenizer(keepSelfInteractions);
  NodeResolver resolver(network);
  InteractionMerger merger(network, sourceIndex);
  const std::unique_ptr<TwoStageReading> twoStages =
      plan.twoThreads ? startTwoStages(file.get(), plan.blockBytes, tokenizer, resolver) : nullptr;
  const bool complete = twoStages
                            ? twoStages->mergeAll(merger)
                            : readInTurn(file.get(), plan.blockBytes, tokenizer, resolver, merger);
  if (!complete) {
    out.print(messages::kCannotRead, path);
    return {.readable = false};
  }
  SigFileSummary summary = tokenizer.summary();
  if (summary.midLineRecords > 0) {
    seekDataStart(file.get());
    summary.firstMidLineRecordLine =
        1 + countLineBreaks(file.get(), tokenizer.firstMidLineOffset());
  }
  if (tokenizer.overlongRecords() > 0) {
    out.print(messages::kSkippedLongFields, tokenizer.overlongRecords(), path);
  }
  if (tokenizer.nulRecords() > 0) {
    out.print(messages::kSkippedNulFields, tokenizer.nulRecords(), path);
  }
  return summary;
}

}  // namespace seedweave
