// Every line the writers and the clique, cycle and neighbour files show the user, in one place.
#pragma once

namespace seedweave::messages {

inline constexpr char kPreparingCycles[] =
    "Preparing to find cycles of up to size %d originating from %s.\n";
inline constexpr char kSavingCliques[] = "Saving cliques originating with %s to file %s\n";
inline constexpr char kSavingCycles[] = "Saving cycles of size %d originating with %s to file %s\n";
inline constexpr char kSavingNeighbours[] = "Saving neighbors of %s to file %s\n";
// The endings of a node's file names: cliques, cycles of a size (between "-" and this), and
// neighbours.
inline constexpr char kCliquesFileEnding[] = "-cliques.txt";
inline constexpr char kCyclesFileEnding[] = "cycles.txt";
inline constexpr char kNeighboursFileEnding[] = "-neighbors.txt";
inline constexpr char kInputNotReplaced[] = "%s is one of the input files; it was not replaced.\n";
inline constexpr char kCannotWrite[] = "Could not open %s for writing.\n";
inline constexpr char kIncompleteWrite[] = "Could not write %s completely.\n";

}  // namespace seedweave::messages
