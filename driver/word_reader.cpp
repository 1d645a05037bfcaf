#include "driver/word_reader.hpp"

#include <climits>

namespace seedweave {

namespace {
bool isSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
}  // namespace

std::optional<std::string> WordReader::next(AnswerKind kind) {
  if (prompt_ != nullptr) prompt_->flush();
  if (editor_ != nullptr) return nextEdited(kind);
  int c = std::getc(source_);
  while (c != EOF && isSpace(c)) c = std::getc(source_);
  if (c == EOF) return std::nullopt;
  std::string word;
  while (c != EOF && !isSpace(c)) {
    word.push_back(static_cast<char>(c));
    c = std::getc(source_);
  }
  return word;
}

// Several words on one line are several answers, as when they are read straight from input.
std::optional<std::string> WordReader::nextEdited(AnswerKind kind) {
  for (;;) {
    while (position_ < line_.size() && isSpace(static_cast<unsigned char>(line_[position_]))) {
      ++position_;
    }
    if (position_ < line_.size()) break;
    std::optional<std::string> line = editor_->readLine(kind);
    if (!line) return std::nullopt;
    line_ = std::move(*line);
    position_ = 0;
  }
  const std::size_t start = position_;
  while (position_ < line_.size() && !isSpace(static_cast<unsigned char>(line_[position_]))) {
    ++position_;
  }
  return line_.substr(start, position_ - start);
}

int leadingNumber(std::string_view word) {
  std::size_t i = 0;
  while (i < word.size() && isSpace(static_cast<unsigned char>(word[i]))) ++i;
  bool negative = false;
  if (i < word.size() && (word[i] == '+' || word[i] == '-')) negative = word[i++] == '-';
  long long value = 0;
  for (; i < word.size() && word[i] >= '0' && word[i] <= '9'; ++i) {
    value = value * 10 + (word[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) return static_cast<int>(-value);  // value is at most INT_MAX + 1
  return static_cast<int>(value > INT_MAX ? INT_MAX : value);
}

bool isYes(std::string_view word) { return word == "y" || word == "yes"; }
bool isNo(std::string_view word) { return word == "n" || word == "no"; }

}  // namespace seedweave
