#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "image.h"
#include "processes.h"

namespace e2e {

namespace fs = std::filesystem;

// A fresh temporary folder, removed with everything in it when it goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

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

// A stand-in for the desktop's web-page opener, to be put first on the program's PATH: it
// records the address it is given and ends.
class RecordingBrowser {
 public:
  explicit RecordingBrowser(const fs::path& folder);
  const fs::path& folder() const { return folder_; }
  std::vector<std::string> Addresses() const;
  // The addresses once `count` have arrived, or all there are after the limit.
  std::vector<std::string> WaitForAddresses(std::size_t count,
                                            std::chrono::milliseconds limit = 10s) const;

 private:
  fs::path folder_, record_;
};

// The X tools on one display: pointer and keys through xdotool, screenshots through import.
class Desktop {
 public:
  // Puts the pointer at that point to start from.
  Desktop(std::string display, int x, int y);

  std::string Tool(const std::vector<std::string>& arguments) const;
  void MoveTo(int x, int y);
  void Click(int x, int y);
  void Click() const;
  void ButtonDown() const;
  void ButtonUp() const;
  void Keys(const std::string& keys) const;

  Image Shot() const;
  Image Shot(int left, int top, int width, int height) const;
  std::pair<int, int> ScreenSize() const;
  // The ids of the windows of that exact title.
  std::vector<std::string> Windows(const std::string& title, bool visible_only) const;
  std::string Property(const std::string& window, const std::string& name) const;
  // xwininfo's line value, such as "Absolute upper-left X" or "Width".
  int Geometry(const std::string& window, const std::string& field) const;

 private:
  // The pointer goes by relative steps from here: see MoveTo.
  std::vector<std::string> StepTo(int x, int y);

  std::string display_;
  int x_, y_;
};

}  // namespace e2e
