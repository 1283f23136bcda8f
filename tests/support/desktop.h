#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "image.h"
#include "processes.h"
#include "temp_folder.h"

namespace test_support {

// A stand-in for the desktop's web-page opener, to be put first on the program's PATH: it
// records the address it is given and ends.
class RecordingBrowser {
 public:
  explicit RecordingBrowser(const std::filesystem::path& folder);
  const std::filesystem::path& folder() const { return folder_; }
  std::vector<std::string> Addresses() const;
  // The addresses once `count` have arrived, or all there are after the limit.
  std::vector<std::string> WaitForAddresses(std::size_t count,
                                            std::chrono::milliseconds limit = 10s) const;

 private:
  std::filesystem::path folder_, record_;
};

// The X tools on one display: pointer and keys through xdotool, screenshots through import.
class Desktop {
 public:
  // True when an X server with a window manager, xdotool and import are installed.
  static bool Installed();

  // Leaves the pointer where it is.
  explicit Desktop(std::string display);
  // Puts the pointer at that point, for MoveTo and Click(x, y) to start from.
  Desktop(std::string display, int x, int y);

  const std::string& display() const { return display_; }
  // Runs an X tool on this display to its end, as RunTool does.
  Outcome Tool(const std::vector<std::string>& arguments,
               std::chrono::milliseconds limit = 20s) const;
  void MoveTo(int x, int y);
  void Click(int x, int y);
  void Click() const;
  void ButtonDown() const;
  void ButtonUp() const;
  void Keys(const std::string& keys) const;

  // The whole screen, or one window; throws std::runtime_error when it cannot be taken.
  Image Shot(const std::string& window = "root") const;
  Image Shot(int left, int top, int width, int height) const;
  // The whole screen, or an empty picture when it cannot be taken: for polling.
  Image TryShot() const;
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
  bool pointer_known_ = false;
  int x_ = 0, y_ = 0;
};

}  // namespace test_support
