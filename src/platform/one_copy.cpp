#include "platform/one_copy.h"

#include <SDL.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "platform/failure.h"
#include "platform/keyboard_hook.h"
#include "platform/shell.h"
#include "platform/threads.h"

namespace platform {
namespace {

CopyState g_state = CopyState::kNotChecked;
std::string g_lock_file;
// Never closed: the lock goes when the process does, however it ends.
int g_lock_descriptor = -1;

constexpr int kCallSignal = SIGUSR1;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// Anything but letters, digits, '-' and '.' becomes '_', so that a display's name cannot lead
// out of the folder.
std::string FileNamePart(std::string_view text) {
  std::string part;
  for (const char c : text) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.';
    part += plain ? c : '_';
  }
  return part;
}

// The display the window will open on, as a file name: "x11-_1" for DISPLAY ":1.0" (the screen
// number is the same display), "wayland-wayland-0". Empty for a driver that shows nothing,
// where copies cannot be in each other's way.
std::string DisplayKey() {
  const std::string driver = Env("SDL_VIDEODRIVER");
  if (driver.find("dummy") != std::string::npos || driver.find("offscreen") != std::string::npos) {
    return "";
  }
  std::string x = Env("DISPLAY");
  const std::string wayland = Env("WAYLAND_DISPLAY");
  if (!wayland.empty() && (x.empty() || driver.rfind("wayland", 0) == 0)) {
    return "wayland-" + FileNamePart(wayland);
  }
  if (x.empty()) return "";
  const auto colon = x.rfind(':');
  const auto dot = x.find('.', colon == std::string::npos ? 0 : colon);
  if (colon != std::string::npos && dot != std::string::npos) x.resize(dot);
  return "x11-" + FileNamePart(x);
}

bool FolderOfTheUsers(const std::string& folder, bool alone) {
  struct stat status;
  return ::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
         status.st_uid == ::geteuid() && (!alone || (status.st_mode & 077) == 0);
}

// $XDG_RUNTIME_DIR, which is the user's own; else (unset, or naming no folder of the user's)
// a folder that this user alone may enter. Empty, with the reason, when there is none.
std::string LockFolder(std::string& why) {
  const std::string runtime = Env("XDG_RUNTIME_DIR");
  if (!runtime.empty() && runtime.front() == '/' && FolderOfTheUsers(runtime, false)) {
    return runtime;
  }
  std::string base = Env("TMPDIR");
  if (base.empty() || base.front() != '/') base = "/tmp";
  const std::string folder = base + "/colouring-book-" + std::to_string(::geteuid());
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    why = folder + ": " + std::strerror(errno);
    return "";
  }
  if (!FolderOfTheUsers(folder, true)) {
    why = folder + " is not a folder of this user's alone";
    return "";
  }
  return folder;
}

// The holder writes its pid just after it takes the lock: a start in between waits a moment.
pid_t HolderPid(int descriptor) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    char text[24] = {};
    const ssize_t length = ::pread(descriptor, text, sizeof text - 1, 0);
    char* end = nullptr;
    const long pid = length > 0 ? std::strtol(text, &end, 10) : 0;
    if (pid > 0 && end != nullptr && *end == '\n') return static_cast<pid_t>(pid);
    ::usleep(20000);
  }
  return -1;
}

// Whether the pid names a process of this same program file: a lock kept by something else
// (a pid the system has since given to another program) must not have SIGUSR1 end it.
bool RunsThisProgram(pid_t pid) {
  std::error_code ignored;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", ignored);
  const auto other =
      std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", ignored);
  return !program.empty() && program == other;
}

CopyState Unguarded(const std::string& why) {
  Report("runs without the lock that keeps a second copy out: " + why);
  return g_state = CopyState::kUnguarded;
}

}  // namespace

CopyState TakeOneCopy() {
  const std::string key = DisplayKey();
  if (key.empty()) return g_state = CopyState::kUnguarded;
  std::string why;
  const std::string folder = LockFolder(why);
  if (folder.empty()) return Unguarded(why);
  g_lock_file = folder + "/colouring-book-" + key + ".lock";

  const int descriptor =
      ::open(g_lock_file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600);
  if (descriptor < 0) return Unguarded(g_lock_file + ": " + std::strerror(errno));
  if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
    // Blocked before any thread is made, so that every thread inherits it and the listener
    // alone takes the call.
    sigset_t call;
    sigemptyset(&call);
    sigaddset(&call, kCallSignal);
    ::pthread_sigmask(SIG_BLOCK, &call, nullptr);
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(descriptor, 0) != 0 ||
        ::pwrite(descriptor, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
      Report("a second start will not find this copy: " + g_lock_file + ": " +
             std::strerror(errno));
    }
    g_lock_descriptor = descriptor;
    return g_state = CopyState::kTheOne;
  }
  const int error = errno;
  if (error != EWOULDBLOCK) {
    ::close(descriptor);
    return Unguarded(g_lock_file + ": " + std::strerror(error));
  }
  const pid_t holder = HolderPid(descriptor);
  ::close(descriptor);
  if (holder > 0 && holder != ::getpid() && RunsThisProgram(holder)) ::kill(holder, kCallSignal);
  return g_state = CopyState::kAnotherRuns;
}

CopyState OneCopyState() { return g_state; }

std::string OneCopyLockFile() { return g_lock_file; }

void ListenForSecondStarts() {
  if (g_state != CopyState::kTheOne) return;
  const std::uint32_t type = SecondStartEvent();
  try {
    MakeThread("to hear of later starts, which will not bring this copy to the front", [type] {
      sigset_t call;
      sigemptyset(&call);
      sigaddset(&call, kCallSignal);
      for (;;) {
        int signal = 0;
        if (::sigwait(&call, &signal) != 0) continue;
        SDL_Event event{};
        event.type = type;
        SDL_PushEvent(&event);
      }
    }).detach();
  } catch (const RuntimeError&) {
    // Told; the program runs on.
  }
}

std::uint32_t SecondStartEvent() {
  static const std::uint32_t type = SDL_RegisterEvents(1);
  return type;
}

void ComeToTheFront(HWND window) {
  if (window == nullptr) return;
  // Minimised, X unmaps the window, and SDL counts it hidden as well.
  const Uint32 flags = SDL_GetWindowFlags(window);
  if ((flags & SDL_WINDOW_MINIMIZED) != 0 || (flags & SDL_WINDOW_SHOWN) == 0) {
    // Restored as after an opener that failed: the restore gives the keyboard back to it.
    ShowWindow(window, SW_SHOWNORMAL);
    return;
  }
  SDL_RaiseWindow(window);
  UpdateKeyboardGrab(window);
}

}  // namespace platform
