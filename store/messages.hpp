// Every line the store and the SIG reader show the user, in one place.
#pragma once

namespace seedweave::messages {

inline constexpr char kCannotRead[] = "Could not open %s for reading.\n";
inline constexpr char kSkippedLongFields[] =
    "Skipped %d records of %s with a field longer than 199 characters.\n";
inline constexpr char kSkippedNulFields[] =
    "Skipped %d records of %s with a NUL byte in a field.\n";
inline constexpr char kReleasingRecords[] = "preparing to loop through hashes...\n";

}  // namespace seedweave::messages
