#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

#include "platform/directx7.h"
#include "platform/failure.h"
#include "platform/runtime.h"
#include "platform/shell.h"
#include "xvfb_session.h"

namespace {

using namespace std::chrono_literals;

// A real X display with a window manager, whose only display mode is the size it started at.
class DisplayTest : public testing::Test {
 protected:
  static constexpr const char* kTitle = "display-mode-test";

  void Start(int width, int height) {
    if (!test_support::XvfbSession::Installed()) GTEST_SKIP() << "Xvfb or openbox is not installed";
    const std::string display = xvfb_.Start(width, height, 24);
    platform::SetAppPath(COLOURING_APP_DIR);  // where the display watcher lies
    ::setenv("SDL_VIDEODRIVER", "x11", 1);
    ::setenv("DISPLAY", display.c_str(), 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    video_ = true;
    window_ = SDL_CreateWindow(kTitle, 50, 50, 640, 480, SDL_WINDOW_SHOWN);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    ASSERT_TRUE(PumpUntil([this] { return (Flags() & SDL_WINDOW_SHOWN) != 0; }));
    draw_ = directx_.DirectDrawCreate("");
    draw_->SetCooperativeLevel(window_, platform::DDSCL_FULLSCREEN | platform::DDSCL_EXCLUSIVE);
  }
  void TearDown() override {
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    xvfb_.Stop();
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  }

  Uint32 Flags() const { return SDL_GetWindowFlags(window_); }
  // Handles the window's events until the condition holds, for a few seconds at most.
  static bool PumpUntil(const std::function<bool()>& condition,
                        std::chrono::milliseconds timeout = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      SDL_PumpEvents();
      SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
      std::this_thread::sleep_for(10ms);
    }
    return true;
  }
  SDL_Point Size() const {
    SDL_Point size;
    SDL_GetWindowSize(window_, &size.x, &size.y);
    return size;
  }
  SDL_Point DisplayMode() const {
    SDL_DisplayMode mode{};
    SDL_GetCurrentDisplayMode(0, &mode);
    return {mode.w, mode.h};
  }
  // The window's state as the window manager keeps it.
  std::string WindowManagerState() const {
    const std::string command =
        "xprop -display " + xvfb_.display() + " -name " + kTitle + " _NET_WM_STATE 2>&1";
    FILE* out = ::popen(command.c_str(), "r");
    char line[512] = {};
    if (out == nullptr) return "";
    if (std::fgets(line, sizeof line, out) == nullptr) line[0] = '\0';
    ::pclose(out);
    return line;
  }

  test_support::XvfbSession xvfb_;
  bool video_ = false;
  SDL_Window* window_ = nullptr;
  platform::DirectX7 directx_;
  std::shared_ptr<platform::DirectDraw7> draw_;
};

TEST_F(DisplayTest, SwitchesToTheModeTheDisplayOffersAndRestores) {
  Start(1024, 768);
  draw_->SetDisplayMode(1024, 768, 16, 0, 0);
  EXPECT_TRUE(PumpUntil([this] { return Size().x == 1024 && Size().y == 768; }));
  EXPECT_TRUE(Flags() & SDL_WINDOW_FULLSCREEN);
  EXPECT_EQ(DisplayMode().x, 1024);
  EXPECT_NE(WindowManagerState().find("_NET_WM_STATE_FULLSCREEN"), std::string::npos);

  draw_->RestoreDisplayMode();
  EXPECT_FALSE(Flags() & SDL_WINDOW_FULLSCREEN);
  EXPECT_TRUE(PumpUntil([this] { return Size().x == 640 && Size().y == 480; }));
  EXPECT_TRUE(PumpUntil([this] {
    return WindowManagerState().find("_NET_WM_STATE_FULLSCREEN") == std::string::npos;
  }));
}

TEST_F(DisplayTest, RefusedModeLeavesTheWindowAsItWas) {
  Start(1280, 1024);
  EXPECT_THROW(draw_->SetDisplayMode(1024, 768, 16, 0, 0), platform::RuntimeError);
  PumpUntil([] { return false; }, 500ms);  // let whatever the window manager does arrive
  EXPECT_FALSE(Flags() & SDL_WINDOW_FULLSCREEN);
  EXPECT_EQ(Size().x, 640);
  EXPECT_EQ(Size().y, 480);
  EXPECT_EQ(DisplayMode().x, 1280);
  EXPECT_EQ(WindowManagerState().find("_NET_WM_STATE_FULLSCREEN"), std::string::npos);
}

TEST_F(DisplayTest, ShowWindowMinimisesAndRestoresTheWindow) {
  Start(1024, 768);
  EXPECT_EQ(platform::ShowWindow(window_, platform::SW_SHOWMINIMIZED), 1);
  EXPECT_TRUE(PumpUntil([this] { return (Flags() & SDL_WINDOW_MINIMIZED) != 0; }));
  EXPECT_NE(WindowManagerState().find("_NET_WM_STATE_HIDDEN"), std::string::npos);

  EXPECT_EQ(platform::ShowWindow(window_, platform::SW_SHOWNORMAL), 0);
  EXPECT_TRUE(PumpUntil([this] { return (Flags() & SDL_WINDOW_MINIMIZED) == 0; }));
}

TEST_F(DisplayTest, FullScreenWindowMinimisesToo) {
  Start(1024, 768);
  draw_->SetDisplayMode(1024, 768, 16, 0, 0);
  ASSERT_TRUE(PumpUntil([this] { return Size().x == 1024; }));
  platform::ShowWindow(window_, platform::SW_SHOWMINIMIZED);
  EXPECT_TRUE(PumpUntil([this] { return (Flags() & SDL_WINDOW_MINIMIZED) != 0; }));
  EXPECT_NE(WindowManagerState().find("_NET_WM_STATE_HIDDEN"), std::string::npos);
}

}  // namespace
