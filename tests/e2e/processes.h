#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

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

// A program left running while the test goes on; killed by its pid when the guard goes, and
// also when the test process dies first.
class Started {
 public:
  Started(const std::vector<std::string>& arguments, const Environment& changes,
          const std::string& log_file);
  ~Started();
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

  pid_t pid() const { return pid_; }
  bool Running();
  // Waits for the program to end by itself: its exit status, or nothing when it is still
  // running after the limit (or was killed by a signal).
  std::optional<int> WaitForExit(std::chrono::milliseconds limit);

 private:
  pid_t pid_ = -1;
  std::optional<int> exit_status_;
  bool ended_ = false;
};

}  // namespace e2e
