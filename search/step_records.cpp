#include "search/step_records.hpp"

namespace seedweave {

StepRecords::StepRecords(const Network& network)
    : network_(network),
      fromFirst_(network.interactionCount(), kUnknown),
      fromSecond_(network.interactionCount(), kUnknown) {}

}  // namespace seedweave
