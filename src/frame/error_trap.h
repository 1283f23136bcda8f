#pragma once

#include "platform/failure.h"

// A procedure's error trap: a run-time failure anywhere in `body` ends the procedure at that
// step, silently, and what was already done stays done.
template <class Body>
void error_trap(Body&& body) {
  try {
    body();
  } catch (const platform::RuntimeError&) {
  }
}
