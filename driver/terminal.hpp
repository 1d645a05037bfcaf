// What reading answers does differently when standard input is a terminal: line editing
// with completion (when built in) and suggestions for names typed in the wrong case. On any
// other input it does nothing, so that piped sessions read and print the same bytes.
#pragma once

#include <cstdio>
#include <memory>
#include <string_view>

#include "driver/line_editor.hpp"
#include "driver/node_names.hpp"
#include "store/output.hpp"

namespace seedweave {

class Terminal {
 public:
  Terminal(std::FILE* input, const Network& network);

  // The line editor, or nullptr when answers are read as plain words.
  LineEditor* editor() { return editor_.get(); }

  // At a terminal, the names of nodes that equal `unknown` when case is ignored, on one line
  // of standard error after what `out` holds so far; elsewhere nothing.
  void suggestNames(std::string_view unknown, Output& out);

 private:
  bool interactive_;
  NodeNames names_;
  std::unique_ptr<LineEditor> editor_;
};

}  // namespace seedweave
