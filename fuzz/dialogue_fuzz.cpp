// Fuzz target: arbitrary bytes as the answers of a whole run over a small fixed network, with
// a seed file at hand. The run works in a scratch folder, emptied of its results after each
// input, so that every input starts from the same files.
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver/run.hpp"

namespace {

// A triangle with a tail, two sources, a busy article, and names with path separators.
constexpr const char* kNetwork =
    "A a1 a2 a3 a4 B b1 b2 b3 b4 0 Binding 1\n"
    "B NA NA NA NA C NA NA NA NA 0 Binding 2\n"
    "C NA NA NA NA A NA NA NA NA 1 Colocalization 1\n"
    "C NA NA NA NA D/x NA NA NA NA 0 Binding 3\n"
    "D/x NA NA NA NA E\\y NA NA NA NA 0 Binding 1\n"
    "E\\y NA NA NA NA A NA NA NA NA 0 Binding 4\n";
constexpr const char* kSecondSource = "A NA NA NA NA B NA NA NA NA 0 Binding 1\n";
constexpr const char* kInputs[] = {"net.sig", "more.sig", "seeds.txt"};

void writeFile(const char* name, const char* content) {
  std::FILE* file = std::fopen(name, "w");
  std::fputs(content, file);
  std::fclose(file);
}

bool isInput(const std::string& name) {
  for (const char* input : kInputs) {
    if (name == input) return true;
  }
  return name == "." || name == "..";
}

void removeFiles(bool inputsToo) {
  DIR* folder = ::opendir(".");
  while (const dirent* entry = ::readdir(folder)) {
    if (inputsToo || !isInput(entry->d_name)) ::unlink(entry->d_name);
  }
  ::closedir(folder);
}

char scratchFolder[] = "/tmp/seedweave-fuzz-XXXXXX";

void removeScratchFolder() {
  removeFiles(true);
  ::rmdir(scratchFolder);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (::mkdtemp(scratchFolder) == nullptr || ::chdir(scratchFolder) != 0) std::abort();
  std::atexit(removeScratchFolder);
  writeFile("net.sig", kNetwork);
  writeFile("more.sig", kSecondSource);
  writeFile("seeds.txt", "A C\nD/x nothing\n");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* answers = size == 0 ? std::fopen("/dev/null", "r")
                                 : ::fmemopen(const_cast<std::uint8_t*>(data), size, "r");
  std::FILE* output = std::fopen("/dev/null", "w");
  char program[] = "seedweave";
  char first[] = "net.sig";
  char second[] = "more.sig";
  char* argv[] = {program, first, second, nullptr};
  seedweave::runSeedweave(3, argv, answers, output, output);
  std::fclose(answers);
  std::fclose(output);
  removeFiles(false);
  return 0;
}
