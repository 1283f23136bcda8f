// The real program on a real X display: a child colours an area of the start drawing green
// with the mouse, and the screen shows it.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

#include "app_fixture.h"
#include "colouring_test.h"
#include "desktop.h"
#include "frame/design_pictures.h"
#include "platform/picture.h"
#include "xvfb_session.h"

namespace colouring_test {
namespace {

using namespace std::chrono_literals;
using test_support::Image;
using test_support::RgbOf;

// Whether the screen shows the start drawing on the canvas.
bool ShowsDrawing(const Image& s, const std::vector<std::uint32_t>& drawing) {
  if (s.width < kCanvasLeft + kCanvasWidth || s.height < kCanvasTop + kCanvasHeight) return false;
  for (int y = 0; y < kCanvasHeight; y += 7) {
    for (int x = 0; x < kCanvasWidth; x += 7) {
      const std::uint32_t v = drawing[static_cast<std::size_t>(y) * kCanvasWidth + x];
      if (s.At(kCanvasLeft + x, kCanvasTop + y) != RgbOf(platform::ArgbOf(v))) return false;
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
  const test_support::Desktop desktop(x.Start(1024, 768, 24));

  // Killed outright when it goes: a polite end would unload the window, which opens the
  // maker's page.
  const test_support::Started program(
      {(data.Path() / "colouring-book").string()},
      {{"DISPLAY", desktop.display()}, {"SDL_VIDEODRIVER", std::nullopt}});

  bool up = false;
  for (auto until = std::chrono::steady_clock::now() + 60s;
       !up && std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(250ms)) {
    up = ShowsDrawing(desktop.TryShot(), drawing);
  }
  ASSERT_TRUE(up) << "the main screen never showed";
  std::this_thread::sleep_for(1s);  // the display mode follows the window's first showing

  const Point green = PalettePoint(2);
  const auto click = [&](int px, int py) {
    ASSERT_EQ(
        desktop.Tool({"xdotool", "mousemove", std::to_string(px), std::to_string(py), "click", "1"})
            .status,
        0);
  };
  click(green.x, green.y);
  click(kCanvasLeft + seed.x, kCanvasTop + seed.y);

  Image s;
  bool filled = false;
  const test_support::Rgb kGreen = RgbOf(0x34CC67), kBlack = RgbOf(0);
  for (int tries = 0; tries < 40 && !filled; ++tries) {
    std::this_thread::sleep_for(250ms);
    s = desktop.TryShot();
    filled = !s.rgb.empty() && s.At(kCanvasLeft + seed.x, kCanvasTop + seed.y) == kGreen;
  }
  ASSERT_TRUE(filled) << "the clicked area is not green";
  std::size_t green_pixels = 0, outline_checked = 0;
  for (int y = 0; y < kCanvasHeight; ++y) {
    for (int x = 0; x < kCanvasWidth; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * kCanvasWidth + x;
      const test_support::Rgb shown = s.At(kCanvasLeft + x, kCanvasTop + y);
      if (area[i]) {
        green_pixels += shown == kGreen ? 1 : 0;
      } else if (drawing[i] == 0) {
        ASSERT_EQ(shown, kBlack) << "outline lost at " << x << "," << y;
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
