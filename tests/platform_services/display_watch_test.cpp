// The display watcher's judgement on a real X server with several modes: it puts the
// desktop's configuration back only when the program's end leaves the program's mode.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/directx7.h"
#include "platform/runtime.h"
#include "processes.h"
#include "xorg_session.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using test_support::RunTool;

// This process's children of that command name, from /proc.
std::vector<pid_t> ChildrenNamed(const std::string& name) {
  std::vector<pid_t> found;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    // pid (comm) state ppid ...
    const std::size_t open = line.find('('), close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos) continue;
    int parent = 0;
    char state = 0;
    if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) != 2) continue;
    if (parent == ::getpid() && line.substr(open + 1, close - open - 1) == name) {
      found.push_back(std::stoi(line));
    }
  }
  return found;
}

enum class Before { kNothing, kProgramRestores, kUserSetsAnother };

struct WatchCase {
  const char* name;
  Before before_the_end;
  std::string mode_after;  // the first output's mode once the watcher has gone
};

void PrintTo(const WatchCase& c, std::ostream* out) { *out << c.name; }

class DisplayWatchOnXorg : public testing::TestWithParam<WatchCase> {
 protected:
  void SetUp() override {
    if (!test_support::XorgSession::Installed()) {
      GTEST_SKIP() << "Xorg with the dummy driver is not installed, or this is not root";
    }
    ASSERT_NO_THROW(xorg_.Start()) << xorg_.Log();
    platform::SetAppPath(COLOURING_APP_DIR);  // where the watcher lies
    ::setenv("SDL_VIDEODRIVER", "x11", 1);
    ::setenv("DISPLAY", xorg_.display().c_str(), 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    video_ = true;
    window_ = SDL_CreateWindow("display-watch-test", 50, 50, 640, 480, SDL_WINDOW_SHOWN);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
  }
  void TearDown() override {
    draw_.reset();
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    xorg_.Stop();
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  }

  // The first output's line of xrandr: its mode and place.
  std::string Mode() const {
    const std::string out = RunTool({"xrandr", "-display", xorg_.display()}).out;
    const std::size_t line = out.find("DUMMY0 connected");
    return line == std::string::npos ? out : out.substr(line, out.find('\n', line) - line);
  }
  void SetMode(const std::string& mode) const {
    RunTool({"xrandr", "-display", xorg_.display(), "--output", "DUMMY0", "--mode", mode});
  }

  test_support::XorgSession xorg_;
  bool video_ = false;
  SDL_Window* window_ = nullptr;
  platform::DirectX7 directx_;
  std::shared_ptr<platform::DirectDraw7> draw_;
};

TEST_P(DisplayWatchOnXorg, PutsTheDesktopBackOnlyWhenTheEndLeavesTheProgramsMode) {
  const WatchCase& c = GetParam();
  const std::string desktop = Mode();
  ASSERT_NE(desktop.find(" 1920x1080+0+0 "), std::string::npos) << desktop;
  draw_ = directx_.DirectDrawCreate("");
  draw_->SetCooperativeLevel(window_, platform::DDSCL_FULLSCREEN | platform::DDSCL_EXCLUSIVE);
  draw_->SetDisplayMode(1024, 768, 32, 0, 0);
  ASSERT_NE(Mode().find(" 1024x768+0+0 "), std::string::npos) << Mode();
  ASSERT_EQ(ChildrenNamed("display-watcher").size(), 1u) << "no watcher runs";
  // The standard descriptors, the socket from the program, and its own X connection.
  std::set<std::string> descriptors;
  const fs::path fds = "/proc/" + std::to_string(ChildrenNamed("display-watcher").front()) + "/fd";
  for (const auto& entry : fs::directory_iterator(fds)) {
    descriptors.insert(entry.path().filename().string());
  }
  EXPECT_EQ(descriptors, (std::set<std::string>{"0", "1", "2", "3", "4"}));

  if (c.before_the_end == Before::kProgramRestores) {
    draw_->RestoreDisplayMode();
    EXPECT_TRUE(ChildrenNamed("display-watcher").empty()) << "the watcher stayed";
    // Now the program's mode is the user's choice.
    SetMode("1024x768");
  } else if (c.before_the_end == Before::kUserSetsAnother) {
    SetMode("1280x1024");
  }
  const std::vector<pid_t> watchers = ChildrenNamed("display-watcher");
  // Its socket closing, as the program's end closes it.
  draw_.reset();
  for (pid_t watcher : watchers) {
    int status = -1;
    EXPECT_EQ(::waitpid(watcher, &status, 0), watcher);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  EXPECT_NE(Mode().find(c.mode_after), std::string::npos) << Mode();
}

INSTANTIATE_TEST_SUITE_P(
    Ends, DisplayWatchOnXorg,
    testing::Values(
        WatchCase{"InTheProgramsMode", Before::kNothing, " 1920x1080+0+0 "},
        WatchCase{"AfterTheProgramRestored", Before::kProgramRestores, " 1024x768+0+0 "},
        WatchCase{"AfterTheUserChoseAnother", Before::kUserSetsAnother, " 1280x1024+0+0 "}),
    [](const testing::TestParamInfo<WatchCase>& info) { return std::string(info.param.name); });

}  // namespace
