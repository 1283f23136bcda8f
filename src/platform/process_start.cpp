#include "platform/process_start.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/signals.h"

namespace platform {

void PrepareProcess() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free number is this one: those below it are open by now.
    const int nothing = ::open("/dev/null", O_RDWR);
    if (nothing >= 0 && nothing != fd) {
      ::dup2(nothing, fd);
      ::close(nothing);
    }
  }
  SetUpSignals();
}

}  // namespace platform
