// Entry point: seedweave FILE.sig [FILE.sig ...]
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>

#include "driver/run.hpp"

int main(int argc, char** argv) {
  // The clustering of the report is the only user of the random generator.
  std::srand(static_cast<unsigned>(std::clock()));
  try {
    return seedweave::runSeedweave(argc, argv, stdin, stdout);
  } catch (const std::bad_alloc&) {
    std::fflush(stdout);
    std::fputs("Out of memory.\n", stdout);
    std::fflush(stdout);
    return 1;
  }
}
