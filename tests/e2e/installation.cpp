#include "installation.h"

#include <stdexcept>

#include "processes.h"

namespace e2e {

Installation::Installation(const fs::path& prefix) : prefix_(prefix) {
  const test_support::Outcome install = test_support::RunTool(
      {E2E_CMAKE_COMMAND, "--install", E2E_BUILD_DIR, "--prefix", prefix.string()}, {},
      std::chrono::seconds(60));
  if (install.status != 0) throw std::runtime_error("install failed:\n" + install.out);
}

}  // namespace e2e
