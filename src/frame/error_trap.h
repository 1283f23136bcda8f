#pragma once

#include <memory>

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

// An object reference that was never set fails like any other run-time failure, so that the
// trap of the procedure using it ends that procedure.
template <class T>
T& set_object(const std::shared_ptr<T>& reference) {
  if (!reference) throw platform::RuntimeError("object reference not set");
  return *reference;
}
