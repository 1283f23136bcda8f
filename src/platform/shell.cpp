#include "platform/shell.h"

#include <SDL.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sstream>
#include <vector>

#include "platform/failure.h"
#include "platform/paths.h"
#include "platform/threads.h"

namespace platform {
namespace {

// Reaps the child by its pid on a thread of its own when it ends, so that it never lingers
// as a zombie and no other child of the program is waited for. Without a thread for it, the
// child is left to be reaped when the program ends.
void ReapWhenEnded(pid_t pid, std::function<void(bool succeeded)> ended) {
  MakeThread("to wait for a program it started", [pid, ended = std::move(ended)] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (ended) ended(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }).detach();
}

// Runs the program in a session of its own, so that it outlives us and takes no signal
// meant for our terminal, in `directory` when one is named. It gets standard input and output
// on /dev/null, our stderr, no other descriptor of ours, and the signals as a program starts
// with them. Nothing waits for it here. Gives the pid, or -errno when it could not be
// started. `ended`, when given, hears whether it ended with status 0.
pid_t StartDetached(const std::vector<std::string>& arguments, const std::string& directory = "",
                    std::function<void(bool succeeded)> ended = {}) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, ours;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  // What the program ignores (SIGXFSZ) is not the other program's choice to inherit.
  sigfillset(&ours);
  posix_spawnattr_setsigdefault(&attributes, &ours);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t pid = -1;
  const int error = ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return -error;
  ReapWhenEnded(pid, std::move(ended));
  return pid;
}

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The go-between, a shell of its own rather than a copy of this program: it starts the opener
// with its output going nowhere, waits for it and, when it fails, writes one line to the
// stderr it has from us, even after we have ended. Its status is the opener's success. The
// shell tells an opener it could not run by 126 and 127; above 128 it was ended by a signal.
constexpr const char* kGoBetween = R"sh(
"$1" "$2" </dev/null >/dev/null 2>&1
status=$?
case $status in
  0) exit 0 ;;
  126) how="could not be started: Permission denied" ;;
  127) how="could not be started: No such file or directory" ;;
  *) if [ "$status" -gt 128 ]; then how="ended by signal $((status - 128))"
     else how="ended with status $status"; fi ;;
esac
printf '%s%s\n' "$3" "$how" >&2
exit 1
)sh";

// Starts the opener for the address through the go-between, in a session of its own, with
// no descriptor of ours but the standard three: the program never waits for the opener,
// whose own complaints would flood our stderr when no browser is to be found. Gives false
// when nothing could be started; `ended` hears whether the opener succeeded.
bool StartOpener(const std::string& opener, const std::string& address,
                 const std::string& directory, std::function<void(bool succeeded)> ended) {
  // A name still without a folder was not found on PATH.
  if (opener.find('/') == std::string::npos || !IsExecutableFile(opener)) {
    Report("the page " + address + " was not opened: no " + opener + " on PATH");
    return false;
  }
  const std::string told =
      "colouring-book: the page " + address + " was not opened: " + opener + " ";
  std::vector<std::string> arguments{"/bin/sh", "-c",    kGoBetween, "colouring-book-opener",
                                     opener,    address, told};
  const pid_t go_between = StartDetached(arguments, directory, std::move(ended));
  if (go_between < 0) {
    Report("the page " + address + " was not opened: " + std::strerror(-go_between));
    return false;
  }
  return true;
}

// A name with no folder in it is looked for on PATH, as a command line would.
std::string ProgramPath(const std::string& name) {
  if (name.find_first_of("/\\") != std::string::npos) return MapPath(name);
  const char* search = std::getenv("PATH");
  std::istringstream folders(search != nullptr ? search : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
  }
  return name;
}

bool HasScheme(const std::string& address) {
  const auto colon = address.find(':');
  return colon != std::string::npos && colon > 1 && address.find('/') > colon;
}

}  // namespace

std::int32_t ShowWindow(HWND window, std::int32_t command) {
  if (window == nullptr) return 0;
  const Uint32 flags = SDL_GetWindowFlags(window);
  const bool was_visible = (flags & SDL_WINDOW_SHOWN) != 0 && (flags & SDL_WINDOW_MINIMIZED) == 0;
  if (command == SW_SHOWMINIMIZED) {
    SDL_MinimizeWindow(window);
  } else if (command == SW_SHOWNORMAL) {
    SDL_ShowWindow(window);
    SDL_RestoreWindow(window);
    SDL_RaiseWindow(window);
  }
  return was_visible ? 1 : 0;
}

std::intptr_t ShellExecuteA(HWND window, const char* verb, const char* file, const char*,
                            const char* directory, std::int32_t) {
  constexpr std::intptr_t kStarted = 42, kNotFound = 2, kNoHandler = 31;
  if (verb != nullptr && *verb != '\0' && std::strcmp(verb, "open") != 0) return kNoHandler;
  if (file == nullptr || *file == '\0') return kNotFound;
  const std::string address = HasScheme(file) ? std::string(file) : MapPath(file);
  const std::string where = directory != nullptr && *directory ? MapPath(directory) : "";
  // When nothing can open the page, the window that asked comes back as it was, so that a
  // child is not left on a desktop with no way back. The window may be gone by then: it is
  // named by its id, which then names nothing.
  const std::uint32_t window_id = window != nullptr ? SDL_GetWindowID(window) : 0;
  const auto ended = [window_id](bool opened) {
    if (opened || window_id == 0) return;
    SDL_Event failed{};
    failed.type = OpenerFailedEvent();
    failed.user.windowID = window_id;
    SDL_PushEvent(&failed);
  };
  if (StartOpener(ProgramPath("xdg-open"), address, where, ended)) return kStarted;
  ended(false);
  return kNotFound;
}

std::uint32_t OpenerFailedEvent() {
  static const std::uint32_t type = SDL_RegisterEvents(1);
  return type;
}

void RestoreAfterFailedOpener(HWND window, const SDL_Event& event) {
  if (window == nullptr || event.user.windowID != SDL_GetWindowID(window)) return;
  if ((SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) != 0) ShowWindow(window, SW_SHOWNORMAL);
}

double Shell(const std::string& path, std::int32_t) {
  // The whole path names one program file, spaces and all: it is started with no arguments
  // and no shell, or not at all. Cutting it at a space could start whatever lies at a
  // prefix of the path.
  if (path.empty()) throw RuntimeError("no program to start");
  const std::string program = ProgramPath(path);
  if (!IsExecutableFile(program)) throw RuntimeError("cannot start program " + path);
  const pid_t pid = StartDetached({program});
  if (pid < 0) throw RuntimeError("cannot start program " + path + ": " + std::strerror(-pid));
  return pid;
}

}  // namespace platform
