// A result file of the program: opened with a large buffer, closed with a check that every
// byte reached the disk. Failures are reported to the user through Output.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "store/output.hpp"

namespace seedweave {

class OutputFile {
 public:
  OutputFile() = default;
  // Closes a still open file without reporting anything.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates or truncates the file. On failure prints "Could not open <name> for writing."
  // and returns false. Time complexity: O(1).
  bool open(const std::string& name, Output& out);
  bool isOpen() const { return stream_ != nullptr; }
  // The stream to write to; null while no file is open.
  std::FILE* stream() const { return stream_; }
  const std::string& name() const { return name_; }

  // Flushes and closes. When a write or the close failed (a full disk), prints
  // "Could not write <name> completely." and returns false. Closing a file that is not
  // open does nothing and returns true. Time complexity: O(buffered bytes).
  bool close(Output& out);
  // Closes without a message and deletes the file, but only when open() created it: a file
  // that existed before is left in place (emptied by the open). Time complexity: O(1).
  void removeFile();

 private:
  bool closeStream();

  std::FILE* stream_ = nullptr;
  std::unique_ptr<char[]> buffer_;
  std::string name_;
  bool created_ = false;
};

}  // namespace seedweave
