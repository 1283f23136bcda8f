#pragma once

#include <initializer_list>
#include <vector>

#include "raster.h"

// The shared look of the artwork: bright colours, rounded shapes, thick dark outlines.
namespace datagen::style {

inline constexpr Colour kInk{40, 30, 60};
// Where buttons and blots sit: the panels behind them have this colour too, so they blend.
inline constexpr Colour kCream{255, 247, 225};
inline constexpr Colour kGlow{255, 200, 0};
inline constexpr Colour kWhite{255, 255, 255};

// Icon artwork is designed on a 100-unit square centred on (0, 0); a Frame maps it onto a
// button of any size.
struct Frame {
  float cx, cy, scale;
  Point P(float x, float y) const { return {cx + x * scale, cy + y * scale}; }
  float L(float length) const { return length * scale; }
  Shape Box(float l, float t, float r, float b, float radius) const {
    return datagen::Box(cx + l * scale, cy + t * scale, cx + r * scale, cy + b * scale,
                        radius * scale);
  }
  Shape Circle(float x, float y, float r) const {
    return datagen::Circle(cx + x * scale, cy + y * scale, r * scale);
  }
  Shape Ellipse(float x, float y, float rx, float ry) const {
    return datagen::Ellipse(cx + x * scale, cy + y * scale, rx * scale, ry * scale);
  }
  Shape Capsule(float x0, float y0, float x1, float y1, float r) const {
    return datagen::Capsule(P(x0, y0), P(x1, y1), r * scale);
  }
  Shape Polygon(std::initializer_list<Point> corners) const {
    std::vector<Point> mapped;
    for (const Point& p : corners) mapped.push_back(P(p.x, p.y));
    return datagen::Polygon(std::move(mapped));
  }
  Shape Turned(Shape s, float degrees) const { return Rotated(std::move(s), cx, cy, degrees); }
};

// A yellow halo round a shape: the sign of a button under the mouse.
inline void Glow(Image& image, const Shape& shape, float width) {
  Fill(image, Band(Grown(shape, width / 2 + 1), width + 2), kGlow, 0.6f, 4);
  Fill(image, Band(Grown(shape, width / 2), width), kGlow);
}

}  // namespace datagen::style
