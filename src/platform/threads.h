#pragma once

#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/failure.h"

namespace platform {

// Starts a thread of the layer's own. One that the system will not make (too many processes
// for the user, no room for its stack) fails as any platform call fails, for the caller's
// error trap to end the procedure: one line says what the thread was for and why.
template <class Body>
std::thread MakeThread(const std::string& purpose, Body&& body) {
  try {
    return std::thread(std::forward<Body>(body));
  } catch (const std::system_error& failure) {
    Report("no thread " + purpose + ": " + failure.code().message());
    throw RuntimeError("no thread " + purpose);
  }
}

}  // namespace platform
