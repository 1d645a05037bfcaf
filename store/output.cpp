#include "store/output.hpp"

#include <cerrno>
#include <cstdarg>

namespace seedweave {

namespace {

// Appends the formatted text to `text`. The formats are the program's own, checked when it is
// compiled, so formatting cannot fail. vsnprintf ends the text with the string's own NUL.
void appendFormatted(std::string& text, const char* format, std::va_list args) {
  std::va_list measuring;
  va_copy(measuring, args);
  const auto length = static_cast<std::size_t>(std::vsnprintf(nullptr, 0, format, measuring));
  va_end(measuring);
  const std::size_t start = text.size();
  text.resize(start + length);
  std::vsnprintf(text.data() + start, length + 1, format, args);
}

}  // namespace

std::string formatText(const char* format, ...) {
  std::string text;
  std::va_list args;
  va_start(args, format);
  appendFormatted(text, format, args);
  va_end(args);
  return text;
}

Output::Output(std::FILE* sink) : sink_(sink) {}

Output::~Output() { flush(); }

void Output::print(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  if (sink_ == nullptr) {
    appendFormatted(buffer_, format, args);
  } else if (std::vfprintf(sink_, format, args) < 0) {
    noteSinkError();
  }
  va_end(args);
}

void Output::write(std::string_view text) {
  if (sink_ == nullptr) {
    buffer_.append(text);
  } else if (std::fwrite(text.data(), 1, text.size(), sink_) != text.size()) {
    noteSinkError();
  }
}

void Output::flush() {
  if (sink_ != nullptr && std::fflush(sink_) != 0) noteSinkError();
}

std::string Output::takeCaptured() {
  std::string text;
  text.swap(buffer_);
  return text;
}

void Output::noteSinkError() {
  if (sinkError_ == 0) sinkError_ = errno;
}

}  // namespace seedweave
