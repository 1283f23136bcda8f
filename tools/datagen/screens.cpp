#include <array>
#include <cmath>
#include <numbers>

#include "pictures.h"
#include "style.h"
#include "text.h"

namespace datagen {
namespace {

using namespace style;

constexpr std::array<Colour, 7> kRainbow = {{{240, 60, 60},
                                             {255, 150, 30},
                                             {255, 220, 40},
                                             {70, 200, 80},
                                             {40, 170, 240},
                                             {110, 90, 230},
                                             {210, 80, 210}}};

Colour RainbowAt(float t) {
  const float at = (t - std::floor(t)) * kRainbow.size();
  const auto i = static_cast<std::size_t>(at);
  return Mix(kRainbow[i], kRainbow[(i + 1) % kRainbow.size()], at - static_cast<float>(i));
}

// A rainbow that runs round a shape's centre, for the picture frames.
Paint RainbowAround(float cx, float cy) {
  return [=](float x, float y) {
    return RainbowAt(std::atan2(y - cy, x - cx) / (2 * std::numbers::pi_v<float>)+0.5f);
  };
}

Shape Star(float cx, float cy, float outer, float turn) {
  std::vector<Point> corners;
  for (int i = 0; i < 10; ++i) {
    const float a = (turn + 36.0f * i - 90) * std::numbers::pi_v<float> / 180;
    const float r = i % 2 == 0 ? outer : outer * 0.45f;
    corners.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return Polygon(std::move(corners));
}

// Confetti of little stars and dots over a background: a fixed scatter, the same each run.
void Confetti(Image& img, int count, unsigned seed) {
  unsigned state = seed;
  auto next = [&state](int range) {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 16) % static_cast<unsigned>(range));
  };
  for (int i = 0; i < count; ++i) {
    const float x = static_cast<float>(next(img.width())),
                y = static_cast<float>(next(img.height()));
    const Colour c = Lighter(kRainbow[static_cast<std::size_t>(next(7))], 0.35f);
    if (i % 3 == 0) {
      Fill(img, Star(x, y, 6.0f + next(5), static_cast<float>(next(72))), c, 0.8f);
    } else {
      Fill(img, Circle(x, y, 2.5f + next(3)), c, 0.7f);
    }
  }
}

// The big crayons fanned out on the gallery screen's side, each turned about its far end.
void Crayon(Image& img, Point tip, float degrees, Colour c) {
  const float x = tip.x, y = tip.y;
  auto turned = [&](Shape s) { return Rotated(std::move(s), x, y + 150, degrees); };
  const Shape body = turned(Box(x - 13, y + 26, x + 13, y + 150, 4));
  const Shape point =
      turned(Polygon({{x - 13, y + 28}, {x - 6, y + 4}, {x + 6, y + 4}, {x + 13, y + 28}}));
  DropShadow(img, Union(body, point), 4, 4, 0.3f);
  FillOutlined(img, point, c, kInk, 3);
  FillOutlined(img, body, c, kInk, 3);
  Fill(img, turned(Box(x - 13, y + 60, x + 13, y + 115)), Lighter(c, 0.55f));
  Fill(img, turned(Capsule({x - 6, y + 36}, {x - 6, y + 140}, 3)), kWhite, 0.35f);
}

}  // namespace

Image DrawMainScreen() {
  Image img(1024, 768);
  Fill(img, Box(0, 0, 1024, 768), VerticalGradient(0, 768, {120, 195, 255}, {185, 230, 255}));
  Confetti(img, 160, 7);
  // The frame round the canvas (x 30..779, y 29..628), a rainbow with a dark edge.
  const Shape frame = Box(14, 13, 796, 645, 26);
  DropShadow(img, frame, 5, 6, 0.35f);
  FillOutlined(img, frame, RainbowAround(405, 329), kInk, 3);
  FillOutlined(img, Box(29, 28, 781, 630, 6), kWhite, kInk, 3);
  // The tool column on the right and the palette tray along the bottom.
  const Shape tools = Box(801, 6, 1019, 658, 22);
  DropShadow(img, tools, 5, 6, 0.35f);
  FillOutlined(img, tools, kCream, kInk, 3);
  const Shape tray = Box(4, 668, 1020, 765, 20);
  DropShadow(img, tray, 4, 6, 0.35f);
  FillOutlined(img, tray, kCream, kInk, 3);
  // A string of beads between the frame and the tray.
  for (int i = 0; i < 33; ++i) {
    const float x = 24.0f + i * 23.5f;
    FillOutlined(img, Circle(x, 656.5f, 5.5f), kRainbow[static_cast<std::size_t>(i) % 7], kInk, 2);
  }
  return img;
}

Image DrawGalleryScreen() {
  Image img(1024, 768);
  Fill(img, Box(0, 0, 1024, 768), VerticalGradient(0, 768, {255, 225, 130}, {255, 175, 110}));
  Confetti(img, 140, 11);
  // Slots for the 5 x 5 thumbnails.
  constexpr std::array<int, 5> kLefts = {54, 198, 341, 485, 629};
  constexpr std::array<int, 5> kTops = {48, 185, 322, 459, 596};
  for (std::size_t r = 0; r < 5; ++r) {
    for (std::size_t c = 0; c < 5; ++c) {
      const float x = static_cast<float>(kLefts[c]), y = static_cast<float>(kTops[r]);
      const Shape slot = Box(x - 5, y - 5, x + 136, y + 127, 8);
      DropShadow(img, slot, 4, 4, 0.35f);
      FillOutlined(img, slot, kRainbow[(r * 5 + c) % 7], kInk, 2);
      Fill(img, Box(x, y, x + 131, y + 122), kWhite);
    }
  }
  // The tab under the Back button at (30, 0).
  const Shape tab = Box(24, -20, 228, 44, 14);
  FillOutlined(img, tab, kCream, kInk, 3);
  // The side: a title and a fan of crayons.
  const Shape side = Box(790, 40, 1010, 728, 26);
  DropShadow(img, side, 5, 6, 0.35f);
  FillOutlined(img, side, kCream, kInk, 3);
  constexpr std::array<std::string_view, 3> kTitle = {"Choose", "a", "picture!"};
  for (std::size_t i = 0; i < kTitle.size(); ++i) {
    DrawText(img, kTitle[i], 900, 110.0f + 58 * i, {34, kRainbow[(i * 2) % 7], kInk, 3});
  }
  Crayon(img, {880, 345}, -20, kRainbow[0]);
  Crayon(img, {900, 335}, 0, kRainbow[4]);
  Crayon(img, {920, 345}, 20, kRainbow[3]);
  FillOutlined(img, Star(900, 640, 34, 0), kRainbow[2], kInk, 3);
  FillOutlined(img, Star(830, 670, 16, 20), kRainbow[6], kInk, 2);
  FillOutlined(img, Star(968, 668, 18, 40), kRainbow[1], kInk, 2);
  return img;
}

}  // namespace datagen
