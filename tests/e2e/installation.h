#pragma once

#include <filesystem>
#include <string>

namespace e2e {

namespace fs = std::filesystem;

// The program installed from the build as a user gets it: by `cmake --install` into a prefix
// of its own, or from the Debian package unpacked into a root of its own.
class Installation {
 public:
  // Throws std::runtime_error when the install fails.
  explicit Installation(const fs::path& prefix);
  // Makes the package from the build in `work` and unpacks it into `work`/root.
  static Installation FromPackage(const fs::path& work);

  const fs::path& prefix() const { return prefix_; }
  // The package file, for a package installation.
  const fs::path& package() const { return package_; }
  fs::path Command() const { return prefix_ / "bin" / "colouring-book"; }
  // The folder that holds the program and its companion, with no link in its path.
  fs::path AppFolder() const { return fs::canonical(prefix_ / "lib" / "colouring-book"); }
  // A file of the read-only data ("PICTURE/01.GIF", "MAKER.HTML").
  fs::path Data(const std::string& relative) const {
    return fs::canonical(prefix_ / "share" / "colouring-book") / relative;
  }

 private:
  Installation() = default;
  fs::path prefix_;
  fs::path package_;
};

}  // namespace e2e
