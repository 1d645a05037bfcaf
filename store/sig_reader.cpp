#include "store/sig_reader.hpp"

#include <array>
#include <cstdio>
#include <memory>

namespace seedweave {

namespace {

constexpr std::size_t kBlockBytes = 1 << 20;

bool isSpace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Collects tokens into 13 fixed slots, copying each once; a token that outgrows its slot
// marks the record as overlong but is still consumed.
class RecordAssembler {
 public:
  RecordAssembler(Network& network, int sourceIndex, bool keepSelfInteractions, Output& out)
      : network_(network), source_(sourceIndex), keepSelf_(keepSelfInteractions), out_(out) {}

  void feed(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      const auto c = static_cast<unsigned char>(data[i]);
      if (isSpace(c)) {
        if (inToken_) endToken();
      } else {
        inToken_ = true;
        std::size_t& length = lengths_[column_];
        if (length < kMaxFieldLength) {
          slots_[column_][length++] = static_cast<char>(c);
        } else {
          overlong_ = true;
        }
      }
    }
  }

  void finish() {
    if (inToken_) endToken();
  }

  int overlongRecords() const { return overlongRecords_; }

 private:
  std::string_view token(int column) const {
    return {slots_[static_cast<std::size_t>(column)].data(),
            lengths_[static_cast<std::size_t>(column)]};
  }

  void endToken() {
    inToken_ = false;
    if (++column_ < kSigColumns) return;
    processRecord();
    column_ = 0;
    lengths_.fill(0);
    overlong_ = false;
  }

  void processRecord() {
    if (overlong_) {
      ++overlongRecords_;
      return;
    }
    const std::optional<std::int32_t> pmid = parsePubMedId(token(12));
    if (!pmid) return;
    if (!keepSelf_ && token(0) == token(5)) return;
    // Columns 4 and 5 hold the fourth and third attributes, in that crossed order.
    const NodeId first =
        network_.updateAndRetrieveInteractor(token(0), token(1), token(2), token(4), token(3));
    const NodeId second =
        network_.updateAndRetrieveInteractor(token(5), token(6), token(7), token(9), token(8));
    network_.addInteractionToHash(first, second, token(10), token(11), *pmid, source_, out_);
  }

  Network& network_;
  const int source_;
  const bool keepSelf_;
  Output& out_;
  std::array<std::array<char, kMaxFieldLength>, kSigColumns> slots_{};
  std::array<std::size_t, kSigColumns> lengths_{};
  std::size_t column_ = 0;
  bool inToken_ = false;
  bool overlong_ = false;
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
