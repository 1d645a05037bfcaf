#include "driver/completion.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "driver/messages.hpp"
#include "driver/word_reader.hpp"
#include "store/output.hpp"

namespace seedweave {

namespace fs = std::filesystem;

namespace {

// The folder part of `word` (up to its last '/') as it should be offered: `~/` becomes the
// home folder.
std::string offeredFolder(std::string_view folder) {
  const char* home = std::getenv("HOME");
  if (folder.starts_with("~/") && home != nullptr) return home + std::string(folder.substr(1));
  return std::string(folder);
}

std::vector<std::string> pathCompletions(std::string_view word) {
  const std::size_t slash = word.rfind('/');
  const std::size_t stemStart = slash == std::string_view::npos ? 0 : slash + 1;
  const std::string folder = offeredFolder(word.substr(0, stemStart));
  const std::string_view stem = word.substr(stemStart);
  std::vector<std::string> paths;
  std::error_code error;
  for (fs::directory_iterator entry(folder.empty() ? "." : folder, error), end;
       !error && entry != end; entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (!name.starts_with(stem) || std::ranges::any_of(name, isBlank)) continue;
    if (name.starts_with('.') && !stem.starts_with('.')) continue;
    std::error_code ignored;
    paths.push_back(folder + name + (entry->is_directory(ignored) ? "/" : ""));
  }
  return paths;
}

}  // namespace

std::vector<std::string> completionsOf(std::string_view word, AnswerKind kind, NodeNames& names) {
  if (kind == AnswerKind::kPlain) return {};
  std::vector<std::string> candidates;
  if (kind == AnswerKind::kSeed) {
    const std::vector<std::string_view> matches = names.withPrefix(word);
    candidates.assign(matches.begin(), matches.end());
  }
  // The names come sorted; merging in the few paths keeps a Tab linear in the candidates.
  const auto namesEnd = static_cast<std::ptrdiff_t>(candidates.size());
  std::vector<std::string> paths = pathCompletions(word);
  std::sort(paths.begin(), paths.end());
  std::move(paths.begin(), paths.end(), std::back_inserter(candidates));
  std::inplace_merge(candidates.begin(), candidates.begin() + namesEnd, candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  return candidates;
}

std::string commonPrefix(const std::vector<std::string>& candidates) {
  if (candidates.empty()) return {};
  std::string_view prefix = candidates.front();
  for (const std::string& candidate : candidates) {
    const auto differ =
        std::mismatch(prefix.begin(), prefix.end(), candidate.begin(), candidate.end());
    prefix = prefix.substr(0, static_cast<std::size_t>(differ.first - prefix.begin()));
  }
  return std::string(prefix);
}

std::string candidateListing(const std::vector<std::string>& candidates, int columns, int rows) {
  const auto length = [](const std::string& candidate) { return candidate.size(); };
  const std::size_t width = std::ranges::max(candidates, {}, length).size() + 2;
  const auto perRow = static_cast<std::size_t>(std::max(1, columns / static_cast<int>(width)));
  const std::size_t lines = static_cast<std::size_t>(std::max(rows - 2, 1));
  const bool fits = candidates.size() <= perRow * lines;
  const std::size_t shown = fits ? candidates.size() : perRow * (lines - 1);
  std::string listing;
  for (std::size_t i = 0; i < shown; ++i) {
    const bool rowEnds = (i + 1) % perRow == 0 || i + 1 == shown;
    listing += candidates[i];
    listing += rowEnds ? std::string("\n") : std::string(width - candidates[i].size(), ' ');
  }
  if (!fits) {
    listing += formatText(messages::kMoreCandidates, candidates.size() - shown, candidates.size());
  }
  return listing;
}

}  // namespace seedweave
