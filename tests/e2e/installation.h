#pragma once

#include <filesystem>
#include <string>

namespace e2e {

namespace fs = std::filesystem;

// The program installed from the build into a prefix of its own, as a user installs it.
class Installation {
 public:
  // Throws std::runtime_error when the install fails.
  explicit Installation(const fs::path& prefix);
  const fs::path& prefix() const { return prefix_; }
  fs::path Command() const { return prefix_ / "bin" / "colouring-book"; }
  // The folder that holds the program and its data, with no link in its path.
  fs::path AppFolder() const { return fs::canonical(prefix_ / "lib" / "colouring-book"); }
  fs::path Data(const std::string& relative) const { return AppFolder() / relative; }

 private:
  fs::path prefix_;
};

}  // namespace e2e
