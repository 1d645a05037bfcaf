#include "export/output_file.hpp"

#include <cerrno>

namespace seedweave {

namespace {
// Result files can run to hundreds of megabytes: write them in large blocks.
constexpr std::size_t kBufferSize = 1 << 20;
}  // namespace

OutputFile::~OutputFile() { closeStream(); }

bool OutputFile::open(const std::string& name, Output& out) {
  closeStream();
  name_ = name;
  // "x" fails on an existing file, which tells whether this open creates the file.
  stream_ = std::fopen(name.c_str(), "wx");
  created_ = stream_ != nullptr;
  if (stream_ == nullptr && errno == EEXIST) stream_ = std::fopen(name.c_str(), "w");
  if (stream_ == nullptr) {
    out.print("Could not open %s for writing.\n", name.c_str());
    return false;
  }
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
  std::setvbuf(stream_, buffer_.get(), _IOFBF, kBufferSize);
  return true;
}

bool OutputFile::close(Output& out) {
  if (stream_ == nullptr) return true;
  if (closeStream()) return true;
  out.print("Could not write %s completely.\n", name_.c_str());
  return false;
}

void OutputFile::removeFile() {
  closeStream();
  if (created_) std::remove(name_.c_str());
  created_ = false;
}

bool OutputFile::closeStream() {
  if (stream_ == nullptr) return true;
  const bool writesFailed = std::ferror(stream_) != 0;
  const bool closeFailed = std::fclose(stream_) != 0;
  stream_ = nullptr;
  return !writesFailed && !closeFailed;
}

}  // namespace seedweave
