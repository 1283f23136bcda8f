// A tiny form on a real X server with a window manager: the pointer and keys come from the
// server, and the result is read back from a screenshot of the screen.
#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "form_events.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/keyboard_hook.h"
#include "temp_dir.h"
#include "xvfb_session.h"

// Last: the X headers it brings define names that clash with others.
#include <SDL_syswm.h>

namespace {

using namespace std::chrono_literals;

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a program on the display to its end (stopped by its pid after ten seconds); gives its
// exit status, -1 when it had to be stopped.
int RunOn(const std::string& display, std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("DISPLAY", display.c_str(), 1);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
      return -1;
    }
    std::this_thread::sleep_for(5ms);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A screenshot of the whole screen as 0xRRGGBB values, read from a binary PPM.
struct Screen {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgb;
  std::uint32_t At(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
  // The smallest rectangle holding every pixel of this colour: x, y, w, h (w 0 when none).
  SDL_Rect Find(std::uint32_t colour) const {
    int x0 = width, y0 = height, x1 = -1, y1 = -1;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (At(x, y) != colour) continue;
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
      }
    }
    return x1 < 0 ? SDL_Rect{0, 0, 0, 0} : SDL_Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
  }
};

Screen Shoot(const std::string& display, const platform_test::TempDir& dir) {
  const std::string file = dir / "screen.ppm";
  Screen s;
  if (RunOn(display, {"import", "-window", "root", "-depth", "8", "ppm:" + file}) != 0) return s;
  const std::string bytes = platform_test::ReadAll(file);
  int maxval = 0, consumed = 0;
  if (std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &s.width, &s.height, &maxval, &consumed) != 3) {
    return Screen{};
  }
  const std::size_t start = static_cast<std::size_t>(consumed) + 1;
  if (bytes.size() < start + 3u * s.width * s.height) return Screen{};
  for (std::size_t i = 0; i < static_cast<std::size_t>(s.width) * s.height; ++i) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + start + 3 * i);
    s.rgb.push_back(static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2]);
  }
  return s;
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
  if (!test_support::XvfbSession::Installed() || !OnPath("xdotool") || !OnPath("import")) {
    GTEST_SKIP() << "needs Xvfb, openbox, xdotool and ImageMagick's import";
  }
  test_support::XvfbSession x;
  const std::string display = x.Start(320, 240, 24);
  ::setenv("DISPLAY", display.c_str(), 1);
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
  platform_test::TempDir dir;
  ASSERT_TRUE(PumpUntil([&] { return Shoot(display, dir).Find(kRed).w == 60; }))
      << "the form never showed";

  ASSERT_EQ(RunOn(display, {"xdotool", "mousemove", "--sync", "--window", window, "80", "40"}), 0);
  ASSERT_TRUE(PumpUntil([&] { return !seen.empty(); })) << "no move arrived";
  EXPECT_EQ(seen.back(), "move0 30,20");
  ASSERT_EQ(RunOn(display, {"xdotool", "click", "1"}), 0);
  ASSERT_TRUE(PumpUntil([&] { return seen.back() == "click"; }));
  ASSERT_EQ(RunOn(display, {"xdotool", "key", "ctrl+p"}), 0);
  EXPECT_TRUE(PumpUntil([&] { return seen.back() == "key 80/2"; })) << seen.back();
  EXPECT_EQ(g_filtered_vk, 0x50u);
  platform::UnhookWindowsHookEx(hook);

  const Screen screen = Shoot(display, dir);
  const SDL_Rect green = screen.Find(kGreen), blue = screen.Find(kBlue);
  EXPECT_EQ(screen.Find(kRed).w, 0) << "the old picture still shows";
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
