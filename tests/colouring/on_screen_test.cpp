// The real program on a real X display: a child colours an area of the start drawing green
// with the mouse, and the screen shows it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "app_fixture.h"
#include "colouring_test.h"
#include "frame/design_pictures.h"
#include "platform/picture.h"
#include "xvfb_session.h"

namespace colouring_test {
namespace {

using namespace std::chrono_literals;

// Runs a program to its end with DISPLAY set; ends it by its pid if it takes too long.
int RunOn(const std::string& display, std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("DISPLAY", display.c_str(), 1);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(10ms);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The whole screen as 0xRRGGBB values, read from a binary PPM that the screenshot tool wrote.
struct Screen {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgb;
  std::uint32_t At(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

Screen Screenshot(const std::string& display, const std::string& file) {
  Screen s;
  if (RunOn(display, {"import", "-display", display, "-window", "root", "-depth", "8",
                      "ppm:" + file}) != 0) {
    return s;
  }
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int max = 0;
  in >> magic >> s.width >> s.height >> max;
  in.get();
  if (magic != "P6" || max != 255) return Screen{};
  std::vector<unsigned char> bytes(static_cast<std::size_t>(s.width) * s.height * 3);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  for (std::size_t i = 0; i + 2 < bytes.size(); i += 3) {
    s.rgb.push_back(static_cast<std::uint32_t>(bytes[i]) << 16 | bytes[i + 1] << 8 | bytes[i + 2]);
  }
  return s;
}

// Whether the screen shows the start drawing on the canvas.
bool ShowsDrawing(const Screen& s, const std::vector<std::uint32_t>& drawing) {
  if (s.width < kCanvasLeft + kCanvasWidth || s.height < kCanvasTop + kCanvasHeight) return false;
  for (int y = 0; y < kCanvasHeight; y += 7) {
    for (int x = 0; x < kCanvasWidth; x += 7) {
      const std::uint32_t v = drawing[static_cast<std::size_t>(y) * kCanvasWidth + x];
      if (s.At(kCanvasLeft + x, kCanvasTop + y) != platform::ArgbOf(v) - 0xFF000000u) return false;
    }
  }
  return true;
}

TEST(ColouringOnScreen, GreenFillsAnAreaOfTheStartDrawingUpToItsBlackOutline) {
  if (!test_support::XvfbSession::Installed()) GTEST_SKIP() << "no X server to run on";
  const platform::Picture start =
      platform::LoadPictureFromMemory(design_pictures::Get("START.GIF"), "START.GIF");
  std::vector<std::uint32_t> drawing;
  for (std::uint32_t argb : start->pixels) drawing.push_back(platform::ColourValueOf(argb));
  const Point seed = FindClosedArea(drawing, 0xFFFFFF, 300, 60000);
  ASSERT_GE(seed.x, 0);
  const std::vector<bool> area = AreaAround(drawing, seed.x, seed.y);

  test_support::DataDir data;
  test_support::XvfbSession x;
  const std::string display = x.Start(1024, 768, 24);
  const std::string shot = (data.Path() / "screen.ppm").string();

  const std::string program = (data.Path() / "colouring-book").string();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("DISPLAY", display.c_str(), 1);
    ::unsetenv("SDL_VIDEODRIVER");
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Killed outright: a polite end would unload the window, which opens the maker's page.
  struct Stop {
    pid_t pid;
    ~Stop() {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  } stop{pid};

  bool up = false;
  for (auto until = std::chrono::steady_clock::now() + 60s;
       !up && std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(250ms)) {
    up = ShowsDrawing(Screenshot(display, shot), drawing);
  }
  ASSERT_TRUE(up) << "the main screen never showed";
  std::this_thread::sleep_for(1s);  // the display mode follows the window's first showing

  const Point green = PalettePoint(2);
  const auto click = [&](int px, int py) {
    ASSERT_EQ(RunOn(display,
                    {"xdotool", "mousemove", std::to_string(px), std::to_string(py), "click", "1"}),
              0);
  };
  click(green.x, green.y);
  click(kCanvasLeft + seed.x, kCanvasTop + seed.y);

  Screen s;
  bool filled = false;
  const std::uint32_t kGreen = 0x34CC67;
  for (int tries = 0; tries < 40 && !filled; ++tries) {
    std::this_thread::sleep_for(250ms);
    s = Screenshot(display, shot);
    filled = !s.rgb.empty() && s.At(kCanvasLeft + seed.x, kCanvasTop + seed.y) == kGreen;
  }
  ASSERT_TRUE(filled) << "the clicked area is not green";
  std::size_t green_pixels = 0, outline_checked = 0;
  for (int y = 0; y < kCanvasHeight; ++y) {
    for (int x = 0; x < kCanvasWidth; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * kCanvasWidth + x;
      const std::uint32_t shown = s.At(kCanvasLeft + x, kCanvasTop + y);
      if (area[i]) {
        green_pixels += shown == kGreen ? 1 : 0;
      } else if (drawing[i] == 0) {
        ASSERT_EQ(shown, 0u) << "outline lost at " << x << "," << y;
        ++outline_checked;
      } else {
        ASSERT_NE(shown, kGreen) << "green beyond the outline at " << x << "," << y;
      }
    }
  }
  EXPECT_EQ(green_pixels, Count(area));
  EXPECT_GT(outline_checked, 0u);
}

}  // namespace
}  // namespace colouring_test
