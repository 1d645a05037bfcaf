// Recorded whole runs of the binary, compared byte for byte. Each folder under tests/sessions
// holds a run: `args` (its arguments, one a line), `stdin`, `input/` (its working folder before
// the run) and the expected results: `stdout`, `stderr`, `status` and `expected/` (the working
// folder after the run, symbolic links as "-> TARGET"). FOLDER stands for the working folder's
// path. With SEEDWEAVE_RECORD=1 in the environment the runs are recorded instead of compared:
// review what changed before committing it. The scripted_* sessions answer by options what a
// user would type; quiet_run and loud_run give the same answers with and without -q.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "test_support.hpp"

namespace seedweave {
namespace {

namespace fs = std::filesystem;
using testing::contentOf;
using Files = std::map<std::string, std::string>;

// Every entry under the folder by relative path: a file's bytes, a link's target, and an
// empty text for a folder.
Files snapshot(const fs::path& folder) {
  Files files;
  if (!fs::exists(folder)) return files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().lexically_relative(folder).string();
    if (entry.is_symlink()) {
      files[name] = "-> " + fs::read_symlink(entry.path()).string();
    } else {
      files[name + (entry.is_directory() ? "/" : "")] =
          entry.is_directory() ? "" : contentOf(entry.path());
    }
  }
  return files;
}

void writeSnapshot(const fs::path& folder, const Files& files) {
  fs::remove_all(folder);
  for (const auto& [name, content] : files) {
    const fs::path path = folder / name;
    fs::create_directories(name.ends_with('/') ? path : path.parent_path());
    if (content.starts_with("-> ")) {
      fs::create_symlink(content.substr(3), path);
    } else if (!name.ends_with('/')) {
      std::ofstream(path, std::ios::binary) << content;
    }
  }
}

std::string withFolderNamed(std::string text, const std::string& folder) {
  for (std::size_t at; (at = text.find(folder)) != std::string::npos;) {
    text.replace(at, folder.size(), "FOLDER");
  }
  return text;
}

void replay(const fs::path& session, bool record) {
  testing::TempDir dir;
  if (fs::exists(session / "input")) {
    fs::copy(session / "input", dir.path(),
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  }
  std::vector<std::string> args;
  std::istringstream lines(contentOf(session / "args"));
  for (std::string arg; std::getline(lines, arg);) args.push_back(arg);
  const testing::RunResult result =
      testing::runBinary(dir.path(), args, contentOf(session / "stdin"));
  const std::string folder = fs::canonical(dir.path()).string();
  const Files actual = {{"stdout", withFolderNamed(result.output, folder)},
                        {"stderr", withFolderNamed(result.errors, folder)},
                        {"status", std::to_string(result.status) + "\n"}};
  if (record) {
    for (const auto& [name, content] : actual) std::ofstream(session / name) << content;
    writeSnapshot(session / "expected", snapshot(dir.path()));
    return;
  }
  for (const auto& [name, content] : actual) EXPECT_EQ(content, contentOf(session / name)) << name;
  EXPECT_EQ(snapshot(dir.path()), snapshot(session / "expected"));
}

TEST(Sessions, EachRecordedRunGivesItsOutputStatusAndFiles) {
  const char* record = std::getenv("SEEDWEAVE_RECORD");
  std::vector<fs::path> sessions;
  for (const auto& entry :
       fs::directory_iterator(fs::path(SEEDWEAVE_SOURCE_DIR) / "tests/sessions"))
    sessions.push_back(entry.path());
  std::sort(sessions.begin(), sessions.end());
  EXPECT_GE(sessions.size(), 20u);
  for (const fs::path& session : sessions) {
    SCOPED_TRACE(session.filename().string());
    replay(session, record != nullptr && std::string(record) == "1");
  }
}

}  // namespace
}  // namespace seedweave
