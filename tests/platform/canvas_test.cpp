// Drawing on a canvas: the flood fill, the pen, single pixels, and what buffered and direct
// drawing leave on the screen across a repaint.
#include "platform/canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <queue>
#include <random>

#include "form_events.h"
#include "platform/form.h"

namespace {

using namespace platform;
using platform_test::PixelAt;

constexpr std::uint32_t kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kGreen = 0xFF00FF00;
constexpr std::uint32_t kRed = 0x0000FF;  // a colour value, as the drawing calls take it

class CanvasDrawing : public ::testing::Test {
 protected:
  CanvasDrawing() {
    SetDirectDrawingPace(0);
    canvas.SetPicture(platform_test::Solid(kW, kH, kWhite));
    cover.SetBackColor(kGreen);
    form.Add(cover);
    form.Add(canvas);
    form.Show();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }

  // The canvas's own picture with some pixels changed, for building test drawings.
  void Paint(const std::function<std::uint32_t(int x, int y)>& argb_at) {
    auto p = std::make_shared<PictureData>();
    p->width = kW;
    p->height = kH;
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) p->pixels.push_back(argb_at(x, y));
    }
    canvas.SetPicture(p);
  }
  std::uint32_t Held(int x, int y) const {
    return canvas.Image()->pixels[static_cast<std::size_t>(y) * kW + x];
  }
  std::uint32_t Shown(int x, int y) { return PixelAt(form, kLeft + x, kTop + y); }

  static constexpr int kW = 40, kH = 30, kLeft = 10, kTop = 5;
  PictureBox cover{"cover", kLeft + 30, kTop, 10, 10, 1};  // lies over the canvas's top right
  Canvas canvas{"canvas", kLeft, kTop, kW, kH, 0};
  Form form{"canvas", 60, 40};
};

TEST_F(CanvasDrawing, FloodFillIsFourConnectedAndBoundedByOtherColoursAndTheEdge) {
  // A diagonal of black splits the white; the two halves touch only at corners.
  Paint([](int x, int y) {
    if (x + y == 20) return kBlack;
    if (x == 3 && y == 3) return 0xFFFFFFFEu;  // nearly white is another colour
    return kWhite;
  });
  canvas.SetFillColor(kRed);
  EXPECT_NE(ExtFloodFill(canvas.hDC(), 2, 2, 0xFFFFFF, FLOODFILLSURFACE), 0);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const std::uint32_t expected = x + y == 20        ? kBlack
                                     : x == 3 && y == 3 ? 0xFFFFFFFEu
                                     : x + y < 20       ? ArgbOf(kRed)
                                                        : kWhite;
      ASSERT_EQ(Held(x, y), expected) << x << "," << y;
    }
  }
  EXPECT_EQ(Shown(0, 0), ArgbOf(kRed)) << "the fill must show without a repaint";
}

// Mazes of random walls, filled from a random white pixel, against the plainest 4-connected
// fill there is.
TEST_F(CanvasDrawing, FloodFillMatchesAPixelByPixelFillOnRandomMazes) {
  std::mt19937 random(7);
  for (int maze = 0; maze < 50; ++maze) {
    std::vector<std::uint32_t> expected;
    Paint([&](int, int) { return random() % 5 < 2 ? kBlack : kWhite; });
    expected = canvas.Image()->pixels;
    int sx, sy;
    do {
      sx = static_cast<int>(random() % kW), sy = static_cast<int>(random() % kH);
    } while (expected[sy * kW + sx] != kWhite);
    std::queue<std::pair<int, int>> todo;
    todo.push({sx, sy});
    while (!todo.empty()) {
      const auto [x, y] = todo.front();
      todo.pop();
      if (x < 0 || y < 0 || x >= kW || y >= kH || expected[y * kW + x] != kWhite) continue;
      expected[y * kW + x] = ArgbOf(kRed);
      for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        todo.push({x + dx, y + dy});
      }
    }
    canvas.SetFillColor(kRed);
    ExtFloodFill(canvas.hDC(), sx, sy, 0xFFFFFF, FLOODFILLSURFACE);
    ASSERT_EQ(canvas.Image()->pixels, expected) << "maze " << maze;
  }
}

TEST_F(CanvasDrawing, FloodFillOfAnAreaAlreadyInTheFillColourChangesNothing) {
  Paint([](int x, int) { return x < 20 ? ArgbOf(kRed) : kWhite; });
  const Picture before = canvas.Image();
  canvas.SetFillColor(kRed);
  EXPECT_NE(ExtFloodFill(canvas.hDC(), 5, 5, kRed, FLOODFILLSURFACE), 0);
  EXPECT_EQ(ExtFloodFill(canvas.hDC(), 5, 5, 0xFFFFFF, FLOODFILLSURFACE), 0)
      << "a colour that is not the pixel's fills nothing";
  EXPECT_EQ(ExtFloodFill(canvas.hDC(), kW, 5, 0xFFFFFF, FLOODFILLSURFACE), 0);
  EXPECT_EQ(canvas.Image()->pixels, before->pixels);
}

TEST_F(CanvasDrawing, WidePenDrawsRoundEndedLines) {
  canvas.SetDrawWidth(3);
  canvas.SetForeColor(kRed);
  canvas.Line(10, 10, 20, 10);
  canvas.Line(5, 20, 5, 20);    // a dot
  canvas.Line(25, 15, 60, 50);  // leaves the canvas
  auto on = [&](int x, int y) { return Held(x, y) == ArgbOf(kRed); };
  for (int x = 9; x <= 21; ++x) {
    EXPECT_TRUE(on(x, 10)) << x;
    EXPECT_FALSE(on(x, 8) || on(x, 12)) << x;
  }
  for (int x = 10; x <= 20; ++x) EXPECT_TRUE(on(x, 9) && on(x, 11)) << x;
  EXPECT_FALSE(on(8, 10) || on(22, 10)) << "an end reaches half the pen's width, no more";
  EXPECT_TRUE(on(5, 20) && on(4, 20) && on(6, 20) && on(5, 19) && on(5, 21));
  EXPECT_FALSE(on(3, 20) || on(7, 20) || on(5, 18) || on(5, 22));
  // Along the diagonal, up to the canvas's last pixel, the band is three pixels across.
  for (int t = 25; t < 30; ++t) {
    EXPECT_TRUE(on(t, t - 10) && on(t + 1, t - 11) && on(t - 1, t - 9)) << t;
    EXPECT_FALSE(on(t + 2, t - 12) || on(t - 2, t - 8)) << t;
  }
  EXPECT_TRUE(on(39, 29));
}

TEST_F(CanvasDrawing, SetPixelOutsideTheCanvasChangesNothing) {
  const Picture before = canvas.Image();
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{
           {-1, 0}, {0, -1}, {kW, 0}, {0, kH}, {kW, kH}, {-100000, 7}, {3, 1 << 30}}) {
    EXPECT_EQ(SetPixelV(canvas.hDC(), x, y, kRed), 0) << x << "," << y;
    EXPECT_EQ(canvas.Point(static_cast<float>(x), static_cast<float>(y)), -1);
  }
  EXPECT_EQ(canvas.Image()->pixels, before->pixels);
  EXPECT_NE(SetPixelV(canvas.hDC(), kW - 1, kH - 1, kRed), 0);
  EXPECT_EQ(canvas.Point(kW - 1, kH - 1), static_cast<std::int32_t>(kRed));
  EXPECT_EQ(Shown(kW - 1, kH - 1), 0xFFFF0000u);
}

TEST_F(CanvasDrawing, DirectDrawingIsLostAtTheRepaintAndBufferedDrawingSurvivesIt) {
  canvas.SetAutoRedraw(false);
  SetPixelV(canvas.hDC(), 2, 2, kRed);
  SetPixelV(canvas.hDC(), 35, 2, kRed);  // under the control that covers the canvas
  EXPECT_EQ(Shown(2, 2), 0xFFFF0000u);
  EXPECT_EQ(canvas.Point(2, 2), static_cast<std::int32_t>(kRed)) << "reads what the screen shows";
  EXPECT_EQ(Shown(35, 2), kGreen) << "a direct write went over the covering control";
  EXPECT_EQ(Held(2, 2), kWhite);
  canvas.SetAutoRedraw(true);
  EXPECT_EQ(Shown(2, 2), 0xFFFF0000u) << "switching back is no repaint";

  SetPixelV(canvas.hDC(), 4, 4, kRed);
  canvas.SetVisible(false);
  EXPECT_EQ(Shown(2, 2), kBlack) << "a hidden canvas shows the form's background";
  canvas.SetVisible(true);
  EXPECT_EQ(Shown(2, 2), kWhite);
  EXPECT_EQ(Shown(4, 4), 0xFFFF0000u);
  EXPECT_EQ(Held(4, 4), ArgbOf(kRed));
}

TEST_F(CanvasDrawing, DirectFillShowsAtOnceAndIsNotHeld) {
  cover.SetBackColor(kWhite);  // the same colour as the area, yet not part of it
  canvas.SetAutoRedraw(false);
  canvas.SetFillColor(kRed);
  ExtFloodFill(canvas.hDC(), 0, 29, 0xFFFFFF, FLOODFILLSURFACE);
  EXPECT_EQ(Shown(0, 29), 0xFFFF0000u);
  EXPECT_EQ(Shown(29, 2), 0xFFFF0000u);
  EXPECT_EQ(Shown(35, 2), kWhite);
  EXPECT_EQ(Held(0, 29), kWhite);
}

}  // namespace
