#include "export/output_file.hpp"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "export/messages.hpp"

namespace seedweave {

namespace {

// Result files can run to hundreds of megabytes: write them in large blocks.
constexpr std::size_t kBufferSize = 1 << 20;
// As many links as the system itself follows before it calls a name a loop.
constexpr int kMaxLinks = 40;
// Short, so that a final name near the length limit still leaves room for it.
constexpr char kTemporaryPattern[] = ".swXXXXXX";

// The temporary files being written, kept where a signal handler can read them: a slot's
// path is complete before the slot is marked used.
struct TemporarySlot {
  std::atomic<bool> used{};
  char path[PATH_MAX] = {};
};
static_assert(std::atomic<bool>::is_always_lock_free, "read by the signal handler");
std::array<TemporarySlot, 32> temporaries;

// Device and inode of every file the run has read.
std::vector<std::pair<dev_t, ino_t>> inputFiles;

bool isInput(const struct stat& info) {
  for (const auto& [device, inode] : inputFiles) {
    if (device == info.st_dev && inode == info.st_ino) return true;
  }
  return false;
}

bool failedAny = false;
std::vector<std::string> writtenNames;

// The file that `path` leads to through symbolic links, which need not exist; empty when a
// name on the way cannot be looked up (too long, no permission) or the links form a loop.
std::string followLinks(std::string path) {
  for (int links = 0; links <= kMaxLinks; ++links) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT ? path : std::string();
    if (!S_ISLNK(info.st_mode)) return path;
    std::array<char, PATH_MAX> buffer;
    const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (length <= 0) return std::string();
    std::string target(buffer.data(), static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    if (target.front() != '/' && slash != std::string::npos) {
      target.insert(0, path, 0, slash + 1);
    }
    path = std::move(target);
  }
  return std::string();
}

// The temporary file's path: in the same folder as the target, so that the rename stays on
// one file system and cannot be seen half done.
std::string temporaryPathFor(const std::string& target) {
  return std::filesystem::path(target).replace_filename(kTemporaryPattern).string();
}

// The mode a new file would get from open(): read and write for all, less the umask.
mode_t newFileMode() {
  static const mode_t mode = [] {
    // While the mask is probed, a file created by another thread gets no permissions at all.
    const mode_t mask = ::umask(S_IRWXU | S_IRWXG | S_IRWXO);
    ::umask(mask);
    return 0666 & ~mask;
  }();
  return mode;
}

struct Temporary {
  int fd;
  std::size_t slot;
};

// Creates the temporary file in a free slot; nothing when the path is too long, every slot is
// taken or the file cannot be created.
std::optional<Temporary> createTemporary(const std::string& path) {
  if (path.size() >= PATH_MAX) return std::nullopt;
  for (std::size_t slot = 0; slot < temporaries.size(); ++slot) {
    TemporarySlot& entry = temporaries[slot];
    if (entry.used) continue;
    std::strcpy(entry.path, path.c_str());
    // Marked before the file exists, so that a signal after mkstemp still finds it.
    entry.used = true;
    const int fd = ::mkstemp(entry.path);
    if (fd >= 0) return Temporary{fd, slot};
    entry.used = false;
    return std::nullopt;
  }
  return std::nullopt;
}

void releaseSlot(std::size_t slot, bool removeFile) {
  TemporarySlot& entry = temporaries[slot];
  if (removeFile) ::unlink(entry.path);
  entry.used = false;
}

}  // namespace

OutputFile::~OutputFile() { discard(); }

OutputFile::Opened OutputFile::create(const std::string& name) {
  discard();
  name_ = name;
  target_ = followLinks(name);
  if (target_.empty()) return Opened::refused;
  struct stat info;
  if (::stat(target_.c_str(), &info) != 0) return writeTemporary(newFileMode());
  if (isInput(info)) return Opened::input;
  if (S_ISDIR(info.st_mode) || ::access(target_.c_str(), W_OK) != 0) return Opened::refused;
  // A device or a pipe cannot be renamed over: it is written in place.
  if (!S_ISREG(info.st_mode)) return writeTo(std::fopen(target_.c_str(), "w"));
  return writeTemporary(info.st_mode & 0777);
}

OutputFile::Opened OutputFile::writeTemporary(mode_t mode) {
  const std::optional<Temporary> temporary = createTemporary(temporaryPathFor(target_));
  if (!temporary) return Opened::refused;
  slot_ = temporary->slot;
  ::fchmod(temporary->fd, mode);
  std::FILE* stream = ::fdopen(temporary->fd, "w");
  if (stream == nullptr) ::close(temporary->fd);
  return writeTo(stream);
}

OutputFile::Opened OutputFile::writeTo(std::FILE* stream) {
  stream_ = stream;
  if (stream_ == nullptr) {
    discard();  // a refused file leaves no temporary file behind
    return Opened::refused;
  }
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
  std::setvbuf(stream_, buffer_.get(), _IOFBF, kBufferSize);
  return Opened::yes;
}

bool OutputFile::open(const std::string& name, Output& out) {
  const Opened opened = create(name);
  if (opened == Opened::yes) return true;
  failedAny = true;
  if (opened == Opened::input) {
    out.print(messages::kInputNotReplaced, name.c_str());
  } else {
    out.print(messages::kCannotWrite, name.c_str());
  }
  return false;
}

bool OutputFile::close(Output& out) {
  if (stream_ == nullptr) return true;
  if (finish()) {
    writtenNames.push_back(name_);
    return true;
  }
  failedAny = true;
  out.print(messages::kIncompleteWrite, name_.c_str());
  return false;
}

void OutputFile::discard() {
  if (stream_ != nullptr) std::fclose(stream_);
  stream_ = nullptr;
  if (slot_) releaseSlot(*slot_, true);
  slot_.reset();
}

bool OutputFile::finish() {
  const bool writesFailed = std::ferror(stream_) != 0;
  const bool closeFailed = std::fclose(stream_) != 0;
  stream_ = nullptr;
  if (!slot_) return !writesFailed && !closeFailed;
  const char* temporary = temporaries[*slot_].path;
  const bool renamed =
      !writesFailed && !closeFailed && std::rename(temporary, target_.c_str()) == 0;
  releaseSlot(*slot_, !renamed);
  slot_.reset();
  return renamed;
}

bool OutputFile::anyFailed() { return failedAny; }

const std::vector<std::string>& OutputFile::written() { return writtenNames; }

void protectInputFile(const char* path) {
  struct stat info;
  if (::stat(path, &info) == 0) inputFiles.emplace_back(info.st_dev, info.st_ino);
}

void protectInputFile(std::FILE* file) {
  struct stat info;
  if (::fstat(::fileno(file), &info) == 0) inputFiles.emplace_back(info.st_dev, info.st_ino);
}

void removeTemporaryFiles() noexcept {
  for (TemporarySlot& entry : temporaries) {
    if (entry.used) ::unlink(entry.path);
  }
}

}  // namespace seedweave
