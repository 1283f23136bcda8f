#include "platform/shell.h"

#include <SDL.h>
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

// Runs the program in a session of its own, so that it outlives us and takes no signal
// meant for our terminal. Nothing waits for it here; a thread of its own reaps it when it
// ends, so it never lingers as a zombie, and only that pid is waited for, never another
// child of the program. Gives the pid, or -errno when it could not be started.
pid_t StartDetached(const std::vector<std::string>& arguments, const std::string& directory,
                    std::function<void(bool succeeded)> ended = {}) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  pid_t pid = -1;
  // A program name without a folder was looked up on PATH by the caller; anything else is
  // started as the file it names.
  const int error = arguments[0].find('/') == std::string::npos
                        ? ::posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ)
                        : ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) return -error;
  std::thread([pid, ended = std::move(ended)] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (ended) ended(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }).detach();
  return pid;
}

bool IsExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
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
  const pid_t pid = StartDetached({"xdg-open", address}, where, ended);
  if (pid > 0) return kStarted;
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
  const pid_t pid = StartDetached({program}, "");
  if (pid < 0) throw RuntimeError("cannot start program " + path + ": " + std::strerror(-pid));
  return pid;
}

}  // namespace platform
