#include "store/sig_reader.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace seedweave {

namespace {

constexpr std::size_t kBlockBytes = 1 << 20;

// White space as the SIG format defines it, looked up in one step per byte.
constexpr std::array<bool, 256> kIsSpace = [] {
  std::array<bool, 256> table{};
  for (unsigned char c : {' ', '\t', '\n', '\r', '\v', '\f'}) table[c] = true;
  return table;
}();

bool isSpace(char c) { return kIsSpace[static_cast<unsigned char>(c)]; }

// One record of 13 tokens, with what the look-ahead has learnt about it.
struct Record {
  std::array<std::string_view, kSigColumns> tokens{};
  bool overlong = false;
  std::uint32_t firstHash = 0;
  std::uint32_t secondHash = 0;
  NodeId firstGuess = none;
  NodeId secondGuess = none;
};

// Groups tokens into records of 13 and adds them to the network block by block. Tokens are
// used in place inside the block; only a record that the block boundary cuts is copied, into
// 13 fixed slots, so that it survives the next read. A token longer than 199 bytes marks its
// record as overlong but is consumed.
class RecordAssembler {
 public:
  RecordAssembler(Network& network, int sourceIndex, bool keepSelfInteractions, Output& out)
      : network_(network), source_(sourceIndex), keepSelf_(keepSelfInteractions), out_(out) {}

  // Time complexity: O(size) plus the records completed in the block.
  void feed(const char* data, std::size_t size) {
    const char* at = data;
    const char* const end = data + size;
    if (cutToken_) at = continueCutToken(at, end);
    const char* cutStart = end;
    while (at != end) {
      while (at != end && isSpace(*at)) ++at;
      if (at == end) break;
      const char* const start = at;
      while (at != end && !isSpace(*at)) ++at;
      if (at == end) {
        cutStart = start;
        break;
      }
      addToken(std::string_view(start, static_cast<std::size_t>(at - start)));
    }
    // The slots may still hold tokens of a ready record, so they are refilled only after it.
    addReadyRecords();
    keepPendingTokens();
    if (cutStart != end) startCutToken(cutStart, end);
  }

  void finish() {
    if (cutToken_) endCutToken();
    addReadyRecords();
  }

  int overlongRecords() const { return overlongRecords_; }

 private:
  // Records are prepared this many records apart in each of three steps before being added.
  static constexpr std::size_t kAhead = 4;

  void addToken(std::string_view token) {
    if (token.size() > kMaxFieldLength) pending_.overlong = true;
    pending_.tokens[column_] = token;
    if (++column_ < kSigColumns) return;
    ready_.push_back(pending_);
    pending_.overlong = false;
    column_ = 0;
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
    std::memcpy(slots_[column_].data() + kept, from, std::min(length, kMaxFieldLength - kept));
    cutLength_ += length;
  }

  void endCutToken() {
    cutToken_ = false;
    if (cutLength_ > kMaxFieldLength) pending_.overlong = true;
    addToken(std::string_view(slots_[column_].data(), std::min(cutLength_, kMaxFieldLength)));
  }

  // Tokens of an unfinished record point into the block that is about to be overwritten.
  void keepPendingTokens() {
    for (std::size_t column = 0; column < column_; ++column) {
      std::string_view& token = pending_.tokens[column];
      if (token.data() == slots_[column].data()) continue;
      const std::size_t length = std::min(token.size(), kMaxFieldLength);
      std::memcpy(slots_[column].data(), token.data(), length);
      token = std::string_view(slots_[column].data(), length);
    }
  }

  // Adds the complete records in file order. Each is prepared in three steps, kAhead records
  // apart, so that the store's memory it needs arrives while earlier records are added.
  void addReadyRecords() {
    const std::size_t count = ready_.size();
    for (std::size_t step = 0; step < count + 3 * kAhead; ++step) {
      if (step < count) requestNodeSlots(ready_[step]);
      if (step >= kAhead && step - kAhead < count) requestNodes(ready_[step - kAhead]);
      if (step >= 2 * kAhead && step - 2 * kAhead < count)
        requestDetails(ready_[step - 2 * kAhead]);
      if (step >= 3 * kAhead && step - 3 * kAhead < count) addRecord(ready_[step - 3 * kAhead]);
    }
    ready_.clear();
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
      return;
    }
    const auto& token = record.tokens;
    const std::optional<std::int32_t> pmid = parsePubMedId(token[12]);
    if (!pmid) return;
    if (!keepSelf_ && token[0] == token[5]) return;
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
  std::vector<Record> ready_;
  Record pending_;
  std::array<std::array<char, kMaxFieldLength>, kSigColumns> slots_{};
  std::size_t column_ = 0;
  bool cutToken_ = false;
  std::size_t cutLength_ = 0;
  int overlongRecords_ = 0;
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

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

void readSigFile(const char* path, Network& network, int sourceIndex, bool keepSelfInteractions,
                 Output& out) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) {
    out.print("Could not open %s for reading.\n", path);
    return;
  }
  RecordAssembler assembler(network, sourceIndex, keepSelfInteractions, out);
  auto block = std::make_unique<char[]>(kBlockBytes);
  std::size_t got;
  while ((got = std::fread(block.get(), 1, kBlockBytes, file.get())) > 0) {
    assembler.feed(block.get(), got);
  }
  if (std::ferror(file.get())) {
    out.print("Could not open %s for reading.\n", path);
    return;
  }
  assembler.finish();
  if (assembler.overlongRecords() > 0) {
    out.print("Skipped %d records of %s with a field longer than 199 characters.\n",
              assembler.overlongRecords(), path);
  }
}

}  // namespace seedweave
