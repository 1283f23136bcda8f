#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// The one run-time failure that the layer's operations raise: a missing or unreadable file,
// a refused device call. A procedure with an error trap catches it and returns.
class RuntimeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Thrown by End(): unwinds every handler and wait up to the event loop, which then ends the
// program with this status. It is not a failure, so no error trap catches it.
struct ProgramEnd {
  int status = 0;
};

[[noreturn]] inline void End(int status = 0) { throw ProgramEnd{status}; }

}  // namespace platform
