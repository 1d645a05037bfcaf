// Built when line editing is not: every answer is read as plain words.
#include "driver/line_editor.hpp"

namespace seedweave {

bool lineEditingBuiltIn() { return false; }

std::unique_ptr<LineEditor> openLineEditor(std::FILE*, NodeNames&) { return nullptr; }

}  // namespace seedweave
