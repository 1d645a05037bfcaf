// Entry point: seedweave [OPTIONS] FILE.sig...
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <new>

#include "driver/messages.hpp"
#include "driver/run.hpp"
#include "export/output_file.hpp"

namespace {

// An interrupted run leaves no temporary file behind and then ends as the signal would have
// ended it, so that the caller sees status 128 + n.
extern "C" void removeTemporaryFilesAndDie(int signal) {
  seedweave::removeTemporaryFiles();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void removeTemporaryFilesOnSignals() {
  struct sigaction action {};
  action.sa_handler = removeTemporaryFilesAndDie;
  sigfillset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  // A reader that went away is a failed write of standard output, not the end of the run.
  std::signal(SIGPIPE, SIG_IGN);
}

// A closed standard stream would hand its descriptor to the first result file, and the
// dialogue would be written into it. Standard output gets a descriptor that fails every
// write, so that the failure is reported; the others read nothing and discard everything.
void occupyClosedStandardStreams() {
  for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (::fcntl(fd, F_GETFD) != -1) continue;
    const int flags = fd == STDERR_FILENO ? O_WRONLY : O_RDONLY;
    const int opened = ::open("/dev/null", flags);
    if (opened != fd) ::close(opened);  // close(-1) just fails
  }
}

int outOfMemory() {
  std::fflush(stdout);
  std::fputs(seedweave::messages::kOutOfMemory, stdout);
  if (std::fflush(stdout) != 0) {
    std::fprintf(stderr, seedweave::messages::kStdoutFailed, std::strerror(errno));
  }
  return EXIT_FAILURE;
}

}  // namespace

int main(int argc, char** argv) {
  occupyClosedStandardStreams();
  removeTemporaryFilesOnSignals();
  // The clustering of the report is the only user of the random generator.
  std::srand(static_cast<unsigned>(std::clock()));
  try {
    return seedweave::runSeedweave(argc, argv, stdin, stdout, stderr);
  } catch (const std::bad_alloc&) {
    return outOfMemory();
  } catch (const std::exception& error) {
    std::fflush(stdout);
    std::fprintf(stderr, seedweave::messages::kInternalError, error.what());
    return EXIT_FAILURE;
  }
}
