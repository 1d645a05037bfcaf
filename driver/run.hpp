// The phases of a run, from loading the SIG files to releasing the network.
#pragma once

#include <cstdio>

namespace seedweave {

// Runs the whole program on the given command line; returns the exit status. Usage errors,
// warnings and summaries go to `errors`.
int runSeedweave(int argc, char** argv, std::FILE* input, std::FILE* output, std::FILE* errors);

}  // namespace seedweave
