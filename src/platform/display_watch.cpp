#include "platform/display_watch.h"

#include <SDL.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

#include "platform/failure.h"
#include "platform/paths.h"

extern char** environ;

namespace platform {
namespace {

using namespace std::chrono_literals;

// Waits for one byte from the watcher, or for its end of the socket to close; false when
// neither comes in time.
bool Hear(int socket, char& byte, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd ready{socket, POLLIN, 0};
    const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
    if (polled < 0 && errno == EINTR) continue;
    if (polled <= 0) return false;
    const ssize_t n = ::recv(socket, &byte, 1, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) byte = '\0';
    return true;
  }
}

void Tell(int socket, char byte) {
  if (socket >= 0) ::send(socket, &byte, 1, MSG_NOSIGNAL);
}

}  // namespace

DisplayWatch::~DisplayWatch() {
  if (socket_ >= 0) ::close(socket_);
}

void DisplayWatch::Start() {
  if (socket_ >= 0) return;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::strcmp(driver, "x11") != 0) return;
  const std::string program = ProgramFile(display_watch::kFileName);
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
    Report(std::string("the display mode goes unwatched: ") + std::strerror(errno));
    return;
  }
  // Moved past the channel's number, as a descriptor put onto itself would stay
  // close-on-exec.
  if (ends[1] <= display_watch::kChannel) {
    const int moved = ::fcntl(ends[1], F_DUPFD_CLOEXEC, display_watch::kChannel + 1);
    ::close(ends[1]);
    ends[1] = moved;
  }
  // Nothing of the program's but the socket and the standard descriptors reaches the
  // watcher, and in a session of its own it gets no signal meant for the program's terminal.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], display_watch::kChannel);
  posix_spawn_file_actions_addclosefrom_np(&actions, display_watch::kChannel + 1);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, all_defaults;
  sigemptyset(&none);
  sigfillset(&all_defaults);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all_defaults);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  char* argv[] = {const_cast<char*>(display_watch::kFileName), nullptr};
  const int failed =
      ::posix_spawn(&watcher_, program.c_str(), &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  ::close(ends[1]);
  socket_ = ends[0];
  if (failed != 0) {
    watcher_ = -1;
    Close();
    Report("the display mode goes unwatched: " + program + ": " + std::strerror(failed));
    return;
  }
  char said = '\0';
  if (!Hear(socket_, said, 10s) || said != display_watch::kReady) {
    ::kill(watcher_, SIGKILL);
    ::waitpid(watcher_, nullptr, 0);
    watcher_ = -1;
    Close();
    Report("the display mode goes unwatched: its watcher did not start");
  }
}

void DisplayWatch::ModeSet() { Tell(socket_, display_watch::kModeSet); }

void DisplayWatch::Done() {
  if (socket_ < 0) return;
  Tell(socket_, display_watch::kDone);
  // The watcher closes its end as it goes; one that lingers is left to end by itself.
  char said;
  if (Hear(socket_, said, 2s) && said == '\0') {
    ::waitpid(watcher_, nullptr, 0);
    watcher_ = -1;
  }
  Close();
}

void DisplayWatch::Close() {
  if (socket_ >= 0) ::close(socket_);
  socket_ = -1;
  if (watcher_ > 0) ::waitpid(watcher_, nullptr, WNOHANG);
  watcher_ = -1;
}

}  // namespace platform
