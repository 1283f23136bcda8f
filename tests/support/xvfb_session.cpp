#include "xvfb_session.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <vector>

#include "processes.h"

namespace test_support {
namespace {

using namespace std::chrono_literals;

// Starts the program with its output discarded, DISPLAY set when given, and `keep_fd` left
// open across exec.
pid_t Spawn(std::vector<std::string> arguments, const std::string& display, int keep_fd = -1) {
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    if (keep_fd >= 0) ::fcntl(keep_fd, F_SETFD, 0);
    if (!display.empty()) ::setenv("DISPLAY", display.c_str(), 1);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

// Ends the process by its pid, forcibly if it has not gone in a few seconds.
void StopProcess(pid_t& pid) {
  EndProcess(pid, 5s);
  pid = -1;
}

std::string RootProperty(const std::string& display, const std::string& property) {
  return RunTool({"xprop", "-display", display, "-root", property}).out;
}

// Whether the window manager manages any window now: its client list names one.
bool ManagesAWindow(const std::string& display) {
  return RootProperty(display, "_NET_CLIENT_LIST").find("# 0x") != std::string::npos;
}

// The window manager announces itself before it is ready, and a window mapped in between
// is never managed (and never shown). So a probe window is mapped, again if need be, until
// the window manager takes it on.
bool WaitUntilWindowManagerReady(const std::string& display) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (std::chrono::steady_clock::now() < deadline) {
    pid_t probe = Spawn({"xev", "-name", "window-manager-probe"}, display);
    const auto retry = std::chrono::steady_clock::now() + 1s;
    bool managed = false;
    while (!(managed = ManagesAWindow(display)) && std::chrono::steady_clock::now() < retry) {
      std::this_thread::sleep_for(20ms);
    }
    StopProcess(probe);
    if (managed) {
      while (ManagesAWindow(display) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
      }
      return true;
    }
  }
  return false;
}

}  // namespace

bool XvfbSession::Installed() {
  return OnPath("Xvfb") && OnPath("openbox") && OnPath("xprop") && OnPath("xev");
}

namespace {

std::vector<std::string> XvfbCommand(const std::string& screen) {
  return {"Xvfb", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"};
}

std::string ScreenOf(int width, int height, int depth) {
  return std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
}

}  // namespace

std::string XvfbSession::Start(int width, int height, int depth,
                               const std::string& window_manager_config) {
  const std::string screen = ScreenOf(width, height, depth);
  return StartWith(XvfbCommand(screen), screen, window_manager_config);
}

std::string XvfbSession::StartWithoutWindowManager(int width, int height, int depth) {
  const std::string screen = ScreenOf(width, height, depth);
  return StartWith(XvfbCommand(screen), screen, std::nullopt);
}

std::string XvfbSession::StartWith(std::vector<std::string> server_command, const std::string& what,
                                   const std::optional<std::string>& window_manager_config) {
  Stop();
  // The server picks a free display number itself and writes it to this pipe once it
  // accepts clients, so neither a guess nor a wait for its socket is needed.
  int number_pipe[2];
  if (::pipe2(number_pipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  server_command.insert(server_command.begin() + 1, {"-displayfd", std::to_string(number_pipe[1])});
  server_ = Spawn(server_command, "", number_pipe[1]);
  ::close(number_pipe[1]);
  std::string number;
  pollfd ready{number_pipe[0], POLLIN, 0};
  while (::poll(&ready, 1, 30000) > 0) {
    char c;
    if (::read(number_pipe[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  ::close(number_pipe[0]);
  if (number.empty()) {
    Stop();
    throw std::runtime_error(server_command.front() + " did not start on " + what);
  }
  display_ = ":" + number;
  if (!window_manager_config) return display_;

  std::vector<std::string> window_manager = {"openbox", "--sm-disable"};
  if (!window_manager_config->empty()) {
    window_manager.insert(window_manager.end(), {"--config-file", *window_manager_config});
  }
  window_manager_ = Spawn(window_manager, display_);
  if (!WaitUntilWindowManagerReady(display_)) {
    Stop();
    throw std::runtime_error("the window manager did not start on " + what);
  }
  return display_;
}

void XvfbSession::Stop() {
  StopProcess(window_manager_);
  StopProcess(server_);
  display_.clear();
}

}  // namespace test_support
