#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

// A small raster toolkit for bold colouring-book outlines. Everything is drawn into a "core"
// layer that the final picture dilates by one pixel each way; the dilation guarantees that every
// black pixel lies in a 3x3 black square and that no 4-connected white path can slip through a
// diagonal step in a line.
namespace datagen::art {

struct Point {
  double x;
  double y;
};

using Points = std::vector<Point>;

class Sketch {
 public:
  // `pen` is the finished outline width in pixels (3 or more).
  Sketch(int width, int height, double pen);

  void SetPen(double pen);
  double pen() const { return pen_; }

  void Line(Point a, Point b);
  void Polyline(std::span<const Point> points);  // open path
  void Polygon(std::span<const Point> points);   // closed outline
  void Polyline(std::initializer_list<Point> points) { Polyline(std::span(points)); }
  void Polygon(std::initializer_list<Point> points) { Polygon(std::span(points)); }
  void Rect(double left, double top, double right, double bottom);
  void Circle(Point centre, double radius);
  void Ellipse(Point centre, double rx, double ry, double tilt_degrees = 0);
  // Angles in degrees, 0 pointing right and growing clockwise on screen (y grows downwards).
  void Arc(Point centre, double rx, double ry, double from_degrees, double to_degrees);
  void Bezier(Point a, Point c1, Point c2, Point b);
  void Quad(Point a, Point control, Point b);

  // Solid shapes (eyes, noses, spots) and their opposite: erasing clears whatever was drawn
  // inside, so a shape in front can hide the one behind it before its own outline is drawn.
  void FillPolygon(std::span<const Point> points);
  void FillPolygon(std::initializer_list<Point> points) { FillPolygon(std::span(points)); }
  void FillCircle(Point centre, double radius) { FillEllipse(centre, radius, radius); }
  void FillEllipse(Point centre, double rx, double ry, double tilt_degrees = 0);
  void ErasePolygon(std::span<const Point> points);
  void ErasePolygon(std::initializer_list<Point> points) { ErasePolygon(std::span(points)); }
  void EraseRect(double left, double top, double right, double bottom);
  void EraseEllipse(Point centre, double rx, double ry, double tilt_degrees = 0);

  // A closed outline in front of what is already drawn: erases its inside, then outlines it.
  void Cover(std::span<const Point> points);
  void Cover(std::initializer_list<Point> points) { Cover(std::span(points)); }
  void CoverRect(double left, double top, double right, double bottom);
  void CoverCircle(Point centre, double radius) { CoverEllipse(centre, radius, radius); }
  void CoverEllipse(Point centre, double rx, double ry, double tilt_degrees = 0);

  // One outline around overlapping ellipses, as if they were a single cut-out shape.
  struct Oval {
    Point centre;
    double rx;
    double ry;
    double tilt_degrees = 0;
  };
  void MergedOvals(std::initializer_list<Oval> ovals);

  // The finished picture, one byte a pixel, 0 black and 1 white. White specks too small for a
  // child to hit are filled in.
  std::vector<std::uint8_t> Finish() const;

 private:
  void Segment(Point a, Point b);
  void Scanline(std::span<const Point> polygon, std::uint8_t value);

  int width_;
  int height_;
  double pen_ = 3;
  double core_radius_ = 0.5;
  std::vector<std::uint8_t> core_;  // 1 where ink is
};

// Sample points along shapes, for outlines that are built from pieces or need filling.
Points EllipsePoints(Point centre, double rx, double ry, double tilt_degrees = 0);
Points ArcPoints(Point centre, double rx, double ry, double from_degrees, double to_degrees);
Points BezierPoints(Point a, Point c1, Point c2, Point b);
Points QuadPoints(Point a, Point control, Point b);
// A regular star with `tips` points, the first pointing straight up.
Points StarPoints(Point centre, double outer, double inner, int tips);

}  // namespace datagen::art
