// The pencil, and the eraser's and the blank paper's wipe, watched frame by frame.
#include <algorithm>
#include <cmath>

#include "program_on_desktop.h"

namespace e2e {
namespace {

using CanvasTools = ProgramOnDesktop;

double DistanceToSegment(double x, double y, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double t = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

TEST_F(CanvasTools, ThePencilDrawsInTheCurrentColourWhileTheButtonIsHeld) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  const Point blue = PaletteButton(10);
  desktop().Click(blue.x, blue.y);
  desktop().Click(kPencil.x, kPencil.y);
  EXPECT_EQ(WaitUntilShown({804, 571}, "OLOVKA1.JPG", {"OLOVKA2.JPG"}), "OLOVKA1.JPG");
  EXPECT_EQ(ShownAt(Shot(), {871, 571}, {"KAPLJICA1.JPG", "KAPLJICA2.JPG"}), "KAPLJICA2.JPG");

  // On the white paper below the start drawing's ground line.
  const std::vector<Point> stroke = {{100, 565}, {300, 565}, {300, 590}};
  const Image before = CanvasShot();
  desktop().MoveTo(kCanvas.left + stroke[0].x, kCanvas.top + stroke[0].y);
  desktop().ButtonDown();
  for (std::size_t i = 1; i < stroke.size(); ++i) {
    desktop().MoveTo(kCanvas.left + stroke[i].x, kCanvas.top + stroke[i].y);
    // Each segment in sight before the next move, so that no two moves can merge on the way.
    const Point middle{(stroke[i - 1].x + stroke[i].x) / 2, (stroke[i - 1].y + stroke[i].y) / 2};
    const bool drawn = WaitForShot([&](const Image& shot) {
      return shot.At(kCanvas.left + middle.x, kCanvas.top + middle.y) == kBlue;
    });
    ASSERT_TRUE(drawn) << "segment " << i << " was not drawn";
  }
  desktop().ButtonUp();
  // Released: moving draws nothing, and a press without a move leaves no mark.
  desktop().MoveTo(kCanvas.left + 500, kCanvas.top + 580);
  desktop().Click(kCanvas.left + 600, kCanvas.top + 580);
  // A hover picture after them shows that the program has handled all of them.
  desktop().MoveTo(kBlankPaper.x, kBlankPaper.y);
  ASSERT_EQ(WaitUntilShown({936, 412}, "PAPIR2.JPG", {"PAPIR1.JPG"}), "PAPIR2.JPG");
  const Image after = CanvasShot();

  for (std::size_t i = 1; i < stroke.size(); ++i) {
    const Point a = stroke[i - 1], b = stroke[i];
    const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
    for (int s = 0; s <= steps; ++s) {
      const int x = a.x + (b.x - a.x) * s / steps, y = a.y + (b.y - a.y) * s / steps;
      ASSERT_EQ(after.At(x, y), kBlue) << "at " << x << ", " << y;
    }
  }
  // Three pixels wide across the middle of each segment.
  for (std::size_t i = 1; i < stroke.size(); ++i) {
    const Point a = stroke[i - 1], b = stroke[i];
    const Point middle{(a.x + b.x) / 2, (a.y + b.y) / 2};
    const bool across_rows = a.y == b.y;
    int width = 0;
    for (int d = -5; d <= 5; ++d) {
      width +=
          after.At(middle.x + (across_rows ? 0 : d), middle.y + (across_rows ? d : 0)) == kBlue;
    }
    EXPECT_EQ(width, 3) << "segment " << i;
  }
  int stray = 0;
  for (int y = 0; y < after.height; ++y) {
    for (int x = 0; x < after.width; ++x) {
      if (after.At(x, y) == before.At(x, y)) continue;
      double nearest = 1e9;
      for (std::size_t i = 1; i < stroke.size(); ++i) {
        nearest = std::min(nearest, DistanceToSegment(x, y, stroke[i - 1], stroke[i]));
      }
      stray += !(after.At(x, y) == kBlue) || nearest > 3.0;
    }
  }
  EXPECT_EQ(stray, 0) << "pixels changed that are not the stroke's";
}

class Wipes : public ProgramOnDesktop {
 protected:
  // Clicks the button and collects the canvas's frames, each one different from the one
  // before, until the canvas has shown `end` for a while.
  std::vector<Image> WipeFrames(Point button, const Image& start, const Image& end) {
    std::vector<Image> frames{start};
    desktop().Click(button.x, button.y);
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    int ends_seen = 0;
    while (ends_seen < 3 && std::chrono::steady_clock::now() < deadline) {
      Image frame = CanvasShot();
      ends_seen = frame == end ? ends_seen + 1 : 0;
      if (!(frame == frames.back())) frames.push_back(std::move(frame));
    }
    return frames;
  }

  // The sweep only ever whitens: every frame between start and end holds the start's pixels
  // and white, and what is white stays white.
  void ExpectSweep(const std::vector<Image>& frames, const Image& start, const Image& end) {
    ASSERT_TRUE(frames.back() == end)
        << "the wipe did not end on the expected page: " << Differences(frames.back(), end)
        << " pixels differ";
    std::vector<const Image*> between;
    for (const Image& f : frames) {
      if (!(f == start) && !(f == end)) between.push_back(&f);
    }
    EXPECT_GE(between.size(), 2u) << "too few frames of the sweep were seen";
    const Image* earlier = &start;
    int foreign = 0, unwhitened = 0;
    for (const Image* frame : between) {
      for (int y = 0; y < start.height; ++y) {
        for (int x = 0; x < start.width; ++x) {
          const Rgb now = frame->At(x, y);
          foreign += !(now == kWhite) && !(now == start.At(x, y));
          unwhitened += earlier->At(x, y) == kWhite && !(now == kWhite);
        }
      }
      earlier = frame;
    }
    EXPECT_EQ(foreign, 0) << "frames of the sweep hold pixels neither white nor as before";
    EXPECT_EQ(unwhitened, 0) << "white pixels lost their white during the sweep";
  }
};

TEST_F(Wipes, TheEraserBringsBackDrawingOneAndTheBlankPaperLeavesTheBlankPage) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  // Something coloured for the eraser to take away.
  const Image start_drawing = CanvasShot();
  const auto [area, coloured] = FillLargestArea(start_drawing);
  ASSERT_TRUE(coloured) << "the fill changed nothing";
  ASSERT_TRUE(FilledArea(start_drawing, *coloured, area, kRed));

  const Image& drawing_one = Picture("01.GIF");
  ASSERT_NO_FATAL_FAILURE(
      ExpectSweep(WipeFrames(kEraser, *coloured, drawing_one), *coloured, drawing_one));
  const Image& blank_page = Picture("00.GIF");
  ExpectSweep(WipeFrames(kBlankPaper, drawing_one, blank_page), drawing_one, blank_page);
}

}  // namespace
}  // namespace e2e
