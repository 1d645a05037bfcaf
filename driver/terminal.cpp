#include "driver/terminal.hpp"

#include <unistd.h>

#include <string>
#include <vector>

#include "driver/messages.hpp"

namespace seedweave {

namespace {
constexpr std::size_t kMaxSuggestions = 3;

// The suggestion line for up to three names: "seedweave: did you mean A, B or C?".
std::string suggestionLine(const std::vector<std::string_view>& names) {
  std::string listed;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) listed += i + 1 == names.size() ? " or " : ", ";
    listed += names[i];
  }
  return messages::kDidYouMean + listed + "?\n";
}
}  // namespace

Terminal::Terminal(std::FILE* input, const Network& network)
    : interactive_(::isatty(::fileno(input)) != 0),
      names_(network),
      editor_(openLineEditor(input, names_)) {}

void Terminal::suggestNames(std::string_view unknown, Output& out) {
  if (!interactive_) return;
  const std::vector<std::string_view> names = names_.sameIgnoringCase(unknown, kMaxSuggestions);
  if (names.empty()) return;
  out.flush();
  std::fputs(suggestionLine(names).c_str(), stderr);
}

}  // namespace seedweave
