#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app_fixture.h"

namespace colouring_test {

// Window points inside the colouring page's controls.
constexpr int kCanvasLeft = 30, kCanvasTop = 29;
constexpr int kCanvasWidth = 750, kCanvasHeight = 600;
using test_support::Click;
using test_support::Move;
using test_support::Point;
Point PalettePoint(int nn);
constexpr Point kPencilButton{830, 610}, kFillButton{900, 610};
constexpr Point kRubber{870, 440}, kPapir{965, 440};
constexpr Point kMoreImages{900, 320}, kMuteWave{870, 520}, kMusicOn{960, 520};
constexpr Point kBareForm{800, 100};
inline Point OnCanvas(int x, int y) { return {kCanvasLeft + x, kCanvasTop + y}; }

// Records every sound asked for while it lives: the path as given, and the flags.
class SoundLog {
 public:
  struct Call {
    std::string path;
    std::int32_t flags;
  };
  SoundLog();
  ~SoundLog();
  const std::vector<Call>& Calls() const { return calls_; }
  std::vector<std::string> Paths() const;
  void Clear() { calls_.clear(); }

 private:
  std::vector<Call> calls_;
};

// The canvas's held image as colour values (0x00BBGGRR), row by row.
std::vector<std::uint32_t> CanvasValues(const platform::Canvas& canvas);
// The 4-connected area of one colour value around (x, y): for each pixel, whether it is in.
std::vector<bool> AreaAround(const std::vector<std::uint32_t>& values, int x, int y);
std::size_t Count(const std::vector<bool>& area);
// A pixel of `value` whose area lies wholly inside the canvas's edges and holds between
// `min_size` and `max_size` pixels, found on a coarse grid: a closed area of the drawing.
Point FindClosedArea(const std::vector<std::uint32_t>& values, std::uint32_t value,
                     std::size_t min_size, std::size_t max_size, Point skip = {-1, -1});

// A canvas pixel as one number, for comparing write orders.
inline std::uint32_t Packed(int x, int y) {
  return static_cast<std::uint32_t>(x) | static_cast<std::uint32_t>(y) << 16;
}
// The visible pixel writes of a wipe pattern 1 to 8, in order (the writes below the canvas
// change nothing and are not reported).
std::vector<std::uint32_t> ExpectedWipeWrites(int pattern);
// Which pattern wrote exactly this sequence; 0 if none did.
int PatternOf(const std::vector<std::uint32_t>& writes);

// The program started, on its main screen.
class ColouringTest : public test_support::AppTest {
 protected:
  void SetUp() override;
  std::vector<std::uint32_t> Canvas() { return CanvasValues(forma->Slika); }
  std::string Sound(const char* literal) const;
};

}  // namespace colouring_test
