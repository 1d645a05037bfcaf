// Line editing for answers typed at a terminal: cursor keys, Home and End, word deletion,
// Ctrl-R search, a history of this run's lines (Up and Down) and Tab completion. Built on
// libedit when the build found it; without it, answers are read as plain words.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace seedweave {

class NodeNames;

// What the answer being read is, so that Tab knows what to offer.
enum class AnswerKind { kPlain, kSeed, kFileName };

class LineEditor {
 public:
  virtual ~LineEditor() = default;
  // The next line as typed, without its line end, or nothing at the end of input.
  virtual std::optional<std::string> readLine(AnswerKind kind) = 0;
};

// Whether this build edits answers typed at a terminal.
bool lineEditingBuiltIn();

// An editor for `input` when it is a terminal and line editing is built in; otherwise none.
// `names` must outlive the editor.
std::unique_ptr<LineEditor> openLineEditor(std::FILE* input, NodeNames& names);

}  // namespace seedweave
