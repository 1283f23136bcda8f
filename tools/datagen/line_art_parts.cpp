#include "line_art_parts.h"

#include <cmath>
#include <numbers>

namespace datagen::art {

void HappyFace(Sketch& s, Point centre, double size) {
  DotEye(s, {centre.x - 0.35 * size, centre.y - 0.2 * size}, 0.12 * size);
  DotEye(s, {centre.x + 0.35 * size, centre.y - 0.2 * size}, 0.12 * size);
  Smile(s, {centre.x, centre.y + 0.05 * size}, 0.45 * size, 0.35 * size);
}

Points Mirrored(const Points& points, double axis) {
  Points mirrored;
  mirrored.reserve(points.size());
  for (auto it = points.rbegin(); it != points.rend(); ++it) {
    mirrored.push_back({2 * axis - it->x, it->y});
  }
  return mirrored;
}

Points Joined(std::initializer_list<Points> pieces) {
  Points joined;
  for (const Points& piece : pieces) joined.insert(joined.end(), piece.begin(), piece.end());
  return joined;
}

void Waves(Sketch& s, double y, double height, double length) {
  Points wave;
  for (double x = 0; x <= kCanvasRight; x += 3) {
    wave.push_back({x, y + height * std::sin(2 * std::numbers::pi * x / length)});
  }
  s.Polyline(wave);
}

}  // namespace datagen::art
