#include "processes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace test_support {
namespace {

// The environment of this process with the changes made, as "NAME=value" lines.
std::vector<std::string> EnvironmentWith(const Environment& changes) {
  std::vector<std::string> lines;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string line = *e;
    if (!changes.contains(line.substr(0, line.find('=')))) lines.push_back(line);
  }
  for (const auto& [name, value] : changes) {
    if (value) lines.push_back(name + "=" + *value);
  }
  return lines;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Forks and execs; the child's output goes to `out_fd` (or nowhere), its errors to `err_fd`.
pid_t Spawn(std::vector<std::string> arguments, const Environment& changes, int out_fd,
            int err_fd) {
  std::vector<std::string> environment = EnvironmentWith(changes);
  std::vector<char*> argv = Pointers(arguments);
  std::vector<char*> envp = Pointers(environment);
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    // A test killed by its time limit runs no destructor: the kernel ends its children then.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(out_fd >= 0 ? out_fd : null, STDOUT_FILENO);
    ::dup2(err_fd >= 0 ? err_fd : null, STDERR_FILENO);
    ::execvpe(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  return pid;
}

void Kill(pid_t pid) {
  ::kill(pid, SIGKILL);
  while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

Outcome RunTool(const std::vector<std::string>& arguments, const Environment& changes,
                std::chrono::milliseconds limit) {
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = Spawn(arguments, changes, pipe_fds[1], -1);
  ::close(pipe_fds[1]);
  const auto deadline = std::chrono::steady_clock::now() + limit;
  Outcome outcome;
  char buffer[1 << 16];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd ready{pipe_fds[0], POLLIN, 0};
    if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t n = ::read(pipe_fds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    outcome.out.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipe_fds[0]);
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      Kill(pid);
      return outcome;
    }
    std::this_thread::sleep_for(2ms);
  }
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

bool OnPath(const std::string& program) {
  return RunTool({"sh", "-c", "command -v \"$0\"", program}).status == 0;
}

int EndProcess(pid_t pid, std::chrono::milliseconds grace) {
  if (pid <= 0) return -1;
  ::kill(pid, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + grace;
  int status = 0;
  pid_t ended = 0;
  while ((ended = ::waitpid(pid, &status, WNOHANG)) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      while ((ended = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
      }
      break;
    }
    std::this_thread::sleep_for(10ms);
  }
  return ended == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(100ms);
  }
  return condition();
}

Started::Started(const std::vector<std::string>& arguments, const Environment& changes,
                 const std::string& log_file) {
  const int log = log_file.empty()
                      ? -1
                      : ::open(log_file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  pid_ = Spawn(arguments, changes, log, log);
  if (log >= 0) ::close(log);
}

Started::~Started() {
  if (!ended_) Kill(pid_);
}

bool Started::Running() {
  if (ended_) return false;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) != pid_) return true;
  ended_ = true;
  if (WIFEXITED(status)) exit_status_ = WEXITSTATUS(status);
  return false;
}

std::optional<int> Started::WaitForExit(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (Running() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
  }
  return exit_status_;
}

std::optional<int> Started::Stop(std::chrono::milliseconds grace) {
  if (!ended_) {
    const int status = EndProcess(pid_, grace);
    ended_ = true;
    if (status >= 0) exit_status_ = status;
  }
  return exit_status_;
}

long PeakResidentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

}  // namespace test_support
