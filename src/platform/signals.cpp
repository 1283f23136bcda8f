#include "platform/signals.h"

#include <signal.h>
#include <unistd.h>

#include <initializer_list>

namespace platform {
namespace {

// Whatever SIGTERM does when the signal comes is what happens: the toolkit's quit while it
// runs, the default end before and after.
void EndAsTerminated(int) { ::kill(::getpid(), SIGTERM); }

}  // namespace

void SetUpSignals() {
  // Past the file-size limit a write fails with EFBIG, and the save is refused as any other.
  ::signal(SIGXFSZ, SIG_IGN);
  for (int signal : {SIGHUP, SIGQUIT}) {
    struct sigaction now {};
    if (::sigaction(signal, nullptr, &now) == 0 && now.sa_handler == SIG_IGN) continue;
    struct sigaction ending {};
    ending.sa_handler = EndAsTerminated;
    sigemptyset(&ending.sa_mask);
    ending.sa_flags = SA_RESTART;
    ::sigaction(signal, &ending, nullptr);
  }
}

}  // namespace platform
