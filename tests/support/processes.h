#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace test_support {

using namespace std::chrono_literals;

// Changes to the environment of a started program: a name mapped to its value, or to nothing
// to remove it.
using Environment = std::map<std::string, std::optional<std::string>>;

struct Outcome {
  int status = -1;  // the exit status; -1 when the program did not end by itself in time
  std::string out;  // what it wrote to its standard output
};

// Runs a program found on PATH to its end and gives its output; one that overruns the limit
// is killed by its pid. Its error output is discarded.
Outcome RunTool(const std::vector<std::string>& arguments, const Environment& changes = {},
                std::chrono::milliseconds limit = 20s);

// Whether a program of that name is on PATH.
bool OnPath(const std::string& program);

// Ends the process by its pid with SIGTERM, and with SIGKILL when it is still there after the
// grace; waits for it. Gives its exit status, -1 when it did not exit by itself.
int EndProcess(pid_t pid, std::chrono::milliseconds grace);

// The most memory this process has held at once, in kilobytes (0 when the system does not
// say).
long PeakResidentKb();

// Checks the condition every tenth of a second until it holds, and once more at the limit.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit);

// A program left running while the test goes on; killed by its pid when the guard goes, and
// also when the test process dies first.
class Started {
 public:
  // Its output and errors go to the log file, or nowhere without one.
  explicit Started(const std::vector<std::string>& arguments, const Environment& changes = {},
                   const std::string& log_file = "");
  ~Started();
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

  pid_t pid() const { return pid_; }
  bool Running();
  // Waits for the program to end by itself: its exit status, or nothing when it is still
  // running after the limit (or was killed by a signal).
  std::optional<int> WaitForExit(std::chrono::milliseconds limit);
  // Ends it as the system does at log-off, as EndProcess does; its exit status, or nothing
  // when it did not exit by itself.
  std::optional<int> Stop(std::chrono::milliseconds grace);

 private:
  pid_t pid_ = -1;
  std::optional<int> exit_status_;
  bool ended_ = false;
};

}  // namespace test_support
