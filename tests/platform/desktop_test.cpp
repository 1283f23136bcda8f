// A tiny form on a real X server with a window manager: the pointer and keys come from the
// server, and the result is read back from a screenshot of the screen.
#include "desktop.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "form_events.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/keyboard_hook.h"
#include "xvfb_session.h"

// Last: the X headers it brings define names that clash with others.
#include <SDL_syswm.h>

namespace {

using namespace std::chrono_literals;
using test_support::Image;
using test_support::Rgb;
using test_support::RgbOf;

// The smallest rectangle holding every pixel of this colour: x, y, w, h (w 0 when none).
SDL_Rect Find(const Image& screen, Rgb colour) {
  int x0 = screen.width, y0 = screen.height, x1 = -1, y1 = -1;
  for (int y = 0; y < screen.height; ++y) {
    for (int x = 0; x < screen.width; ++x) {
      if (screen.At(x, y) != colour) continue;
      x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
  }
  return x1 < 0 ? SDL_Rect{0, 0, 0, 0} : SDL_Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

// Runs a program on the desktop to its end (stopped by its pid after ten seconds); gives its
// exit status, -1 when it had to be stopped.
int RunOn(const test_support::Desktop& desktop, const std::vector<std::string>& arguments) {
  return desktop.Tool(arguments, 10s).status;
}

// Processes events until the condition holds or two seconds have passed.
template <class Condition>
bool PumpUntil(Condition done) {
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    platform::DoEvents();
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

std::uint32_t g_filtered_vk = 0;
std::int32_t Recorder(std::int32_t n, std::int32_t message, std::intptr_t l) {
  if (message == platform::WM_KEYDOWN) {
    g_filtered_vk = reinterpret_cast<const platform::KBDLLHOOKSTRUCT*>(l)->vkCode;
  }
  return platform::CallNextHookEx(0, n, message, l);
}

TEST(Desktop, ClickAndKeysFromTheServerReachTheControlAndTheScreenShowsTheResult) {
  if (!test_support::Desktop::Installed()) {
    GTEST_SKIP() << "needs Xvfb, openbox, xdotool and ImageMagick's import";
  }
  test_support::XvfbSession x;
  const test_support::Desktop desktop(x.Start(320, 240, 24));
  ::setenv("DISPLAY", desktop.display().c_str(), 1);
  ::setenv("SDL_VIDEODRIVER", "x11", 1);

  constexpr std::uint32_t kBlue = 0x0000FF, kRed = 0xFF0000, kGreen = 0x00FF00;
  platform::PictureBox button{"button", 50, 20, 60, 40, 0};
  platform::Form form{"desktop", 200, 100};
  form.SetPicture(platform_test::Solid(200, 100, 0xFF000000 | kBlue));
  button.SetPicture(platform_test::Solid(60, 40, 0xFF000000 | kRed));
  std::vector<std::string> seen;
  button.MouseMove = [&](std::int16_t b, std::int16_t, float px, float py) {
    seen.push_back("move" + std::to_string(b) + " " + std::to_string(static_cast<int>(px)) + "," +
                   std::to_string(static_cast<int>(py)));
  };
  button.Click = [&] {
    seen.push_back("click");
    button.SetPicture(platform_test::Solid(60, 40, 0xFF000000 | kGreen));
  };
  button.KeyDown = [&](std::int16_t key, std::int16_t shift) {
    seen.push_back("key " + std::to_string(key) + "/" + std::to_string(shift));
  };
  form.Add(button);
  form.Show();
  const platform::HHOOK hook =
      platform::SetWindowsHookExA(platform::WH_KEYBOARD_LL, Recorder, platform::AppInstance(), 0);

  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  ASSERT_TRUE(SDL_GetWindowWMInfo(form.hWnd(), &info));
  const std::string window = std::to_string(info.info.x11.window);
  ASSERT_TRUE(PumpUntil([&] { return Find(desktop.TryShot(), RgbOf(kRed)).w == 60; }))
      << "the form never showed";

  ASSERT_EQ(RunOn(desktop, {"xdotool", "mousemove", "--sync", "--window", window, "80", "40"}), 0);
  ASSERT_TRUE(PumpUntil([&] { return !seen.empty(); })) << "no move arrived";
  EXPECT_EQ(seen.back(), "move0 30,20");
  ASSERT_EQ(RunOn(desktop, {"xdotool", "click", "1"}), 0);
  ASSERT_TRUE(PumpUntil([&] { return seen.back() == "click"; }));
  ASSERT_EQ(RunOn(desktop, {"xdotool", "key", "ctrl+p"}), 0);
  EXPECT_TRUE(PumpUntil([&] { return seen.back() == "key 80/2"; })) << seen.back();
  EXPECT_EQ(g_filtered_vk, 0x50u);
  platform::UnhookWindowsHookEx(hook);

  const Image screen = desktop.TryShot();
  const SDL_Rect green = Find(screen, RgbOf(kGreen)), blue = Find(screen, RgbOf(kBlue));
  EXPECT_EQ(Find(screen, RgbOf(kRed)).w, 0) << "the old picture still shows";
  EXPECT_EQ(green.w, 60);
  EXPECT_EQ(green.h, 40);
  EXPECT_EQ(blue.w, 200);
  EXPECT_EQ(blue.h, 100);
  EXPECT_EQ(green.x - blue.x, 50);
  EXPECT_EQ(green.y - blue.y, 20);
  form.Unload();
  SDL_Quit();
}

}  // namespace
