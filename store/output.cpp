#include "store/output.hpp"

#include <cerrno>
#include <cstdarg>

namespace seedweave {

namespace {
constexpr std::size_t kFlushThreshold = 1 << 16;
}

Output::Output(std::FILE* sink) : sink_(sink) {}

Output::~Output() { flush(); }

void Output::print(const char* format, ...) {
  char small[512];
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (length < 0) {
    va_end(again);
    return;
  }
  if (static_cast<std::size_t>(length) < sizeof small) {
    buffer_.append(small, static_cast<std::size_t>(length));
  } else {
    const std::size_t start = buffer_.size();
    buffer_.resize(start + static_cast<std::size_t>(length) + 1);
    std::vsnprintf(buffer_.data() + start, static_cast<std::size_t>(length) + 1, format, again);
    buffer_.resize(start + static_cast<std::size_t>(length));
  }
  va_end(again);
  flushIfLarge();
}

void Output::write(std::string_view text) {
  buffer_.append(text);
  flushIfLarge();
}

void Output::flush() {
  if (sink_ == nullptr) return;
  writeToSink();
  if (std::fflush(sink_) != 0 && sinkError_ == 0) sinkError_ = errno;
}

std::string Output::takeCaptured() {
  std::string text;
  text.swap(buffer_);
  return text;
}

void Output::flushIfLarge() {
  if (sink_ != nullptr && buffer_.size() >= kFlushThreshold) writeToSink();
}

void Output::writeToSink() {
  if (buffer_.empty()) return;
  const std::size_t written = std::fwrite(buffer_.data(), 1, buffer_.size(), sink_);
  if (written != buffer_.size() && sinkError_ == 0) sinkError_ = errno;
  buffer_.clear();
}

}  // namespace seedweave
