// A result file of the program, written so that no one ever sees it half done: the bytes go
// to a temporary file with a short hidden name in the folder of the final name, which is
// renamed over the final name only once it was written and closed without an error. A final
// name that is a symbolic link is written through: the link stays and the file it leads to is
// replaced. Files the run has read are never replaced. At most 32 files may be under way at
// once, and a name is followed through at most 40 links.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/output.hpp"

namespace seedweave {

class OutputFile {
 public:
  enum class Opened {
    yes,
    refused,  // the name cannot be written: too long, a link loop, a folder, no permission,
              // too many files under way
    input,    // the name leads to a file this run has read
  };

  OutputFile() = default;
  // Discards an unfinished file: the temporary file goes, the final name is left as it was.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates the temporary file for `name` without printing anything.
  // Time complexity: O(symbolic links followed).
  Opened create(const std::string& name);
  // create() that reports a refusal: "Could not open <name> for writing." or
  // "<name> is one of the input files; it was not replaced.", and counts it as a failure.
  bool open(const std::string& name, Output& out);
  // The stream to write to; null while no file is open.
  std::FILE* stream() const { return stream_; }
  const std::string& name() const { return name_; }

  // Flushes, closes and renames the file to its final name. When a write, the close or the
  // rename failed (a full disk), prints "Could not write <name> completely.", removes the
  // temporary file, counts a failure and returns false. Finishing a file that is not open
  // does nothing and returns true. Time complexity: O(buffered bytes).
  bool close(Output& out);
  // Closes and removes the temporary file; the final name keeps what it held.
  void discard();

  // Whether any result file of this process was refused by open() or not finished by close().
  static bool anyFailed();
  // The names of the files this process finished, in the order they were finished.
  static const std::vector<std::string>& written();

 private:
  // Writes to a new temporary file with this mode, in the target's folder.
  Opened writeTemporary(mode_t mode);
  // Takes the stream (null when its open failed) and gives it the large buffer.
  Opened writeTo(std::FILE* stream);
  bool finish();

  std::FILE* stream_ = nullptr;
  std::unique_ptr<char[]> buffer_;
  std::string name_;
  std::string target_;               // the file the name leads to, through any symbolic links
  std::optional<std::size_t> slot_;  // the temporary file's entry in the removable files
};

// Marks the file at `path`, read by this run, as one no result file may replace.
void protectInputFile(const char* path);
// The same for an open file.
void protectInputFile(std::FILE* file);

// Removes every unfinished temporary file. Safe to call from a signal handler.
void removeTemporaryFiles() noexcept;

}  // namespace seedweave
