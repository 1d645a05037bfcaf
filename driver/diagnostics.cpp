#include "driver/diagnostics.hpp"

namespace seedweave {

void Diagnostics::print(std::string_view line) {
  dialogue_.flush();
  std::fputs("seedweave: ", sink_);
  std::fwrite(line.data(), 1, line.size(), sink_);
  std::fflush(sink_);
}

}  // namespace seedweave
