// The one channel for user-visible lines. The driver hands it to every library call that
// prints; tests construct it without a sink and read what was captured.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace seedweave {

// The text that printf would print with these arguments.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

class Output {
 public:
  // With a sink, text goes to the sink's stream, and flush() flushes it. Without one,
  // everything is kept and can be read back with captured().
  explicit Output(std::FILE* sink = nullptr);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void print(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void write(std::string_view text);
  void flush();

  // The errno of the first write to the sink that failed, or 0 while none has.
  int sinkError() const { return sinkError_; }

  const std::string& captured() const { return buffer_; }
  std::string takeCaptured();

 private:
  void noteSinkError();

  std::FILE* sink_;
  std::string buffer_;
  int sinkError_ = 0;
};

}  // namespace seedweave
