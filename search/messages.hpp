// Every line the pathway search and the subnetwork construction show the user, in one place.
#pragma once

namespace seedweave::messages {

inline constexpr char kMissingInteraction[] = "missing interaction between %s and %s\n";
inline constexpr char kSearchingSeedList[] =
    "\nSearching for pathways between members of the seed list...\n";
inline constexpr char kDoneSearching[] = "Done searching for pathways...\n";
inline constexpr char kExtractingIntermediates[] =
    "\nPathways found. Extracting list of intermediary nodes...\n";
inline constexpr char kSearchingIntermediatesToSeeds[] =
    "\nSearching for pathways between intermediary nodes and original set of nodes...\n";
inline constexpr char kSearchingAmongIntermediates[] =
    "\nSearching for pathways between intermediary nodes and each other...\n";
// The announcement of one pair's search, "Searching for pathways between A and B of maximum
// length N...", in pieces around the names and the length, so that the millions of such lines
// of a large run are assembled without formatting.
inline constexpr char kSearchingPairStart[] = "Searching for pathways between ";
inline constexpr char kSearchingPairMiddle[] = " and ";
inline constexpr char kSearchingPairEnd[] = " of maximum length ";
inline constexpr char kSearchingPairClose[] = "...\n";

}  // namespace seedweave::messages
