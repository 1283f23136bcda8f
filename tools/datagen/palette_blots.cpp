#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "pictures.h"
#include "style.h"

namespace datagen {
namespace {

using namespace style;

// The bumps round a blot's edge, as angle (degrees) and size: fixed, so every blot has the
// same friendly splash shape.
struct Bump {
  float degrees, distance, radius;
};
constexpr std::array<Bump, 7> kBumps = {{
    {-80, 19, 9},
    {-20, 20, 8},
    {35, 18, 10},
    {95, 20, 8},
    {150, 19, 9},
    {205, 20, 8},
    {260, 18, 8},
}};

Shape Blot(float cx, float cy, float scale) {
  Shape blot = Circle(cx, cy, 23 * scale);
  for (const Bump& b : kBumps) {
    const float a = b.degrees * std::numbers::pi_v<float> / 180;
    blot = Union(blot, Circle(cx + std::cos(a) * b.distance * scale,
                              cy + std::sin(a) * b.distance * scale, b.radius * scale));
  }
  return blot;
}

// A dark colour needs a lighter edge to stand out from its outline.
Colour EdgeFor(Colour c) { return std::max({c.r, c.g, c.b}) < 60 ? Colour{150, 150, 170} : kInk; }

void CheckMark(Image& img, float cx, float cy) {
  const Shape badge = Circle(cx, cy, 10);
  FillOutlined(img, badge, Colour{40, 190, 70}, kInk, 2);
  const Shape tick = Union(Capsule({cx - 5, cy}, {cx - 1.5f, cy + 4}, 2),
                           Capsule({cx - 1.5f, cy + 4}, {cx + 5, cy - 4}, 2));
  Fill(img, tick, kWhite);
}

}  // namespace

Image DrawPaletteBlot(Colour colour, Look look, int width, int height) {
  Image img(width, height, kCream);
  const float cx = width / 2.0f, cy = height / 2.0f;
  const float scale = look == Look::kResting ? 1.0f : 1.06f;
  const float lift = look == Look::kHover ? 1.5f : 0.0f;
  const Shape blot = Blot(cx, cy - lift, scale);
  if (look == Look::kChosen) {
    const Shape ring = Circle(cx, cy, 40);
    Fill(img, Band(ring, 5), kInk);
    Fill(img, Band(Grown(ring, -3.5f), 3), kWhite);
  }
  DropShadow(img, blot, look == Look::kHover ? 4.0f : 2.5f, 3, 0.35f);
  if (look == Look::kHover) Glow(img, Grown(blot, 2.5f), 4);
  FillOutlined(img, blot, colour, EdgeFor(colour), 3);
  // A shine off the middle, so that the middle keeps the exact colour.
  Fill(img, Rotated(Ellipse(cx - 11, cy - 13 - lift, 6, 3.5f), cx - 11, cy - 13 - lift, -40),
       kWhite, 0.55f);
  if (look == Look::kChosen) CheckMark(img, width - 13.0f, height - 13.0f);
  return img;
}

}  // namespace datagen
