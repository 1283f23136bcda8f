#pragma once

#include <filesystem>
#include <string>

namespace e2e {

namespace fs = std::filesystem;

// The program installed from the build as a user gets it: by `cmake --install` into a prefix
// of its own, or from the Debian package unpacked into a root of its own. A hand install keeps
// its record for `uninstall` beside the prefix, not in the build, so that installs side by
// side keep apart.
class Installation {
 public:
  // Throws std::runtime_error when the install fails.
  explicit Installation(const fs::path& prefix) : Installation(prefix, RecordBeside(prefix)) {}
  Installation(const fs::path& prefix, const fs::path& record);
  // An install that may fail: `failure` gets what it said when it did, and is emptied when it
  // did not.
  static Installation Attempt(const fs::path& prefix, std::string& failure);
  // Makes the package from the build in `work` and unpacks it into `work`/root; a hand
  // install's record there would be `record`.
  static Installation FromPackage(const fs::path& work) {
    return FromPackage(work, work / "install_record.txt");
  }
  static Installation FromPackage(const fs::path& work, const fs::path& record);
  static fs::path RecordBeside(const fs::path& prefix) {
    return prefix.parent_path() / "install_record.txt";
  }
  // Runs the build's `uninstall` target on this install's record and gives what it said;
  // throws std::runtime_error when it fails.
  std::string Undo() const;

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
  fs::path record_;
  fs::path package_;
};

}  // namespace e2e
