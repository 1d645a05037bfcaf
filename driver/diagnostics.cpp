#include "driver/diagnostics.hpp"

#include <cstdarg>

namespace seedweave {

void Diagnostics::print(const char* format, ...) {
  dialogue_.flush();
  std::fputs("seedweave: ", sink_);
  std::va_list args;
  va_start(args, format);
  std::vfprintf(sink_, format, args);
  va_end(args);
  std::fflush(sink_);
}

}  // namespace seedweave
