// The network's node names in sorted order, for Tab completion and for the suggestions that
// ignore case. Each index is built on its first use, so that loading never pays for it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/network.hpp"

namespace seedweave {

class NodeNames {
 public:
  // The network must not change while this object is in use.
  explicit NodeNames(const Network& network) : network_(network) {}

  // Names that start with `prefix`, in byte order. Time complexity: O(log n + matches), plus
  // O(n log n) on the first use.
  std::vector<std::string_view> withPrefix(std::string_view prefix);

  // At most `limit` names that equal `name` when case is ignored, in byte order.
  // Time complexity: O(log n + limit), plus O(n log n) on the first use.
  std::vector<std::string_view> sameIgnoringCase(std::string_view name, std::size_t limit);

 private:
  void sortNames();
  void foldNames();

  const Network& network_;
  std::vector<std::string_view> sorted_;
  // (lower-case name, name), sorted; built only when a name needs a suggestion.
  std::vector<std::pair<std::string, std::string_view>> folded_;
};

}  // namespace seedweave
