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
#include <thread>
#include <vector>

#include "platform/failure.h"
#include "platform/paths.h"

namespace platform {
namespace {

// Reaps the child by its pid on a thread of its own when it ends, so that it never lingers
// as a zombie and no other child of the program is waited for.
void ReapWhenEnded(pid_t pid, std::function<void(bool succeeded)> ended) {
  std::thread([pid, ended = std::move(ended)] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (ended) ended(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }).detach();
}

// Runs the program in a session of its own, so that it outlives us and takes no signal
// meant for our terminal. Nothing waits for it here. Gives the pid, or -errno when it could
// not be started.
pid_t StartDetached(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
  pid_t pid = -1;
  const int error = ::posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) return -error;
  ReapWhenEnded(pid, {});
  return pid;
}

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// What the go-between of StartOpener needs, all made before it is forked: after the fork it
// may call only what is safe in a child of a threaded program.
struct OpenerRun {
  std::vector<char*> argv;
  const char* directory;  // or null
  int highest_descriptor;
  // The line told of a failure: its start, as Report writes it, and room for the rest.
  std::vector<char> line;
  std::size_t told;
};

void Append(std::vector<char>& line, std::size_t& length, const char* text) {
  while (*text != '\0' && length < line.size()) line[length++] = *text++;
}

void AppendNumber(std::vector<char>& line, std::size_t& length, int number) {
  char digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number > 0 && count < 11);
  while (count > 0 && length < line.size()) line[length++] = digits[--count];
}

// The go-between: it leaves our session, lets go of every descriptor but the standard ones,
// starts the opener with its output going nowhere, waits for it and, when it fails, writes
// one line to the stderr it has from us. Its status is the opener's success.
[[noreturn]] void RunGoBetween(OpenerRun& run) {
  ::setsid();
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  for (int s = 1; s < NSIG; ++s) ::sigaction(s, &standard, nullptr);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  if (::close_range(3, ~0U, 0) != 0) {
    for (int fd = 3; fd <= run.highest_descriptor; ++fd) ::close(fd);
  }
  int start_failure[2];
  if (::pipe2(start_failure, O_CLOEXEC) != 0) ::_exit(1);
  const pid_t opener = ::fork();
  if (opener == 0) {
    const int nothing = ::open("/dev/null", O_RDWR);
    for (int fd = 0; fd <= 2; ++fd) ::dup2(nothing, fd);
    if (run.directory == nullptr || ::chdir(run.directory) == 0) {
      ::execve(run.argv[0], run.argv.data(), environ);
    }
    const int error = errno;
    [[maybe_unused]] const ssize_t sent = ::write(start_failure[1], &error, sizeof error);
    ::_exit(127);
  }
  int error = opener < 0 ? errno : 0;
  ::close(start_failure[1]);
  if (opener > 0 && ::read(start_failure[0], &error, sizeof error) != sizeof error) error = 0;
  int status = 0;
  while (opener > 0 && ::waitpid(opener, &status, 0) < 0 && errno == EINTR) {
  }
  std::size_t length = run.told;
  if (error != 0) {
    Append(run.line, length, "could not be started: ");
    const char* reason = ::strerrordesc_np(error);
    Append(run.line, length, reason != nullptr ? reason : "unknown error");
  } else if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    ::_exit(0);
  } else if (WIFEXITED(status)) {
    Append(run.line, length, "ended with status ");
    AppendNumber(run.line, length, WEXITSTATUS(status));
  } else {
    Append(run.line, length, "ended by signal ");
    AppendNumber(run.line, length, WTERMSIG(status));
  }
  Append(run.line, length, "\n");
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, run.line.data(), length);
  ::_exit(1);
}

// Starts the opener for the address through a go-between process, which outlives us if need
// be: the program never waits for the opener, whose own complaints would flood our stderr
// when no browser is to be found. Gives false when nothing could be started; `ended` hears
// whether the opener succeeded.
bool StartOpener(const std::string& opener, const std::string& address,
                 const std::string& directory, std::function<void(bool succeeded)> ended) {
  // A name still without a folder was not found on PATH.
  if (opener.find('/') == std::string::npos || !IsExecutableFile(opener)) {
    Report("the page " + address + " was not opened: no " + opener + " on PATH");
    return false;
  }
  const std::string told =
      "colouring-book: the page " + address + " was not opened: " + opener + " ";
  OpenerRun run{{const_cast<char*>(opener.c_str()), const_cast<char*>(address.c_str()), nullptr},
                directory.empty() ? nullptr : directory.c_str(),
                static_cast<int>(::sysconf(_SC_OPEN_MAX)),
                std::vector<char>(told.begin(), told.end()),
                told.size()};
  run.line.resize(told.size() + 80);
  // No handler of ours may run in the go-between before it has set the signals back.
  sigset_t all, before;
  sigfillset(&all);
  ::pthread_sigmask(SIG_SETMASK, &all, &before);
  const pid_t go_between = ::fork();
  if (go_between == 0) RunGoBetween(run);
  const int error = errno;
  ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
  if (go_between < 0) {
    Report("the page " + address + " was not opened: " + std::strerror(error));
    return false;
  }
  ReapWhenEnded(go_between, std::move(ended));
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
