#include "driver/node_names.hpp"

#include <algorithm>

namespace seedweave {

namespace {
// ASCII letters only, whatever the locale, so that the same names always match.
std::string lowerCase(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lowered;
}
}  // namespace

void NodeNames::sortNames() {
  const std::size_t count = network_.nodeCount();
  for (std::size_t id = 0; id < count; ++id)
    sorted_.push_back(network_.name(static_cast<NodeId>(id)));
  std::sort(sorted_.begin(), sorted_.end());
}

void NodeNames::foldNames() {
  const std::size_t count = network_.nodeCount();
  for (std::size_t id = 0; id < count; ++id) {
    const std::string_view name = network_.name(static_cast<NodeId>(id));
    folded_.emplace_back(lowerCase(name), name);
  }
  std::sort(folded_.begin(), folded_.end());
}

std::vector<std::string_view> NodeNames::withPrefix(std::string_view prefix) {
  if (sorted_.empty()) sortNames();
  std::vector<std::string_view> names;
  for (auto it = std::lower_bound(sorted_.begin(), sorted_.end(), prefix);
       it != sorted_.end() && it->starts_with(prefix); ++it) {
    names.push_back(*it);
  }
  return names;
}

std::vector<std::string_view> NodeNames::sameIgnoringCase(std::string_view name,
                                                          std::size_t limit) {
  if (folded_.empty()) foldNames();
  const std::string key = lowerCase(name);
  std::vector<std::string_view> names;
  auto it =
      std::lower_bound(folded_.begin(), folded_.end(), key,
                       [](const auto& entry, const std::string& k) { return entry.first < k; });
  for (; it != folded_.end() && it->first == key && names.size() < limit; ++it) {
    names.push_back(it->second);
  }
  return names;
}

}  // namespace seedweave
