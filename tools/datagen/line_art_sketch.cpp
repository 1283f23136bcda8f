#include "line_art_sketch.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "line_art_tidy.h"

namespace datagen::art {
namespace {

constexpr double kStep = 3.0;  // pixels between samples on a curve

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

double Distance(Point a, Point b) { return std::hypot(b.x - a.x, b.y - a.y); }

int Samples(double length) { return std::max(8, static_cast<int>(std::ceil(length / kStep))); }

}  // namespace

Sketch::Sketch(int width, int height, double pen)
    : width_(width), height_(height), core_(static_cast<std::size_t>(width) * height, 0) {
  SetPen(pen);
}

void Sketch::SetPen(double pen) {
  if (pen < 3) throw std::invalid_argument("outlines narrower than 3 pixels leak");
  pen_ = pen;
  // The final dilation adds one pixel on each side; a core half-width of 0.5 still leaves at
  // least one pixel in every row and column a line crosses, so the core stays 8-connected.
  core_radius_ = std::max(0.5, pen / 2 - 1);
}

void Sketch::Segment(Point a, Point b) {
  const double r = core_radius_;
  const int x0 = std::max(0, static_cast<int>(std::floor(std::min(a.x, b.x) - r)));
  const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(std::max(a.x, b.x) + r)));
  const int y0 = std::max(0, static_cast<int>(std::floor(std::min(a.y, b.y) - r)));
  const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(std::max(a.y, b.y) + r)));
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      double t = length2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / length2 : 0;
      t = std::clamp(t, 0.0, 1.0);
      const double ex = a.x + t * dx - x;
      const double ey = a.y + t * dy - y;
      if (ex * ex + ey * ey <= r * r + 1e-9) core_[static_cast<std::size_t>(y) * width_ + x] = 1;
    }
  }
}

void Sketch::Line(Point a, Point b) { Segment(a, b); }

void Sketch::Polyline(std::span<const Point> points) {
  for (std::size_t i = 1; i < points.size(); ++i) Segment(points[i - 1], points[i]);
  if (points.size() == 1) Segment(points[0], points[0]);
}

void Sketch::Polygon(std::span<const Point> points) {
  Polyline(points);
  if (points.size() > 2) Segment(points.back(), points.front());
}

void Sketch::Rect(double left, double top, double right, double bottom) {
  Polygon({{left, top}, {right, top}, {right, bottom}, {left, bottom}});
}

void Sketch::Circle(Point centre, double radius) { Ellipse(centre, radius, radius); }

void Sketch::Ellipse(Point centre, double rx, double ry, double tilt_degrees) {
  Polygon(EllipsePoints(centre, rx, ry, tilt_degrees));
}

void Sketch::Arc(Point centre, double rx, double ry, double from_degrees, double to_degrees) {
  Polyline(ArcPoints(centre, rx, ry, from_degrees, to_degrees));
}

void Sketch::Bezier(Point a, Point c1, Point c2, Point b) { Polyline(BezierPoints(a, c1, c2, b)); }

void Sketch::Quad(Point a, Point control, Point b) { Polyline(QuadPoints(a, control, b)); }

void Sketch::Scanline(std::span<const Point> polygon, std::uint8_t value) {
  if (polygon.size() < 3) return;
  double top = polygon[0].y;
  double bottom = polygon[0].y;
  for (const Point& p : polygon) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  std::vector<double> crossings;
  const int y0 = std::max(0, static_cast<int>(std::ceil(top)));
  const int y1 = std::min(height_ - 1, static_cast<int>(std::floor(bottom)));
  for (int y = y0; y <= y1; ++y) {
    crossings.clear();
    for (std::size_t i = 0; i < polygon.size(); ++i) {
      const Point& p = polygon[i];
      const Point& q = polygon[(i + 1) % polygon.size()];
      if ((p.y <= y && y < q.y) || (q.y <= y && y < p.y)) {
        crossings.push_back(p.x + (y - p.y) * (q.x - p.x) / (q.y - p.y));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const int x0 = std::max(0, static_cast<int>(std::ceil(crossings[i])));
      const int x1 = std::min(width_ - 1, static_cast<int>(std::floor(crossings[i + 1])));
      for (int x = x0; x <= x1; ++x) core_[static_cast<std::size_t>(y) * width_ + x] = value;
    }
  }
}

void Sketch::FillPolygon(std::span<const Point> points) { Scanline(points, 1); }

void Sketch::FillEllipse(Point centre, double rx, double ry, double tilt_degrees) {
  Scanline(EllipsePoints(centre, rx, ry, tilt_degrees), 1);
}

void Sketch::ErasePolygon(std::span<const Point> points) { Scanline(points, 0); }

void Sketch::EraseRect(double left, double top, double right, double bottom) {
  ErasePolygon({{left, top}, {right, top}, {right, bottom}, {left, bottom}});
}

void Sketch::EraseEllipse(Point centre, double rx, double ry, double tilt_degrees) {
  Scanline(EllipsePoints(centre, rx, ry, tilt_degrees), 0);
}

void Sketch::Cover(std::span<const Point> points) {
  ErasePolygon(points);
  Polygon(points);
}

void Sketch::CoverRect(double left, double top, double right, double bottom) {
  Cover({{left, top}, {right, top}, {right, bottom}, {left, bottom}});
}

void Sketch::CoverEllipse(Point centre, double rx, double ry, double tilt_degrees) {
  Cover(EllipsePoints(centre, rx, ry, tilt_degrees));
}

void Sketch::MergedOvals(std::initializer_list<Oval> ovals) {
  for (const Oval& o : ovals) Ellipse(o.centre, o.rx, o.ry, o.tilt_degrees);
  // Clearing each inside, less the inner half of its own line, leaves only the outer border.
  const double inset = core_radius_ + 0.5;
  for (const Oval& o : ovals) EraseEllipse(o.centre, o.rx - inset, o.ry - inset, o.tilt_degrees);
}

std::vector<std::uint8_t> Sketch::Finish() const {
  Bitmap picture{width_, height_, std::vector<std::uint8_t>(core_.size(), kWhite)};
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if (!core_[static_cast<std::size_t>(y) * width_ + x]) continue;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (picture.Inside(x + dx, y + dy)) picture.At(x + dx, y + dy) = kBlack;
        }
      }
    }
  }
  Tidy(picture);
  return std::move(picture.pixels);
}

Points EllipsePoints(Point centre, double rx, double ry, double tilt_degrees) {
  Points points = ArcPoints(centre, rx, ry, 0, 360);
  points.pop_back();  // the closing point repeats the first
  if (tilt_degrees != 0) {
    const double c = std::cos(Radians(tilt_degrees));
    const double s = std::sin(Radians(tilt_degrees));
    for (Point& p : points) {
      const double x = p.x - centre.x;
      const double y = p.y - centre.y;
      p = {centre.x + x * c - y * s, centre.y + x * s + y * c};
    }
  }
  return points;
}

Points ArcPoints(Point centre, double rx, double ry, double from_degrees, double to_degrees) {
  const double sweep = Radians(to_degrees - from_degrees);
  const int n = Samples(std::abs(sweep) * std::max(rx, ry));
  Points points;
  points.reserve(n + 1);
  for (int i = 0; i <= n; ++i) {
    const double a = Radians(from_degrees) + sweep * i / n;
    points.push_back({centre.x + rx * std::cos(a), centre.y + ry * std::sin(a)});
  }
  return points;
}

Points BezierPoints(Point a, Point c1, Point c2, Point b) {
  const int n = Samples(Distance(a, c1) + Distance(c1, c2) + Distance(c2, b));
  Points points;
  points.reserve(n + 1);
  for (int i = 0; i <= n; ++i) {
    const double t = static_cast<double>(i) / n;
    const double u = 1 - t;
    const double w0 = u * u * u;
    const double w1 = 3 * u * u * t;
    const double w2 = 3 * u * t * t;
    const double w3 = t * t * t;
    points.push_back(
        {w0 * a.x + w1 * c1.x + w2 * c2.x + w3 * b.x, w0 * a.y + w1 * c1.y + w2 * c2.y + w3 * b.y});
  }
  return points;
}

Points QuadPoints(Point a, Point control, Point b) {
  // The cubic with control points two thirds of the way towards the quadratic's one.
  const Point c1{a.x + 2.0 / 3 * (control.x - a.x), a.y + 2.0 / 3 * (control.y - a.y)};
  const Point c2{b.x + 2.0 / 3 * (control.x - b.x), b.y + 2.0 / 3 * (control.y - b.y)};
  return BezierPoints(a, c1, c2, b);
}

Points StarPoints(Point centre, double outer, double inner, int tips) {
  Points points;
  for (int i = 0; i < 2 * tips; ++i) {
    const double a = Radians(-90 + 180.0 * i / tips);
    const double r = i % 2 == 0 ? outer : inner;
    points.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
  }
  return points;
}

}  // namespace datagen::art
