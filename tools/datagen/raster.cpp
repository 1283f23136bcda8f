#include "raster.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace datagen {
namespace {

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

float SegmentDistance(float px, float py, Point a, Point b) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float length2 = dx * dx + dy * dy;
  const float t = length2 > 0 ? Clamp01(((px - a.x) * dx + (py - a.y) * dy) / length2) : 0.0f;
  return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

Shape Widened(Shape s, float by) {
  s.left -= by;
  s.top -= by;
  s.right += by;
  s.bottom += by;
  return s;
}

}  // namespace

Colour Mix(Colour from, Colour to, float amount) {
  const float t = Clamp01(amount);
  auto channel = [t](std::uint8_t a, std::uint8_t b) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
  };
  return {channel(from.r, to.r), channel(from.g, to.g), channel(from.b, to.b)};
}

Image::Image(int width, int height)
    : width_(width),
      height_(height),
      colour_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)),
      alpha_(colour_.size(), 0.0f) {}

Image::Image(int width, int height, Colour background)
    : width_(width),
      height_(height),
      colour_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background),
      alpha_(colour_.size(), 1.0f) {}

void Image::Blend(int x, int y, Colour c, float coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0) return;
  const std::size_t i = Index(x, y);
  const float below = alpha_[i] * (1 - coverage);
  const float total = coverage + below;
  auto channel = [&](std::uint8_t top, std::uint8_t under) {
    return static_cast<std::uint8_t>(std::lround((top * coverage + under * below) / total));
  };
  const Colour old = colour_[i];
  colour_[i] = {channel(c.r, old.r), channel(c.g, old.g), channel(c.b, old.b)};
  alpha_[i] = total;
}

Shape Circle(float cx, float cy, float radius) {
  return {[=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; }, cx - radius,
          cy - radius, cx + radius, cy + radius};
}

Shape Ellipse(float cx, float cy, float rx, float ry) {
  // Scaled circle distance: close enough to the true distance near the edge, where it counts.
  const float scale = std::min(rx, ry);
  return {[=](float x, float y) { return (std::hypot((x - cx) / rx, (y - cy) / ry) - 1) * scale; },
          cx - rx, cy - ry, cx + rx, cy + ry};
}

Shape Box(float left, float top, float right, float bottom, float corner_radius) {
  const float cx = (left + right) / 2, cy = (top + bottom) / 2;
  const float hx = (right - left) / 2 - corner_radius, hy = (bottom - top) / 2 - corner_radius;
  return {[=](float x, float y) {
            const float qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
            return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) +
                   std::min(std::max(qx, qy), 0.0f) - corner_radius;
          },
          left, top, right, bottom};
}

Shape Capsule(Point from, Point to, float radius) {
  return {[=](float x, float y) { return SegmentDistance(x, y, from, to) - radius; },
          std::min(from.x, to.x) - radius, std::min(from.y, to.y) - radius,
          std::max(from.x, to.x) + radius, std::max(from.y, to.y) + radius};
}

Shape Polygon(std::vector<Point> corners) {
  Shape s;
  s.left = s.right = corners.front().x;
  s.top = s.bottom = corners.front().y;
  for (const Point& p : corners) {
    s.left = std::min(s.left, p.x);
    s.right = std::max(s.right, p.x);
    s.top = std::min(s.top, p.y);
    s.bottom = std::max(s.bottom, p.y);
  }
  s.distance = [corners = std::move(corners)](float x, float y) {
    float nearest = 1e9f;
    bool inside = false;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
      const Point a = corners[i], b = corners[j];
      nearest = std::min(nearest, SegmentDistance(x, y, a, b));
      if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
        inside = !inside;
      }
    }
    return inside ? -nearest : nearest;
  };
  return s;
}

Shape Curve(Point from, Point control, Point to, float radius) {
  constexpr int kPieces = 24;
  std::vector<Point> points;
  for (int i = 0; i <= kPieces; ++i) {
    const float t = static_cast<float>(i) / kPieces, u = 1 - t;
    points.push_back({u * u * from.x + 2 * u * t * control.x + t * t * to.x,
                      u * u * from.y + 2 * u * t * control.y + t * t * to.y});
  }
  Shape s = Capsule(points[0], points[1], radius);
  for (int i = 1; i < kPieces; ++i) s = Union(s, Capsule(points[i], points[i + 1], radius));
  return s;
}

Shape Arc(float cx, float cy, float radius, float from_degrees, float to_degrees, float width) {
  constexpr float kRadians = std::numbers::pi_v<float> / 180;
  const int pieces = std::max(4, static_cast<int>(std::abs(to_degrees - from_degrees) / 6));
  auto at = [&](int i) {
    const float a = (from_degrees + (to_degrees - from_degrees) * i / pieces) * kRadians;
    return Point{cx + radius * std::cos(a), cy + radius * std::sin(a)};
  };
  Shape s = Capsule(at(0), at(1), width / 2);
  for (int i = 1; i < pieces; ++i) s = Union(s, Capsule(at(i), at(i + 1), width / 2));
  return s;
}

Shape Union(Shape a, Shape b) {
  return {[a = a.distance, b = b.distance](float x, float y) { return std::min(a(x, y), b(x, y)); },
          std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

Shape Intersection(Shape a, Shape b) {
  return {[a = a.distance, b = b.distance](float x, float y) { return std::max(a(x, y), b(x, y)); },
          std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

Shape Subtract(Shape a, Shape cut) {
  return {
      [a = a.distance, b = cut.distance](float x, float y) { return std::max(a(x, y), -b(x, y)); },
      a.left, a.top, a.right, a.bottom};
}

Shape Grown(Shape s, float by) {
  Shape grown = Widened(s, by);
  grown.distance = [d = std::move(s.distance), by](float x, float y) { return d(x, y) - by; };
  return grown;
}

Shape Band(Shape s, float width) {
  Shape band = Widened(s, width / 2);
  band.distance = [d = std::move(s.distance), width](float x, float y) {
    return std::abs(d(x, y)) - width / 2;
  };
  return band;
}

Shape Moved(Shape s, float dx, float dy) {
  return {[d = std::move(s.distance), dx, dy](float x, float y) { return d(x - dx, y - dy); },
          s.left + dx, s.top + dy, s.right + dx, s.bottom + dy};
}

Shape Rotated(Shape s, float cx, float cy, float degrees) {
  const float a = degrees * std::numbers::pi_v<float> / 180;
  const float c = std::cos(a), sn = std::sin(a);
  Shape r;
  r.left = r.top = 1e9f;
  r.right = r.bottom = -1e9f;
  for (const Point p : {Point{s.left, s.top}, Point{s.right, s.top}, Point{s.left, s.bottom},
                        Point{s.right, s.bottom}}) {
    const float x = cx + (p.x - cx) * c - (p.y - cy) * sn;
    const float y = cy + (p.x - cx) * sn + (p.y - cy) * c;
    r.left = std::min(r.left, x);
    r.right = std::max(r.right, x);
    r.top = std::min(r.top, y);
    r.bottom = std::max(r.bottom, y);
  }
  // Turning the point back by the angle finds where it came from in the unturned shape.
  r.distance = [d = std::move(s.distance), cx, cy, c, sn](float x, float y) {
    return d(cx + (x - cx) * c + (y - cy) * sn, cy - (x - cx) * sn + (y - cy) * c);
  };
  return r;
}

Paint VerticalGradient(float top, float bottom, Colour top_colour, Colour bottom_colour) {
  return [=](float, float y) { return Mix(top_colour, bottom_colour, (y - top) / (bottom - top)); };
}

Paint RadialGradient(float cx, float cy, float radius, Colour inner, Colour outer) {
  return [=](float x, float y) { return Mix(inner, outer, std::hypot(x - cx, y - cy) / radius); };
}

void Fill(Image& image, const Shape& shape, const Paint& paint, float opacity, float softness) {
  const int x0 = std::max(0, static_cast<int>(std::floor(shape.left - softness - 1)));
  const int y0 = std::max(0, static_cast<int>(std::floor(shape.top - softness - 1)));
  const int x1 = std::min(image.width() - 1, static_cast<int>(std::ceil(shape.right + softness)));
  const int y1 = std::min(image.height() - 1, static_cast<int>(std::ceil(shape.bottom + softness)));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      const float coverage = Clamp01(0.5f - shape.distance(px, py) / softness) * opacity;
      if (coverage > 0) image.Blend(x, y, paint(px, py), coverage);
    }
  }
}

void Fill(Image& image, const Shape& shape, Colour colour, float opacity, float softness) {
  Fill(
      image, shape, [colour](float, float) { return colour; }, opacity, softness);
}

void FillOutlined(Image& image, const Shape& shape, const Paint& paint, Colour outline,
                  float outline_width) {
  Fill(image, Grown(shape, outline_width), outline);
  Fill(image, shape, paint);
}

void FillOutlined(Image& image, const Shape& shape, Colour colour, Colour outline,
                  float outline_width) {
  FillOutlined(
      image, shape, [colour](float, float) { return colour; }, outline, outline_width);
}

void DropShadow(Image& image, const Shape& shape, float offset, float blur, float opacity) {
  Fill(image, Moved(shape, offset, offset), Colour{20, 10, 40}, opacity, blur);
}

Image Scaled(const Image& source, int width, int height) {
  Image out(width, height);
  const double sx = static_cast<double>(source.width()) / width;
  const double sy = static_cast<double>(source.height()) / height;
  for (int y = 0; y < height; ++y) {
    const double top = y * sy, bottom = (y + 1) * sy;
    for (int x = 0; x < width; ++x) {
      const double left = x * sx, right = (x + 1) * sx;
      double r = 0, g = 0, b = 0, a = 0, area = 0;
      for (int v = static_cast<int>(top); v < std::ceil(bottom) && v < source.height(); ++v) {
        const double h = std::min<double>(bottom, v + 1) - std::max<double>(top, v);
        for (int u = static_cast<int>(left); u < std::ceil(right) && u < source.width(); ++u) {
          const double w = (std::min<double>(right, u + 1) - std::max<double>(left, u)) * h;
          const Colour c = source.At(u, v);
          const double alpha = source.AlphaAt(u, v) * w;
          r += c.r * alpha;
          g += c.g * alpha;
          b += c.b * alpha;
          a += alpha;
          area += w;
        }
      }
      if (a <= 0) continue;
      const Colour c{static_cast<std::uint8_t>(std::lround(r / a)),
                     static_cast<std::uint8_t>(std::lround(g / a)),
                     static_cast<std::uint8_t>(std::lround(b / a))};
      out.Blend(x, y, c, static_cast<float>(a / area));
    }
  }
  return out;
}

void Paste(Image& target, const Image& source, int left, int top) {
  for (int y = 0; y < source.height(); ++y) {
    for (int x = 0; x < source.width(); ++x) {
      target.Blend(left + x, top + y, source.At(x, y), source.AlphaAt(x, y));
    }
  }
}

}  // namespace datagen
