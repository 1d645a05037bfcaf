// Identifiers of store records. A record's id is its creation index: records created
// earlier have lower ids, and every ordered set of records is ordered by id.
#pragma once

#include <cstdint>

namespace seedweave {

using NodeId = std::int32_t;
using InteractionId = std::int32_t;
using TextId = std::uint32_t;
using TallyId = std::int32_t;

// The absent record: a lookup that finds nothing returns it.
inline constexpr std::int32_t none = -1;

}  // namespace seedweave
