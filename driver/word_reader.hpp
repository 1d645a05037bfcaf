// Words of the dialogue: maximal runs of non-white-space characters, of any length, read
// from standard input or from a seed file; at a terminal, from the lines of a line editor.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "driver/line_editor.hpp"
#include "store/output.hpp"

namespace seedweave {

// The white space that separates words.
inline constexpr std::string_view kBlanks = " \t\n\r\v\f";
inline bool isBlank(int c) { return kBlanks.find(static_cast<char>(c)) != std::string_view::npos; }

class WordReader {
 public:
  // When `prompt` is given, it is flushed before every read so that the user sees the
  // question before the program waits. When `editor` is given, words come from its lines
  // instead of straight from `source`.
  explicit WordReader(std::FILE* source, Output* prompt = nullptr, LineEditor* editor = nullptr)
      : source_(source), prompt_(prompt), editor_(editor) {}

  // The next word, or nothing at the end of the input; `kind` tells the line editor what
  // Tab should complete. Time complexity: O(word length).
  std::optional<std::string> next(AnswerKind kind = AnswerKind::kPlain);
  bool failed() const { return std::ferror(source_); }

 private:
  std::optional<std::string> nextEdited(AnswerKind kind);

  std::FILE* source_;
  Output* prompt_;
  LineEditor* editor_;
  // The edited line being split into words, and how far it has been read (npos: all of it).
  std::string line_;
  std::size_t position_{};
};

// The number at the start of a word, read as atoi reads it (optional sign, leading digits,
// 0 when there are none) but held at the int range instead of overflowing.
int leadingNumber(std::string_view word);

bool isYes(std::string_view word);
bool isNo(std::string_view word);

}  // namespace seedweave
