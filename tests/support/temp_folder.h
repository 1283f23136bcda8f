#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace test_support {

// A fresh temporary folder of the test's own, removed with everything in it when it goes,
// even where a test took its permissions away.
class TempFolder {
 public:
  // Under the system's temporary folder, or under `parent` where another user must reach it.
  TempFolder();
  explicit TempFolder(const std::filesystem::path& parent);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A file's path inside, as a string for the platform layer's calls.
  std::string operator/(const std::string& relative) const { return (path_ / relative).string(); }
  // Writes a file (and the folders above it) with these bytes; gives its path.
  std::string Write(const std::string& relative, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

// A file's bytes; empty when it cannot be read.
inline std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace test_support
