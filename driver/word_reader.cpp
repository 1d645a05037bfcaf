#include "driver/word_reader.hpp"

#include <algorithm>
#include <climits>

namespace seedweave {

namespace {
// The largest magnitude an int can hold, that of INT_MIN.
constexpr long long kMagnitudeLimit = static_cast<long long>(INT_MAX) + 1;
}  // namespace

std::optional<std::string> WordReader::next(AnswerKind kind) {
  if (prompt_ != nullptr) prompt_->flush();
  if (editor_ != nullptr) return nextEdited(kind);
  int c = std::getc(source_);
  while (c != EOF && isBlank(c)) c = std::getc(source_);
  if (c == EOF) return std::nullopt;
  std::string word;
  while (c != EOF && !isBlank(c)) {
    word.push_back(static_cast<char>(c));
    c = std::getc(source_);
  }
  return word;
}

// Several words on one line are several answers, as when they are read straight from input.
std::optional<std::string> WordReader::nextEdited(AnswerKind kind) {
  std::size_t start = line_.find_first_not_of(kBlanks, position_);
  while (start == std::string::npos) {
    std::optional<std::string> line = editor_->readLine(kind);
    if (!line) return std::nullopt;
    line_ = std::move(*line);
    start = line_.find_first_not_of(kBlanks);
  }
  position_ = line_.find_first_of(kBlanks, start);  // npos when the word ends the line
  return line_.substr(start, position_ - start);
}

int leadingNumber(std::string_view word) {
  std::size_t i = 0;
  while (i < word.size() && isBlank(word[i])) ++i;
  bool negative = false;
  if (i < word.size() && (word[i] == '+' || word[i] == '-')) negative = word[i++] == '-';
  long long value = 0;
  for (; i < word.size() && word[i] >= '0' && word[i] <= '9'; ++i) {
    value = std::min(value * 10 + (word[i] - '0'), kMagnitudeLimit);
  }
  if (negative) return static_cast<int>(-value);
  return static_cast<int>(std::min<long long>(value, INT_MAX));
}

bool isYes(std::string_view word) { return word == "y" || word == "yes"; }
bool isNo(std::string_view word) { return word == "n" || word == "no"; }

}  // namespace seedweave
