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

// Writes one line to stderr, "colouring-book: " and the text, for a parent who wonders why
// something did nothing. The child never sees it.
void Report(const std::string& text);
// Reports an exception that is no run-time failure and that no handler caught: a fault of
// the program's own, dropped so that the child can go on, but never silently.
void ReportDropped(const std::exception* exception);

// Runs a handler as the event loop does: a failure that it lets escape stops it there and
// the program goes on. Anything else it lets escape is dropped as well, with one line on
// stderr. Ending the program is not a failure and passes through.
template <class Handler>
void RunHandler(Handler&& handler) {
  try {
    handler();
  } catch (const RuntimeError&) {
  } catch (const ProgramEnd&) {
    throw;
  } catch (const std::exception& fault) {
    ReportDropped(&fault);
  } catch (...) {
    ReportDropped(nullptr);
  }
}

}  // namespace platform
